#pragma once

#include "ctraxdbpartlib/CLogHandler.h"
#include "ctraxdbpartlib/LogLevel.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The process-wide logger: 128 handler slots, none owned.
class CLogger {
public:
    static constexpr int SLOTS = 128;

    explicit CLogger(const std::string &name);
    virtual ~CLogger();

    void log(LogLevel level, const std::string &sourceFile, int sourceLine, const std::string &message);
    int addHandler(CLogHandler *handler);
    CLogHandler *removeHandler(int index);
    CLogHandler *getHandler(int index) const;
    const std::string &getName() const { return name; }

    static LogLevel levelFromName(const std::string &text);
    static const char *levelName(LogLevel level);

private:
    std::string name;
    CLogHandler *handlers[SLOTS];
};

extern CLogger theLogger;
extern bool loggingEnabled;

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

// The one trace macro. With logging off it costs one test of a boolean:
// neither the source unit nor the text expression is evaluated.
#define TXDB_TRACE(level, text)                                                                                        \
    do {                                                                                                               \
        if (::COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::loggingEnabled)                                                 \
            ::COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::theLogger.log(                                                  \
                (level), ::COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::sourceUnitOf(__FILE__), __LINE__, (text));         \
    } while (0)
