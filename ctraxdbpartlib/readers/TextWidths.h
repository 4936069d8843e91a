#pragma once

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"

#include <cstddef>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The text columns whose getters accept a buffer smaller than the column:
// the buffer size (bytes with the terminator) that holds a whole value, and
// the smallest size a getter accepts, into which the text arrives cut.
// Readers and records keep the whole value; callers that must not lose any
// of it pass the whole size.
namespace textWidth {

constexpr size_t PIN_SIGNAL = bufferWidth("Pin_Data", "Signal"), PIN_SIGNAL_MIN = 49;
constexpr size_t ATTRIBUTE_NAME = bufferWidth("Attributes", "Name"), ATTRIBUTE_NAME_MIN = 51;
constexpr size_t DEFINITION_PSPICE = bufferWidth("Part_Definition", "PSpice_data"), DEFINITION_PSPICE_MIN = 81;

// The columns read into buffers that their getters ask to be wider than
// the column: the bytes the column's characters take at most, which a read
// holds them to.
constexpr size_t PART_ACCEPTANCE_BYTES = textBytes(bufferWidth("Parts", "Part_Acceptance")) - 1;
constexpr size_t PART_ACCEPTANCE_BUFFER = 256; // read, and handed out, in buffers of 256
constexpr size_t REPORT_PCB_COMPONENT_BYTES = textBytes(bufferWidth("Part_Definition", "PCB_component_name")) - 1;
constexpr size_t REPORT_PCB_COMPONENT_BUFFER = 81; // read, and handed out, in buffers of 81

static_assert(PART_ACCEPTANCE_BYTES < textBytes(PART_ACCEPTANCE_BUFFER), "the column fits its wider buffer");
static_assert(REPORT_PCB_COMPONENT_BYTES < textBytes(REPORT_PCB_COMPONENT_BUFFER), "the column fits its wider buffer");

} // namespace textWidth
} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
