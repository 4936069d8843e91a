// partlib copy: libraries of one database written into another through the
// plug-in's library reader and writer, in one transaction of the target.

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "interface/HierarchyAccess.h"
#include "interface/PartAccess.h"
#include "tools/hostmodel/HostRecords.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/FolderDepths.h"
#include "tools/partlib/LibraryRemoval.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/Password.h"
#include "tools/partlib/Suggestions.h"
#include "tools/partlib/WriteCommands.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector;

std::string libraryName(LibraryAccess &library) {
    char name[DBIMPL::textBytes(DBIMPL::bufferWidth("Library", "Name"))] = {};
    library.getName(name, sizeof name, false);
    return name;
}

// The named libraries of the source (all when none is named); a name the
// source does not hold, or a folder tree deeper than partlib walks, is
// refused before anything is written.
std::vector<std::shared_ptr<LibraryAccess>> selectLibraries(const pathHandle_t &source,
                                                            const std::vector<std::string> &names) {
    std::vector<std::shared_ptr<LibraryAccess>> selected;
    std::set<std::string> missing(names.begin(), names.end());
    std::vector<std::string> stored;
    libraryReaderHandle_t all = getLibraryReader(source, nullptr);
    while (std::shared_ptr<LibraryAccess> library = all->getNext()) {
        const std::string name = libraryName(*library);
        stored.push_back(name);
        if (names.empty() || std::find(names.begin(), names.end(), name) != names.end()) {
            refuseTooDeepFolders(*library, name);
            selected.push_back(library);
            missing.erase(name);
        }
    }
    if (!missing.empty())
        fail("The source holds no library named " + *missing.begin() + didYouMean(*missing.begin(), stored));
    return selected;
}

// A part reader less the parts of some names.
class PartsLeftOut : public Reader<PartAccess> {
public:
    PartsLeftOut(std::shared_ptr<Reader<PartAccess>> parts, std::set<std::string> names)
        : parts(std::move(parts)), names(std::move(names)) {}
    std::shared_ptr<PartAccess> getNext() override {
        std::shared_ptr<PartAccess> part;
        do
            part = parts->getNext();
        while (part && names.count(partName(*part)));
        return part;
    }
    int getItemState(std::shared_ptr<PartAccess> item) override { return parts->getItemState(item); }
    int getCount() override { return std::max(0, parts->getCount() - static_cast<int>(names.size())); }

private:
    static std::string partName(PartAccess &part) {
        char name[DBIMPL::textBytes(DBIMPL::bufferWidth("Parts", "Name"))] = {};
        part.getName(name, sizeof name, false);
        return name;
    }

    std::shared_ptr<Reader<PartAccess>> parts;
    std::set<std::string> names;
};

// A library less the parts of some names: what is written first of
// libraries that use each other's part definitions, so that the parts left
// out find those definitions when the libraries are written again whole.
class LibraryWithoutParts : public LibraryAccess {
public:
    LibraryWithoutParts(std::shared_ptr<LibraryAccess> library, std::set<std::string> leftOut)
        : library(std::move(library)), leftOut(std::move(leftOut)) {}

    int getState() override { return library->getState(); }
    void getName(TCHAR *buffer, size_t size, bool unused) override { library->getName(buffer, size, unused); }
    void getEnabled(bool &enabled) override { library->getEnabled(enabled); }
    void getComment(bool &isNull, TCHAR *buffer, size_t size) override { library->getComment(isNull, buffer, size); }
    void setHint(int key, int value) override { library->setHint(key, value); }
    void setHints(int first, int second, int third, int fourth) override {
        library->setHints(first, second, third, fourth);
    }
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() override { return library->getHierarchyReader(); }
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyOnlyReader() override {
        return library->getHierarchyOnlyReader();
    }
    std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() override {
        return leavingOut(library->getHierarchyElementReader());
    }
    std::shared_ptr<Reader<PartAccess>> getPartReader(const TCHAR *filterText, int selection) override {
        return leavingOut(library->getPartReader(filterText, selection));
    }
    std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter, int selection) override {
        return leavingOut(library->getPartReader(filter, selection));
    }
    std::shared_ptr<Reader<CompletePartAndPartDefAccess>> getCompletePartAndPartDefReader(partFilterCompHandle_t filter,
                                                                                          int selection) override {
        return library->getCompletePartAndPartDefReader(filter, selection);
    }
    std::shared_ptr<Reader<PartForReportsAccess>> getPartReaderForReports(int sorted) override {
        return library->getPartReaderForReports(sorted);
    }
    std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(partDefFilterHandle_t filter, int selection) override {
        return library->getPartDefReader(filter, selection);
    }
    std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(int selection) override {
        return library->getPartDefReader(selection);
    }
    std::shared_ptr<Reader<PartDefDataAccess>> getPartDefDataReader(const TCHAR *filterText) override {
        return library->getPartDefDataReader(filterText);
    }
    std::shared_ptr<Reader<AllPinDataAccess>> getAllPinDataReader(const TCHAR *filterText) override {
        return library->getAllPinDataReader(filterText);
    }
    std::shared_ptr<Reader<AllPinEquivAccess>> getAllPinEquivReader(const TCHAR *filterText) override {
        return library->getAllPinEquivReader(filterText);
    }
    std::shared_ptr<Reader<AllAttributeAccess>> getAllAttributeReader(const TCHAR *filterText) override {
        return library->getAllAttributeReader(filterText);
    }
    std::shared_ptr<Reader<AllGateAccess>> getAllGateReader(const TCHAR *filterText) override {
        return library->getAllGateReader(filterText);
    }
    std::shared_ptr<Reader<AllGateSwapAccess>> getAllGateSwapReader(const TCHAR *filterText) override {
        return library->getAllGateSwapReader(filterText);
    }
    int getID() override { return library->getID(); }
    bool getStoredEnabled(int &enabled) override { return library->getStoredEnabled(enabled); }

private:
    // The reader less the parts left out; no reader stays none.
    std::shared_ptr<Reader<PartAccess>> leavingOut(std::shared_ptr<Reader<PartAccess>> parts) const {
        return parts ? std::make_shared<PartsLeftOut>(std::move(parts), leftOut) : nullptr;
    }

    std::shared_ptr<LibraryAccess> library;
    std::set<std::string> leftOut;
};

// The libraries in the order they can be written in: a library whose parts
// use definitions of another comes after it. Libraries that use each
// other's definitions are written twice: first without the parts that need
// another's definitions, then, once all their definitions are in, whole. A
// part whose definition lives in a library that is not copied is refused
// before anything is written.
std::vector<std::shared_ptr<LibraryAccess>> inWritingOrder(const pathHandle_t &source,
                                                           std::vector<std::shared_ptr<LibraryAccess>> libraries) {
    std::set<std::string> copied;
    for (const auto &library : libraries)
        copied.insert(libraryName(*library));
    std::map<std::string, std::set<std::string>> uses;        // library -> the libraries it needs first
    std::map<std::string, std::map<std::string, std::string>> // library -> part -> its definition's library
        foreignParts;
    for (const CTraxDBInspector::ForeignDefinitionUse &use : CTraxDBInspector(source).foreignDefinitionUses()) {
        if (!copied.count(use.library))
            continue;
        if (!copied.count(use.definitionLibrary))
            fail("Part " + printable(use.part) + " of library " + printable(use.library) + " uses part definition " +
                 printable(use.definition) + " of library " + printable(use.definitionLibrary) +
                 ", which is not copied: name " + printable(use.definitionLibrary) + " too. Nothing was written.");
        uses[use.library].insert(use.definitionLibrary);
        foreignParts[use.library][use.part] = use.definitionLibrary;
    }
    std::vector<std::shared_ptr<LibraryAccess>> ordered;
    std::set<std::string> placed;
    while (!libraries.empty()) {
        auto ready = std::find_if(libraries.begin(), libraries.end(), [&](const std::shared_ptr<LibraryAccess> &l) {
            const std::set<std::string> &needed = uses[libraryName(*l)];
            return std::includes(placed.begin(), placed.end(), needed.begin(), needed.end());
        });
        if (ready != libraries.end()) {
            placed.insert(libraryName(**ready));
            ordered.push_back(*ready);
            libraries.erase(ready);
            continue;
        }
        // What is left waits for each other: their definitions first.
        for (const auto &library : libraries) {
            std::set<std::string> leftOut;
            for (const auto &[part, definitionLibrary] : foreignParts[libraryName(*library)])
                if (!placed.count(definitionLibrary))
                    leftOut.insert(part);
            ordered.push_back(std::make_shared<LibraryWithoutParts>(library, std::move(leftOut)));
        }
        ordered.insert(ordered.end(), libraries.begin(), libraries.end());
        break;
    }
    return ordered;
}

// A library seen through its folder tree and the placement of its parts: the
// parts come from the library's part reader.
class PlacementOnly : public LibHierarchyOnlyAccess {
public:
    explicit PlacementOnly(std::shared_ptr<LibraryAccess> library) : library(std::move(library)) {}
    int getState() override { return library->getState(); }
    void getName(TCHAR *buffer, size_t size, bool unused) override { library->getName(buffer, size, unused); }
    void getEnabled(bool &enabled) override { library->getEnabled(enabled); }
    void getComment(bool &isNull, TCHAR *buffer, size_t size) override { library->getComment(isNull, buffer, size); }
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() override { return library->getHierarchyReader(); }
    std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() override {
        return library->getPartReader(partFilterCompHandle_t(), 0);
    }
    int getID() override { return library->getID(); }

private:
    std::shared_ptr<LibraryAccess> library;
};

// A write of folders and placements writes no part definitions: the
// libraries whose parts it places must be in DST already.
void refuseLibrariesNotHeld(const pathHandle_t &target, const std::vector<std::shared_ptr<LibraryAccess>> &libraries) {
    std::set<std::string> held;
    libraryReaderHandle_t all = getLibraryReader(target, nullptr);
    while (std::shared_ptr<LibraryAccess> library = all->getNext())
        held.insert(libraryName(*library));
    for (const auto &library : libraries)
        if (!held.count(libraryName(*library)))
            fail("DST holds no library " + printable(libraryName(*library)) +
                 ": --hierarchy-only places the parts of libraries that DST holds already; copy it without "
                 "--hierarchy-only first. Nothing was written.");
}

// Copies the libraries; for a move, refuses first what the source could not
// give up and returns the removal that is to follow.
std::optional<LibraryRemoval> runCopy(const std::string &sourceDatabase, const std::string &targetDatabase,
                                      const std::vector<std::string> &names, bool hierarchyOnly, bool move) {
    refuseSameDatabase(sourceDatabase, targetDatabase);
    if (move)
        refuseReadOnlyDatabase(sourceDatabase);
    pathHandle_t source = openExistingDatabase(sourceDatabase);
    const std::vector<std::shared_ptr<LibraryAccess>> libraries =
        hierarchyOnly ? selectLibraries(source, names) : inWritingOrder(source, selectLibraries(source, names));
    // A library written twice is named once.
    std::vector<std::string> copied;
    for (const auto &library : libraries)
        if (std::find(copied.begin(), copied.end(), libraryName(*library)) == copied.end())
            copied.push_back(libraryName(*library));
    std::optional<LibraryRemoval> removal;
    if (move) {
        removal.emplace(source, copied);
        if (!removal->definitionInUse().empty())
            fail("Cannot move: " + removal->definitionInUse() +
                 ", and that part stays in SRC: move its library too. Nothing was written.");
    }
    // Opened, the target has its schema (created or brought up to date, as
    // asked) before anything is checked against it.
    WriteTarget target(targetDatabase);
    if (hierarchyOnly)
        refuseLibrariesNotHeld(target.path(), libraries);

    WriteSession session(target, "Copying");
    if (hierarchyOnly) {
        std::vector<std::shared_ptr<LibHierarchyOnlyAccess>> placements;
        for (const auto &library : libraries)
            placements.push_back(std::make_shared<PlacementOnly>(library));
        std::shared_ptr<Writer<LibHierarchyOnlyAccess>> writer = getLibHierarchyOnlyWriter(target.path());
        session.run<LibHierarchyOnlyAccess>(
            *writer, std::make_shared<hostmodel::VectorReader<LibHierarchyOnlyAccess>>(placements));
    } else {
        std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target.path());
        session.run<LibraryAccess>(*writer, std::make_shared<hostmodel::VectorReader<LibraryAccess>>(libraries));
    }
    session.summarise("Copied", copied);
    return removal;
}

// The second step of a move, once the copy has committed: a failure here
// leaves the libraries in both databases, and says so.
void removeMoved(const std::string &sourceDatabase, const LibraryRemoval &removal) {
    try {
        WriteTarget source(sourceDatabase);
        removal.run(source, "Removed from SRC:");
    } catch (Exception *failure) {
        const std::string message = failure->getMessage();
        delete failure;
        fail(message + " The copy into DST is complete and committed; SRC still holds the libraries (partlib "
                       "library remove removes them).");
    }
}

} // namespace

void addCopyCommand(CLI::App &app) {
    struct Arguments {
        std::string source;
        std::string target;
        std::vector<std::string> libraries;
        bool hierarchyOnly = false;
        bool move = false;
    };
    auto args = std::make_shared<Arguments>();

    CLI::App *command = app.add_subcommand(
        "copy", "Copy libraries with their folders, part definitions and parts into another database");
    command->footer(
        "The libraries are written into DST in one transaction: either all of them arrive whole, or (after a\n"
        "failure, or Ctrl-C) DST is left exactly as it was. A library that DST already holds is brought up to\n"
        "SRC: its items are found by name and changed, new ones added. An empty DST gets the part-library\n"
        "schema first (the question is answered by --yes). SRC and DST may be on different engines.\n"
        "--move then removes the libraries from SRC in a second transaction, only after DST has committed;\n"
        "if that removal fails, DST holds the copy and SRC still holds the libraries, and the message says so.\n"
        "Exit status: 0 copied, 1 failed, 2 wrong use of the command line, 130 interrupted.");
    askingForPassword(command->add_option("SRC", args->source,
                                          "The database to copy from: SQLite file path or initialisation string"))
        ->required();
    askingForPassword(command->add_option("DST", args->target,
                                          "The database to copy into: SQLite file path or initialisation string"))
        ->required();
    command->add_option("LIBRARY", args->libraries, "Names of the libraries to copy (default: every library)");
    command->add_flag("--hierarchy-only", args->hierarchyOnly,
                      "Copy only the libraries' folder trees and the placement of their parts in them (the parts' "
                      "definitions must be in DST already)");
    command->add_flag("--move", args->move,
                      "Remove the libraries from SRC once DST has committed the copy (refused at once when a "
                      "library that stays in SRC uses their part definitions)");
    command->callback([args] {
        if (args->move && args->hierarchyOnly)
            usageError("--move copies whole libraries: it does not go with --hierarchy-only");
        if (std::optional<LibraryRemoval> removal =
                runCopy(args->source, args->target, args->libraries, args->hierarchyOnly, args->move))
            removeMoved(args->source, *removal);
    });
}

} // namespace partlib
