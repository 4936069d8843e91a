#include "ctraxdbpartlib/connection/ChangeableSelect.h"

#include "ctraxdbpartlib/connection/SqlTokenizer.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

bool parseChangeableSelect(const std::string &sql, ChangeableSelect &select) {
    std::vector<std::string> &items = select.items;
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    size_t i = 0;
    if (tokens.empty() || !tokens[i++].is("SELECT"))
        return false;
    // Items: name(.name)* or *, separated by commas.
    for (;;) {
        bool item = false;
        while (i < tokens.size() && (tokens[i].isIdentifier() || tokens[i].isSymbol('*')) && !tokens[i].is("FROM") &&
               !tokens[i].is("DISTINCT") && !tokens[i].is("ALL")) {
            if (!item)
                items.emplace_back();
            item = true;
            items.back() = tokens[i].name; // the last part names the column
            ++i;
            if (i < tokens.size() && tokens[i].isSymbol('.'))
                ++i;
            else
                break;
        }
        if (!item || i >= tokens.size())
            return false;
        if (tokens[i].isSymbol(',')) {
            ++i;
            continue;
        }
        break;
    }
    if (!tokens[i].is("FROM"))
        return false;
    select.fromOffset = tokens[i++].begin;
    if (i >= tokens.size() || !tokens[i].isIdentifier())
        return false;
    const size_t tableBegin = tokens[i].begin;
    select.table = tokens[i++].name;
    if (i + 1 < tokens.size() && tokens[i].isSymbol('.') && tokens[i + 1].isIdentifier()) {
        select.table = tokens[i + 1].name; // schema.table
        i += 2;
    }
    select.tableText = sql.substr(tableBegin, tokens[i - 1].end - tableBegin);
    if (i < tokens.size() && tokens[i].is("AS"))
        ++i;
    if (i < tokens.size() && tokens[i].isIdentifier() && !tokens[i].is("WHERE") && !tokens[i].is("ORDER") &&
        !tokens[i].is("LIMIT"))
        ++i; // alias
    if (i < tokens.size() && !tokens[i].is("WHERE") && !tokens[i].is("ORDER") && !tokens[i].is("LIMIT") &&
        !tokens[i].isSymbol(';'))
        return false;
    // Nothing at the top level that joins, groups or combines rows.
    int depth = 0;
    for (; i < tokens.size(); ++i) {
        if (tokens[i].isSymbol('('))
            ++depth;
        else if (tokens[i].isSymbol(')'))
            --depth;
        else if (depth == 0 && (tokens[i].is("GROUP") || tokens[i].is("UNION") || tokens[i].is("INTERSECT") ||
                                tokens[i].is("EXCEPT") || tokens[i].is("HAVING")))
            return false;
    }
    return true;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
