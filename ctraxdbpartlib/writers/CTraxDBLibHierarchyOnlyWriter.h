#pragma once

#include "ctraxdbpartlib/writers/CTraxDBLibHierarchyOnlyWritable.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Writes libraries' folder trees and part placement in one transaction.
class CTraxDBLibHierarchyOnlyWriter : public DBLibraryWriter<LibHierarchyOnlyAccess, CTraxDBLibHierarchyOnlyWritable> {
public:
    explicit CTraxDBLibHierarchyOnlyWriter(pathHandle_t path);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
