#include "tools/partlib/FolderDepths.h"

#include "interface/PartLibInterface.h"
#include "tools/libraryfile/LibraryFile.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryExport.h"

#include <memory>

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

void FolderDepths::add(int id, hostmodel::Number parent, const std::string &name) {
    if (entryOf.emplace(id, entries.size()).second)
        entries.push_back({id, parent, name});
}

std::pair<const FolderDepths::Entry *, int> FolderDepths::deepest() const {
    std::unordered_map<int, std::vector<size_t>> children;
    std::vector<std::pair<size_t, int>> pending; // entry, level
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].parent)
            children[*entries[i].parent].push_back(i);
        else
            pending.push_back({i, 1});
    }
    // Level by level from the top folders; each folder is reached once, as
    // a folder has one parent.
    std::pair<const Entry *, int> found{nullptr, 0};
    while (!pending.empty()) {
        const auto [index, level] = pending.back();
        pending.pop_back();
        if (level > found.second)
            found = {&entries[index], level};
        auto below = children.find(entries[index].id);
        if (below == children.end())
            continue;
        for (size_t child : below->second)
            pending.push_back({child, level + 1});
        children.erase(below);
    }
    return found;
}

int FolderDepths::depth() const {
    return deepest().second;
}

void FolderDepths::refuseTooDeep(const std::string &libraryName) const {
    const auto [folder, level] = deepest();
    if (level > libraryfile::MAX_FOLDER_DEPTH)
        fail("Library " + libraryName + " has folders " + std::to_string(level) + " levels deep (folder \"" +
             folder->name + "\", ID " + std::to_string(folder->id) + "); partlib handles folder trees of at most " +
             std::to_string(libraryfile::MAX_FOLDER_DEPTH) + " levels, the depth a library file holds");
}

void refuseTooDeepFolders(LibraryAccess &library, const std::string &libraryName) {
    FolderDepths depths;
    std::shared_ptr<Reader<HierarchyAccess>> reader = opened(library.getHierarchyOnlyReader(), "folders");
    while (std::shared_ptr<HierarchyAccess> record = reader->getNext())
        depths.add(record->getID(), hostmodel::nullableNumber(*record, &HierarchyAccess::getParentID),
                   hostmodel::text<DBIMPL::bufferWidth("Hierarchy", "Name")>(*record, &HierarchyAccess::getName));
    depths.refuseTooDeep(libraryName);
}

} // namespace partlib
