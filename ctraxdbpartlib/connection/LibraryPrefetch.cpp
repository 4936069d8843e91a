#include "ctraxdbpartlib/connection/LibraryPrefetch.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/ParallelReads.h"
#include "ctraxdbpartlib/connection/PrefetchedStatement.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <algorithm>
#include <system_error>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// The tables whose rows a prefetch reads.
const char *const readTables[] = {"Pin_Data",
                                  "Attributes",
                                  "Gate",
                                  "Gate_Equiv",
                                  "Pin_Equiv",
                                  "Gate_has_Pin_Data",
                                  "Gate_Equiv_Gate",
                                  "Gate_Equiv_has_Pin_Data"};

// The names that a query's text holds, tables (after FROM, JOIN or a comma,
// and as qualifiers) among them.
std::vector<std::string> namesIn(const std::string &sql) {
    std::vector<std::string> names;
    for (const SqlToken &token : SqlTokenizer::tokenize(sql))
        if (token.isIdentifier() && std::find(names.begin(), names.end(), token.name) == names.end())
            names.push_back(token.name);
    return names;
}

// Whether rows read by a query naming `read` show a change of the tables
// `changed` ("*": of every table).
bool shows(const std::vector<std::string> &read, const std::vector<std::string> &changed) {
    for (const std::string &table : changed)
        if (table == "*" ||
            std::any_of(read.begin(), read.end(), [&](const std::string &name) { return equalsNoCase(name, table); }))
            return true;
    return false;
}

bool isReadTable(const std::string &table) {
    for (const char *name : readTables)
        if (equalsNoCase(table, name))
            return true;
    return false;
}

// The current row's value of `ordinal` as a cell of `rows`. A value of an
// integer column keeps no text: its text is its number in decimal, as the
// engines give it.
void appendCell(PrefetchedRows &rows, ProviderStatement &statement, int ordinal) {
    ProviderStatement::Snapshot value;
    statement.snapshot(ordinal, value);
    PrefetchedRows::Cell cell;
    if (value.kind == DBParam::NUL) {
        cell.flags = PrefetchedRows::IS_NULL;
    } else if (value.kind == DBParam::I4 && value.whole) {
        cell = PrefetchedRows::integerCell(value.integer);
    } else {
        cell.offset = rows.texts.size();
        cell.length = value.length;
        rows.texts.append(value.text, value.length);
        cell.integer = value.integer;
        cell.intValue = value.intValue;
        if (value.whole)
            cell.flags |= PrefetchedRows::HAS_INTEGER;
        if (value.kind == DBParam::I4)
            cell.flags |= PrefetchedRows::INT_VALUE;
    }
    rows.cells.push_back(cell);
}

// Runs a library-wide query for the library; false, with no error left,
// when the engine refuses it.
bool openLibraryWide(ProviderConnection &connection, int32_t libraryId, const std::string &sql,
                     std::unique_ptr<ProviderStatement> &statement) {
    if (SUCCEEDED(connection.prepare(sql, statement)) && SUCCEEDED(statement->execute({DBParam::fromInt(libraryId)})))
        return true;
    CDBErrorInfo::clear();
    return false;
}

} // namespace

LibraryPrefetch::Scope::Scope(ProviderConnection &connection, int32_t libraryId, ReadOrder *order)
    : connection(connection), running(std::make_shared<LibraryPrefetch>(connection, libraryId)), order(order) {
    // The queries of another connection may be another engine's.
    if (order && order->connection == connection.serial() && !order->reads.empty())
        running->readAhead(order->reads);
    // Last: a constructor that throws leaves no prefetch on the connection.
    connection.setPrefetch(running.get());
}

LibraryPrefetch::Scope::~Scope() {
    connection.setPrefetch(nullptr);
    if (order) {
        order->connection = connection.serial();
        order->reads = std::move(running->readOrder);
    }
    // Statements that outlive the scope run on their own from now on.
    running->forgetAll();
    running->running = false;
}

LibraryPrefetch::LibraryPrefetch(ProviderConnection &connection, int32_t libraryId)
    : connection(connection), libraryId(libraryId) {}

LibraryPrefetch::~LibraryPrefetch() = default;

HRESULT LibraryPrefetch::prepare(const std::string &sql, std::unique_ptr<ProviderStatement> &statement) {
    Plan &plan = plans[sql];
    if (!plan.parsed) {
        char open = '"', close = '"';
        connection.dialect().quoteChars(open, close);
        plan.isParentQuery = parseParentQuery(sql, open, close, plan.query);
        plan.parsed = true;
    }
    if (!running || !plan.isParentQuery)
        return connection.prepare(sql, statement);
    ++plan.opened;
    // A count runs on the engine once first, which names its column.
    if (plan.query.libraryWidePossible && !plan.rows && !plan.failed && (!plan.query.count || plan.named) &&
        !ownersOf(plan.query.parent).empty() &&
        (plan.opened >= READ_AHEAD_AFTER || ownersOf(ParentKind::Definition).size() <= SMALL_LIBRARY)) {
        plan.rows = plan.query.count ? countedRows(plan) : nullptr;
        if (!plan.rows)
            plan.rows = read(plan.query, sql);
        plan.failed = !plan.rows;
    }
    std::unique_ptr<ProviderStatement> real;
    if (!plan.rows) {
        HRESULT result = connection.prepare(sql, real);
        if (FAILED(result))
            return result;
        if (plan.query.count && !plan.named && real->columnCount() == 1) {
            plan.countName = real->columnName(1);
            plan.countTable = real->tableName(1);
            plan.named = true;
        }
    }
    statement.reset(
        new PrefetchedStatement(shared_from_this(), sql, plan.query.parent, plan.rows, generation, std::move(real)));
    return S_OK;
}

bool LibraryPrefetch::counted(const std::string &sql, int32_t parent, int32_t &count) {
    auto found = plans.find(sql);
    if (found == plans.end())
        return false;
    Plan &plan = found->second;
    size_t first = 0, end = 0;
    if (!running || !plan.rows || !plan.query.count || plan.rows->columns != 1 ||
        !rangeOf(plan.query.parent, parent, generation, *plan.rows, first, end) || end != first + 1)
        return false;
    // A count its binding cannot hold runs, and fails there.
    const PrefetchedRows::Cell &cell = plan.rows->cells[first];
    if ((cell.flags & PrefetchedRows::HAS_INTEGER) == 0 || cell.integer < 0 || cell.integer > INT32_MAX)
        return false;
    ++answered;
    ++plan.opened;
    count = static_cast<int32_t>(cell.integer);
    return true;
}

void LibraryPrefetch::changing(ProviderStatement &statement, const std::string &table,
                               const std::vector<std::vector<DBParam>> &keys) {
    ParentKind kind = ParentKind::Definition;
    int32_t parent = 0;
    int32_t definition = 0;
    auto *over = dynamic_cast<PrefetchedStatement *>(&statement);
    if (over && over->lastParent(this, kind, parent) && ownerOf(kind, parent, definition)) {
        noteChanged(definition, table);
        return;
    }
    if (isReadTable(table)) {
        forgetAll();
        return;
    }
    // The rows of a definition that goes are read no more.
    if (!equalsNoCase(table, "Part_Definition"))
        return;
    for (const std::vector<DBParam> &key : keys) {
        if (key.size() != 1 || key[0].kind != DBParam::I4) {
            forgetAll();
            return;
        }
        noteChanged(key[0].intVal, "*");
    }
}

void LibraryPrefetch::noteChanged(int32_t definition, const std::string &table) {
    std::vector<std::string> &tables = changedTables[definition];
    if (std::find(tables.begin(), tables.end(), table) == tables.end())
        tables.push_back(table);
}

void LibraryPrefetch::forgetAll() {
    // What the other connection reads shows the rows as they were.
    parallel.reset();
    ++generation;
    for (auto &entry : plans) {
        entry.second.rows.reset();
        entry.second.opened = 0;
    }
    for (int kind = 0; kind < PARENT_KINDS; ++kind) {
        owners[kind].clear();
        ownersRead[kind] = false;
    }
    changedTables.clear();
}

bool LibraryPrefetch::holds(const std::string &sql, ParentKind kind, int32_t parent) {
    auto plan = plans.find(sql);
    return plan != plans.end() && plan->second.rows && plan->second.query.parent == kind &&
           current(kind, parent, *plan->second.rows);
}

bool LibraryPrefetch::current(ParentKind kind, int32_t parent, const PrefetchedRows &rows) {
    int32_t definition = 0;
    if (!running || !ownerOf(kind, parent, definition))
        return false;
    auto changed = changedTables.find(definition);
    return changed == changedTables.end() || !shows(rows.tablesRead, changed->second);
}

bool LibraryPrefetch::answers(ParentKind kind, int32_t parent, int rowsGeneration, const PrefetchedRows &rows,
                              size_t &first, size_t &end) {
    if (!rangeOf(kind, parent, rowsGeneration, rows, first, end))
        return false;
    ++answered;
    return true;
}

bool LibraryPrefetch::rangeOf(ParentKind kind, int32_t parent, int rowsGeneration, const PrefetchedRows &rows,
                              size_t &first, size_t &end) {
    if (rowsGeneration != generation || !current(kind, parent, rows))
        return false;
    auto range = rows.ranges.find(parent);
    if (range != rows.ranges.end()) {
        first = range->second.first;
        end = first + range->second.second;
    } else if (rows.zeroRow != PrefetchedRows::NONE) {
        first = rows.zeroRow;
        end = first + 1;
    } else {
        first = end = 0;
    }
    return true;
}

const std::unordered_map<int32_t, int32_t> &LibraryPrefetch::ownersOf(ParentKind kind) {
    const int index = static_cast<int>(kind);
    if (ownersRead[index])
        return owners[index];
    ownersRead[index] = true;
    char open = '"', close = '"';
    connection.dialect().quoteChars(open, close);
    std::unique_ptr<ProviderStatement> statement;
    if (!runRead(parentsQuery(kind, open, close), statement))
        return owners[index];
    std::unordered_map<int32_t, int32_t> read;
    HRESULT result = S_OK;
    while ((result = statement->fetch()) == S_OK)
        read[statement->getInt(1)] = statement->getInt(2);
    if (FAILED(result))
        CDBErrorInfo::clear(); // no parent is known: every query goes to the database
    else
        owners[index] = std::move(read);
    return owners[index];
}

bool LibraryPrefetch::ownerOf(ParentKind kind, int32_t parent, int32_t &definition) {
    const std::unordered_map<int32_t, int32_t> &known = ownersOf(kind);
    auto found = known.find(parent);
    if (found == known.end())
        return false;
    definition = found->second;
    return true;
}

bool LibraryPrefetch::runRead(const std::string &sql, std::unique_ptr<ProviderStatement> &statement) {
    ++reads;
    return openLibraryWide(connection, libraryId, sql, statement);
}

void LibraryPrefetch::readAhead(const std::vector<ReadOrder::Read> &order) {
    if (std::unique_ptr<ProviderConnection> reader = connection.openReader()) {
        std::vector<ParentQuery> queries;
        for (const ReadOrder::Read &read : order)
            queries.push_back(read.query);
        try {
            parallel = std::make_unique<ParallelReads>(std::move(reader), libraryId, std::move(queries));
            return;
        } catch (const std::system_error &) {
            // No thread to be had: the reads run here.
        }
    }
    readAtOnce(order);
}

void LibraryPrefetch::readAtOnce(const std::vector<ReadOrder::Read> &order) {
    const size_t definitions = ownersOf(ParentKind::Definition).size();
    if (definitions == 0 || definitions > SMALL_LIBRARY)
        return;
    for (const ReadOrder::Read &each : order) {
        Plan &plan = plans[each.sql];
        if (plan.parsed || ownersOf(each.query.parent).empty())
            continue;
        plan.parsed = plan.isParentQuery = true;
        plan.query = each.query;
        plan.rows = read(each.query, each.sql);
        plan.failed = !plan.rows;
    }
}

std::shared_ptr<const PrefetchedRows> LibraryPrefetch::read(const ParentQuery &query, const std::string &sql) {
    // Rows the other connection read count as the read; when it has none,
    // the read runs here.
    ++reads;
    std::shared_ptr<const PrefetchedRows> rows = parallel ? parallel->take(query.libraryWide) : nullptr;
    if (rows)
        ++readsAside;
    else
        rows = readLibraryWide(connection, libraryId, query);
    if (rows &&
        std::none_of(readOrder.begin(), readOrder.end(), [&](const ReadOrder::Read &read) { return read.sql == sql; }))
        readOrder.push_back({sql, query});
    return rows;
}

std::shared_ptr<const PrefetchedRows> readLibraryWide(ProviderConnection &connection, int32_t libraryId,
                                                      const ParentQuery &query, const std::atomic<bool> *stop) {
    std::unique_ptr<ProviderStatement> statement;
    if (!openLibraryWide(connection, libraryId, query.libraryWide, statement))
        return nullptr;
    auto rows = std::make_shared<PrefetchedRows>();
    rows->tablesRead = namesIn(query.libraryWide);
    const int columns = statement->columnCount();
    if (columns < 2)
        return nullptr;
    rows->columns = static_cast<size_t>(columns - 1);
    for (int ordinal = 2; ordinal <= columns; ++ordinal) {
        rows->names.push_back(statement->columnName(ordinal));
        rows->tables.push_back(statement->tableName(ordinal));
    }
    size_t count = 0;
    int32_t previous = 0;
    std::pair<size_t, size_t> *range = nullptr; // the current parent's
    HRESULT result = S_OK;
    while ((result = statement->fetch()) == S_OK) {
        if (stop && *stop)
            return nullptr;
        const int32_t parent = statement->getInt(1);
        if (!range || parent != previous) {
            range = &rows->ranges[parent];
            if (range->second != 0)
                return nullptr; // not in the order of the parents: a range would be wrong
            range->first = count;
            previous = parent;
        }
        ++range->second;
        for (int ordinal = 2; ordinal <= columns; ++ordinal)
            appendCell(*rows, *statement, ordinal);
        ++count;
    }
    if (FAILED(result)) {
        CDBErrorInfo::clear();
        return nullptr;
    }
    if (query.count) {
        rows->zeroRow = count;
        rows->cells.push_back(PrefetchedRows::integerCell(0));
    }
    return rows;
}

std::shared_ptr<const PrefetchedRows> LibraryPrefetch::countedRows(const Plan &count) const {
    if (!count.named)
        return nullptr;
    // A reader opens its rows before it counts them, so they are read by now.
    const auto counted = std::find_if(plans.begin(), plans.end(), [&](const auto &entry) {
        const Plan &plan = entry.second;
        return plan.rows && !plan.query.count && plan.query.parent == count.query.parent &&
               plan.query.rowsCounted == count.query.rowsCounted;
    });
    if (counted == plans.end())
        return nullptr;
    const PrefetchedRows &rows = *counted->second.rows;
    auto counts = std::make_shared<PrefetchedRows>();
    counts->columns = 1;
    counts->names.assign(1, count.countName);
    counts->tables.assign(1, count.countTable);
    counts->tablesRead = rows.tablesRead;
    counts->cells.reserve(rows.ranges.size() + 1);
    for (const auto &[parent, range] : rows.ranges) {
        counts->ranges[parent] = {counts->cells.size(), 1};
        counts->cells.push_back(PrefetchedRows::integerCell(static_cast<int64_t>(range.second)));
    }
    counts->zeroRow = counts->cells.size();
    counts->cells.push_back(PrefetchedRows::integerCell(0));
    return counts;
}

HRESULT prepareQuery(ProviderConnection &connection, const std::string &sql,
                     std::unique_ptr<ProviderStatement> &statement) {
    if (LibraryPrefetch *prefetch = connection.getPrefetch())
        return prefetch->prepare(sql, statement);
    return connection.prepare(sql, statement);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
