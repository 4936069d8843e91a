#pragma once

// What the tools read of a part-library database beyond the interface: the
// state and version of its schema, the rows its tables hold, the names
// stored across all its libraries, and the data source behind an
// initialisation string. The SQL and the implementation classes stay behind
// this class; a tool holds the interface's handles and an inspector.
//
//   CTraxDBInspector database(openPath(init));
//   for (const std::string &table : CTraxDBInspector::tableNames())
//       std::cout << table << " " << database.rowCount(table) << "\n";

#include "ctraxdbpartlib/connection/RowTally.h"
#include "interface/Handles.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPath;

class CTraxDBInspector {
public:
    struct Version {
        int major = 0;
        int minor = 0;
    };
    struct DefinitionName {
        std::string definition, library;
    };
    struct PartName {
        std::string part, library, definition;
    };
    // A part whose definition belongs to another library.
    struct ForeignDefinitionUse {
        std::string part, library, definition, definitionLibrary;
    };
    // One row of queryTexts: NULL as an empty optional.
    using TextRow = std::vector<std::optional<std::string>>;

    // The bytes each column of queryTexts is read with: a longer text
    // arrives cut to this many.
    static constexpr size_t QUERY_TEXT_WIDTH = 255;

    // The schema version that this build creates and opens.
    static Version currentVersion();
    // The part-library tables, in creation order.
    static const std::vector<std::string> &tableNames();
    // The data source an initialisation string names, for its catalogs.
    static sourceHandle_t openSource(const std::string &initialisation);

    // A database opened through the interface (openPath).
    explicit CTraxDBInspector(pathHandle_t path);
    // Opens the database and selects its catalog without the plug-in's
    // schema checks or questions: for a database in whatever state it is
    // (no part library, an old version, tables missing).
    static CTraxDBInspector openUnchecked(const std::string &initialisation);

    // The name that messages give the database, and its catalog (empty
    // when it has none).
    std::string displayName();
    std::string catalog();
    bool isReadOnly();

    // Whether the database has the version table (any case).
    bool isPartLibrary();
    // The part-library tables that the database holds, in creation order.
    std::vector<std::string> presentTables();
    // Of those, the ones without the part library's columns: tables of
    // another program under the same names.
    std::vector<std::string> foreignTables();
    // The stored version; 0.0 when the version table holds no row. Only
    // for a part library.
    Version version();
    // The version the file itself holds when the database is served as the
    // one above (an old Access file read as upgraded); nothing otherwise.
    std::optional<Version> storedVersion();
    // The SQL script that brings the schema from `from` to the current
    // version by hand, in the form the database's own client runs.
    std::string upgradeScript(Version from);
    // The indexes of foreign keys that the database lacks where its engine
    // makes none with a key (a database made before they were part of the
    // schema), by name; their script, empty when none is missing; and their
    // creation in one write transaction.
    std::vector<std::string> missingIndexes();
    std::string indexScript();
    void addMissingIndexes();

    long rowCount(const std::string &table);
    // What the writes through this database's handle did since the last
    // clearRowTally: rows added, changed and removed per table.
    RowTally rowTally();
    void clearRowTally();
    // The folders of one library (by ID), reachable from its top or not.
    int folderCount(int libraryID);
    // The names of every library, definition and part of the database.
    std::vector<std::string> libraryNames();
    std::vector<DefinitionName> definitionNames();
    std::vector<PartName> partNames();
    std::vector<ForeignDefinitionUse> foreignDefinitionUses();

    // The rows of `sql`, `columns` (1 to 4) text columns each: for a query
    // of one's own, such as a test's look at raw tables.
    std::vector<TextRow> queryTexts(const std::string &sql, int columns);

    // Runs the statements in one write transaction, all or none; `beforeCommit`
    // may throw to leave everything undone.
    void executeInOneWrite(const std::vector<std::string> &statements, const std::function<void()> &beforeCommit);

    enum class Rename { Renamed, NoSuchLibrary, NameTaken };
    // Gives library `from` the name `to` in one write transaction, unless no
    // library has the name `from` or another library has the name `to` (as
    // the database compares names: a change of case alone is a rename).
    Rename renameLibrary(const std::string &from, const std::string &to);

private:
    CTraxDBPath &path();

    pathHandle_t handle;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
