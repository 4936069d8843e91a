#include "ctraxdbpartlib/connection/ForeignKeyIndex.h"

#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

std::string ForeignKeyIndex::statementFor(const std::string &sql, char open, char close, std::string *name) {
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    if (tokens.size() < 10 || !tokens[0].is("ALTER") || !tokens[1].is("TABLE") || !tokens[2].isIdentifier() ||
        !tokens[3].is("ADD") || !tokens[4].is("CONSTRAINT") || !tokens[5].isIdentifier() || !tokens[6].is("FOREIGN") ||
        !tokens[7].is("KEY") || !tokens[8].isSymbol('('))
        return std::string();
    std::string columns;
    for (size_t i = 9; i < tokens.size(); ++i) {
        const SqlToken &token = tokens[i];
        if (token.isSymbol(')')) {
            const std::string index = tokens[5].name + "Index";
            if (name)
                *name = index;
            return "CREATE INDEX IF NOT EXISTS " + SqlTokenizer::quote(index, open, close) + " ON " +
                   SqlTokenizer::quote(tokens[2].name, open, close) + " (" + columns + ");";
        }
        if (token.isSymbol(','))
            columns += ',';
        else if (token.isIdentifier())
            columns += SqlTokenizer::quote(token.name, open, close);
        else
            return std::string();
    }
    return std::string();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
