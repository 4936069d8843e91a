#include "ctraxdbpartlib/connection/MySqlDialect.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// CREATE TABLE statements get the options that give a table the comparison
// rule of the other engines: texts equal only when their bytes are (case
// and trailing blanks count), ordered by code point. MariaDB's utf8mb4_bin
// ignores trailing blanks; its NO PAD twin does not, and MySQL 8 names that
// rule utf8mb4_0900_bin. The options go before a final ';'; every other
// statement stays as it is.
std::string MySqlDialect::adapted(const std::string &sql) const {
    std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    if (tokens.size() < 2 || !tokens[0].is("CREATE") || !tokens[1].is("TABLE"))
        return sql;
    const std::string options = mariaDb ? " CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin"
                                        : " CHARACTER SET utf8mb4 COLLATE utf8mb4_0900_bin";
    const size_t end = tokens.back().isSymbol(';') ? tokens.back().begin : sql.size();
    return sql.substr(0, end) + options + sql.substr(end);
}

std::vector<std::string> MySqlDialect::sessionStatements() const {
    // Backslashes in texts are ordinary characters; the server's other modes stay.
    return {"SET SESSION sql_mode = CONCAT_WS(',', NULLIF(@@SESSION.sql_mode, ''), 'NO_BACKSLASH_ESCAPES')"};
}

std::string MySqlDialect::primaryKeyQuery() const {
    // MariaDB Connector/ODBC numbers KEY_SEQ by the columns' table order,
    // not by their place in the key; the server's own view has it right.
    return "SELECT COLUMN_NAME FROM INFORMATION_SCHEMA.KEY_COLUMN_USAGE WHERE TABLE_SCHEMA=DATABASE() AND "
           "TABLE_NAME=? AND CONSTRAINT_NAME='PRIMARY' ORDER BY ORDINAL_POSITION";
}

int MySqlDialect::upgradeScriptHeading() const {
    return IDS_SCRIPT_HEADING_MYSQL;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
