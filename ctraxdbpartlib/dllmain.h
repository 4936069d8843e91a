#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// What the library does when it is loaded and unloaded: switch logging on
// when TXDBLOGGER names a level, and take the handlers down again.
bool processAttach();
bool processDetach();

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
