#pragma once

#include "ctraxdbpartlib/writers/CTraxDBHierarchyWritable.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The folders of a library, one level per writer: each folder's
// sub-folders are written by a writer of their own right after it.
class CTraxDBHierarchyWriter : public DBChildWriter<HierarchyAccess, CTraxDBHierarchyWritable> {
public:
    CTraxDBHierarchyWriter(pathHandle_t path, LibraryAccessor &library);
    CTraxDBHierarchyWriter(pathHandle_t path, HierarchyAccessor &parent);

    std::string getWriteItem(std::shared_ptr<HierarchyAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
