#pragma once

#include "ctraxdbpartlib/LogLevel.h"

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

struct LogRecord {
    LogLevel level = LOG_ALL;
    std::string loggerName;
    std::string message;
    int64_t seconds = 0;       // since 1970-01-01 UTC
    uint16_t milliseconds = 0; // 0..999
    int32_t sequence = 0;
    std::string sourceFile;
    int32_t sourceLine = 0;
    uint32_t threadId = 0;
    uint32_t processId = 0;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
