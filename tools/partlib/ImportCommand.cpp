// partlib import: the libraries of a library file written into a database,
// each brought up to the file, after the whole file has been checked.

#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tools/hostmodel/Fingerprint.h"
#include "tools/hostmodel/HostRecords.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/libraryfile/LibraryFile.h"
#include "tools/libraryfile/LibrarySync.h"
#include "tools/partlib/CheckedReader.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/InputFile.h"
#include "tools/partlib/InputStream.h"
#include "tools/partlib/LibraryExport.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"
#include "tools/partlib/StoredLibrary.h"
#include "tools/partlib/StoredNames.h"
#include "tools/partlib/Suggestions.h"
#include "tools/partlib/WriteCommands.h"

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

// The file read and checked as it is read, whatever its size; "-" is
// standard input. `named` is told each library's name as it is read.
libraryfile::LibraryFile readInput(const std::string &file, const libraryfile::LibraryNamed &named) {
    InputStream input(file);
    return libraryfile::readLibraryFile(input, libraryfile::ItemReading::DIRECT, named);
}

// A transaction that only reads: every query sees the same database, and
// nothing is changed, so it is rolled back however the reading ends.
class ReadingTransaction {
public:
    explicit ReadingTransaction(pathHandle_t path) : path(std::move(path)) { this->path->startTransaction(); }
    ~ReadingTransaction() { path->abortTransaction(); }
    ReadingTransaction(const ReadingTransaction &) = delete;
    ReadingTransaction &operator=(const ReadingTransaction &) = delete;

private:
    pathHandle_t path;
};

// Calls each(library) for the stored libraries of those names, each read
// into the host model, in the transaction the path is in.
template <class F> void forEachStoredLibrary(const pathHandle_t &path, const std::vector<std::string> &names, F each) {
    libraryReaderHandle_t reader = opened(getLibraryReader(path, nullptr), "libraries");
    while (std::shared_ptr<LibraryAccess> library = reader->getNext())
        if (std::find(names.begin(), names.end(),
                      hostmodel::text<DBIMPL::bufferWidth("Library", "Name")>(*library, &LibraryAccess::getName)) !=
            names.end())
            each(readStoredLibrary(*library));
}

// What the import compares the file with: the names the database holds,
// and the stored libraries of the file's names (those selected), each read
// into the host model on a thread of its own as soon as the file has named
// it, while the file is read further. The libraries named together are
// read in a reading transaction of their own, so that no other writer
// waits for the whole file to be read (a library changed after it was read
// is found by the write's own check). The database is opened on that
// thread too, and a failure there is told only once the file has been
// read, so that a file's problems come first.
//
//   StoredReads reads(database, selected);
//   readLibraryFile(input, ..., [&](const std::string &name) { reads.named(name); });
//   reads.finish(); // waits; a failure of the reads is thrown here
class StoredReads {
public:
    StoredReads(std::string database, std::vector<std::string> selected)
        : database(std::move(database)), selected(std::move(selected)) {
        // Signals are for the reading of the file, which they interrupt:
        // the thread is started with all of them blocked.
        sigset_t all, before;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &before);
        try {
            thread = std::thread([this] { run(); });
        } catch (...) {
            pthread_sigmask(SIG_SETMASK, &before, nullptr);
            throw;
        }
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
    }
    ~StoredReads() {
        end(true);
        if (thread.joinable())
            thread.join();
        // A failure nobody asked for: the plug-in's are thrown as pointers,
        // owned by whoever catches them.
        if (failure) {
            try {
                std::rethrow_exception(failure);
            } catch (Exception *unread) {
                delete unread;
            } catch (...) {
            }
        }
    }
    StoredReads(const StoredReads &) = delete;
    StoredReads &operator=(const StoredReads &) = delete;

    void named(const std::string &name) {
        if (!selected.empty() && std::find(selected.begin(), selected.end(), name) == selected.end())
            return;
        std::lock_guard<std::mutex> lock(mutex);
        pending.push_back(name);
        wake.notify_one();
    }

    void finish() {
        end(false);
        if (thread.joinable())
            thread.join();
        if (failure)
            std::rethrow_exception(std::exchange(failure, nullptr));
    }

    libraryfile::StoredNames names;
    std::map<std::string, hostmodel::Library> libraries;

private:
    // No more names come; `stop` drops those not read yet.
    void end(bool stop) {
        std::lock_guard<std::mutex> lock(mutex);
        ended = true;
        stopped = stopped || stop;
        wake.notify_one();
    }

    void run() {
        try {
            const std::optional<pathHandle_t> path = openIfPartLibrary(database);
            if (!path)
                return;
            names = storedNames(*path);
            for (bool last = false; !last;) {
                std::vector<std::string> batch;
                {
                    std::unique_lock<std::mutex> lock(mutex);
                    wake.wait(lock, [&] { return ended || !pending.empty(); });
                    if (stopped)
                        return;
                    batch.swap(pending);
                    last = ended;
                }
                if (batch.empty())
                    continue;
                ReadingTransaction reading(*path);
                forEachStoredLibrary(*path, batch, [&](hostmodel::Library read) {
                    std::string name = read.name;
                    libraries.emplace(std::move(name), std::move(read));
                });
            }
        } catch (...) {
            failure = std::current_exception();
        }
    }

    const std::string database;
    const std::vector<std::string> selected;
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::string> pending;
    bool ended = false, stopped = false;
    std::exception_ptr failure;
    std::thread thread;
};

// A library that the import changes, as it read it before planning: its
// fingerprint, or none when the database did not hold it.
struct ReadLibrary {
    std::string name;
    std::optional<uint64_t> fingerprint;
};

// Refuses the write when a library it changes is no longer as the import
// read it: another writer changed it in the meantime, and the planned
// writes would undo that writer's changes. Run inside the write's
// transaction, which holds the write lock, so that no writer can come
// between this check and the commit.
void refuseChangedSinceRead(const pathHandle_t &path, const std::vector<ReadLibrary> &read) {
    std::map<std::string, uint64_t> now;
    std::vector<std::string> names;
    for (const ReadLibrary &library : read)
        names.push_back(library.name);
    forEachStoredLibrary(
        path, names, [&](const hostmodel::Library &library) { now[library.name] = hostmodel::fingerprint(library); });
    for (const ReadLibrary &library : read) {
        auto found = now.find(library.name);
        const std::optional<uint64_t> fingerprint =
            found == now.end() ? std::nullopt : std::optional<uint64_t>(found->second);
        if (fingerprint != library.fingerprint)
            fail("Library " + printable(library.name) +
                 " was changed by another writer after this import read it; nothing was written. Import the file "
                 "again to bring the library up to it as it is now.");
    }
}

long changeCount(const libraryfile::ImportPlan &plan) {
    long count = 0;
    for (const libraryfile::Changes &changes : plan.changes)
        count += changes.inserted + changes.updated + changes.removed;
    return count;
}

// A definition that --prune removes must not be used by a part of another
// library.
void refuseRemovedDefinitionsInUse(const libraryfile::ImportPlan &plan, const libraryfile::StoredNames &names) {
    std::set<std::pair<std::string, std::string>> removed(plan.removedDefinitions.begin(),
                                                          plan.removedDefinitions.end());
    for (const auto &[part, holder] : names.parts) {
        auto owner = names.definitions.find(holder.definition);
        if (owner == names.definitions.end() || owner->second == holder.library)
            continue;
        if (removed.count({owner->second, holder.definition}))
            fail("Part definition " + printable(holder.definition) + " of library " + printable(owner->second) +
                 ", which the file lacks, is used by part " + printable(part) + " of library " +
                 printable(holder.library) + ": --prune cannot remove it. Nothing was written.");
    }
}

// A library entry that leaves out enabled or comment keeps the stored
// library's (a partial file names the library only to hold its items).
void keepLeftOutFields(hostmodel::Library &library, const libraryfile::LeftOut &leftOut,
                       const hostmodel::Library *stored) {
    if (stored && leftOut.enabled)
        library.enabled = stored->enabled;
    if (stored && leftOut.comment)
        library.comment = stored->comment;
}

// The writes that bring the database up to the file, after every check;
// `imported` receives the names of the libraries written, `read` what the
// import read of those it changes.
libraryfile::ImportPlan planImport(const std::string &database, const std::string &fileName,
                                   std::vector<std::string> names, bool prune, std::vector<std::string> &imported,
                                   std::vector<ReadLibrary> &read) {
    // Ctrl-C while the file is read and checked ends the command as during
    // the write: with a message and 130.
    SignalGuard signals;
    if (fileName != "-")
        checkInputFile(fileName, database, "library file", ANY_SIZE);
    StoredReads stored(database, names);
    libraryfile::LibraryFile file = readInput(fileName, [&](const std::string &name) { stored.named(name); });
    const std::string shownFile = fileName == "-" ? "standard input" : fileName;
    if (!file.problems.empty())
        fail(shownFile + ": " + libraryfile::summary(file.problems) + ". Nothing was written.");
    std::vector<std::string> inFile;
    for (const hostmodel::Library &library : file.libraries)
        inFile.push_back(library.name);
    for (const std::string &name : names)
        if (std::find(inFile.begin(), inFile.end(), name) == inFile.end())
            fail(shownFile + " holds no library named " + printable(name) + didYouMean(name, inFile));
    if (names.empty())
        for (const hostmodel::Library &library : file.libraries)
            names.push_back(library.name);

    stored.finish();
    const std::map<std::string, hostmodel::Library> &storedLibrary = stored.libraries;
    libraryfile::checkAgainstDatabase(file, stored.names, names, prune);
    if (!file.problems.empty())
        fail(shownFile + ": " + libraryfile::summary(file.problems) + ". Nothing was written.");

    libraryfile::ImportPlan plan;
    for (size_t i = 0; i < file.libraries.size(); ++i) {
        hostmodel::Library &library = file.libraries[i];
        if (std::find(names.begin(), names.end(), library.name) == names.end())
            continue;
        const auto found = storedLibrary.find(library.name);
        const hostmodel::Library *storedBefore = found == storedLibrary.end() ? nullptr : &found->second;
        keepLeftOutFields(library, file.leftOut[i], storedBefore);
        imported.push_back(library.name);
        const long changesBefore = changeCount(plan);
        // The file's library becomes the plan's writes: no second copy.
        libraryfile::planImport(plan, std::move(library), storedBefore, prune);
        if (changeCount(plan) != changesBefore)
            read.push_back({imported.back(), storedBefore
                                                 ? std::optional<uint64_t>(hostmodel::fingerprint(*storedBefore))
                                                 : std::nullopt});
    }
    refuseRemovedDefinitionsInUse(plan, stored.names);
    throwIfCancelled();
    return plan;
}

void runImport(const std::string &database, const std::string &fileName, const std::vector<std::string> &names,
               bool prune, bool dryRun) {
    std::vector<std::string> imported;
    std::vector<ReadLibrary> read;
    libraryfile::ImportPlan plan = planImport(database, fileName, names, prune, imported, read);
    if (dryRun) {
        std::cout << "Would import " << imported.size() << (imported.size() == 1 ? " library" : " libraries")
                  << "; nothing was written:\n"
                  << plan.describe() << std::flush;
        return;
    }
    WriteTarget target(database);
    WriteSession session(target, "Importing");
    std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target.path());
    // A library that changes nothing needs no check: its write writes nothing.
    session.run<LibraryAccess>(
        *writer, std::make_shared<CheckedReader<LibraryAccess>>(hostmodel::libraryReader(std::move(plan.writes)),
                                                                [&] { refuseChangedSinceRead(target.path(), read); }));
    session.summarise("Imported", imported);
    std::cout << plan.describe() << std::flush;
}

} // namespace

void addImportCommand(CLI::App &app) {
    struct Arguments {
        std::string database;
        std::string file;
        std::vector<std::string> libraries;
        bool prune = false;
        bool dryRun = false;
    };
    auto args = std::make_shared<Arguments>();

    CLI::App *command =
        app.add_subcommand("import", "Write the libraries of a library file into a database, checked whole first");
    command->footer(
        "FILE is a library file as partlib export writes it (docs/library-format.md); - reads standard input.\n"
        "The whole file is checked before anything is written: its syntax, keys and types, every text within its\n"
        "column's width, the names the database keeps unique (also against its other libraries) and every\n"
        "reference. The first problem is named by its place in the file, e.g. libraries[0].parts[17].folder.\n"
        "The libraries are written in one transaction: all of them arrive, or (after a failure, or Ctrl-C) DB is\n"
        "left as it was. A library that DB holds already is brought up to the file: items are matched by name,\n"
        "changed ones updated, new ones inserted, unchanged ones left alone; a changed part definition's gates,\n"
        "gate swaps and pin equivalences are replaced whole. What the file lacks is kept, unless --prune removes\n"
        "it, so that the library equals the file. An empty DB gets the part-library schema first (--yes answers).\n"
        "Exit status: 0 imported (or checked, with --dry-run), 1 refused or failed,\n"
        "2 wrong use of the command line, 130 interrupted.");
    addDatabaseArgument(*command, args->database);
    command->add_option("FILE", args->file, "The library file to import (- for standard input)")->required();
    command->add_option("LIBRARY", args->libraries, "Names of the file's libraries to import (default: every one)");
    command->add_flag("--prune", args->prune,
                      "Also remove the folders, part definitions (with their details) and parts of the imported "
                      "libraries that the file does not hold");
    command->add_flag("--dry-run", args->dryRun,
                      "Check the file and print what would be inserted, updated and removed; write nothing");
    command->callback([args] { runImport(args->database, args->file, args->libraries, args->prune, args->dryRun); });
}

} // namespace partlib
