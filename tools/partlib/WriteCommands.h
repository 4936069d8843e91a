#pragma once

// What the commands that write libraries into a database share: the refusal
// of a target that is the source, and a write session that turns Ctrl-C,
// SIGTERM and SIGHUP into the writer's cancel, shows a progress bar on a
// terminal and ends with a one-line summary.

#include "ctraxdbpartlib/connection/RowTally.h"
#include "interface/Exception.h"
#include "interface/Handles.h"
#include "interface/Observer.h"
#include "interface/Writer.h"
#include "interface/WriterEvent.h"
#include "tools/partlib/Signals.h"
#include "tools/partlib/WriteTarget.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace partlib {

// Refuses two DB arguments that name the same database: the same file
// (whatever the spelling of its path) or the same catalog of the same server.
void refuseSameDatabase(const std::string &source, const std::string &target);

// The database when it exists and holds the part library; nothing (and
// nothing created, no question asked) otherwise: for the checks that come
// before a write.
std::optional<COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t> openIfPartLibrary(const std::string &database);

// One library write of a command: while it lives, SIGINT, SIGTERM and SIGHUP
// make the writer's cancel callback answer true (a second signal stops at
// once; the database discards the unfinished transaction), and main ends
// the command with 128 + the signal's number. A write that returns without
// having been cancelled is committed: the target keeps a file created for it.
class WriteSession {
public:
    WriteSession(WriteTarget &target, std::string verb);
    ~WriteSession();

    // Runs the write; an interrupted write ends the command with a message
    // that nothing was written, a failed one with the library it was writing
    // and the likely cause.
    template <class T>
    void run(COM_ORVEL_TRAX_PLDAIO_INTERFACE::Writer<T> &writer,
             std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Reader<T>> reader) {
        writer.attach(progress);
        start();
        try {
            writer.write(reader, cancelRequested);
        } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
            failed(failure);
        }
        finish();
    }

    // Prints "<verb> N libraries (names) in S s; rows added: Table n, ...",
    // then "; rows changed: ..." and "; rows removed: ..." where the write
    // changed or removed rows: what this write did, not what other writers
    // did meanwhile.
    void summarise(const std::string &verb, const std::vector<std::string> &libraries);

    // The cancel callback of every write: true once a signal has come.
    static bool cancelRequested();

private:
    void start();
    void finish();
    [[noreturn]] void failed(COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure);

    SignalGuard signals;
    WriteTarget &target;
    std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Observer<COM_ORVEL_TRAX_PLDAIO_INTERFACE::WriterEvent>> progress;
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::RowTally rows;
    std::string verb;
    std::chrono::steady_clock::time_point started;
    double seconds = 0;
};

} // namespace partlib
