#pragma once

#include "ctraxdbpartlib/access/CTraxDBLibRecord.h"
#include "interface/LibHierarchyOnlyAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A library seen only through its folders.
class CTraxDBLibHierarchyOnlyAccess : public CTraxDBLibRecord<LibHierarchyOnlyAccess> {
public:
    CTraxDBLibHierarchyOnlyAccess(pathHandle_t path, const LibHierarchyOnlyAccessor &row);

    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
