#include "ctraxdbpartlib/connection/RowBinding.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

#include <algorithm>
#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// The first bytes of a stored value for a message, control bytes as \xNN;
// a UTF-8 character is not cut in two.
std::string shownStart(const char *text, size_t length) {
    const std::string start = fitted(std::string_view(text, length), 40);
    return storedEscaped(start) + (start.size() < length ? "..." : "");
}

std::string columnText(ProviderStatement &row, int ordinal) {
    const std::string from = row.tableName(ordinal);
    return "Column " + row.columnName(ordinal) + (from.empty() ? "" : " of table " + from);
}

} // namespace

HRESULT failWith(const std::string &text, HRESULT result) {
    CDBErrorInfo::add(text);
    return result;
}

DBParam bufferValue(const DBBinding &binding) {
    if (binding.status && *binding.status == DBSTATUS_S_ISNULL)
        return DBParam();
    switch (binding.type) {
    case DBBinding::I4:
        return DBParam::fromInt(*static_cast<const int32_t *>(binding.value));
    case DBBinding::I2:
        return DBParam::fromInt(*static_cast<const int16_t *>(binding.value));
    case DBBinding::STR:
        break;
    }
    const char *text = static_cast<const char *>(binding.value);
    return DBParam::fromText(std::string(text, strnlen(text, binding.width)));
}

HRESULT RowBinding::misfit(ProviderStatement &row, int ordinal, const DBBinding &binding) {
    size_t length = 0;
    const char *text = row.getText(ordinal, length);
    return failWith(columnText(row, ordinal) + " holds a value that is not a " +
                        (binding.type == DBBinding::I4 ? "32" : "16") + "-bit integer: " + shownStart(text, length),
                    DB_E_CANTCONVERTVALUE);
}

HRESULT RowBinding::unreadableText(ProviderStatement &row, int ordinal, const DBBinding &binding, const char *text,
                                   size_t length) {
    const size_t most = binding.mostBytes();
    if (length <= most && std::memchr(text, '\0', length) == nullptr)
        return S_OK;
    const std::string what = length > most ? "a text of " + std::to_string(length) + " bytes, longer than the " +
                                                 std::to_string(most) + " bytes it is read in,"
                                           : "a text with a NUL byte inside,";
    return failWith(columnText(row, ordinal) + " holds " + what + " and is not read cut: " + shownStart(text, length),
                    DB_E_CANTCONVERTVALUE);
}

HRESULT RowBinding::copyRow(ProviderStatement &row) const {
    for (const DBBinding &binding : columns) {
        const int ordinal = binding.ordinal;
        bool null = false;
        if (binding.type == DBBinding::I4 || binding.type == DBBinding::I2) {
            const bool wide = binding.type == DBBinding::I4;
            int64_t value = 0;
            const ProviderStatement::Integer cell = row.integer(ordinal, value);
            null = cell == ProviderStatement::Integer::NUL;
            if (!null) {
                if (cell == ProviderStatement::Integer::NOT_A_NUMBER || value < (wide ? INT32_MIN : INT16_MIN) ||
                    value > (wide ? INT32_MAX : INT16_MAX))
                    return misfit(row, ordinal, binding);
                if (wide)
                    *static_cast<int32_t *>(binding.value) = static_cast<int32_t>(value);
                else
                    *static_cast<int16_t *>(binding.value) = static_cast<int16_t>(value);
                if (binding.length)
                    *binding.length = wide ? sizeof(int32_t) : sizeof(int16_t);
            }
        } else {
            size_t length = 0;
            const char *text = row.nullableText(ordinal, length);
            null = text == nullptr;
            if (!null) {
                const HRESULT readable = unreadableText(row, ordinal, binding, text, length);
                if (FAILED(readable))
                    return readable;
                char *target = static_cast<char *>(binding.value);
                std::memcpy(target, text, length);
                target[length] = '\0';
                if (binding.length)
                    *binding.length = length;
            }
        }
        if (null) {
            if (binding.type == DBBinding::I4)
                *static_cast<int32_t *>(binding.value) = 0;
            else if (binding.type == DBBinding::I2)
                *static_cast<int16_t *>(binding.value) = 0;
            else
                static_cast<char *>(binding.value)[0] = '\0';
            if (binding.length)
                *binding.length = 0;
        }
        if (binding.status)
            *binding.status = null ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK;
    }
    return S_OK;
}

bool RowBinding::rowValue(ProviderStatement &row, const DBBinding &binding, DBParam &value) {
    value = DBParam();
    if (binding.type != DBBinding::STR) {
        const bool wide = binding.type == DBBinding::I4;
        int64_t number = 0;
        switch (row.integer(binding.ordinal, number)) {
        case ProviderStatement::Integer::NUL:
            return true;
        case ProviderStatement::Integer::NOT_A_NUMBER:
            return false;
        case ProviderStatement::Integer::NUMBER:
            break;
        }
        if (number < (wide ? INT32_MIN : INT16_MIN) || number > (wide ? INT32_MAX : INT16_MAX))
            return false;
        value = DBParam::fromInt(static_cast<int32_t>(number));
        return true;
    }
    size_t length = 0;
    if (const char *text = row.nullableText(binding.ordinal, length))
        value = DBParam::fromText(std::string(text, length));
    return true;
}

void RowBinding::copyValues(const DBParam *values) const {
    for (size_t i = 0; i < columns.size(); ++i) {
        const DBBinding &binding = columns[i];
        const DBParam &value = values[i];
        const bool null = value.kind == DBParam::NUL;
        if (binding.type == DBBinding::STR) {
            const size_t copied = null ? 0 : std::min(value.text.size(), binding.width - 1);
            char *target = static_cast<char *>(binding.value);
            if (copied)
                std::memcpy(target, value.text.data(), copied);
            target[copied] = '\0';
            if (binding.length)
                *binding.length = copied;
        } else if (binding.type == DBBinding::I4) {
            *static_cast<int32_t *>(binding.value) = value.intVal;
            if (binding.length)
                *binding.length = null ? 0 : sizeof(int32_t);
        } else {
            *static_cast<int16_t *>(binding.value) = static_cast<int16_t>(value.intVal);
            if (binding.length)
                *binding.length = null ? 0 : sizeof(int16_t);
        }
        if (binding.status)
            *binding.status = null ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK;
    }
}

std::vector<DBParam> RowBinding::bufferValues() const {
    std::vector<DBParam> values;
    values.reserve(columns.size());
    for (const DBBinding &binding : columns)
        values.push_back(bufferValue(binding));
    return values;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
