#include "ctraxdbpartlib/writers/CTraxDBLibWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBLibWriter::CTraxDBLibWriter(pathHandle_t path) : DBLibraryWriter("CTraxDBLibWriter", std::move(path)) {}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
