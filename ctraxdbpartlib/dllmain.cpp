#include "ctraxdbpartlib/dllmain.h"

#include "ctraxdbpartlib/CFileLogHandler.h"
#include "ctraxdbpartlib/CLogger.h"

#include <cstdlib>
#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

bool processAttach() {
    char value[128] = {};
    if (const char *env = std::getenv("TXDBLOGGER"))
        std::strncpy(value, env, sizeof value - 1);
    if (value[0] != '\0') {
        loggingEnabled = true;
        theLogger.addHandler(new CFileLogHandler(CLogger::levelFromName(value), "./txdb"));
    }
    if (loggingEnabled)
        theLogger.log(LOG_INFO, "dllmain", __LINE__, "CTraxDBPartLib.DLL Initialized");
    return true;
}

bool processDetach() {
    if (loggingEnabled)
        theLogger.log(LOG_INFO, "dllmain", __LINE__, "CTraxDBPartLib.DLL Terminating!");
    if (std::getenv("TXDBLOGGER"))
        for (int slot = 0; slot < CLogger::SLOTS; ++slot) {
            CLogHandler *handler = theLogger.removeHandler(slot);
            if (!handler)
                break;
            delete handler;
        }
    return true;
}

namespace {

void onUnload() {
    processDetach();
}

// The unload step is registered at load, after the logger was built, so it
// runs (at exit or when the library is closed) before the logger goes.
__attribute__((constructor(300))) void onLoad() {
    processAttach();
    std::atexit(onUnload);
}

} // namespace
} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
