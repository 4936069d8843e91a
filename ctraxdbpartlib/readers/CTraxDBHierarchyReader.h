#pragma once

#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/HierarchyAccessor.h"
#include "interface/HierarchyAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBLibAccess;
class CTraxDBLibHierarchyOnlyAccess;
class CTraxDBHierarchyAccess;

// The top folders of a library, or the direct sub-folders of a folder,
// ordered by name.
class CTraxDBHierarchyReader : public DBRowReader<HierarchyAccess, HierarchyHierAccessor> {
public:
    CTraxDBHierarchyReader(pathHandle_t path, CTraxDBLibAccess &library);
    CTraxDBHierarchyReader(pathHandle_t path, CTraxDBLibHierarchyOnlyAccess &library);
    CTraxDBHierarchyReader(pathHandle_t path, CTraxDBHierarchyAccess &folder);

protected:
    std::shared_ptr<HierarchyAccess> makeRecord() override;

private:
    void openTopFolders(int32_t libraryId);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
