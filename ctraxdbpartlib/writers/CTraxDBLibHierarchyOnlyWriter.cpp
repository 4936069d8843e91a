#include "ctraxdbpartlib/writers/CTraxDBLibHierarchyOnlyWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBLibHierarchyOnlyWriter::CTraxDBLibHierarchyOnlyWriter(pathHandle_t path)
    : DBLibraryWriter("CTraxDBLibHierarchyOnlyWriter", std::move(path)) {}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
