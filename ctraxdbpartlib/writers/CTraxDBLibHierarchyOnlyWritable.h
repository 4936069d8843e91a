#pragma once

#include "ctraxdbpartlib/writers/DBLibraryWritable.h"
#include "interface/LibHierarchyOnlyAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Libraries seen through their folder trees and the placement of their
// parts: the [Library] row, the folders, and the parts filed in them.
class CTraxDBLibHierarchyOnlyWritable : public DBLibraryWritable<LibHierarchyOnlyAccess> {
public:
    explicit CTraxDBLibHierarchyOnlyWritable(pathHandle_t path);

    void writeSubItems(DBWriter<LibHierarchyOnlyAccess> &writer, std::shared_ptr<LibHierarchyOnlyAccess> item,
                       CANCEL_CALLBACK cancel) override;
    // Removes the library's folders; the library's row stays.
    void purge(DBWriter<LibHierarchyOnlyAccess> &writer, std::shared_ptr<LibHierarchyOnlyAccess> item,
               CANCEL_CALLBACK cancel) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
