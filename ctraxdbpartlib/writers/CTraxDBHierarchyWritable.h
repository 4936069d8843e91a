#pragma once

#include "ctraxdbpartlib/readers/HierarchyAccessor.h"
#include "ctraxdbpartlib/readers/LibraryAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "interface/HierarchyAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The folders of one level of a library's tree (its top level, or the
// sub-folders of one folder), found by name.
class CTraxDBHierarchyWritable : public DBTableWritable<HierarchyAccess, HierarchyHierAccessor> {
public:
    CTraxDBHierarchyWritable(pathHandle_t path, LibraryAccessor &library);
    CTraxDBHierarchyWritable(pathHandle_t path, HierarchyAccessor &parent);

    bool find(std::shared_ptr<HierarchyAccess> item) override;
    void insert(std::shared_ptr<HierarchyAccess> item) override;
    // Renames the folder and moves it under the parent the item names.
    void update(std::shared_ptr<HierarchyAccess> item) override;
    void writeSubItems(DBWriter<HierarchyAccess> &writer, std::shared_ptr<HierarchyAccess> item,
                       CANCEL_CALLBACK cancel) override;
    // Removes the folder's sub-folders, deepest first, then the folder.
    void purge(DBWriter<HierarchyAccess> &writer, std::shared_ptr<HierarchyAccess> item,
               CANCEL_CALLBACK cancel) override;

private:
    void refuseTooDeep(HierarchyAccess &item);

    int32_t libraryId;
    int32_t parentId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
