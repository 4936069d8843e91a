#pragma once

// A library's folder tree and the folder path of every part, from the one
// query of the hierarchy-only reader (each folder once per part it holds).
// Two sibling folders of one name, and a folder out of the tree, are
// refused: a library file and the host model tell folders apart by path.

#include "tools/hostmodel/HostLibrary.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class LibraryAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace partlib {

class LibraryFolders {
public:
    // `name` is the library's, for the messages.
    LibraryFolders(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library, const std::string &name);

    // The folder names from the top down; a part filed in no folder of the
    // library is refused.
    const std::vector<std::string> &pathOf(const std::string &partName) const;

    std::vector<hostmodel::Folder> tree; // by parent, then name; every state WRITE

private:
    std::string name;
    std::unordered_map<int, std::vector<std::string>> folderPaths;
    std::unordered_map<std::string, int> folderOfPart;
};

} // namespace partlib
