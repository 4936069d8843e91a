#pragma once

#include "ctraxdbpartlib/readers/GateDataReadAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin linked to a gate of a swap group: the layout of
// GateDataReadAccessor, the parameter being the swap gate's ID.
using GateSwapPinDataReadAccessor = GateDataReadAccessor;

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
