#pragma once

// Helpers shared by the units of the host services library; not part of
// what the plug-in sees.

#include <string>

namespace hostservices_detail {

// A copy of `text` in memory from mallocString, for the caller to freeMem.
char *hostStringCopy(const std::string &text);

// True when standard input is a terminal, so that the user can be asked.
bool stdinIsTerminal();

// Writes `prompt` to standard error and reads one line from standard input
// (without its line end); false at end of input.
bool askLine(const std::string &prompt, std::string &answer);

} // namespace hostservices_detail
