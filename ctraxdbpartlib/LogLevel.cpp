#include "ctraxdbpartlib/LogLevel.h"

#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

const char *const logLevelNames[LOG_OFF + 1] = {"ALL",  "FINEST",  "FINER",  "FINE", "CONFIG",
                                                "INFO", "WARNING", "SEVERE", "OFF"};

std::string sourceUnitOf(const char *path) {
    const char *base = std::strrchr(path, '/');
    base = base ? base + 1 : path;
    const char *dot = std::strrchr(base, '.');
    return dot ? std::string(base, dot) : std::string(base);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
