#pragma once

#include "ctraxdbpartlib/TextUtil.h"

#include <cstddef>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The text columns whose getters accept a buffer smaller than the column:
// the buffer size (bytes with the terminator) that holds a whole value, and
// the smallest size a getter accepts, into which the text arrives cut.
// Readers and records keep the whole value; callers that must not lose any
// of it pass the whole size.
namespace textWidth {

constexpr size_t PIN_SIGNAL = 51, PIN_SIGNAL_MIN = 49;
constexpr size_t ATTRIBUTE_NAME = 256, ATTRIBUTE_NAME_MIN = 51;
constexpr size_t DEFINITION_PSPICE = 256, DEFINITION_PSPICE_MIN = 81;

// The columns read into buffers that their getters ask to be wider than
// the column: the bytes the column's characters take at most, which a read
// holds them to.
constexpr size_t PART_ACCEPTANCE_BYTES = textBytes(101) - 1;     // read, and handed out, in buffers of 256
constexpr size_t REPORT_PCB_COMPONENT_BYTES = textBytes(51) - 1; // read, and handed out, in buffers of 81

} // namespace textWidth
} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
