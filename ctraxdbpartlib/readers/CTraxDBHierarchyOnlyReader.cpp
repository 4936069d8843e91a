#include "ctraxdbpartlib/readers/CTraxDBHierarchyOnlyReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *SELECT_FOLDERS_AND_PARTS =
    "SELECT [Hierarchy].[Name],[Hierarchy].[Parent_ID],[Hierarchy].[ID],[Hierarchy].[Library_ID],[Parts].[Name] "
    "FROM [Hierarchy] LEFT OUTER JOIN [Parts] ON [Parts].[Hierarchy_ID]=[Hierarchy].[ID] WHERE "
    "[Hierarchy].[Library_ID] = ? ORDER BY [Hierarchy].[Parent_ID],[Hierarchy].[Name],[Parts].[Name];";
static_assert(selectAgrees<AllHierarchyAccessor>(SELECT_FOLDERS_AND_PARTS));

} // namespace

CTraxDBHierarchyOnlyReader::CTraxDBHierarchyOnlyReader(pathHandle_t path, CTraxDBLibAccess &library)
    : DBRowReader(std::move(path), "CTraxDBHierarchyOnlyReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBHierarchyOnlyReader::CTraxDBHierarchyOnlyReader(pathHandle_t,CTraxDBLibAccess &)");
    command.param1 = library.getID();
    open(SELECT_FOLDERS_AND_PARTS);
    count = runCount(database(),
                     "SELECT Count(*) FROM [Hierarchy] LEFT OUTER JOIN [Parts] ON "
                     "[Parts].[Hierarchy_ID]=[Hierarchy].[ID] WHERE [Hierarchy].[Library_ID] = ?;",
                     command.param1);
}

std::shared_ptr<HierarchyAccess> CTraxDBHierarchyOnlyReader::makeRecord() {
    return newRecord<CTraxDBHierarchyAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
