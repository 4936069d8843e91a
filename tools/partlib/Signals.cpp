#include "tools/partlib/Signals.h"

#include "tools/partlib/Commands.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <iterator>
#include <unistd.h>

namespace partlib {

namespace {

const int GUARDED[] = {SIGINT, SIGTERM, SIGHUP};

// Atomic rather than volatile: work on other threads polls it too.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler sets it");
// Set once the work is done: a signal then no longer makes the exit status.
bool settled = false;

// The registered files, kept in static storage so that the handler can
// reach them without allocating.
constexpr int SLOTS = 8;
constexpr size_t PATH_SIZE = 4096;
char registered[SLOTS][PATH_SIZE];
volatile std::sig_atomic_t inUse[SLOTS];

void onSignal(int signal) {
    if (!caught) {
        caught = signal;
        return;
    }
    for (int slot = 0; slot < SLOTS; ++slot)
        if (inUse[slot])
            ::unlink(registered[slot]);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The actions the guard replaced. A signal that the process was started to
// ignore (a shell's background job ignores SIGINT) stays ignored.
struct sigaction previous[std::size(GUARDED)];

} // namespace

SignalGuard::SignalGuard() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(GUARDED); ++i) {
        sigaction(GUARDED[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN)
            sigaction(GUARDED[i], &action, nullptr);
    }
}

SignalGuard::~SignalGuard() {
    for (size_t i = 0; i < std::size(GUARDED); ++i)
        sigaction(GUARDED[i], &previous[i], nullptr);
}

bool cancelRequested() {
    return caught != 0;
}

bool cancelCallback() {
    return cancelRequested();
}

int caughtSignal() {
    return settled ? 0 : caught.load();
}

void forgetCaughtSignal() {
    settled = true;
}

void throwIfCancelled() {
    if (cancelRequested())
        fail("Interrupted");
}

void removeOnSignal(const std::string &path) {
    for (int slot = 0; slot < SLOTS; ++slot)
        if (!inUse[slot] && path.size() < PATH_SIZE) {
            std::memcpy(registered[slot], path.c_str(), path.size() + 1);
            inUse[slot] = 1;
            return;
        }
}

void forgetOnSignal(const std::string &path) {
    for (int slot = 0; slot < SLOTS; ++slot)
        if (inUse[slot] && path == registered[slot])
            inUse[slot] = 0;
}

} // namespace partlib
