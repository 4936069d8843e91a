#pragma once

// Output that is checked: every byte a command writes reaches its target or
// the command fails with a message.
//
// main calls useCheckedStandardOutput() first and finishStandardOutput()
// after the command; a full disk or /dev/full then ends the command with
// the system's message, a closed pipe (partlib ... | head) quietly.
//
// A file named by an option (-o, --script) is written through an OutputFile:
//
//   OutputFile out(target, {databaseFileOf(database)}); // checks the target
//   writeEverything(out.stream());
//   out.commit();                                    // the target is replaced only now
//
// "-" and "" stand for standard output. Refused before anything is written:
// the database being read (the same file under any name, see sameFile), a
// directory, a write-protected file, a file in a folder that does not
// exist. A regular file is written through a temporary file next to it that
// replaces it at commit, with the old file's mode and group (a new file
// gets 0666 less the umask); the temporary file is removed on every other
// way out, a second Ctrl-C included (see Signals.h). A device or FIFO is
// written in place. A symbolic link is written through to its target.

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace partlib {

// A stream buffer over a file descriptor that keeps the error of the first
// failing write (errno; 0 while everything was written) and drops the rest.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int descriptor);
    ~DescriptorBuffer() override;
    int error() const { return failure; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool drain();

    int descriptor;
    int failure = 0;
    std::vector<char> buffer;
};

// Sends std::cout through a DescriptorBuffer on standard output; SIGPIPE is
// ignored, so that a closed pipe is a write error like any other.
void useCheckedStandardOutput();

// Flushes std::cout; a failed write raises an Exception with the system's
// message, an empty one for a closed pipe.
void finishStandardOutput();

// The target an output option names: "-" (standard output) when the option
// was not given; an option given with an empty name (as a shell passes an
// unset variable) is refused.
std::string outputTarget(const std::optional<std::string> &option, const std::string &optionName);

// Adds -o,--output FILE to a command; `when` ends the help's "FILE is
// replaced only when ..." ("the export succeeds").
CLI::Option *addOutputOption(CLI::App &command, std::optional<std::string> &output, const std::string &when);

class OutputFile {
public:
    // Checks the target against the files being read (`inputs`; empty
    // names are skipped) and opens the temporary file or the device.
    OutputFile(const std::string &target, const std::vector<std::string> &inputs = {});
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    std::ostream &stream();
    bool isStandardOutput() const { return descriptor < 0 && temporary.empty(); }

    // Raises the error of a failed write with the system's message (an
    // empty one for a closed pipe); nothing while every write succeeded.
    void check();

    // Writes the content through `write`. When that fails, a failed write
    // to the output is told with the system's reason in its place (a full
    // disk, not the content's own failure that it caused).
    void fill(const std::function<void(std::ostream &)> &write);

    // Flushes and checks the output; a file then replaces the target.
    void commit();

private:
    std::string target;    // as the user named it
    std::string written;   // the file that commit replaces
    std::string temporary; // empty when written in place
    int descriptor = -1;
    bool committed = false;
    std::unique_ptr<DescriptorBuffer> buffer;
    std::unique_ptr<std::ostream> out;
};

} // namespace partlib
