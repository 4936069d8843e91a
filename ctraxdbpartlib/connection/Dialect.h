#pragma once

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// What one database engine accepts and needs beyond the SQL that every
// statement of the plug-in is written in (square-bracket quoting, standard
// forms). Each provider connection gives the dialect of the engine it
// reached; nothing else tells one engine from another.
//
// This base class is the dialect of an engine the plug-in does not know:
// standard SQL, the driver's catalog functions, identifiers quoted with the
// character the driver names.
class Dialect {
public:
    explicit Dialect(char quote = '"') : quote(quote) {}
    virtual ~Dialect() = default;

    // The engine's name, for traces and messages.
    virtual std::string name() const { return "ODBC"; }

    // The characters that quote identifiers in statements that the session
    // layer writes itself (the rowsets' changes).
    virtual void quoteChars(char &open, char &close) const { open = close = quote; }

    // The statement as the engine is to run it: the table options a new
    // table needs, the NULL ordering of the other engines.
    virtual std::string adapted(const std::string &sql) const { return sql; }

    // Statements run once on every new connection (session settings).
    virtual std::vector<std::string> sessionStatements() const { return {}; }

    // Savepoint statements in the bracket-quoted form of every statement;
    // an empty text where the engine has no savepoints (or, for the
    // release, where a savepoint ends with its transaction).
    virtual std::string savepointStatement(const std::string &name) const { return "SAVEPOINT " + name + ";"; }
    virtual std::string rollbackToSavepointStatement(const std::string &name) const {
        return "ROLLBACK TO SAVEPOINT " + name + ";";
    }
    virtual std::string releaseSavepointStatement(const std::string &name) const {
        return "RELEASE SAVEPOINT " + name + ";";
    }

    // Whether the engine (or its provider) makes an index on the columns of
    // each foreign key; where it does not, the schema adds one
    // (ForeignKeyIndex).
    virtual bool indexesForeignKeys() const { return true; }
    // Where it does not: a query whose first column names every index of the
    // tables of the connection's schema.
    virtual std::string indexNamesQuery() const { return std::string(); }

    // The statement that has the engine gather a table's statistics anew
    // after a write added or removed many of its rows, where the engine does
    // that only later by itself; empty where it keeps them up to date.
    virtual std::string statisticsStatement(const std::string & /*table*/) const { return std::string(); }

    // Whether "=" on the schema's text columns is true exactly for equal
    // bytes in every database of the engine, so that a lookup by text can be
    // answered from rows read before. Not where a database may have been
    // made with tables that compare regardless of case or trailing spaces
    // (MySQL and MariaDB before the schema named a binary collation), nor
    // on an engine of unknown rules.
    virtual bool comparesTextsExactly() const { return false; }

    // Whether a text with more characters than its column's width is
    // stored whole; other engines refuse it (or, outside strict mode, cut it).
    virtual bool keepsTextsBeyondWidth() const { return false; }

    // A query whose first column lists the catalogs that take connections;
    // empty where the driver's catalog function lists them.
    virtual std::string catalogQuery() const { return std::string(); }
    // A query whose first column gives a table's key columns in key order,
    // with the table name as its one parameter; empty where the driver's
    // primary-key function gives them.
    virtual std::string primaryKeyQuery() const { return std::string(); }

    // The script of the 1.1 to 1.2 upgrade: the message number of its
    // heading (0 for a blank line) and whether it is the MySQL form.
    virtual int upgradeScriptHeading() const;
    virtual bool upgradeScriptUsesMySqlForm() const { return false; }
    // The creation statements as a script for the engine's own shell runs
    // them, and one statement of a script in that form.
    virtual std::vector<std::string> scriptCreationStatements(const std::vector<std::string> &statements) const {
        return statements;
    }
    virtual std::string scriptStatement(const std::string &statement) const { return statement; }

private:
    char quote;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
