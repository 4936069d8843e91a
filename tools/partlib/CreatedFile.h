#pragma once

// A file that a command creates for its work and that is to be there
// afterwards only when the work succeeded: it is created here (never one
// that is there already), and removed again, with the journal SQLite keeps
// beside it, when the object goes without keep() having been called, or at
// a second Ctrl-C that ends the process at once.

#include <string>

namespace partlib {

class CreatedFile {
public:
    // No file: nothing to remove.
    CreatedFile() = default;
    // Creates `path` as an empty file. False in `created` when a file of
    // that name came first (it is not this object's to remove); a file that
    // cannot be created ends the command with the system's reason.
    CreatedFile(const std::string &path, bool &created);
    ~CreatedFile();

    CreatedFile(CreatedFile &&other) noexcept;
    CreatedFile &operator=(CreatedFile &&other) noexcept;
    CreatedFile(const CreatedFile &) = delete;
    CreatedFile &operator=(const CreatedFile &) = delete;

    // The work succeeded: the file stays.
    void keep();
    // The file this object removes when it goes; empty when none.
    const std::string &pending() const { return path; }

private:
    void remove() noexcept;

    std::string path;
};

} // namespace partlib
