#include "ctraxdbpartlib/connection/ParentQuery.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// The columns that refer to a parent row.
struct ParentColumn {
    const char *table;
    const char *column;
    ParentKind kind;
};

const ParentColumn parentColumns[] = {
    {"Pin_Data", "Part_def_ID", ParentKind::Definition},
    {"Attributes", "Part_def_ID", ParentKind::Definition},
    {"Gate", "Part_def_ID", ParentKind::Definition},
    {"Gate_Equiv", "Part_def_ID", ParentKind::Definition},
    {"Pin_Equiv", "Part_def_ID", ParentKind::Definition},
    {"Gate_has_Pin_Data", "Gate_ID", ParentKind::Gate},
    {"Gate_Equiv_Gate", "Gate_equiv_ID", ParentKind::Swap},
    {"Gate_Equiv_has_Pin_Data", "Gate_equiv_gate_ID", ParentKind::SwapGate},
    {"Pin_Data", "Equiv_group", ParentKind::Group},
};

// Per kind: the parent's key, the definition it belongs to, and the tables
// and conditions that give the parents of the library whose key is the
// parameter.
struct Parents {
    const char *key;
    const char *definition;
    const char *fromWhere;
};

const Parents parents[PARENT_KINDS] = {
    {"[ID]", "[ID]", "[Part_Definition] WHERE [Library_ID] = ?"},
    {"[Gate].[ID]", "[Gate].[Part_def_ID]",
     "[Gate],[Part_Definition] WHERE [Gate].[Part_def_ID]=[Part_Definition].[ID] AND "
     "[Part_Definition].[Library_ID] = ?"},
    {"[Gate_Equiv].[ID]", "[Gate_Equiv].[Part_def_ID]",
     "[Gate_Equiv],[Part_Definition] WHERE [Gate_Equiv].[Part_def_ID]=[Part_Definition].[ID] AND "
     "[Part_Definition].[Library_ID] = ?"},
    {"[Gate_Equiv_Gate].[ID]", "[Gate_Equiv].[Part_def_ID]",
     "[Gate_Equiv_Gate],[Gate_Equiv],[Part_Definition] WHERE [Gate_Equiv_Gate].[Gate_equiv_ID]=[Gate_Equiv].[ID] "
     "AND [Gate_Equiv].[Part_def_ID]=[Part_Definition].[ID] AND [Part_Definition].[Library_ID] = ?"},
    {"[Pin_Equiv].[ID]", "[Pin_Equiv].[Part_def_ID]",
     "[Pin_Equiv],[Part_Definition] WHERE [Pin_Equiv].[Part_def_ID]=[Part_Definition].[ID] AND "
     "[Part_Definition].[Library_ID] = ?"},
};

// A bracket-quoted text (without literals) in the engine's quoting.
std::string quoted(const std::string &text, char open, char close) {
    std::string out = text;
    for (char &c : out)
        if (c == '[')
            c = open;
        else if (c == ']')
            c = close;
    return out;
}

const ParentColumn *parentColumn(const std::string &table, const std::string &column) {
    for (const ParentColumn &candidate : parentColumns)
        if (equalsNoCase(table, candidate.table) && equalsNoCase(column, candidate.column))
            return &candidate;
    return nullptr;
}

std::string trimmed(const std::string &text) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

} // namespace

std::string parentsQuery(ParentKind kind, char open, char close) {
    const Parents &of = parents[static_cast<int>(kind)];
    return quoted(std::string("SELECT ") + of.key + "," + of.definition + " FROM " + of.fromWhere + ";", open, close);
}

bool parseParentQuery(const std::string &sql, char open, char close, ParentQuery &query) {
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    const size_t n = tokens.size();
    if (n == 0 || !tokens[0].is("SELECT"))
        return false;
    size_t marker = n;
    size_t from = n;
    int markers = 0;
    int depth = 0;
    for (size_t i = 1; i < n; ++i) {
        if (tokens[i].isSymbol('('))
            ++depth;
        else if (tokens[i].isSymbol(')'))
            --depth;
        else if (depth == 0 && from == n && tokens[i].is("FROM"))
            from = i;
        else if (tokens[i].isSymbol('?') && markers++ == 0)
            marker = i;
    }
    // "<WHERE|AND> [table.]column = ?" after the first table of FROM.
    if (from + 1 >= n || !tokens[from + 1].isIdentifier() || marker == n || marker < from + 4 ||
        !tokens[marker - 1].isSymbol('=') || !tokens[marker - 2].isIdentifier())
        return false;
    size_t columnStart = marker - 2;
    std::string table = tokens[from + 1].name;
    if (tokens[columnStart - 1].isSymbol('.') && tokens[columnStart - 2].isIdentifier()) {
        columnStart -= 2;
        table = tokens[columnStart].name;
    }
    if (columnStart <= from + 1 || (!tokens[columnStart - 1].is("WHERE") && !tokens[columnStart - 1].is("AND")))
        return false;
    const ParentColumn *parent = parentColumn(table, tokens[marker - 2].name);
    if (!parent)
        return false;
    query.parent = parent->kind;
    query.table = parent->table;

    // The library-wide form: one parameter, and after it an order or nothing.
    std::string order;
    size_t next = marker + 1;
    if (next + 1 < n && tokens[next].is("ORDER") && tokens[next + 1].is("BY")) {
        const size_t end = tokens[n - 1].isSymbol(';') ? tokens[n - 1].begin : sql.size();
        if (next + 2 >= n || tokens[next + 2].begin >= end)
            return true;
        order = trimmed(sql.substr(tokens[next + 2].begin, end - tokens[next + 2].begin));
    } else if (!(next == n || (next + 1 == n && tokens[next].isSymbol(';')))) {
        return true;
    }
    if (markers != 1)
        return true;
    const std::string list = trimmed(sql.substr(tokens[0].end, tokens[from].begin - tokens[0].end));
    query.count = from == 5 && tokens[1].is("Count") && tokens[2].isSymbol('(') && tokens[3].isSymbol('*') &&
                  tokens[4].isSymbol(')');
    // Any other function or sub-query in the list, or a count in order, is not one row per row.
    if (!query.count && list.find('(') != std::string::npos)
        return true;
    if (query.count && !order.empty())
        return true;
    const std::string column =
        sql.substr(tokens[columnStart].begin, tokens[marker - 2].end - tokens[columnStart].begin);
    // Rows without an order of their own come as the engine scans them, in
    // the order of their keys; so they are read ahead.
    if (!query.count && order.empty()) {
        if (equalsNoCase(parent->table, "Attributes"))
            return true;
        const bool qualified = columnStart + 2 == marker - 2;
        order =
            (qualified ? sql.substr(tokens[columnStart].begin, tokens[columnStart + 1].end - tokens[columnStart].begin)
                       : std::string()) +
            SqlTokenizer::quote("ID", open, close);
    }
    const Parents &of = parents[static_cast<int>(parent->kind)];
    const std::string condition =
        column + " IN (" + quoted(std::string("SELECT ") + of.key + " FROM " + of.fromWhere, open, close) + ")";
    query.libraryWide = "SELECT " + column + "," + list + " " +
                        sql.substr(tokens[from].begin, tokens[columnStart].begin - tokens[from].begin) + condition +
                        (query.count ? " GROUP BY " + column : " ORDER BY " + column + "," + order) + ";";
    query.rowsCounted = sql.substr(tokens[from].begin, tokens[marker].end - tokens[from].begin);
    query.libraryWidePossible = true;
    return true;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
