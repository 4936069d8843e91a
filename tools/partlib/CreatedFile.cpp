#include "tools/partlib/CreatedFile.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/Output.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace partlib {

CreatedFile::CreatedFile(const std::string &name, bool &created) {
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    created = descriptor >= 0;
    if (created) {
        ::close(descriptor);
        path = name;
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

void CreatedFile::remove() noexcept {
    if (path.empty())
        return;
    for (const char *suffix : {"-journal", "-wal", "-shm", ""})
        ::unlink((path + suffix).c_str());
    path.clear();
}

} // namespace partlib
