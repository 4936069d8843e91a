#include "ctraxdbpartlib/CLogger.h"

#include <chrono>
#include <unistd.h>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
// Built before the library's initialisation routine runs and destroyed
// after its unload step (see dllmain).
__attribute__((init_priority(200))) CLogger theLogger("TRAXEL Database Part Library logger");
bool loggingEnabled = false;

CLogger::CLogger(const std::string &name) : name(name) {
    for (CLogHandler *&slot : handlers)
        slot = nullptr;
}

// The handlers are not the logger's: the unload routine destroys them.
CLogger::~CLogger() = default;

void CLogger::log(LogLevel level, const std::string &sourceFile, int sourceLine, const std::string &message) {
    LogRecord record;
    record.level = level;
    record.loggerName = name;
    record.message = message;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    record.seconds = ms / 1000;
    record.milliseconds = static_cast<uint16_t>(ms % 1000);
    record.sourceFile = sourceFile;
    record.sourceLine = sourceLine;
    record.threadId = static_cast<uint32_t>(gettid());
    record.processId = static_cast<uint32_t>(getpid());
    for (CLogHandler *handler : handlers)
        if (handler)
            handler->publish(record);
}

int CLogger::addHandler(CLogHandler *handler) {
    for (int i = 0; i < SLOTS; ++i)
        if (handlers[i] == handler)
            return i;
    for (int i = 0; i < SLOTS; ++i)
        if (handlers[i] == nullptr) {
            handlers[i] = handler;
            return i;
        }
    return SLOTS;
}

CLogHandler *CLogger::removeHandler(int index) {
    if (index < 0 || index >= SLOTS)
        return nullptr;
    CLogHandler *handler = handlers[index];
    handlers[index] = nullptr;
    return handler;
}

CLogHandler *CLogger::getHandler(int index) const {
    return index < 0 || index >= SLOTS ? nullptr : handlers[index];
}

LogLevel CLogger::levelFromName(const std::string &text) {
    for (LogLevel level = LOG_ALL; level <= LOG_OFF; ++level)
        if (text == logLevelNames[level])
            return level;
    return LOG_UNKNOWN;
}

const char *CLogger::levelName(LogLevel level) {
    return level >= LOG_ALL && level <= LOG_OFF ? logLevelNames[level] : "";
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
