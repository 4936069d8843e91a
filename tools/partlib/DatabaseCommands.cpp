// partlib init, info, upgrade and catalogs: creating, inspecting and
// upgrading a part-library database, and listing a data source's catalogs.

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tools/partlib/CheckedOutput.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/CreatedFile.h"
#include "tools/partlib/Password.h"
#include "tools/partlib/SameDatabase.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using DBIMPL::CTraxDBInspector;
using DBIMPL::formatPrintf;
using DBIMPL::IDS_DATABASE_TOO_NEW;
using DBIMPL::IDS_DATABASE_TOO_OLD;
using DBIMPL::loadMessage;
using Version = CTraxDBInspector::Version;

const Version CURRENT = CTraxDBInspector::currentVersion();

std::string versionText(Version version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor);
}

// What a database holds, seen without the plug-in's opening checks.
struct SchemaState {
    std::string displayName;
    bool partLibrary = false; // has the version table, and it is the part library's
    std::vector<std::string> tables;
    std::vector<std::string> foreign; // another program's tables under part-library names
    Version version;

    bool isCurrent() const { return partLibrary && version.major == CURRENT.major && version.minor == CURRENT.minor; }
    bool isNewer() const {
        return version.major > CURRENT.major || (version.major == CURRENT.major && version.minor > CURRENT.minor);
    }
    // The library's tables that the database lacks, when it holds some.
    std::vector<std::string> missingTables() const {
        std::vector<std::string> missing;
        for (const std::string &table : CTraxDBInspector::tableNames())
            if (!tables.empty() && std::find(tables.begin(), tables.end(), table) == tables.end())
                missing.push_back(table);
        return missing;
    }
};

SchemaState inspect(CTraxDBInspector &database) {
    SchemaState state;
    state.displayName = database.displayName();
    state.tables = database.presentTables();
    state.foreign = database.foreignTables();
    state.partLibrary = database.isPartLibrary() &&
                        std::find(state.foreign.begin(), state.foreign.end(), "Library_version") == state.foreign.end();
    if (state.partLibrary)
        state.version = database.version();
    return state;
}

SchemaState inspect(const std::string &initialisation) {
    CTraxDBInspector database = CTraxDBInspector::openUnchecked(initialisation);
    return inspect(database);
}

// Opens the database through the plug-in with its questions allowed.
pathHandle_t openPrompting(const std::string &initialisation) {
    doPromptValidationMsg(true);
    std::string copy = initialisation;
    return openPath(copy.data());
}

// A new SQLite file is created without the creation question; any later
// question (the script offer) is asked as usual.
int answerYesOnce(const char *, const char *, unsigned) {
    hostCallbacks().messageBox = nullptr;
    return IDYES;
}

void runInit(const std::string &database) {
    refuseReadOnlyDatabase(database);
    const std::string initialisation = initialisationStringOf(database);
    const std::string file = databaseFileOf(database);
    // A new file goes again unless it gets the whole schema.
    bool newFile = false;
    CreatedFile created;
    if (!file.empty())
        created = CreatedFile(file, newFile);
    SchemaState before = inspect(initialisation);
    // Without the version table the plug-in itself tells a half-built library.
    const std::vector<std::string> missing = before.missingTables();
    // Another program's tables are refused by the plug-in, which says so.
    if (before.partLibrary && !missing.empty() && before.foreign.empty())
        fail("The TRAXEL Part Library in " + before.displayName + " is incomplete: the tables " +
             DBIMPL::joined(missing, ", ") + " are missing (partlib info lists the tables)");
    if (before.isCurrent()) {
        std::cout << before.displayName << " already holds the TRAXEL Part Library (version "
                  << versionText(before.version) << ")" << std::endl;
        return;
    }
    if (newFile)
        hostCallbacks().messageBox = answerYesOnce;
    openPrompting(initialisation);
    created.keep();
    if (before.partLibrary)
        std::cout << "Upgraded " << before.displayName << " from version " << versionText(before.version) << " to "
                  << versionText(CURRENT) << std::endl;
    else
        std::cout << "Created the TRAXEL Part Library in " << before.displayName << std::endl;
}

void runInfo(const std::string &database) {
    CTraxDBInspector inspected = CTraxDBInspector::openUnchecked(existingDatabase(database));
    SchemaState state = inspect(inspected);
    std::cout << "Database:       " << state.displayName << "\n";
    std::cout << "Catalog:        " << (inspected.catalog().empty() ? "(none)" : inspected.catalog()) << "\n";
    std::cout << "Schema version: ";
    if (!state.partLibrary)
        std::cout << "none (no TRAXEL Part Library)";
    else if (state.version.major == 0 && state.version.minor == 0)
        std::cout << "unknown (no version row)";
    else if (const std::optional<Version> stored = inspected.storedVersion();
             stored && versionText(*stored) != versionText(state.version))
        std::cout << versionText(*stored) << " in the file, read as " << versionText(state.version)
                  << " (the file is not changed)";
    else
        std::cout << versionText(state.version)
                  << (state.isCurrent() ? ""
                      : state.isNewer() ? " (newer than this build of partlib supports, " + versionText(CURRENT) + ")"
                                        : " (run partlib upgrade)");
    std::cout << "\n";
    if (state.isCurrent())
        if (const std::vector<std::string> missing = inspected.missingIndexes(); !missing.empty())
            std::cout << "Indexes:        " << missing.size() << " of the indexes of foreign keys missing (run "
                      << "partlib upgrade)\n";
    std::cout << "Read-only:      " << (inspected.isReadOnly() ? "yes" : "no") << "\n";
    const std::vector<std::string> &all = CTraxDBInspector::tableNames();
    if (!state.foreign.empty())
        std::cout << "Foreign:        " << DBIMPL::joined(state.foreign, ", ")
                  << " (tables of another program under part-library names)\n";
    else if (!state.tables.empty() && state.tables.size() < all.size())
        std::cout << "Incomplete:     " << state.tables.size() << " of " << all.size() << " tables\n";
    for (const std::string &table : all) {
        std::cout << "  " << table << std::string(table.size() < 26 ? 26 - table.size() : 1, ' ');
        if (std::find(state.tables.begin(), state.tables.end(), table) == state.tables.end())
            std::cout << "(missing)\n";
        else
            std::cout << inspected.rowCount(table) << "\n";
    }
    std::cout << std::flush;
}

// A database at the current version may still lack the indexes of its
// foreign keys (made before they were part of the schema): upgrade adds
// them, or writes their script.
void indexForeignKeys(CTraxDBInspector &database, const SchemaState &state, const std::string &databaseArgument,
                      const std::optional<std::string> &scriptFile) {
    const std::vector<std::string> missing = database.missingIndexes();
    if (missing.empty()) {
        std::cout << state.displayName << " is at version " << versionText(state.version) << ": nothing to upgrade"
                  << std::endl;
        return;
    }
    const bool one = missing.size() == 1;
    const std::string what = std::string(one ? "the index of 1 foreign key (" : "the indexes of ") +
                             (one ? "" : std::to_string(missing.size()) + " foreign keys (") +
                             DBIMPL::joined(missing, ", ") + ")";
    if (scriptFile) {
        OutputFile out(outputTarget(scriptFile, "--script"), {databaseFileOf(databaseArgument)});
        out.stream() << database.indexScript();
        out.commit();
        if (!out.isStandardOutput())
            std::cout << "Wrote the SQL script of " << what << " to " << *scriptFile << std::endl;
        return;
    }
    const std::string question = state.displayName + " is at version " + versionText(state.version) + " but lacks " +
                                 what + (one ? ". Add it?" : ". Add them?");
    if (messageBoxHook(nullptr, question.c_str(), "partlib upgrade", MB_YESNO) != IDYES)
        fail("Nothing changed: adding " + what + " was not agreed to (--yes agrees)");
    database.addMissingIndexes();
    std::cout << "Added " << what << " to " << state.displayName << std::endl;
}

void runUpgrade(const std::string &database, const std::optional<std::string> &scriptFile) {
    refuseReadOnlyDatabase(database);
    const std::string initialisation = existingDatabase(database);
    CTraxDBInspector probe = CTraxDBInspector::openUnchecked(initialisation);
    SchemaState state = inspect(probe);
    if (!state.partLibrary)
        fail(formatPrintf("The database \"%s\" does not contain TRAXEL Part Library information (see partlib init).",
                          state.displayName));
    if (state.isCurrent()) {
        indexForeignKeys(probe, state, database, scriptFile);
        return;
    }
    if (state.isNewer())
        fail(loadMessage(IDS_DATABASE_TOO_NEW));
    if (state.version.major < 1)
        fail(loadMessage(IDS_DATABASE_TOO_OLD));
    if (scriptFile) {
        OutputFile out(outputTarget(scriptFile, "--script"), {databaseFileOf(database)});
        out.stream() << probe.upgradeScript(state.version);
        out.commit();
        if (!out.isStandardOutput())
            std::cout << "Wrote the SQL script from version " << versionText(state.version) << " to " << *scriptFile
                      << std::endl;
        return;
    }
    pathHandle_t path = openPrompting(initialisation);
    std::cout << "Upgraded " << state.displayName << " from version " << versionText(state.version) << " to "
              << versionText(CURRENT) << std::endl;
}

void runCatalogs(const std::string &database) {
    std::string initialisation = existingDatabase(database);
    sourceHandle_t source = CTraxDBInspector::openSource(initialisation);
    std::shared_ptr<Reader<PathData>> reader = getPathDataReader(source);
    while (std::shared_ptr<PathData> entry = reader->getNext()) {
        char name[256];
        entry->getPathStr(name, sizeof name);
        std::cout << name << "\n";
    }
    std::cout << std::flush;
}

} // namespace

void addDatabaseCommands(CLI::App &app) {
    struct Arguments {
        std::string database;
        std::optional<std::string> script;
    };
    auto args = std::make_shared<Arguments>();

    CLI::App *init = app.add_subcommand(
        "init", "Create a part-library database: a new SQLite file at once, or the tables in an existing database "
                "(asks first; --yes answers Yes)");
    addDatabaseArgument(*init, args->database);
    init->callback([args] { runInit(args->database); });

    CLI::App *info = app.add_subcommand(
        "info", "Show a database's name, catalog, schema version, read-only state and rows per table");
    addDatabaseArgument(*info, args->database);
    info->callback([args] { runInfo(args->database); });

    CLI::App *upgrade = app.add_subcommand(
        "upgrade", "Bring a version 1.0 or 1.1 database to version 1.2, or add the indexes of foreign keys that a "
                   "version 1.2 database lacks (asks first; --yes answers Yes)");
    addDatabaseArgument(*upgrade, args->database);
    upgrade->add_option("--script", args->script,
                        "Write the SQL script for a manual upgrade to FILE instead (- for standard output)");
    upgrade->callback([args] { runUpgrade(args->database, args->script); });

    CLI::App *catalogs = app.add_subcommand("catalogs", "List the catalogs (databases) a data source offers");
    askingForPassword(catalogs->add_option("INITSTRING", args->database,
                                           "Initialisation string of the data source (or a SQLite file)"))
        ->required();
    catalogs->callback([args] { runCatalogs(args->database); });
}

} // namespace partlib
