#include "tools/partlib/Password.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/Signals.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace partlib {

namespace {

namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using DBIMPL::printable;

const char *const PASSWORD_VARIABLE = "TXDB_PASSWORD";

// Who the password is for, as the prompt names it: "partlib at
// 127.0.0.1:3307, database parts".
std::string describe(const DBIMPL::InitString &init) {
    std::string text;
    const auto add = [&text](const std::string &part) {
        if (!part.empty())
            text += (text.empty() ? "" : ", ") + part;
    };
    const std::string user = init.has("User ID") ? init.get("User ID") : init.get("UID");
    std::string server = init.get("Server");
    if (!server.empty() && init.has("Port"))
        server += ":" + init.get("Port");
    add(user.empty() ? "" : printable(user) + (server.empty() ? "" : " at " + printable(server)));
    if (user.empty())
        add(printable(server));
    add(init.has("DSN") ? "data source " + printable(init.get("DSN")) : "");
    const std::string catalog = init.has("Initial Catalog") ? init.get("Initial Catalog") : init.get("Database");
    add(catalog.empty() ? "" : "database " + printable(catalog));
    return text.empty() ? "the database" : text;
}

// The controlling terminal with its echo turned off while this lives.
class SilentTerminal {
public:
    SilentTerminal() : descriptor(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        if (descriptor < 0)
            return;
        if (::tcgetattr(descriptor, &saved) != 0) {
            ::close(descriptor);
            descriptor = -1;
            return;
        }
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(descriptor, TCSAFLUSH, &silent);
    }
    ~SilentTerminal() {
        if (descriptor < 0)
            return;
        ::tcsetattr(descriptor, TCSAFLUSH, &saved);
        say("\n"); // the Enter that was not echoed
        ::close(descriptor);
    }
    SilentTerminal(const SilentTerminal &) = delete;
    SilentTerminal &operator=(const SilentTerminal &) = delete;

    bool open() const { return descriptor >= 0; }

    void say(const std::string &text) const {
        for (size_t done = 0; done < text.size();) {
            const ssize_t count = ::write(descriptor, text.data() + done, text.size() - done);
            if (count <= 0 && errno != EINTR)
                return;
            done += count > 0 ? size_t(count) : 0;
        }
    }

    // One line without its end; false at the end of input before any line
    // and after Ctrl-C. The wait looks at the cancel flag now and then, so
    // that a signal that comes just before a read still ends it.
    bool readLine(std::string &line) const {
        line.clear();
        for (;;) {
            if (cancelRequested())
                return false;
            pollfd ready{descriptor, POLLIN, 0};
            if (::poll(&ready, 1, 100) <= 0)
                continue;
            char c = 0;
            const ssize_t count = ::read(descriptor, &c, 1);
            if (count == 1) {
                if (c == '\n' || c == '\r')
                    return true;
                line += c;
            } else if (count == 0) {
                return !line.empty();
            } else if (errno != EINTR || cancelRequested()) {
                return false;
            }
        }
    }

private:
    int descriptor;
    termios saved{};
};

std::string askedPassword(const std::string &who) {
    SignalGuard signals; // Ctrl-C ends the question, the terminal's echo restored
    std::string password;
    bool answered = false;
    {
        SilentTerminal terminal;
        if (!terminal.open())
            fail(std::string("The initialisation string asks for the password of ") + who +
                 " (Password=?), but there is no terminal to ask on: set " + PASSWORD_VARIABLE +
                 " or use a DSN that holds it");
        terminal.say("Password for " + who + ": ");
        answered = terminal.readLine(password);
    }
    throwIfCancelled();
    if (!answered)
        fail("No password was given for " + who);
    return password;
}

} // namespace

std::string withPassword(const std::string &database) {
    std::error_code ignored;
    if (database.find('=') == std::string::npos || std::filesystem::exists(database, ignored))
        return database;
    DBIMPL::InitString init;
    if (DBIMPL::InitString::parse(database, init) != DBIMPL::S_OK)
        return database; // refused with its reason when it is opened
    std::optional<std::string> password;
    for (auto &pair : init.pairs)
        if (DBIMPL::isPasswordKey(pair.first) && pair.second == "?") {
            if (!password) {
                const char *given = std::getenv(PASSWORD_VARIABLE);
                password = given ? given : askedPassword(describe(init));
            }
            pair.second = *password;
        }
    return password ? init.toString(true) : database;
}

CLI::Option *askingForPassword(CLI::Option *option) {
    return option->transform([](const std::string &database) { return withPassword(database); });
}

} // namespace partlib
