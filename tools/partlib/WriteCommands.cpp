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
        if (!shown)
            return;
        if (event.writeType == 0) {
            library = event.text;
            table.clear();
        } else if (event.writeType == 10) {
            table = event.text.empty() ? "" : event.text + " (" + std::to_string(event.index) + "/10)";
        } else {
            item = event.text + " (" + std::to_string(event.index + 1) + "/" + std::to_string(event.total) + ")";
        }
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
    : target(target), progress(std::make_shared<ProgressLine>(std::move(verb))) {
    lastAnswer = false;
}

WriteSession::~WriteSession() {
    static_cast<ProgressLine &>(*progress).clear();
}

bool WriteSession::cancelRequested() {
    lastAnswer = partlib::cancelRequested();
    return lastAnswer;
}

std::map<std::string, long> WriteSession::tableCounts() {
    std::map<std::string, long> counts;
    CTraxDBInspector database(target.path());
    for (const std::string &table : CTraxDBInspector::tableNames())
        if (table != "Library_version")
            counts[table] = database.rowCount(table);
    return counts;
}

void WriteSession::start() {
    before = tableCounts();
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
    after = tableCounts();
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
    std::ostringstream added, removed;
    for (const auto &count : after) {
        const long change = count.second - before[count.first];
        std::ostringstream &list = change > 0 ? added : removed;
        if (change != 0)
            list << (list.tellp() > 0 ? ", " : " ") << count.first << " " << std::labs(change);
    }
    if (added.tellp() > 0)
        line << added.str();
    else if (removed.tellp() == 0)
        line << " none (every item was there and has been brought up to date)";
    else
        line << " none";
    if (removed.tellp() > 0)
        line << "; rows removed:" << removed.str();
    std::cout << line.str() << std::endl;
}

} // namespace partlib
