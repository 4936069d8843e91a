#pragma once

#include "ctraxdbpartlib/readers/PartDefAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The part-definition data reader's row: the layout of PartDefAccessor.
using PartDefDataAccessor = PartDefAccessor;

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
