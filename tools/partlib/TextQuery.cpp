#include "tools/partlib/TextQuery.h"

#include "ctraxdbpartlib/readers/DBStatement.h"

#include <stdexcept>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

struct TextRow {
    static constexpr int MAX_COLUMNS = 4;
    char values[MAX_COLUMNS][QUERY_TEXT_WIDTH + 1] = {};
    DBSTATUS status[MAX_COLUMNS] = {};
    int columns = 1;

    void bind(ColumnMap &map) {
        for (int i = 0; i < columns; ++i)
            map.column(i + 1, values[i], &status[i]);
    }
};

} // namespace

std::vector<std::vector<hostmodel::Text>> queryTexts(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path,
                                                     const std::string &sql, int columns) {
    if (columns < 1 || columns > TextRow::MAX_COLUMNS)
        throw std::invalid_argument("queryTexts: 1 to 4 columns");
    CCommand<CAccessor<TextRow>> command;
    command.columns = columns;
    dbPath(path).open(command, sql);
    std::vector<std::vector<hostmodel::Text>> rows;
    for (HRESULT result = command.MoveFirst(); checkResult(result), result == S_OK; result = command.MoveNext()) {
        std::vector<hostmodel::Text> row;
        for (int i = 0; i < columns; ++i)
            row.push_back(command.status[i] == DBSTATUS_S_ISNULL ? hostmodel::Text()
                                                                 : hostmodel::Text(command.values[i]));
        rows.push_back(std::move(row));
    }
    return rows;
}

libraryfile::StoredNames storedNames(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path) {
    libraryfile::StoredNames names;
    for (const auto &row : queryTexts(path,
                                      "SELECT [Part_Definition].[Name], [Library].[Name] FROM [Part_Definition] INNER "
                                      "JOIN [Library] ON [Part_Definition].[Library_ID] = [Library].[ID];",
                                      2))
        names.definitions.emplace(row[0].value_or(""), row[1].value_or(""));
    for (const auto &row : queryTexts(path,
                                      "SELECT [Parts].[Name], [Library].[Name], [Part_Definition].[Name] FROM [Parts] "
                                      "INNER JOIN [Library] ON [Parts].[Library_ID] = [Library].[ID] INNER JOIN "
                                      "[Part_Definition] ON [Parts].[Part_def_ID] = [Part_Definition].[ID];",
                                      3))
        names.parts.emplace(row[0].value_or(""),
                            libraryfile::StoredNames::PartOf{row[1].value_or(""), row[2].value_or("")});
    return names;
}

} // namespace partlib
