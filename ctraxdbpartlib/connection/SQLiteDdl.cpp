#include "ctraxdbpartlib/connection/SQLiteDdl.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/ForeignKeyIndex.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

std::string quoted(const std::string &name) {
    return SqlTokenizer::quote(name, '"', '"');
}

// Escapes a text for a '...' literal.
std::string literal(const std::string &text) {
    return SqlTokenizer::quote(text, '\'', '\'');
}

// The text from token `first` to the end of the statement, without a
// closing ';'.
std::string tail(const std::string &sql, const std::vector<SqlToken> &tokens, size_t first) {
    size_t last = tokens.size();
    while (last > first && tokens[last - 1].isSymbol(';'))
        --last;
    if (last <= first)
        return std::string();
    return sql.substr(tokens[first].begin, tokens[last - 1].end - tokens[first].begin);
}

// The table's CREATE TABLE text with `clause` put in before its closing
// parenthesis.
bool withClause(const std::string &create, const std::string &clause, std::string &result) {
    const size_t close = create.rfind(')');
    if (close == std::string::npos)
        return false;
    result = create.substr(0, close) + ", " + clause + create.substr(close);
    return true;
}

// The table's CREATE TABLE text without the table constraint `name`
// (its leading comma and everything up to the next clause).
bool withoutClause(const std::string &create, const std::string &name, std::string &result) {
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(create);
    int depth = 0;
    size_t comma = std::string::npos;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const SqlToken &token = tokens[i];
        if (token.isSymbol('('))
            ++depth;
        else if (token.isSymbol(')'))
            --depth;
        else if (depth == 1 && token.isSymbol(','))
            comma = token.begin;
        else if (depth == 1 && token.is("CONSTRAINT") && i + 1 < tokens.size() && tokens[i + 1].isIdentifier() &&
                 equalsNoCase(tokens[i + 1].name, name) && comma != std::string::npos) {
            size_t end = i + 2;
            for (int inner = 0; end < tokens.size(); ++end) {
                if (tokens[end].isSymbol('('))
                    ++inner;
                else if (tokens[end].isSymbol(')') && inner-- == 0)
                    break;
                else if (inner == 0 && tokens[end].isSymbol(','))
                    break;
            }
            if (end >= tokens.size())
                return false;
            result = create.substr(0, comma) + create.substr(tokens[end].begin);
            return true;
        }
    }
    return false;
}

} // namespace

HRESULT SQLiteDdl::indexForeignKey(const std::string &sql) {
    const std::string index = ForeignKeyIndex::statementFor(sql, '"', '"');
    return index.empty() ? S_OK : run(index);
}

std::string SQLiteDdl::indexForm(const std::string &sql) {
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    if (tokens.size() < 6 || !tokens[0].is("ALTER") || !tokens[1].is("TABLE") || !tokens[2].isIdentifier() ||
        !tokens[5].isIdentifier())
        return sql;
    const std::string table = tokens[2].name;
    const std::string name = tokens[5].name;
    if (tokens[3].is("ADD") && tokens[4].is("CONSTRAINT") && tokens.size() > 7 && tokens[6].is("UNIQUE"))
        return "CREATE UNIQUE INDEX " + quoted(name) + " ON " + quoted(table) + " " + tail(sql, tokens, 7) + ";";
    if (tokens[3].is("DROP") && (tokens[4].is("CONSTRAINT") || tokens[4].is("INDEX")))
        return "DROP INDEX " + quoted(name) + ";";
    return sql;
}

HRESULT SQLiteDdl::run(const std::string &sql, bool &handled) {
    handled = false;
    // Only ALTER TABLE statements are carried out here: the others (long
    // INSERT statements among them) are not read token by token.
    const size_t start = sql.find_first_not_of(" \t\r\n");
    if (start == std::string::npos || sql.size() - start < 5 || !equalsNoCase(sql.substr(start, 5), "ALTER"))
        return S_OK;
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    if (tokens.size() < 5 || !tokens[0].is("ALTER") || !tokens[1].is("TABLE") || !tokens[2].isIdentifier())
        return S_OK;
    const std::string table = tokens[2].name;
    const SqlToken &verb = tokens[3];
    if (verb.is("ADD") && tokens[4].is("CONSTRAINT") && tokens.size() > 7 && tokens[5].isIdentifier()) {
        const std::string name = tokens[5].name;
        if (tokens[6].is("UNIQUE")) {
            handled = true;
            return run(indexForm(sql));
        }
        if (tokens[6].is("PRIMARY") || tokens[6].is("FOREIGN")) {
            handled = true;
            std::string create;
            HRESULT result = createText(table, create);
            if (FAILED(result))
                return result;
            std::string changed;
            if (!withClause(create, "CONSTRAINT " + quoted(name) + " " + tail(sql, tokens, 6), changed)) {
                CDBErrorInfo::add("Cannot read the definition of table " + table);
                return E_FAIL;
            }
            result = rebuild(table, changed);
            if (SUCCEEDED(result) && tokens[6].is("FOREIGN"))
                result = indexForeignKey(sql);
            return result;
        }
        return S_OK;
    }
    if (!verb.is("DROP"))
        return S_OK;
    const bool foreignKey = tokens[4].is("FOREIGN") && tokens.size() > 6 && tokens[5].is("KEY");
    const size_t nameAt = foreignKey ? 6 : 5;
    if (nameAt >= tokens.size() || !tokens[nameAt].isIdentifier() ||
        !(foreignKey || tokens[4].is("CONSTRAINT") || tokens[4].is("INDEX")))
        return S_OK;
    handled = true;
    const std::string name = tokens[nameAt].name;
    if (!foreignKey) {
        std::vector<std::string> indexes;
        HRESULT result = column("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=" + literal(table) +
                                    " COLLATE NOCASE AND name=" + literal(name) + " COLLATE NOCASE;",
                                indexes);
        if (FAILED(result))
            return result;
        if (!indexes.empty())
            return run("DROP INDEX " + quoted(indexes.front()) + ";");
        if (tokens[4].is("INDEX")) {
            CDBErrorInfo::add("no such index: " + name);
            return DB_E_ERRORSINCOMMAND;
        }
    }
    std::string create;
    HRESULT result = createText(table, create);
    if (FAILED(result))
        return result;
    std::string changed;
    if (!withoutClause(create, name, changed)) {
        CDBErrorInfo::add("no such constraint: " + name + " on table " + table);
        return DB_E_ERRORSINCOMMAND;
    }
    return rebuild(table, changed);
}

HRESULT SQLiteDdl::createText(const std::string &table, std::string &create) {
    std::vector<std::string> texts;
    HRESULT result = column(
        "SELECT sql FROM sqlite_master WHERE type='table' AND name=" + literal(table) + " COLLATE NOCASE;", texts);
    if (FAILED(result))
        return result;
    if (texts.empty()) {
        CDBErrorInfo::add("no such table: " + table);
        return DB_E_ERRORSINCOMMAND;
    }
    create = texts.front();
    return S_OK;
}

// Replaces the table by one made from `create`, keeping its rows and its
// indexes. Runs inside the caller's transaction when there is one (foreign
// key checks deferred to its commit), otherwise inside one of its own with
// the checks made before it commits.
HRESULT SQLiteDdl::rebuild(const std::string &table, const std::string &create) {
    std::vector<std::string> names;
    HRESULT result = column(
        "SELECT name FROM sqlite_master WHERE type='table' AND name=" + literal(table) + " COLLATE NOCASE;", names);
    if (FAILED(result))
        return result;
    const std::string name = names.empty() ? table : names.front();
    std::vector<std::string> indexes;
    if (FAILED(result = column("SELECT sql FROM sqlite_master WHERE type='index' AND sql IS NOT NULL AND tbl_name=" +
                                   literal(name) + ";",
                               indexes)))
        return result;

    // The new table under a temporary name: the name is the first
    // identifier after CREATE TABLE.
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(create);
    size_t at = 2;
    while (at < tokens.size() && !tokens[at].isIdentifier())
        ++at;
    while (at + 1 < tokens.size() && (tokens[at].is("IF") || tokens[at].is("NOT") || tokens[at].is("EXISTS")))
        ++at;
    if (at >= tokens.size()) {
        CDBErrorInfo::add("Cannot read the definition of table " + table);
        return E_FAIL;
    }
    const std::string building = name + "_rebuilt";
    const std::string createNew = create.substr(0, tokens[at].begin) + quoted(building) + create.substr(tokens[at].end);

    const bool ownTransaction = !connection.inTransaction();
    if (ownTransaction) {
        if (FAILED(result = run("PRAGMA foreign_keys=OFF;")) || FAILED(result = run("BEGIN;")))
            return result;
    } else if (FAILED(result = run("PRAGMA defer_foreign_keys=ON;"))) {
        return result;
    }
    std::vector<std::string> steps{
        createNew, "INSERT INTO " + quoted(building) + " SELECT * FROM " + quoted(name) + ";",
        "DROP TABLE " + quoted(name) + ";", "ALTER TABLE " + quoted(building) + " RENAME TO " + quoted(name) + ";"};
    steps.insert(steps.end(), indexes.begin(), indexes.end());
    for (const std::string &step : steps)
        if (FAILED(result = run(step)))
            break;
    if (ownTransaction) {
        std::vector<std::string> violations;
        if (SUCCEEDED(result) && SUCCEEDED(result = column("PRAGMA foreign_key_check;", violations)) &&
            !violations.empty()) {
            CDBErrorInfo::add("FOREIGN KEY constraint failed on table " + violations.front());
            result = DB_E_INTEGRITYVIOLATION;
        }
        run(SUCCEEDED(result) ? "COMMIT;" : "ROLLBACK;");
        run("PRAGMA foreign_keys=ON;");
    }
    return result;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
