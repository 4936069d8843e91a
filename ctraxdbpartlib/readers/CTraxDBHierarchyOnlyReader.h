#pragma once

#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/HierarchyAccessor.h"
#include "interface/HierarchyAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBLibAccess;

// Every folder of a library once per part it holds (the part's name as the
// folder's second name), and once with a NULL second name when it holds none.
class CTraxDBHierarchyOnlyReader : public DBRowReader<HierarchyAccess, AllHierarchyAccessor> {
public:
    CTraxDBHierarchyOnlyReader(pathHandle_t path, CTraxDBLibAccess &library);

protected:
    std::shared_ptr<HierarchyAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
