#include "tools/partlib/CreatedFile.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/Signals.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace partlib {

namespace {

// The file and the journal SQLite keeps beside it while it writes.
const char *const SUFFIXES[] = {"-journal", ""};

} // namespace

CreatedFile::CreatedFile(const std::string &name, bool &created) {
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    created = descriptor >= 0;
    if (created) {
        ::close(descriptor);
        path = name;
        // A second Ctrl-C ends the process at once: the file goes then too.
        for (const char *suffix : SUFFIXES)
            removeOnSignal(path + suffix);
    } else if (errno != EEXIST) {
        fail("Cannot create " + printable(name) + ": " + std::strerror(errno));
    }
}

CreatedFile::~CreatedFile() {
    remove();
}

CreatedFile::CreatedFile(CreatedFile &&other) noexcept : path(std::move(other.path)) {
    other.path.clear();
}

CreatedFile &CreatedFile::operator=(CreatedFile &&other) noexcept {
    if (this != &other) {
        remove();
        path = std::move(other.path);
        other.path.clear();
    }
    return *this;
}

void CreatedFile::keep() {
    for (const char *suffix : SUFFIXES)
        forgetOnSignal(path + suffix);
    path.clear();
}

void CreatedFile::remove() noexcept {
    if (path.empty())
        return;
    for (const char *suffix : SUFFIXES)
        ::unlink((path + suffix).c_str());
    keep();
}

} // namespace partlib
