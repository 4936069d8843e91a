#include "ctraxdbpartlib/access/FolderAncestors.h"

#include "ctraxdbpartlib/CTraxDBError.h"

#include <string>
#include <unordered_set>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

std::string nameOf(HierarchyAccess &folder) {
    TCHAR name[256] = "";
    folder.getName(name, sizeof name, false);
    return name;
}

} // namespace

void forEachAncestor(HierarchyAccess &folder, const std::function<void(HierarchyAccess &)> &visit) {
    std::unordered_set<int> seen;
    if (folder.getID() >= 0)
        seen.insert(folder.getID());
    int keyless = 0;
    for (hierarchyAccessHandle_t current = folder.getParent(); current; current = current->getParent()) {
        const int id = current->getID();
        if (id >= 0 ? !seen.insert(id).second : ++keyless > MAX_FOLDER_DEPTH)
            TXDB_RAISE_TEXT("The folder \"" + nameOf(*current) + "\" (ID " + std::to_string(id) +
                            ") is its own ancestor: the parents of its folders form a cycle");
        visit(*current);
    }
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
