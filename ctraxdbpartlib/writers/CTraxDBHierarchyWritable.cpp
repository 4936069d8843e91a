#include "ctraxdbpartlib/writers/CTraxDBHierarchyWritable.h"

#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"
#include "ctraxdbpartlib/writers/CTraxDBHierarchyWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBHierarchyWritable::CTraxDBHierarchyWritable(pathHandle_t path, LibraryAccessor &library)
    : DBTableWritable(std::move(path),
                      "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND "
                      "[Parent_ID] IS NULL ORDER BY([Name]);"),
      libraryId(library.id), parentId(-1) {
    rowset.param1 = libraryId;
    rowset.paramCount = 1;
}

CTraxDBHierarchyWritable::CTraxDBHierarchyWritable(pathHandle_t path, HierarchyAccessor &parent)
    : DBTableWritable(std::move(path),
                      "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND "
                      "[Parent_ID] = ? ORDER BY([Name]);",
                      WriteTable::Hierarchy, parent.id),
      libraryId(parent.libraryId), parentId(parent.id) {
    rowset.param1 = libraryId;
    rowset.param2 = parentId;
}

bool CTraxDBHierarchyWritable::find(std::shared_ptr<HierarchyAccess> item) {
    item->getName(rowset.name, sizeof rowset.name, false);
    if (!findEqual(item, 1))
        return false;
    statements().setSourceFolderKey(item->getID(), rowset.id);
    return true;
}

void CTraxDBHierarchyWritable::insert(std::shared_ptr<HierarchyAccess> item) {
    item->getName(rowset.name, sizeof rowset.name, false);
    rowset.libraryId = libraryId;
    rowset.parentId = parentId;
    rowset.parentIdStatus = parentId == -1 ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK;
    int position = -1;
    item->getPosition(position);
    rowset.id = statements().bufferHierarchyRow(rowset, position);
    statements().setSourceFolderKey(item->getID(), rowset.id);
    inserted(item);
}

void CTraxDBHierarchyWritable::update(std::shared_ptr<HierarchyAccess> item) {
    item->getName(rowset.name, sizeof rowset.name, false);
    hierarchyAccessHandle_t parent = item->getParent();
    const int32_t newParent = parent ? findHierarchyID(path, parent, libraryId) : -1;
    rowset.parentId = newParent < 0 ? 0 : newParent;
    rowset.parentIdStatus = newParent < 0 ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK;
    setFound();
}

void CTraxDBHierarchyWritable::writeSubItems(DBWriter<HierarchyAccess> &writer, std::shared_ptr<HierarchyAccess> item,
                                             CANCEL_CALLBACK cancel) {
    if (holds(item) && rowset.id > 0) {
        CTraxDBHierarchyWriter children(path, rowset);
        adopt(children, writer).write(item->getHierarchyChildReader(), cancel);
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBHierarchyWritable::purge(DBWriter<HierarchyAccess> &writer, std::shared_ptr<HierarchyAccess>,
                                     CANCEL_CALLBACK cancel) {
    auto folder = std::make_shared<CTraxDBHierarchyAccess>(path, rowset);
    CTraxDBHierarchyWriter children(path, rowset);
    adopt(children, writer).purgeAll(std::make_shared<CTraxDBHierarchyReader>(path, *folder), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
