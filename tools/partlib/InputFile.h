#pragma once

// The files that partlib's commands read: before a byte is read, a missing
// file, a directory, the database itself and a file over the size given
// (MAX_INPUT_BYTES for those read whole) are refused with a message that
// names the file and what it should have been ("library file", "KiCad
// symbol library").

#include <cstddef>
#include <cstdint>
#include <string>

namespace partlib {

// Larger inputs are refused: each is held in memory whole, several times
// its size once parsed.
constexpr size_t MAX_INPUT_BYTES = size_t(256) << 20;

// A file that is read piece by piece (a library file) may have any size.
constexpr size_t ANY_SIZE = SIZE_MAX;

void checkInputFile(const std::string &file, const std::string &database, const std::string &kind,
                    size_t maxBytes = MAX_INPUT_BYTES);

// The whole text of a file, or of standard input for "-", read to its end
// (a pipe serves as well as a file). A signal while it waits for input
// ends the command; more than MAX_INPUT_BYTES is refused.
std::string readInputFile(const std::string &file, const std::string &kind);

} // namespace partlib
