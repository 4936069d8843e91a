#pragma once

// Ctrl-C, SIGTERM and SIGHUP while a command works.
//
//   SignalGuard signals;               // the handlers, while it lives
//   writer->write(reader, cancelCallback);
//   throwIfCancelled();                // or poll cancelRequested()
//
// The first signal only sets the cancel flag, so that the command ends its
// work by its own means (a writer aborts its transaction, an OutputFile
// removes its temporary file) and main exits with 128 + the signal's
// number. A second signal ends the process at once, after removing the
// files registered with removeOnSignal. Without a guard the signals keep
// their default action.

#include <string>

namespace partlib {

class SignalGuard {
public:
    SignalGuard();
    ~SignalGuard();
    SignalGuard(const SignalGuard &) = delete;
    SignalGuard &operator=(const SignalGuard &) = delete;
};

// True once a guarded signal has come.
bool cancelRequested();

// The same, in the form of a writer's CANCEL_CALLBACK.
bool cancelCallback();

// The number of the signal that set the flag; 0 for none.
int caughtSignal();

// The work can no longer be stopped (a write has committed): a signal that
// came or comes after it no longer changes the command's exit status.
void forgetCaughtSignal();

// Raises an Exception "Interrupted" once a signal has come.
void throwIfCancelled();

// Files that a second signal removes before the process ends (a few at a
// time; temporary files of the output). forgetOnSignal drops a file from
// the list again.
void removeOnSignal(const std::string &path);
void forgetOnSignal(const std::string &path);

} // namespace partlib
