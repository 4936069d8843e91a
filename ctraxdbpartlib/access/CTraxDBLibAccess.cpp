#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBAllAttribReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllGateReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllGateSwapReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllPinDataReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllPinEquivReader.h"
#include "ctraxdbpartlib/readers/CTraxDBCompletePartAndPartDefReader.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyOnlyReader.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartDefDataReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartDefReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartReaderForReports.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBLibAccess"};

} // namespace

CTraxDBLibAccess::CTraxDBLibAccess(pathHandle_t path, const LibraryAccessor &row)
    : CTraxDBLibRecord(std::move(path), row, traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,LibraryAccessor)"));
}

bool CTraxDBLibAccess::getStoredEnabled(int &value) {
    value = enabled;
    return true;
}

void CTraxDBLibAccess::setHint(int, int) {}
void CTraxDBLibAccess::setHints(int, int, int, int) {}

std::shared_ptr<Reader<HierarchyAccess>> CTraxDBLibAccess::getHierarchyReader() {
    TXDB_TRACE(LOG_FINE, traced("getHierarchyReader"));
    return std::make_shared<CTraxDBHierarchyReader>(path, *this);
}

std::shared_ptr<Reader<HierarchyAccess>> CTraxDBLibAccess::getHierarchyOnlyReader() {
    TXDB_TRACE(LOG_FINE, traced("getHierarchyOnlyReader"));
    return std::make_shared<CTraxDBHierarchyOnlyReader>(path, *this);
}

std::shared_ptr<Reader<PartAccess>> CTraxDBLibAccess::getPartReader(const TCHAR *filterText, int) {
    TXDB_TRACE(LOG_FINE, traced("getPartReader(const TCHAR *,int)"));
    return std::make_shared<CTraxDBPartReader>(path, *this, std::string(filterText ? filterText : ""));
}

std::shared_ptr<Reader<PartAccess>> CTraxDBLibAccess::getPartReader(partFilterCompHandle_t filter, int) {
    TXDB_TRACE(LOG_FINE, traced("getPartReader(partFilterCompHandle_t,int)"));
    return std::make_shared<CTraxDBPartReader>(path, *this, filter);
}

std::shared_ptr<Reader<CompletePartAndPartDefAccess>>
CTraxDBLibAccess::getCompletePartAndPartDefReader(partFilterCompHandle_t filter, int) {
    TXDB_TRACE(LOG_FINE, traced("getCompletePartAndPartDefReader(partFilterCompHandle_t,int)"));
    return std::make_shared<CTraxDBCompletePartAndPartDefReader>(path, *this, filter);
}

std::shared_ptr<Reader<PartForReportsAccess>> CTraxDBLibAccess::getPartReaderForReports(int sorted) {
    TXDB_TRACE(LOG_FINE, traced("getPartReaderForReports(int)"));
    return std::make_shared<CTraxDBPartReaderForReports>(path, *this, sorted != 0);
}

std::shared_ptr<Reader<PartDefAccess>> CTraxDBLibAccess::getPartDefReader(partDefFilterHandle_t filter, int) {
    TXDB_TRACE(LOG_FINE, traced("getPartDefReader(partDefFilterHandle_t,int)"));
    return std::make_shared<CTraxDBPartDefReader>(path, *this, std::move(filter));
}

std::shared_ptr<Reader<PartDefAccess>> CTraxDBLibAccess::getPartDefReader(int) {
    TXDB_TRACE(LOG_FINE, traced("getPartDefReader(int)"));
    return std::make_shared<CTraxDBPartDefReader>(path, *this, nullptr);
}

// A null text reads the whole library, as an empty one does.
std::shared_ptr<Reader<PartDefDataAccess>> CTraxDBLibAccess::getPartDefDataReader(const TCHAR *filterText) {
    TXDB_TRACE(LOG_FINE, traced("getPartDefDataReader(const TCHAR *)"));
    return std::make_shared<CTraxDBPartDefDataReader>(path, *this, filterText ? filterText : "");
}

std::shared_ptr<Reader<AllPinDataAccess>> CTraxDBLibAccess::getAllPinDataReader(const TCHAR *filterText) {
    TXDB_TRACE(LOG_FINE, traced("getAllPinDataReader(const TCHAR *)"));
    return std::make_shared<CTraxDBAllPinDataReader>(path, *this, filterText);
}

std::shared_ptr<Reader<AllPinEquivAccess>> CTraxDBLibAccess::getAllPinEquivReader(const TCHAR *filterText) {
    TXDB_TRACE(LOG_FINE, traced("getAllPinEquivReader(const TCHAR *)"));
    return std::make_shared<CTraxDBAllPinEquivReader>(path, *this, filterText);
}

std::shared_ptr<Reader<AllAttributeAccess>> CTraxDBLibAccess::getAllAttributeReader(const TCHAR *filterText) {
    TXDB_TRACE(LOG_FINE, traced("getAllAttributeReader(const TCHAR *)"));
    return std::make_shared<CTraxDBAllAttribReader>(path, *this, filterText);
}

std::shared_ptr<Reader<AllGateAccess>> CTraxDBLibAccess::getAllGateReader(const TCHAR *filterText) {
    TXDB_TRACE(LOG_FINE, traced("getAllGateReader(const TCHAR *)"));
    return std::make_shared<CTraxDBAllGateReader>(path, *this, filterText);
}

std::shared_ptr<Reader<AllGateSwapAccess>> CTraxDBLibAccess::getAllGateSwapReader(const TCHAR *filterText) {
    TXDB_TRACE(LOG_FINE, traced("getAllGateSwapReader(const TCHAR *)"));
    return std::make_shared<CTraxDBAllGateSwapReader>(path, *this, filterText);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
