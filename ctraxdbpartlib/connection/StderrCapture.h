#pragma once

#include <cstdio>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Keeps what is written to standard error while it lives, for a library
// that reports its failures there (libmdb prints "error: reading page 126
// failed." and goes on): the text is kept for a message of our own instead
// of reaching the user's terminal. The destructor puts standard error back.
// When the capture cannot be set up, standard error stays as it was and
// text() is empty.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    // Everything written so far.
    std::string text();
    // Its last line that is not blank; empty when nothing was written.
    std::string lastLine();

private:
    int saved = -1;
    std::FILE *kept = nullptr;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
