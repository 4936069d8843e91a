#include "ctraxdbpartlib/connection/PostgreSqlDialect.h"

#include "ctraxdbpartlib/connection/SqlTokenizer.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Every ORDER BY item sorting NULL first, as SQLite and MariaDB do:
// PostgreSQL puts NULL last unless told.
std::string PostgreSqlDialect::adapted(const std::string &sql) const {
    std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    std::vector<size_t> ends; // where an item of an ORDER BY list ends
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!tokens[i].is("ORDER") || !tokens[i + 1].is("BY"))
            continue;
        int depth = 0;
        size_t j = i + 2;
        for (; j < tokens.size(); ++j) {
            const SqlToken &token = tokens[j];
            if (token.isSymbol('(')) {
                ++depth;
            } else if (token.isSymbol(')')) {
                if (depth-- == 0)
                    break; // the end of a sub-query
            } else if (depth == 0 && (token.isSymbol(';') || token.is("LIMIT") || token.is("OFFSET"))) {
                break;
            } else if (depth == 0 && token.isSymbol(',')) {
                ends.push_back(tokens[j - 1].end);
            }
        }
        if (j > i + 2)
            ends.push_back(tokens[j - 1].end);
        i = j;
    }
    std::string out = sql;
    for (auto end = ends.rbegin(); end != ends.rend(); ++end)
        out.insert(*end, " NULLS FIRST");
    return out;
}

std::string PostgreSqlDialect::catalogQuery() const {
    // psqlODBC offers only the connected database; the server knows them all.
    return "SELECT datname FROM pg_database WHERE datallowconn AND NOT datistemplate ORDER BY datname";
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
