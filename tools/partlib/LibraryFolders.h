#pragma once

// The folder tree of one library, read from the one query that lists each
// folder once per part it holds (by parent, then name): the tree, the path
// of every folder and the folder each part is filed in. Two folders of one
// name under one parent, a folder below a cycle or below a missing folder
// are refused, as a library file tells folders apart by their path.

#include <string>
#include <unordered_map>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class LibraryAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace partlib {

struct Folder {
    int id = 0;
    std::string name;
    std::vector<Folder> folders;
};

class LibraryFolders {
public:
    // Reads the folders of `library`; `libraryName` names it in failures.
    LibraryFolders(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library, std::string libraryName);

    // The top folders, each with its sub-folders, by name within a parent.
    const std::vector<Folder> &tree() const { return top; }
    // The names from the top folder down to the folder.
    const std::vector<std::string> &pathOf(int folderID) const { return paths.at(folderID); }
    // The folder the part is filed in; a part of no folder of the library
    // is refused.
    int folderOfPart(const std::string &partName) const;
    // The number of parts filed in the folder itself.
    int partsIn(int folderID) const;

private:
    std::string libraryName;
    std::vector<Folder> top;
    std::unordered_map<int, std::vector<std::string>> paths;
    std::unordered_map<std::string, int> partFolders;
    std::unordered_map<int, int> partCounts;
};

} // namespace partlib
