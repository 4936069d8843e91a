#include "ctraxdbpartlib/connection/CTraxDBInspector.h"

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "ctraxdbpartlib/connection/CTraxDBTransaction.h"
#include "ctraxdbpartlib/connection/DBStatement.h"

#include <memory>
#include <stdexcept>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

struct TextColumns {
    static constexpr int MAX_COLUMNS = 4;
    char values[MAX_COLUMNS][CTraxDBInspector::QUERY_TEXT_WIDTH + 1] = {};
    DBSTATUS status[MAX_COLUMNS] = {};
    int columns = 1;

    void bind(ColumnMap &map) {
        for (int i = 0; i < columns; ++i)
            map.column(i + 1, values[i], &status[i]);
    }
};

// A column of a name query: NULL as the empty name.
std::string name(const CTraxDBInspector::TextRow &row, size_t column) {
    return row[column].value_or("");
}

// A text as an SQL string literal: quotes doubled. Every session takes a
// backslash as the character itself (MySQL's sessions run with
// NO_BACKSLASH_ESCAPES), and fixTcEnc leaves brackets in literals alone.
std::string textLiteral(const std::string &text) {
    std::string literal = "'";
    for (char c : text)
        literal += c == '\'' ? std::string("''") : std::string(1, c);
    return literal + "'";
}

} // namespace

CTraxDBInspector::Version CTraxDBInspector::currentVersion() {
    return {CTraxDBSchema::CURRENT_MAJOR, CTraxDBSchema::CURRENT_MINOR};
}

const std::vector<std::string> &CTraxDBInspector::tableNames() {
    return CTraxDBSchema::tableNames();
}

sourceHandle_t CTraxDBInspector::openSource(const std::string &initialisation) {
    return std::make_shared<CTraxDBSource>(initialisation.c_str());
}

CTraxDBInspector::CTraxDBInspector(pathHandle_t path) : handle(std::move(path)) {}

CTraxDBInspector CTraxDBInspector::openUnchecked(const std::string &initialisation) {
    return CTraxDBInspector(std::make_shared<CTraxDBPath>(initialisation.c_str(), CTraxDBPath::SchemaCheck::Skip));
}

void CTraxDBInspector::executeInOneWrite(const std::vector<std::string> &statements,
                                         const std::function<void()> &beforeCommit) {
    CTraxDBTransaction transaction(path(), CTraxDBTransaction::Kind::Write);
    for (const std::string &statement : statements)
        path().execute(statement);
    if (beforeCommit)
        beforeCommit();
    transaction.commit();
}

CTraxDBInspector::Rename CTraxDBInspector::renameLibrary(const std::string &from, const std::string &to) {
    CTraxDBTransaction transaction(path(), CTraxDBTransaction::Kind::Write);
    if (runCount(path(), "SELECT Count(*) FROM [Library] WHERE [Name] = " + textLiteral(from) + ";") == 0)
        return Rename::NoSuchLibrary;
    if (runCount(path(), "SELECT Count(*) FROM [Library] WHERE [Name] = " + textLiteral(to) +
                             " AND NOT [Name] = " + textLiteral(from) + ";") > 0)
        return Rename::NameTaken;
    path().execute("UPDATE [Library] SET [Name] = " + textLiteral(to) + " WHERE [Name] = " + textLiteral(from) + ";");
    transaction.commit();
    return Rename::Renamed;
}

CTraxDBPath &CTraxDBInspector::path() {
    return dbPath(handle);
}

std::string CTraxDBInspector::displayName() {
    return path().getDisplayName();
}

std::string CTraxDBInspector::catalog() {
    return path().getCatalog();
}

bool CTraxDBInspector::isReadOnly() {
    return path().isReadOnly();
}

bool CTraxDBInspector::isPartLibrary() {
    return CTraxDBSchema::isValidPartLibrary(path().getSession());
}

std::vector<std::string> CTraxDBInspector::presentTables() {
    return CTraxDBSchema::presentTables(path().getSession());
}

std::vector<std::string> CTraxDBInspector::foreignTables() {
    return CTraxDBSchema::foreignTables(path(), presentTables());
}

CTraxDBInspector::Version CTraxDBInspector::version() {
    Version stored;
    CTraxDBSchema::getVersionInfo(path(), stored.major, stored.minor);
    return stored;
}

std::optional<CTraxDBInspector::Version> CTraxDBInspector::storedVersion() {
    Version stored;
    if (!path().getSession().getConnection()->storedVersion(stored.major, stored.minor))
        return std::nullopt;
    return stored;
}

std::string CTraxDBInspector::upgradeScript(Version from) {
    return CTraxDBSchema::upgradeScript(path(), from.major, from.minor);
}

std::vector<std::string> CTraxDBInspector::missingIndexes() {
    std::vector<std::string> names;
    CTraxDBSchema::missingIndexes(path(), &names);
    return names;
}

std::string CTraxDBInspector::indexScript() {
    return CTraxDBSchema::indexScript(path());
}

void CTraxDBInspector::addMissingIndexes() {
    executeInOneWrite(CTraxDBSchema::missingIndexes(path()), {});
}

long CTraxDBInspector::rowCount(const std::string &table) {
    return runCount(path(), "SELECT Count(*) FROM [" + table + "];");
}

RowTally CTraxDBInspector::rowTally() {
    return path().getSession().getConnection()->rowTally();
}

void CTraxDBInspector::clearRowTally() {
    path().getSession().getConnection()->rowTally().clear();
}

int CTraxDBInspector::folderCount(int libraryID) {
    return runCount(path(), "SELECT Count(*) FROM [Hierarchy] WHERE [Library_ID] = ?;", libraryID);
}

std::vector<std::string> CTraxDBInspector::libraryNames() {
    std::vector<std::string> names;
    for (const TextRow &row : queryTexts("SELECT [Name] FROM [Library];", 1))
        if (row[0])
            names.push_back(*row[0]);
    return names;
}

std::vector<CTraxDBInspector::DefinitionName> CTraxDBInspector::definitionNames() {
    std::vector<DefinitionName> names;
    for (const TextRow &row : queryTexts("SELECT [Part_Definition].[Name], [Library].[Name] FROM [Part_Definition] "
                                         "INNER JOIN [Library] ON [Part_Definition].[Library_ID] = [Library].[ID];",
                                         2))
        names.push_back({name(row, 0), name(row, 1)});
    return names;
}

std::vector<CTraxDBInspector::PartName> CTraxDBInspector::partNames() {
    std::vector<PartName> names;
    for (const TextRow &row :
         queryTexts("SELECT [Parts].[Name], [Library].[Name], [Part_Definition].[Name] FROM [Parts] "
                    "INNER JOIN [Library] ON [Parts].[Library_ID] = [Library].[ID] INNER JOIN "
                    "[Part_Definition] ON [Parts].[Part_def_ID] = [Part_Definition].[ID];",
                    3))
        names.push_back({name(row, 0), name(row, 1), name(row, 2)});
    return names;
}

std::vector<CTraxDBInspector::ForeignDefinitionUse> CTraxDBInspector::foreignDefinitionUses() {
    std::vector<ForeignDefinitionUse> uses;
    for (const TextRow &row : queryTexts(
             "SELECT [Parts].[Name], [PartLibrary].[Name], [Part_Definition].[Name], [DefinitionLibrary].[Name] "
             "FROM [Parts] INNER JOIN [Part_Definition] ON [Parts].[Part_def_ID] = [Part_Definition].[ID] "
             "INNER JOIN [Library] [PartLibrary] ON [Parts].[Library_ID] = [PartLibrary].[ID] "
             "INNER JOIN [Library] [DefinitionLibrary] ON [Part_Definition].[Library_ID] = [DefinitionLibrary].[ID] "
             "WHERE [Parts].[Library_ID] <> [Part_Definition].[Library_ID];",
             4))
        uses.push_back({name(row, 0), name(row, 1), name(row, 2), name(row, 3)});
    return uses;
}

std::vector<CTraxDBInspector::TextRow> CTraxDBInspector::queryTexts(const std::string &sql, int columns) {
    if (columns < 1 || columns > TextColumns::MAX_COLUMNS)
        throw std::invalid_argument("queryTexts: 1 to 4 columns");
    CCommand<CAccessor<TextColumns>> command;
    command.columns = columns;
    path().open(command, sql);
    std::vector<TextRow> rows;
    for (HRESULT result = command.MoveFirst(); checkResult(result), result == S_OK; result = command.MoveNext()) {
        TextRow row;
        for (int i = 0; i < columns; ++i)
            row.push_back(command.status[i] == DBSTATUS_S_ISNULL ? std::nullopt
                                                                 : std::optional<std::string>(command.values[i]));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
