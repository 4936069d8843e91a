#include "ctraxdbpartlib/writers/CTraxDBHierarchyWritable.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/access/FolderAncestors.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"
#include "ctraxdbpartlib/writers/CTraxDBHierarchyWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBHierarchyWritable::CTraxDBHierarchyWritable(pathHandle_t path, LibraryAccessor &library)
    : DBTableWritable(std::move(path),
                      "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND "
                      "[Parent_ID] IS NULL ORDER BY([Name]);"),
      libraryId(library.id), parentId(-1) {
    rowset.param1 = libraryId;
    rowset.paramCount = 1;
    rowset.level = 1;
}

CTraxDBHierarchyWritable::CTraxDBHierarchyWritable(pathHandle_t path, HierarchyAccessor &parent)
    : DBTableWritable(std::move(path),
                      "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND "
                      "[Parent_ID] = ? ORDER BY([Name]);",
                      WriteTable::Hierarchy, parent.id),
      libraryId(parent.libraryId), parentId(parent.id) {
    rowset.param1 = libraryId;
    rowset.param2 = parentId;
    rowset.level = parent.level + 1;
}

// Each level of a tree is written by a writer of its own, nested in the
// writer of the level above: a deeper tree is refused at its first folder
// past the limit, before the nesting can exhaust the stack.
void CTraxDBHierarchyWritable::refuseTooDeep(HierarchyAccess &item) {
    if (rowset.level <= MAX_FOLDER_DEPTH)
        return;
    TextBuffer<bufferWidth("Hierarchy", "Name")> name = {};
    item.getName(name, sizeof name, false);
    TXDB_RAISE_TEXT("Library \"" + storedEscaped(statements().getLibraryName()) + "\": the folder \"" +
                    storedEscaped(name) + "\" lies more than " + std::to_string(MAX_FOLDER_DEPTH) +
                    " levels deep, deeper than a folder tree is written");
}

bool CTraxDBHierarchyWritable::find(std::shared_ptr<HierarchyAccess> item) {
    refuseTooDeep(*item);
    item->getName(rowset.name, sizeof rowset.name, false);
    if (!findEqual(item, 1))
        return false;
    statements().setSourceFolderKey(item->getID(), rowset.id);
    return true;
}

void CTraxDBHierarchyWritable::insert(std::shared_ptr<HierarchyAccess> item) {
    refuseTooDeep(*item);
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
        // On the heap: the writers of a deep tree nest, and the stack holds
        // only what each level's calls need.
        auto children = std::make_unique<CTraxDBHierarchyWriter>(path, rowset);
        adopt(*children, writer).write(item->getHierarchyChildReader(), cancel);
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBHierarchyWritable::purge(DBWriter<HierarchyAccess> &writer, std::shared_ptr<HierarchyAccess>,
                                     CANCEL_CALLBACK cancel) {
    auto folder = std::make_shared<CTraxDBHierarchyAccess>(path, rowset);
    auto children = std::make_unique<CTraxDBHierarchyWriter>(path, rowset);
    adopt(*children, writer).purgeAll(std::make_shared<CTraxDBHierarchyReader>(path, *folder), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
