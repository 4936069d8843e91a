#include "ctraxdbpartlib/connection/SQLiteDialect.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/SQLiteDdl.h"
#include "ctraxdbpartlib/connection/SQLiteProvider.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

// A statement with its bracket quoting in SQLite's form.
std::string sqliteQuoted(const std::string &sql) {
    std::unique_ptr<char, void (*)(void *)> fixed(fixDatabaseCommandEncloseTC(sql.c_str(), '"', '"'), freeMem);
    return fixed ? std::string(fixed.get()) : sql;
}

} // namespace

std::vector<std::string> SQLiteDialect::scriptCreationStatements(const std::vector<std::string> &statements) const {
    InitString init;
    checkResult(InitString::parse("Provider=SQLite;Data Source=:memory:", init));
    std::unique_ptr<ProviderConnection> scratch;
    checkResult(openSQLiteProvider(init, scratch));
    for (const std::string &statement : statements)
        checkResult(scratch->execute(sqliteQuoted(statement)));
    std::unique_ptr<ProviderStatement> query;
    checkResult(
        scratch->prepare("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY type='index',rowid;", query));
    checkResult(query->execute({}));
    std::vector<std::string> held;
    HRESULT result = S_OK;
    while ((result = query->fetch()) == S_OK) {
        size_t length = 0;
        const char *text = query->getText(1, length);
        held.emplace_back(text, length);
    }
    checkResult(result);
    return held;
}

std::string SQLiteDialect::scriptStatement(const std::string &statement) const {
    return SQLiteDdl::indexForm(statement);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
