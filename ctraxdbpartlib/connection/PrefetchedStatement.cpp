#include "ctraxdbpartlib/connection/PrefetchedStatement.h"

#include "ctraxdbpartlib/connection/LibraryPrefetch.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

PrefetchedStatement::PrefetchedStatement(std::shared_ptr<LibraryPrefetch> prefetch, std::string sql, ParentKind parent,
                                         std::shared_ptr<const PrefetchedRows> rows, int generation,
                                         std::unique_ptr<ProviderStatement> real)
    : prefetch(std::move(prefetch)), sql(std::move(sql)), parent(parent), rows(std::move(rows)), generation(generation),
      real(std::move(real)) {}

HRESULT PrefetchedStatement::execute(const std::vector<DBParam> &params) {
    hasParent = !params.empty() && params[0].kind == DBParam::I4;
    parentKey = hasParent ? params[0].intVal : 0;
    served =
        rows && params.size() == 1 && hasParent && prefetch->answers(parent, parentKey, generation, *rows, next, end);
    if (served)
        return S_OK;
    if (!real) {
        HRESULT result = prefetch->getConnection().prepare(sql, real);
        if (FAILED(result))
            return result;
    }
    return real->execute(params);
}

HRESULT PrefetchedStatement::fetch() {
    if (!served)
        return real->fetch();
    if (next >= end)
        return DB_S_ENDOFROWSET;
    row = next++;
    return S_OK;
}

int PrefetchedStatement::columnCount() {
    return rows ? static_cast<int>(rows->columns) : real->columnCount();
}

std::string PrefetchedStatement::columnName(int ordinal) {
    if (!rows)
        return real->columnName(ordinal);
    return ordinal >= 1 && static_cast<size_t>(ordinal) <= rows->columns ? rows->names[ordinal - 1] : std::string();
}

std::string PrefetchedStatement::tableName(int ordinal) {
    if (!rows)
        return real->tableName(ordinal);
    return ordinal >= 1 && static_cast<size_t>(ordinal) <= rows->columns ? rows->tables[ordinal - 1] : std::string();
}

bool PrefetchedStatement::isNull(int ordinal) {
    return served ? (cell(ordinal).flags & PrefetchedRows::IS_NULL) != 0 : real->isNull(ordinal);
}

int32_t PrefetchedStatement::getInt(int ordinal) {
    return served ? cell(ordinal).intValue : real->getInt(ordinal);
}

bool PrefetchedStatement::getInteger(int ordinal, int64_t &value) {
    if (!served)
        return real->getInteger(ordinal, value);
    const PrefetchedRows::Cell &current = cell(ordinal);
    if ((current.flags & PrefetchedRows::HAS_INTEGER) == 0)
        return false;
    value = current.integer;
    return true;
}

ProviderStatement::Integer PrefetchedStatement::integer(int ordinal, int64_t &value) {
    return served ? ProviderStatement::integer(ordinal, value) : real->integer(ordinal, value);
}

const char *PrefetchedStatement::nullableText(int ordinal, size_t &length) {
    return served ? ProviderStatement::nullableText(ordinal, length) : real->nullableText(ordinal, length);
}

const char *PrefetchedStatement::getText(int ordinal, size_t &length) {
    if (!served)
        return real->getText(ordinal, length);
    const PrefetchedRows::Cell &current = cell(ordinal);
    if (current.flags & PrefetchedRows::TEXT_OF_INTEGER) {
        // Each column's text stays valid until the next fetch, as the engines'.
        formatted.resize(rows->columns);
        std::string &text = formatted[static_cast<size_t>(ordinal - 1)];
        text = std::to_string(current.integer);
        length = text.size();
        return text.c_str();
    }
    length = current.length;
    return rows->texts.data() + current.offset;
}

DBParam PrefetchedStatement::value(int ordinal) {
    if (!served)
        return real->value(ordinal);
    const PrefetchedRows::Cell &current = cell(ordinal);
    if (current.flags & PrefetchedRows::IS_NULL)
        return DBParam();
    if (current.flags & PrefetchedRows::INT_VALUE)
        return DBParam::fromInt(current.intValue);
    return DBParam::fromText(rows->texts.substr(current.offset, current.length));
}

bool PrefetchedStatement::lastParent(const LibraryPrefetch *of, ParentKind &kind, int32_t &key) const {
    if (of != prefetch.get() || !hasParent)
        return false;
    kind = parent;
    key = parentKey;
    return true;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
