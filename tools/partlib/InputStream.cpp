#include "tools/partlib/InputStream.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/Signals.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace partlib {

InputStream::InputStream(const std::string &file) {
    if (file == "-") {
        descriptor = STDIN_FILENO;
        shown = "standard input";
        return;
    }
    shown = file;
    while ((descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC)) < 0 && errno == EINTR)
        throwIfCancelled();
    if (descriptor < 0)
        fail("Cannot read " + printable(file) + ": " + std::strerror(errno));
    owned = true;
    struct stat status {};
    regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

void InputStream::rewind() {
    if (::lseek(descriptor, 0, SEEK_SET) != 0)
        fail("Cannot read " + printable(shown) + " again: " + std::strerror(errno));
}

InputStream::~InputStream() {
    if (owned)
        ::close(descriptor);
}

size_t InputStream::read(char *buffer, size_t size) {
    // A long file ends at Ctrl-C, not only a wait for input.
    throwIfCancelled();
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, size);
        if (got >= 0)
            return static_cast<size_t>(got);
        if (errno != EINTR)
            fail("Cannot read " + printable(shown) + ": " + std::strerror(errno));
        throwIfCancelled();
    }
}

} // namespace partlib
