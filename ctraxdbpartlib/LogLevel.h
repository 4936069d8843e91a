#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A plain integer; a record is written when its level is at least the
// handler's threshold.
using LogLevel = int32_t;

constexpr LogLevel LOG_ALL = 0;
constexpr LogLevel LOG_FINEST = 1;
constexpr LogLevel LOG_FINER = 2;
constexpr LogLevel LOG_FINE = 3;
constexpr LogLevel LOG_CONFIG = 4;
constexpr LogLevel LOG_INFO = 5;
constexpr LogLevel LOG_WARNING = 6;
constexpr LogLevel LOG_SEVERE = 7;
constexpr LogLevel LOG_OFF = 8;
// What levelFromName answers for a text that names no level.
constexpr LogLevel LOG_UNKNOWN = 9;

// The names of the levels ALL .. OFF, indexed by the value.
extern const char *const logLevelNames[LOG_OFF + 1];

// The source unit of a file path: its base name without the extension, so
// that "ctraxdbpartlib/connection/CTraxDBPath.cpp" traces as "CTraxDBPath".
std::string sourceUnitOf(const char *path);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
