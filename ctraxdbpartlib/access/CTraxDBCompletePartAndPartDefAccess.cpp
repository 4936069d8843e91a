#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/readers/CTraxDBAllGateReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllGateSwapReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllPinEquivReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAttribReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBCompletePartAndPartDefAccess"};

} // namespace

CTraxDBCompletePartAndPartDefAccess::CTraxDBCompletePartAndPartDefAccess(pathHandle_t path,
                                                                         const CompletePartAndPartDefAccessor &row)
    : CTraxDBPartDefFields(row.definition, std::move(path), row, traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,"
                                             "CompletePartAndPartDefAccessor &)"));
}

void CTraxDBCompletePartAndPartDefAccess::getPartDefName(TCHAR *buffer, size_t size, bool) {
    TXDB_TRACE(LOG_FINE, traced("getPartDefName(TCHAR *,size_t,bool)"));
    getter::text(defName, buffer, size);
}

void CTraxDBCompletePartAndPartDefAccess::getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getCompNameStem(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(compNameStem, isNull, buffer, size);
}

void CTraxDBCompletePartAndPartDefAccess::getPartDefPSpice(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPartDefPSpice(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(defPSpice, isNull, buffer, size, textWidth::DEFINITION_PSPICE_MIN);
}

hierarchyAccessHandle_t CTraxDBCompletePartAndPartDefAccess::getPartHierarchy() {
    TXDB_TRACE(LOG_FINE, traced("getPartHierarchy"));
    return CTraxDBHierarchyAccess::lookup(path, CTraxDBHierarchyAccess::FOLDER_BY_ID, hierarchyId);
}

std::shared_ptr<Reader<PinDataAccess>> CTraxDBCompletePartAndPartDefAccess::getPinDataReader() {
    TXDB_TRACE(LOG_FINE, traced("getPinDataReader"));
    return std::make_shared<CTraxDBPinDataReader>(path, *this);
}

std::shared_ptr<Reader<AllPinEquivAccess>> CTraxDBCompletePartAndPartDefAccess::getPinEquivReader() {
    TXDB_TRACE(LOG_FINE, traced("getPinEquivReader"));
    return std::make_shared<CTraxDBAllPinEquivReader>(path, *this);
}

std::shared_ptr<Reader<AllGateSwapAccess>> CTraxDBCompletePartAndPartDefAccess::getGateSwapReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateSwapReader"));
    return std::make_shared<CTraxDBAllGateSwapReader>(path, *this);
}

std::shared_ptr<Reader<AttributeAccess>> CTraxDBCompletePartAndPartDefAccess::getAttributesReader() {
    TXDB_TRACE(LOG_FINE, traced("getAttributesReader"));
    return std::make_shared<CTraxDBAttribReader>(path, *this);
}

std::shared_ptr<Reader<AllGateAccess>> CTraxDBCompletePartAndPartDefAccess::getGateReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateReader"));
    return std::make_shared<CTraxDBAllGateReader>(path, *this);
}

void CTraxDBCompletePartAndPartDefAccess::getPosition(int &position) {
    position = -1;
}

int CTraxDBCompletePartAndPartDefAccess::getPartDefID() {
    return partDefId;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
