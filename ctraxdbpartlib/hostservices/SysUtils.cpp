#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <cstdlib>
#include <cstring>

namespace {

// A switch is on when its variable is set to anything but "" or "0".
int environmentSwitch(const char *name) {
    const char *value = std::getenv(name);
    return value && *value && std::strcmp(value, "0") != 0 ? 1 : 0;
}

} // namespace

int isAutotestEnabled() {
    return environmentSwitch("TXDB_AUTOTEST");
}

int isDevEnabled() {
    return environmentSwitch("TXDB_DEVCHECKS");
}
