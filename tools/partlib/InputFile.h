#pragma once

// The files that partlib import and import-kicad read whole. Before a byte
// is read, a missing file, a directory, the database itself and a file over
// MAX_INPUT_BYTES are refused with a message that names the file and what
// it should have been ("library file", "KiCad symbol library").

#include <cstddef>
#include <string>

namespace partlib {

// Larger inputs are refused: each is held in memory whole, several times
// its size once parsed.
constexpr size_t MAX_INPUT_BYTES = size_t(256) << 20;

void checkInputFile(const std::string &file, const std::string &database, const std::string &kind);

// The whole text of a file, or of standard input for "-", read to its end
// (a pipe serves as well as a file). A signal while it waits for input
// ends the command; more than MAX_INPUT_BYTES is refused.
std::string readInputFile(const std::string &file, const std::string &kind);

} // namespace partlib
