#include "tools/partlib/LibraryFolders.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/access/FolderAncestors.h"
#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryExport.h"

#include <functional>

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::nullableNumber;
using hostmodel::nullableText;
using hostmodel::text;

LibraryFolders::LibraryFolders(LibraryAccess &library, const std::string &name) : name(name) {
    struct Row {
        int id;
        Number parent;
        std::string name;
        std::shared_ptr<HierarchyAccess> record;
    };
    std::vector<Row> rows;
    std::unordered_map<int, size_t> rowOf;
    std::shared_ptr<Reader<HierarchyAccess>> reader = opened(library.getHierarchyOnlyReader(), "folders");
    while (std::shared_ptr<HierarchyAccess> record = reader->getNext()) {
        const int id = record->getID();
        if (rowOf.emplace(id, rows.size()).second)
            rows.push_back({id, nullableNumber(*record, &HierarchyAccess::getParentID),
                            text<51>(*record, &HierarchyAccess::getName), record});
        if (Text partName = nullableText<51>(*record, &HierarchyAccess::getParentName))
            folderOfPart.emplace(std::move(*partName), id);
    }
    std::unordered_map<int, std::vector<size_t>> children;
    std::vector<size_t> top;
    for (size_t i = 0; i < rows.size(); ++i)
        (rows[i].parent ? children[*rows[i].parent] : top).push_back(i);

    const std::function<std::vector<hostmodel::Folder>(const std::vector<size_t> &, const std::vector<std::string> &)>
        build = [&](const std::vector<size_t> &members, const std::vector<std::string> &parentPath) {
            std::vector<hostmodel::Folder> folders;
            for (size_t i : members) {
                const Row &row = rows[i];
                for (const hostmodel::Folder &sibling : folders)
                    if (sibling.name == row.name)
                        fail("Library " + name + " has two folders named \"" + row.name + "\" in " +
                             (parentPath.empty() ? std::string("its top level")
                                                 : "\"" + DBIMPL::joined(parentPath, "/") + "\"") +
                             "; a library file tells folders apart by their path");
                std::vector<std::string> path = parentPath;
                path.push_back(row.name);
                folders.push_back({row.name, build(children[row.id], path)});
                folderPaths.emplace(row.id, std::move(path));
            }
            return folders;
        };
    tree = build(top, {});
    // A folder out of the tree hangs below a cycle (the walk up raises) or
    // below a folder that is missing.
    for (const Row &row : rows)
        if (folderPaths.count(row.id) == 0) {
            DBIMPL::forEachAncestor(*row.record, [](HierarchyAccess &) {});
            fail("Folder \"" + row.name + "\" of library " + name + " hangs below folder " +
                 std::to_string(row.parent.value_or(0)) + ", which is not in the library's folder tree");
        }
}

const std::vector<std::string> &LibraryFolders::pathOf(const std::string &partName) const {
    auto folder = folderOfPart.find(partName);
    if (folder == folderOfPart.end())
        fail("Part " + partName + " of library " + name + " is filed in a folder of another library");
    return folderPaths.at(folder->second);
}

} // namespace partlib
