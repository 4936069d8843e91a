#pragma once

// A file, or standard input for "-", read piece by piece: the library file
// that partlib import reads as it parses it. Opening a named pipe waits for
// its writer, and a signal ends that wait and any read as it ends the
// command; a failing read names the file and the system's reason.

#include "tools/libraryfile/TextInput.h"

#include <string>

namespace partlib {

class InputStream : public libraryfile::TextSource {
public:
    explicit InputStream(const std::string &file);
    ~InputStream() override;
    InputStream(const InputStream &) = delete;
    InputStream &operator=(const InputStream &) = delete;

    size_t read(char *buffer, size_t size) override;
    // A regular file is read again from its start; standard input and pipes
    // are not.
    bool rewindable() const override { return regular; }
    void rewind() override;
    // The name to show: the file's, or "standard input".
    const std::string &name() const { return shown; }

private:
    int descriptor = -1;
    bool owned = false;
    bool regular = false;
    std::string shown;
};

} // namespace partlib
