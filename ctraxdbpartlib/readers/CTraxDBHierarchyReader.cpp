#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/access/CTraxDBLibHierarchyOnlyAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBHierarchyReader"};

constexpr const char *SELECT_TOP_FOLDERS =
    "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] IS NULL "
    "ORDER BY([Name]);";
static_assert(selectAgrees<HierarchyHierAccessor>(SELECT_TOP_FOLDERS));

constexpr const char *SELECT_SUBFOLDERS =
    "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] = ? "
    "ORDER BY([Name]);";
static_assert(selectAgrees<HierarchyHierAccessor>(SELECT_SUBFOLDERS));

} // namespace

CTraxDBHierarchyReader::CTraxDBHierarchyReader(pathHandle_t path, CTraxDBLibAccess &library)
    : DBRowReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBLibAccess &)"));
    openTopFolders(library.getID());
}

CTraxDBHierarchyReader::CTraxDBHierarchyReader(pathHandle_t path, CTraxDBLibHierarchyOnlyAccess &library)
    : DBRowReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBLibHierarchyOnlyAccess &)"));
    openTopFolders(library.getID());
}

CTraxDBHierarchyReader::CTraxDBHierarchyReader(pathHandle_t path, CTraxDBHierarchyAccess &folder)
    : DBRowReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBHierarchyAccess &)"));
    command.param1 = folder.getLibID();
    command.param2 = folder.getID();
    open(SELECT_SUBFOLDERS);
    count = runCount(database(), "SELECT Count(*) FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] = ?;",
                     command.param1, command.param2);
}

void CTraxDBHierarchyReader::openTopFolders(int32_t libraryId) {
    command.paramCount = 1;
    command.param1 = libraryId;
    open(SELECT_TOP_FOLDERS);
    count = runCount(database(), "SELECT Count(*) FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] IS NULL;",
                     libraryId);
}

std::shared_ptr<HierarchyAccess> CTraxDBHierarchyReader::makeRecord() {
    return newRecord<CTraxDBHierarchyAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
