#pragma once

#include "ctraxdbpartlib/LogRecord.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CLogHandler {
public:
    explicit CLogHandler(LogLevel threshold) : threshold(threshold) {}
    virtual ~CLogHandler() = default;
    // True when the record was written or was below the threshold.
    virtual bool publish(LogRecord &record) = 0;

    LogLevel getThreshold() const { return threshold; }

protected:
    LogLevel threshold;
    int32_t sequence = 0;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
