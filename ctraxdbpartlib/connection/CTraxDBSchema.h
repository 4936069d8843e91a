#pragma once

#include "ctraxdbpartlib/connection/CSession.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPath;

// The part-library schema (version 1.2): recognising it, reading its
// version, creating it and upgrading versions 1.0 and 1.1, and writing the
// SQL scripts for doing either by hand.
class CTraxDBSchema {
public:
    static constexpr int CURRENT_MAJOR = 1;
    static constexpr int CURRENT_MINOR = 2;

    // The thirteen tables, in creation order (those of ColumnCatalogue.h).
    static const std::vector<std::string> &tableNames();
    // The creation statements, in order (without the version row); their
    // columns are those of ColumnCatalogue.h.
    static const std::vector<std::string> &creationStatements();
    static const std::vector<std::string> &upgrade10To11Statements();
    static const std::vector<std::string> &upgrade11To12Statements();
    static const std::vector<std::string> &upgrade11To12MySqlStatements();
    // The width in characters of a text column (ColumnCatalogue.h); 0 for
    // a column that is no text column of the schema.
    static size_t textColumnWidth(const std::string &table, const std::string &column);

    // True when the database has a table named Library_version (any case).
    static bool isValidPartLibrary(const CSession &session);
    // The part-library tables that the database holds, in creation order
    // (names compared without regard to case).
    static std::vector<std::string> presentTables(const CSession &session);
    // Of the part-library tables the database holds (`present`), those
    // without the columns that every version of the part library gives
    // them: tables of another program under the same name.
    static std::vector<std::string> foreignTables(CTraxDBPath &path, const std::vector<std::string> &present);

    // Creates every table at version 1.2 in one transaction. On failure the
    // transaction is aborted, the user is told about tables the database
    // kept (where table creation cannot be rolled back), offered the
    // creation script, and an empty-message Exception is thrown.
    static void createSchema(CTraxDBPath &path);
    // The first version row, or 0 and 0 when the table holds none.
    static void getVersionInfo(CTraxDBPath &path, int &major, int &minor);
    // Brings 1.0 or 1.1 to 1.2, with the indexes of missingIndexes; below
    // 1.0 raises 32979. On failure as createSchema, offering the upgrade
    // script.
    static void upgrade(CTraxDBPath &path, int major, int minor);
    // Where the engine makes no index with a foreign key: the statements
    // that make the index of each key of the current schema that the
    // database lacks (a database created before the indexes were part of
    // the schema), with `names` given their names. None elsewhere.
    static std::vector<std::string> missingIndexes(CTraxDBPath &path, std::vector<std::string> *names = nullptr);

    // The SQL scripts for a manual creation or upgrade, in the form the
    // database at hand runs as it is (sqlite3 FILE < script, the mysql
    // client): statements end in one ';', headings are comments, on SQLite
    // the constraints are written as SQLite holds them and on MySQL only the
    // MySQL form of a step is given. The creation script ends with the
    // version row.
    static std::string createScript(CTraxDBPath &path);
    static std::string upgradeScript(CTraxDBPath &path, int major, int minor);
    // The missing indexes' statements as a script; empty when none is missing.
    static std::string indexScript(CTraxDBPath &path);
    // Write a script to `fileName` and hand it to the report viewer.
    static void writeCreateScript(CTraxDBPath &path, const std::string &fileName);
    static void writeUpgradeScript(CTraxDBPath &path, const std::string &fileName, int major, int minor);

    // Lists `names` as "A, B, C".
    static std::string joinNames(const std::vector<std::string> &names);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
