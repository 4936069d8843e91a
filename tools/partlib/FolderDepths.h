#pragma once

// The level of every folder of a library's tree (a top folder is at level 1),
// found from each folder's parent without recursion and in time linear in the
// number of folders, so that a tree of any depth is measured before a command
// walks it. partlib walks trees of at most libraryfile::MAX_FOLDER_DEPTH
// levels, the depth a library file holds; a deeper tree is refused with a
// message that names its first folder below that depth.

#include "tools/hostmodel/RecordFields.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class LibraryAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace partlib {

class FolderDepths {
public:
    // A folder of the tree; one added twice (by ID) counts once.
    void add(int id, hostmodel::Number parent, const std::string &name);

    // The number of levels of the tree's deepest branch that hangs from a top
    // folder (folders below a cycle or a missing parent are not counted).
    int depth() const;

    // Refuses a tree deeper than partlib walks; `libraryName` names the
    // library in the message.
    void refuseTooDeep(const std::string &libraryName) const;

private:
    struct Entry {
        int id;
        hostmodel::Number parent;
        std::string name;
    };
    // The first folder at the greatest level and that level.
    std::pair<const Entry *, int> deepest() const;

    std::vector<Entry> entries;
    std::unordered_map<int, size_t> entryOf;
};

// Reads the folders of `library` and refuses a tree deeper than partlib walks.
void refuseTooDeepFolders(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library, const std::string &libraryName);

} // namespace partlib
