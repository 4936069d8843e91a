#include "ctraxdbpartlib/connection/StderrCapture.h"

#include "ctraxdbpartlib/TextUtil.h"

#include <unistd.h>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    kept = std::tmpfile();
    if (!kept)
        return;
    saved = ::dup(STDERR_FILENO);
    if (saved < 0 || ::dup2(::fileno(kept), STDERR_FILENO) < 0) {
        if (saved >= 0)
            ::close(saved);
        saved = -1;
        std::fclose(kept);
        kept = nullptr;
    }
}

StderrCapture::~StderrCapture() {
    if (!kept)
        return;
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::fclose(kept);
}

std::string StderrCapture::text() {
    if (!kept)
        return std::string();
    std::fflush(stderr);
    std::string written;
    std::rewind(kept);
    char buffer[4096];
    for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, kept)) > 0;)
        written.append(buffer, count);
    std::fseek(kept, 0, SEEK_END);
    return written;
}

std::string StderrCapture::lastLine() {
    const std::string written = trimmed(text(), " \t\r\n");
    const size_t lineBreak = written.find_last_of('\n');
    return trimmed(lineBreak == std::string::npos ? written : written.substr(lineBreak + 1), " \t\r");
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
