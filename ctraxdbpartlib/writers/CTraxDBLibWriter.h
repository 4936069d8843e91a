#pragma once

#include "ctraxdbpartlib/writers/CTraxDBLibWritable.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Writes whole libraries in one transaction.
class CTraxDBLibWriter : public DBLibraryWriter<LibraryAccess, CTraxDBLibWritable> {
public:
    explicit CTraxDBLibWriter(pathHandle_t path);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
