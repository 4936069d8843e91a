#include "tools/partlib/CheckedOutput.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"

#include "interface/Exception.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace partlib {

namespace {

constexpr size_t BUFFER_SIZE = 65536;

// The message of a failed write: none for a closed pipe.
[[noreturn]] void failWriting(const std::string &name, int error) {
    fail(error == EPIPE ? std::string() : "Cannot write " + name + ": " + std::strerror(error));
}

// The file that a target names: a symbolic link is followed to its target.
std::string resolved(const std::string &target) {
    char *real = ::realpath(target.c_str(), nullptr);
    if (!real)
        return target;
    std::string path = real;
    std::free(real);
    return path;
}

} // namespace

DescriptorBuffer::DescriptorBuffer(int descriptor) : descriptor(descriptor), buffer(BUFFER_SIZE) {
    setp(buffer.data(), buffer.data() + buffer.size());
}

DescriptorBuffer::~DescriptorBuffer() {
    drain();
}

bool DescriptorBuffer::drain() {
    const char *next = pbase();
    while (!failure && next < pptr()) {
        const ssize_t written = ::write(descriptor, next, pptr() - next);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            failure = written < 0 ? errno : EIO;
        else
            next += written;
    }
    setp(buffer.data(), buffer.data() + buffer.size());
    return !failure;
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

int DescriptorBuffer::sync() {
    return drain() ? 0 : -1;
}

namespace {

DescriptorBuffer *standardOutput = nullptr;

} // namespace

void useCheckedStandardOutput() {
    std::signal(SIGPIPE, SIG_IGN);
    // Left to the end of the process: std::cout is flushed after every
    // static object is gone.
    standardOutput = new DescriptorBuffer(STDOUT_FILENO);
    std::cout.rdbuf(standardOutput);
}

void finishStandardOutput() {
    std::cout.flush();
    if (standardOutput && standardOutput->error())
        failWriting("standard output", standardOutput->error());
}

std::string outputTarget(const std::optional<std::string> &option, const std::string &optionName) {
    if (option && option->empty())
        fail(optionName + " needs a file name (- for standard output)");
    return option.value_or("-");
}

CLI::Option *addOutputOption(CLI::App &command, std::optional<std::string> &output, const std::string &when) {
    return command
        .add_option("-o,--output", output,
                    "Write to FILE instead of standard output (- is standard output); FILE is replaced only when " +
                        when + ", keeping its mode and group; a device or FIFO is written in place")
        ->type_name("FILE");
}

OutputFile::OutputFile(const std::string &target, const std::vector<std::string> &inputs) : target(target) {
    if (target.empty() || target == "-")
        return;
    for (const std::string &input : inputs)
        if (!input.empty() && sameFile(input, target))
            fail("Refusing to write " + target + ": it is the database being read");
    written = resolved(target);
    struct stat existing {};
    const bool exists = ::stat(written.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        fail("Cannot write " + target + ": it is a directory");
    if (exists && !S_ISREG(existing.st_mode)) {
        descriptor = ::open(written.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (descriptor < 0)
            fail("Cannot open " + target + ": " + std::strerror(errno));
    } else {
        if (exists && ((existing.st_mode & 0222) == 0 || ::access(written.c_str(), W_OK) != 0))
            fail("Refusing to replace " + target + ": it is write-protected");
        temporary = written + ".XXXXXX";
        descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (descriptor < 0) {
            const int error = errno;
            temporary.clear();
            fail("Cannot create " + target + ": " + std::strerror(error));
        }
        removeOnSignal(temporary);
        if (exists) {
            // The group first: changing it may clear set-ID bits of the mode.
            if (::fchown(descriptor, static_cast<uid_t>(-1), existing.st_gid) != 0)
                existing.st_mode &= ~static_cast<mode_t>(S_ISGID | 0070);
            ::fchmod(descriptor, existing.st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(descriptor, 0666 & ~mask);
        }
    }
    buffer = std::make_unique<DescriptorBuffer>(descriptor);
    out = std::make_unique<std::ostream>(buffer.get());
}

OutputFile::~OutputFile() {
    out.reset();
    buffer.reset();
    if (descriptor >= 0)
        ::close(descriptor);
    if (!temporary.empty()) {
        if (!committed)
            ::unlink(temporary.c_str());
        forgetOnSignal(temporary);
    }
}

std::ostream &OutputFile::stream() {
    return out ? *out : std::cout;
}

void OutputFile::check() {
    if (!buffer)
        finishStandardOutput();
    else if (buffer->error())
        failWriting(target, buffer->error());
}

void OutputFile::fill(const std::function<void(std::ostream &)> &write) {
    try {
        write(stream());
    } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
        std::unique_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception> stopped(failure);
        check();
        throw stopped.release();
    }
}

void OutputFile::commit() {
    stream().flush();
    check();
    if (!out)
        return;
    if (!temporary.empty() && ::fsync(descriptor) != 0)
        failWriting(target, errno);
    const int closed = ::close(descriptor);
    descriptor = -1;
    if (closed != 0)
        failWriting(target, errno);
    if (temporary.empty())
        return;
    throwIfCancelled();
    if (std::rename(temporary.c_str(), written.c_str()) != 0)
        fail("Cannot replace " + target + ": " + std::strerror(errno));
    committed = true;
}

} // namespace partlib
