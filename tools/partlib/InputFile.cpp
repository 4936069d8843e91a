#include "tools/partlib/InputFile.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/InputStream.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/SameDatabase.h"

#include <filesystem>

namespace partlib {

namespace {

[[noreturn]] void refuseSize(const std::string &name, const std::string &kind) {
    fail(printable(name) + " is larger than " + std::to_string(MAX_INPUT_BYTES >> 20) + " MiB; no " + kind + " is");
}

} // namespace

void checkInputFile(const std::string &file, const std::string &database, const std::string &kind, size_t maxBytes) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(file, error))
        fail(printable(file) + " is a directory, not a " + kind);
    if (!fs::exists(file, error))
        fail("No such " + kind + ": " + printable(file));
    const std::string databaseFile = databaseFileOf(database);
    if (!databaseFile.empty() && sameFile(file, databaseFile))
        fail(printable(file) + " is the database itself, not a " + kind);
    if (fs::is_regular_file(file, error) && fs::file_size(file, error) > maxBytes)
        refuseSize(file, kind);
}

std::string readInputFile(const std::string &file, const std::string &kind) {
    InputStream input(file);
    std::string text;
    char chunk[1 << 16];
    while (const size_t got = input.read(chunk, sizeof chunk)) {
        text.append(chunk, got);
        if (text.size() > MAX_INPUT_BYTES)
            refuseSize(input.name(), kind);
    }
    return text;
}

} // namespace partlib
