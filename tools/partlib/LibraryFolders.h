#pragma once

// The folder tree of one library, read from the one query that lists each
// folder once per part it holds (by parent, then name): the tree, the path
// of every folder and the folder each part is filed in. Two folders of one
// name under one parent, a folder below a cycle or below a missing folder
// are refused, as a library file tells folders apart by their path.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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
    // The folder of each part by name, in a table of open addressing over
    // one block of names: a library of thousands of parts is looked up
    // part by part.
    struct PartSlot {
        uint32_t hash = 0;               // of the name, odd; 0 for a free slot
        uint32_t offset = 0, length = 0; // of the name in partNames
        int32_t folder = 0;
    };
    // Files the part in the folder unless a part of its name is filed
    // already; true when it was filed.
    bool filePart(std::string_view partName, int folder);
    // The slot of the name, or the free slot where it would go.
    size_t slotOf(std::string_view partName, uint32_t hash) const;

    std::string libraryName;
    std::vector<Folder> top;
    std::unordered_map<int, std::vector<std::string>> paths;
    std::string partNames;
    std::vector<PartSlot> partSlots = std::vector<PartSlot>(16); // a power of two, at most half used
    size_t partsFiled = 0;
    std::unordered_map<int, int> partCounts;
};

} // namespace partlib
