#include "tools/partlib/WriteCommands.h"

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/SameDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector;

// What the cancel callback answered last: the writer's last question decides
// whether it committed.
bool lastAnswer = false;

// One line on standard error, redrawn at most ten times a second: the
// library, the table being written and the item at hand.
class ProgressLine : public Observer<WriterEvent> {
public:
    explicit ProgressLine(std::string verb) : verb(std::move(verb)), shown(isatty(STDERR_FILENO) != 0) {}

    void update(const WriterEvent &event) override {
        if (event.writeType == 0) {
            library = event.text;
            table.clear();
        }
        if (!shown)
            return;
        if (event.writeType == 10)
            table = event.text.empty() ? "" : event.text + " (" + std::to_string(event.index) + "/10)";
        else if (event.writeType != 0)
            item = event.text + " (" + std::to_string(event.index + 1) + "/" + std::to_string(event.total) + ")";
        const auto now = std::chrono::steady_clock::now();
        if (now - drawn < std::chrono::milliseconds(100) && event.writeType != 10)
            return;
        drawn = now;
        std::string line = verb + " " + library + ": " + (table.empty() ? item : table);
        if (WriteSession::cancelRequested())
            line = "Stopping; nothing will be written (Ctrl-C again stops at once)";
        line = printable(line).substr(0, 78);
        std::cerr << "\r" << line << std::string(78 - line.size(), ' ') << std::flush;
        dirty = true;
    }

    // The library that the write came to last; empty before the first.
    const std::string &currentLibrary() const { return library; }

    void clear() {
        if (dirty)
            std::cerr << "\r" << std::string(78, ' ') << "\r" << std::flush;
        dirty = false;
    }

private:
    std::string verb;
    bool shown;
    bool dirty = false;
    std::string library, table, item;
    std::chrono::steady_clock::time_point drawn;
};

} // namespace

void refuseSameDatabase(const std::string &source, const std::string &target) {
    if (sameDatabase(source, target))
        fail("SRC and DST are the same database: a library cannot be written onto itself");
}

std::optional<pathHandle_t> openIfPartLibrary(const std::string &database) {
    const std::string file = databaseFileOf(database);
    std::error_code error;
    if (!file.empty() && !std::filesystem::exists(file, error))
        return std::nullopt;
    std::string initialisation = initialisationStringOf(database);
    doPromptValidationMsg(false);
    try {
        return openPath(initialisation.data());
    } catch (Exception *failure) {
        if (!failure->getMessage().empty())
            throw;
        delete failure;
        return std::nullopt;
    }
}

WriteSession::WriteSession(WriteTarget &target, std::string verb)
    : target(target), progress(std::make_shared<ProgressLine>(verb)), verb(std::move(verb)) {
    lastAnswer = false;
}

WriteSession::~WriteSession() {
    static_cast<ProgressLine &>(*progress).clear();
}

bool WriteSession::cancelRequested() {
    lastAnswer = partlib::cancelRequested();
    return lastAnswer;
}

void WriteSession::start() {
    CTraxDBInspector(target.path()).clearRowTally();
    started = std::chrono::steady_clock::now();
}

void WriteSession::finish() {
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    static_cast<ProgressLine &>(*progress).clear();
    // The writer's last question decides: true, and it aborted the transaction.
    if (lastAnswer)
        fail(target.createdFile().empty() ? "Interrupted: nothing was written; the target is as it was."
                                          : "Interrupted: nothing was written; " + printable(target.createdFile()) +
                                                ", created for this write, is removed again.");
    // The writer committed before it saw the signal: the copy is whole.
    target.succeeded();
    forgetCaughtSignal();
    rows = CTraxDBInspector(target.path()).rowTally();
}

void WriteSession::failed(Exception *failure) {
    const std::string message = failure->getMessage();
    delete failure;
    static_cast<ProgressLine &>(*progress).clear();
    if (lastAnswer)
        finish(); // interrupted: the cancel, not the failure, is the news
    const std::string &library = static_cast<ProgressLine &>(*progress).currentLibrary();
    // A row that the write expected and did not find, or one it refers to
    // that is gone: the database changed after the command read it.
    const bool missing = message.find("Failed to find item") != std::string::npos ||
                         message.find("FOREIGN KEY") != std::string::npos ||
                         message.find("foreign key") != std::string::npos;
    fail(verb + (library.empty() ? std::string() : " library " + printable(library)) +
         " failed: " + printable(message) +
         (missing ? ". The database changed while this command ran (another writer removed or replaced what it "
                    "read); nothing of this write was kept: run it again."
                  : ". Nothing of this write was kept."));
}

void WriteSession::summarise(const std::string &verb, const std::vector<std::string> &libraries) {
    std::ostringstream line;
    line << verb << " " << libraries.size() << (libraries.size() == 1 ? " library" : " libraries");
    if (!libraries.empty()) {
        line << " (";
        for (size_t i = 0; i < libraries.size(); ++i)
            line << (i ? ", " : "") << printable(libraries[i]);
        line << ")";
    }
    line << " in " << std::fixed << std::setprecision(2) << seconds << " s; rows added:";
    // " Table n, Table n" of the tables with rows of one kind of change.
    auto listOf = [this](long DBIMPL::RowChanges::*kind) {
        std::string list;
        for (const auto &[table, changes] : rows)
            if (changes.*kind > 0)
                list += (list.empty() ? " " : ", ") + table + " " + std::to_string(changes.*kind);
        return list;
    };
    const std::string added = listOf(&DBIMPL::RowChanges::added);
    const std::string changed = listOf(&DBIMPL::RowChanges::changed);
    const std::string removed = listOf(&DBIMPL::RowChanges::removed);
    if (!added.empty())
        line << added;
    else if (changed.empty() && removed.empty())
        line << " none (every item was there and up to date)";
    else
        line << " none";
    if (!changed.empty())
        line << "; rows changed:" << changed;
    if (!removed.empty())
        line << "; rows removed:" << removed;
    std::cout << line.str() << std::endl;
}

} // namespace partlib
