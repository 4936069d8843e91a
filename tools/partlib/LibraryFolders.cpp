#include "tools/partlib/LibraryFolders.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/access/FolderAncestors.h"
#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/FolderDepths.h"
#include "tools/partlib/LibraryExport.h"

#include <functional>
#include <memory>
#include <utility>

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::nullableNumber;
using hostmodel::Number;
using hostmodel::Text;
using hostmodel::text;

LibraryFolders::LibraryFolders(LibraryAccess &library, std::string name) : libraryName(std::move(name)) {
    struct Row {
        int id;
        Number parent;
        std::string name;
        std::shared_ptr<HierarchyAccess> record;
        int parts = 0;
    };
    std::vector<Row> rows;
    std::unordered_map<int, size_t> rowOf;
    FolderDepths depths;
    std::shared_ptr<Reader<HierarchyAccess>> reader = opened(library.getHierarchyOnlyReader(), "folders");
    Text partName; // kept from row to row
    while (std::shared_ptr<HierarchyAccess> record = reader->getNext()) {
        const int id = record->getID();
        const auto [at, isNew] = rowOf.emplace(id, rows.size());
        if (isNew) {
            rows.push_back({id, nullableNumber(*record, &HierarchyAccess::getParentID),
                            text<DBIMPL::bufferWidth("Hierarchy", "Name")>(*record, &HierarchyAccess::getName),
                            record});
            depths.add(id, rows.back().parent, rows.back().name);
        }
        hostmodel::assignNullableText<DBIMPL::bufferWidth("Parts", "Name")>(partName, *record,
                                                                            &HierarchyAccess::getParentName);
        if (partName && filePart(*partName, id))
            ++rows[at->second].parts;
    }
    for (const Row &row : rows)
        if (row.parts > 0)
            partCounts.emplace(row.id, row.parts);
    // The tree is built by a walk that recurses, one level per call.
    depths.refuseTooDeep(libraryName);
    std::unordered_map<int, std::vector<size_t>> children;
    std::vector<size_t> roots;
    for (size_t i = 0; i < rows.size(); ++i)
        (rows[i].parent ? children[*rows[i].parent] : roots).push_back(i);

    const std::function<std::vector<Folder>(const std::vector<size_t> &, const std::vector<std::string> &)> build =
        [&](const std::vector<size_t> &members, const std::vector<std::string> &parentPath) {
            std::vector<Folder> folders;
            for (size_t i : members) {
                const Row &row = rows[i];
                for (const Folder &sibling : folders)
                    if (sibling.name == row.name)
                        fail("Library " + libraryName + " has two folders named \"" + row.name + "\" in " +
                             (parentPath.empty() ? std::string("its top level")
                                                 : "\"" + DBIMPL::joined(parentPath, "/") + "\"") +
                             "; a library file tells folders apart by their path");
                std::vector<std::string> path = parentPath;
                path.push_back(row.name);
                folders.push_back({row.id, row.name, build(children[row.id], path)});
                paths.emplace(row.id, std::move(path));
            }
            return folders;
        };
    top = build(roots, {});
    // A folder out of the tree hangs below a cycle (the walk up raises) or
    // below a folder that is missing.
    for (const Row &row : rows)
        if (paths.count(row.id) == 0) {
            DBIMPL::forEachAncestor(*row.record, [](HierarchyAccess &) {});
            fail("Folder \"" + row.name + "\" of library " + libraryName + " hangs below folder " +
                 std::to_string(row.parent.value_or(0)) + ", which is not in the library's folder tree");
        }
}

namespace {

// Odd, so that 0 marks a free slot; the probe starts at the other bits.
uint32_t nameHash(std::string_view name) {
    return static_cast<uint32_t>(std::hash<std::string_view>()(name)) | 1;
}

} // namespace

size_t LibraryFolders::slotOf(std::string_view partName, uint32_t hash) const {
    const size_t mask = partSlots.size() - 1;
    for (size_t i = (hash >> 1) & mask;; i = (i + 1) & mask) {
        const PartSlot &slot = partSlots[i];
        if (slot.hash == 0 ||
            (slot.hash == hash && std::string_view(partNames).substr(slot.offset, slot.length) == partName))
            return i;
    }
}

bool LibraryFolders::filePart(std::string_view partName, int folder) {
    if (2 * (partsFiled + 1) > partSlots.size()) {
        std::vector<PartSlot> filed = std::exchange(partSlots, std::vector<PartSlot>(2 * partSlots.size()));
        for (const PartSlot &slot : filed)
            if (slot.hash != 0)
                partSlots[slotOf(std::string_view(partNames).substr(slot.offset, slot.length), slot.hash)] = slot;
    }
    const uint32_t hash = nameHash(partName);
    PartSlot &slot = partSlots[slotOf(partName, hash)];
    if (slot.hash != 0)
        return false;
    if (partNames.size() + partName.size() > UINT32_MAX)
        fail("Library " + libraryName + " has more part names than the export can hold");
    slot = {hash, static_cast<uint32_t>(partNames.size()), static_cast<uint32_t>(partName.size()), folder};
    partNames += partName;
    ++partsFiled;
    return true;
}

int LibraryFolders::folderOfPart(const std::string &partName) const {
    const PartSlot &slot = partSlots[slotOf(partName, nameHash(partName))];
    if (slot.hash == 0)
        fail("Part " + partName + " of library " + libraryName + " is filed in a folder of another library");
    return slot.folder;
}

int LibraryFolders::partsIn(int folderID) const {
    auto count = partCounts.find(folderID);
    return count == partCounts.end() ? 0 : count->second;
}

} // namespace partlib
