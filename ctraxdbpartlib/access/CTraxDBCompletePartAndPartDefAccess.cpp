#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"

#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/readers/CTraxDBAllGateReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllGateSwapReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAllPinEquivReader.h"
#include "ctraxdbpartlib/readers/CTraxDBAttribReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBCompletePartAndPartDefAccess::CTraxDBCompletePartAndPartDefAccess(pathHandle_t path,
                                                                         const CompletePartAndPartDefAccessor &row)
    : CTraxDBPartDefFields(row.definition, std::move(path), row, "CTraxDBCompletePartAndPartDefAccess") {
    TXDB_TRACE(LOG_FINER, "CTraxDBCompletePartAndPartDefAccess::CTraxDBCompletePartAndPartDefAccess(pathHandle_t,"
                          "CompletePartAndPartDefAccessor &)");
}

void CTraxDBCompletePartAndPartDefAccess::getPartDefName(TCHAR *buffer, size_t size, bool) {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getPartDefName(TCHAR *,size_t,bool)");
    getter::text(defName, buffer, size);
}

void CTraxDBCompletePartAndPartDefAccess::getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getCompNameStem(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(compNameStem, isNull, buffer, size);
}

void CTraxDBCompletePartAndPartDefAccess::getPartDefPSpice(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getPartDefPSpice(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(defPSpice, isNull, buffer, size, textWidth::DEFINITION_PSPICE_MIN);
}

hierarchyAccessHandle_t CTraxDBCompletePartAndPartDefAccess::getPartHierarchy() {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getPartHierarchy");
    return CTraxDBHierarchyAccess::lookup(
        path, "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [ID] = ?", hierarchyId);
}

std::shared_ptr<Reader<PinDataAccess>> CTraxDBCompletePartAndPartDefAccess::getPinDataReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getPinDataReader");
    return std::make_shared<CTraxDBPinDataReader>(path, *this);
}

std::shared_ptr<Reader<AllPinEquivAccess>> CTraxDBCompletePartAndPartDefAccess::getPinEquivReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getPinEquivReader");
    return std::make_shared<CTraxDBAllPinEquivReader>(path, *this);
}

std::shared_ptr<Reader<AllGateSwapAccess>> CTraxDBCompletePartAndPartDefAccess::getGateSwapReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getGateSwapReader");
    return std::make_shared<CTraxDBAllGateSwapReader>(path, *this);
}

std::shared_ptr<Reader<AttributeAccess>> CTraxDBCompletePartAndPartDefAccess::getAttributesReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getAttributesReader");
    return std::make_shared<CTraxDBAttribReader>(path, *this);
}

std::shared_ptr<Reader<AllGateAccess>> CTraxDBCompletePartAndPartDefAccess::getGateReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBCompletePartAndPartDefAccess::getGateReader");
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
