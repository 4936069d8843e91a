#include "tools/partlib/InputFile.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace partlib {

namespace {

[[noreturn]] void refuseSize(const std::string &name, const std::string &kind) {
    fail(printable(name) + " is larger than " + std::to_string(MAX_INPUT_BYTES >> 20) + " MiB; no " + kind + " is");
}

std::string readAll(int descriptor, const std::string &name, const std::string &kind) {
    std::string text;
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got == 0)
            return text;
        if (got < 0 && errno == EINTR) {
            throwIfCancelled();
            continue;
        }
        if (got < 0)
            fail("Cannot read " + printable(name) + ": " + std::strerror(errno));
        text.append(chunk, static_cast<size_t>(got));
        if (text.size() > MAX_INPUT_BYTES)
            refuseSize(name, kind);
    }
}

} // namespace

void checkInputFile(const std::string &file, const std::string &database, const std::string &kind) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(file, error))
        fail(printable(file) + " is a directory, not a " + kind);
    if (!fs::exists(file, error))
        fail("No such " + kind + ": " + printable(file));
    const std::string databaseFile = databaseFileOf(database);
    if (!databaseFile.empty() && sameFile(file, databaseFile))
        fail(printable(file) + " is the database itself, not a " + kind);
    if (fs::is_regular_file(file, error) && fs::file_size(file, error) > MAX_INPUT_BYTES)
        refuseSize(file, kind);
}

std::string readInputFile(const std::string &file, const std::string &kind) {
    if (file == "-")
        return readAll(STDIN_FILENO, "standard input", kind);
    int descriptor;
    // Opening a named pipe waits for its writer; a signal ends the wait.
    while ((descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC)) < 0 && errno == EINTR)
        throwIfCancelled();
    if (descriptor < 0)
        fail("Cannot read " + printable(file) + ": " + std::strerror(errno));
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{descriptor};
    return readAll(descriptor, file, kind);
}

} // namespace partlib
