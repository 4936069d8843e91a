#include "tools/partlib/TextQuery.h"

#include "ctraxdbpartlib/readers/DBStatement.h"

#include <stdexcept>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

struct TextRow {
    static constexpr int MAX_COLUMNS = 4;
    char values[MAX_COLUMNS][256] = {};
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

} // namespace partlib
