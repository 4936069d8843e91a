#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartReader.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBHierarchyAccess"};

constexpr const char *PARENT_BY_ID = "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [ID] = ?;";
static_assert(selectAgrees<HierarchyLibAccessor>(PARENT_BY_ID));
static_assert(selectAgrees<HierarchyLibAccessor>(CTraxDBHierarchyAccess::FOLDER_BY_ID));

} // namespace

CTraxDBHierarchyAccess::CTraxDBHierarchyAccess(pathHandle_t path, const HierarchyAccessor &row)
    : path(std::move(path)), id(row.id), libraryId(row.libraryId) {
    TXDB_TRACE(LOG_FINER, traced.constructor(" (pathHandle_t,HierarchyAccessor &)"));
    parentId.assign(row.parentId, row.parentIdStatus);
    name.assign(row.name);
    secondName.assign(row.secondName, row.secondNameStatus);
}

CTraxDBHierarchyAccess::~CTraxDBHierarchyAccess() {
    TXDB_TRACE(LOG_FINEST, traced.destructor());
}

void CTraxDBHierarchyAccess::getName(TCHAR *buffer, size_t size, bool) {
    TXDB_TRACE(LOG_FINE, traced("getName(TCHAR *, size_t, bool)"));
    getter::text(name, buffer, size);
}

hierarchyAccessHandle_t CTraxDBHierarchyAccess::lookup(const pathHandle_t &path, const std::string &sql,
                                                       int32_t folderId) {
    CCommand<CAccessor<HierarchyLibAccessor>> command;
    command.param1 = folderId;
    dbPath(path).open(command, sql);
    HRESULT result = command.MoveFirst();
    checkResult(result);
    if (result == DB_S_ENDOFROWSET) {
        TXDB_TRACE(LOG_FINER, "End of record set");
        return nullptr;
    }
    return std::make_shared<CTraxDBHierarchyAccess>(path, command);
}

hierarchyAccessHandle_t CTraxDBHierarchyAccess::getParent() {
    TXDB_TRACE(LOG_FINE, traced("getParent"));
    if (parentId.null)
        return nullptr;
    return lookup(path, PARENT_BY_ID, parentId.value);
}

std::shared_ptr<Reader<HierarchyAccess>> CTraxDBHierarchyAccess::getHierarchyChildReader() {
    TXDB_TRACE(LOG_FINER, traced("getHierarchyChildReader"));
    return std::make_shared<CTraxDBHierarchyReader>(path, *this);
}

std::shared_ptr<Reader<PartAccess>> CTraxDBHierarchyAccess::getPartReader(partFilterCompHandle_t filter) {
    TXDB_TRACE(LOG_FINER, traced("getPartReader(partFilterCompHandle_t)"));
    return std::make_shared<CTraxDBPartReader>(path, *this, filter);
}

void CTraxDBHierarchyAccess::getPosition(int &position) {
    position = -1;
}

void CTraxDBHierarchyAccess::getParentID(bool &isNull, int &value) {
    getter::value(parentId, isNull, value, OnNull::Zero);
}

int CTraxDBHierarchyAccess::getID() {
    TXDB_TRACE(LOG_FINEST, traced("getID"));
    return id;
}

void CTraxDBHierarchyAccess::getParentName(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getParentName(bool &, TCHAR *, size_t)"));
    getter::textNullFirst(secondName, isNull, buffer, size);
}

int CTraxDBHierarchyAccess::getLibID() {
    TXDB_TRACE(LOG_FINEST, traced("getLibID"));
    return libraryId;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
