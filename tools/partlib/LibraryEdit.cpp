#include "tools/partlib/LibraryEdit.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "interface/CTraxDBPartLib.h"
#include "tools/hostmodel/HostRecords.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/libraryfile/LibrarySync.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryExport.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/ReadTransaction.h"
#include "tools/partlib/Signals.h"
#include "tools/partlib/StoredLibrary.h"
#include "tools/partlib/StoredNames.h"
#include "tools/partlib/Suggestions.h"
#include "tools/partlib/WriteCommands.h"

#include <algorithm>
#include <cstdint>
#include <iostream>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

// The stored library of that name, refused with the closest names when the
// database holds none.
hostmodel::Library readLibrary(const pathHandle_t &path, const std::string &name, const std::string &database) {
    ReadTransaction reading(path);
    libraryReaderHandle_t reader = opened(getLibraryReader(path, nullptr), "libraries");
    std::vector<std::string> names;
    while (std::shared_ptr<LibraryAccess> library = reader->getNext()) {
        names.push_back(hostmodel::text<DBIMPL::bufferWidth("Library", "Name")>(*library, &LibraryAccess::getName));
        if (names.back() == name)
            return readStoredLibrary(*library);
    }
    fail("No library named \"" + printable(name) + "\" in " + databaseName(database) + didYouMean(name, names) +
         " (partlib libraries lists them)");
}

template <class T> std::vector<std::string> namesOf(const std::vector<T> &items) {
    std::vector<std::string> names;
    for (const T &item : items)
        names.push_back(item.name);
    return names;
}

void addPaths(const std::vector<hostmodel::Folder> &folders, const std::string &above,
              std::vector<std::string> &paths) {
    for (const hostmodel::Folder &folder : folders) {
        paths.push_back(above + folder.name);
        addPaths(folder.children, paths.back() + "/", paths);
    }
}

} // namespace

CLI::App *LibraryEdit::addGroup(CLI::App &app, const std::string &name, const std::string &description,
                                const std::string &more) {
    CLI::App *group = app.add_subcommand(name, description);
    group->require_subcommand(1);
    group->footer("Each command is one transaction of the library writer: it is written whole, or (after a failure, "
                  "or Ctrl-C)\nnot at all. --dry-run prints the rows it would change. An empty option value stores "
                  "NULL.\n" +
                  more);
    return group;
}

CLI::App *LibraryEdit::add(CLI::App &group, const std::string &name, const std::string &description,
                           std::shared_ptr<LibraryEdit> edit) {
    CLI::App *command = group.add_subcommand(name, description);
    addDatabaseArgument(*command, edit->database);
    command->add_option("LIBRARY", edit->library, "The library to change")->required();
    command->add_flag("--dry-run", edit->dryRun, "Check the change and print what it would write; write nothing");
    command->callback([edit] { edit->run(); });
    return command;
}

void LibraryEdit::run() {
    refuseReadOnlyDatabase(database);
    // Ctrl-C while the library is read ends the command as during the write.
    SignalGuard signals;
    hostmodel::Library stored;
    libraryfile::StoredNames names;
    {
        const pathHandle_t path = openExistingDatabase(database);
        names = storedNames(path);
        stored = readLibrary(path, library, database);
    }
    hostmodel::Library edited = stored;
    change(edited, names);
    libraryfile::ImportPlan plan;
    libraryfile::planImport(plan, std::move(edited), &stored, true);
    throwIfCancelled();
    if (dryRun) {
        std::cout << "Would change library " << printable(library) << ": " << what() << "; nothing was written:\n"
                  << plan.describe() << std::flush;
        return;
    }
    WriteTarget target(database);
    WriteSession session(target, "Writing");
    std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target.path());
    session.run<LibraryAccess>(*writer, hostmodel::libraryReader(std::move(plan.writes)));
    std::cout << "Changed library " << printable(library) << ": " << what() << "\n";
    session.summarise("Wrote", {library});
    std::cout << plan.describe() << std::flush;
}

hostmodel::Part &LibraryEdit::findPart(hostmodel::Library &edited, const std::string &name) const {
    auto found = std::find_if(edited.parts.begin(), edited.parts.end(),
                              [&](const hostmodel::Part &part) { return part.name == name; });
    if (found == edited.parts.end())
        fail("No part named \"" + printable(name) + "\" in library " + printable(library) +
             didYouMean(name, namesOf(edited.parts)) + " (partlib parts lists them)");
    return *found;
}

hostmodel::PartDefinition &LibraryEdit::findDefinition(hostmodel::Library &edited, const std::string &name) const {
    auto found = std::find_if(edited.definitions.begin(), edited.definitions.end(),
                              [&](const hostmodel::PartDefinition &definition) { return definition.name == name; });
    if (found == edited.definitions.end())
        fail("No part definition named \"" + printable(name) + "\" in library " + printable(library) +
             didYouMean(name, namesOf(edited.definitions)) +
             " (partlib show PART names the definition a part uses; a new definition comes with a library "
             "file: partlib import)");
    return *found;
}

hostmodel::Folder &LibraryEdit::findFolder(hostmodel::Library &edited, const std::vector<std::string> &path) const {
    std::vector<hostmodel::Folder> *level = &edited.folders;
    hostmodel::Folder *found = nullptr;
    for (const std::string &name : path) {
        auto at = std::find_if(level->begin(), level->end(),
                               [&](const hostmodel::Folder &folder) { return folder.name == name; });
        if (at == level->end()) {
            std::vector<std::string> paths;
            addPaths(edited.folders, "", paths);
            fail("No folder \"" + printable(folderText(path)) + "\" in library " + printable(library) +
                 didYouMean(folderText(path), paths) + " (partlib tree shows them; partlib folder add adds one)");
        }
        found = &*at;
        level = &at->children;
    }
    return *found;
}

void LibraryEdit::refuseTakenPartName(const hostmodel::Library &edited, const libraryfile::StoredNames &names,
                                      const std::string &name) const {
    auto stored = names.parts.find(name);
    if (stored != names.parts.end() && stored->second.library != library)
        fail("The name \"" + printable(name) + "\" is taken by a part of library " + printable(stored->second.library) +
             ": part names are unique in the database; choose another");
    if (std::any_of(edited.parts.begin(), edited.parts.end(),
                    [&](const hostmodel::Part &part) { return part.name == name; }))
        fail("Library " + printable(library) + " has a part named \"" + printable(name) +
             "\" already: choose another name, or change that part with partlib part set");
}

void LibraryEdit::refuseTakenDefinitionName(const hostmodel::Library &edited, const libraryfile::StoredNames &names,
                                            const std::string &name) const {
    auto stored = names.definitions.find(name);
    if ((stored != names.definitions.end() && stored->second != library) ||
        std::any_of(edited.definitions.begin(), edited.definitions.end(),
                    [&](const hostmodel::PartDefinition &definition) { return definition.name == name; }))
        fail("The name \"" + printable(name) + "\" is taken by a part definition of library " +
             printable(stored != names.definitions.end() ? stored->second : library) +
             ": definition names are unique in the database; choose another");
}

std::vector<std::string> folderPath(const std::string &text, const std::string &option) {
    std::vector<std::string> path;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('/', start), text.size());
        path.push_back(checkedText(text.substr(start, end - start), "Hierarchy", "Name", option));
        if (path.back().empty())
            fail(option + " \"" + printable(text) +
                 "\" names an empty folder: write the folder names from the top level down, between single '/'");
        start = end + 1;
    }
    return path;
}

std::string folderText(const std::vector<std::string> &path) {
    std::string text;
    for (const std::string &name : path)
        text += (text.empty() ? "" : "/") + name;
    return text;
}

std::string checkedText(const std::string &value, const char *table, const char *column, const std::string &option) {
    const size_t width = libraryfile::columnWidth(table, column);
    const size_t characters = DBIMPL::characterCount(value);
    if (characters > width)
        fail(option + " is " + std::to_string(characters) + " characters long; " + table + "." + column +
             " holds at most " + std::to_string(width) + ": shorten it");
    return value;
}

hostmodel::Text optionText(const std::string &value, const char *table, const char *column, const std::string &option) {
    if (value.empty())
        return std::nullopt;
    return checkedText(value, table, column, option);
}

hostmodel::Number optionNumber(const std::string &value, const std::string &option) {
    if (value.empty())
        return std::nullopt;
    size_t used = 0;
    try {
        const long number = std::stol(value, &used);
        if (used == value.size() && number >= INT32_MIN && number <= INT32_MAX)
            return static_cast<int>(number);
    } catch (const std::exception &) {
    }
    fail(option + " \"" + printable(value) + "\" is no whole number from " + std::to_string(INT32_MIN) + " to " +
         std::to_string(INT32_MAX) + " (an empty value clears it)");
}

} // namespace partlib
