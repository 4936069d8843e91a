#include "ctraxdbpartlib/connection/DBProvider.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/AccessProvider.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/OdbcProvider.h"
#include "ctraxdbpartlib/connection/SQLiteProvider.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <string_view>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
bool isPasswordKey(const std::string &key) {
    return equalsNoCase(key, "Password") || equalsNoCase(key, "PWD");
}

bool wholeNumber(const char *text, size_t length, int64_t &value) {
    // Blanks and tabs around the number; before it, any white space.
    std::string_view number(text, length);
    const size_t last = number.find_last_not_of(" \t");
    if (last == std::string_view::npos)
        return false;
    number = number.substr(0, last + 1);
    number.remove_prefix(std::min(number.find_first_not_of(" \t\n\v\f\r"), number.size()));
    // A sign, then digits only, within 64 bits.
    const size_t digits = !number.empty() && (number.front() == '+' || number.front() == '-') ? 1 : 0;
    if (digits == number.size() ||
        !std::all_of(number.begin() + digits, number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (number.front() == '+')
        number.remove_prefix(1);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && end == number.data() + number.size();
}

void ProviderStatement::snapshot(int ordinal, Snapshot &value) {
    value = Snapshot();
    value.kind = kind(ordinal);
    if (value.kind == DBParam::NUL)
        return;
    if (value.kind == DBParam::I4 && getInteger(ordinal, value.integer)) {
        value.whole = true;
        value.intValue = static_cast<int32_t>(value.integer);
        return;
    }
    // The text straight from the engine's buffer, before any conversion of
    // the value.
    value.text = getText(ordinal, value.length);
    value.whole = getInteger(ordinal, value.integer);
    // Of a text that is no whole number within 32 bits, the engine says
    // what it reads as.
    value.intValue = value.wholeInt32() ? static_cast<int32_t>(value.integer) : getInt(ordinal);
}

HRESULT InitString::parse(const std::string &text, InitString &out) {
    out.pairs.clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t equals = text.find('=', i);
        const size_t semicolon = text.find(';', i);
        if (semicolon < equals && trimmed(text.substr(i, semicolon - i)).empty()) {
            i = semicolon + 1; // an empty entry
            continue;
        }
        if (equals == std::string::npos || semicolon < equals) {
            if (!trimmed(text.substr(i)).empty()) {
                // The text may be part of a password: it is not repeated.
                CDBErrorInfo::add(
                    "Invalid initialisation string: an entry " +
                    (out.pairs.empty() ? std::string("at its start") : "after " + out.pairs.back().first) +
                    " has no '=' (quote values that hold ';')");
                return E_INVALIDARG;
            }
            break;
        }
        std::string key = trimmed(text.substr(i, equals - i));
        i = equals + 1;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        std::string value;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'' || text[i] == '{')) {
            const char close = text[i] == '{' ? '}' : text[i];
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    CDBErrorInfo::add("Invalid initialisation string: the value of " + key + " is not closed");
                    return E_INVALIDARG;
                }
                if (text[i] == close) {
                    // A doubled closing character stands for itself.
                    if (i + 1 < text.size() && text[i + 1] == close) {
                        value += close;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            const size_t end = text.find(';', i);
            i = end == std::string::npos ? text.size() : end + 1;
        } else {
            const size_t end = text.find(';', i);
            value = trimmed(text.substr(i, end == std::string::npos ? std::string::npos : end - i));
            i = end == std::string::npos ? text.size() : end + 1;
        }
        if (!key.empty())
            out.pairs.emplace_back(key, value);
    }
    return S_OK;
}

std::string InitString::get(const std::string &key) const {
    for (const auto &pair : pairs)
        if (equalsNoCase(pair.first, key))
            return pair.second;
    return std::string();
}

bool InitString::has(const std::string &key) const {
    for (const auto &pair : pairs)
        if (equalsNoCase(pair.first, key))
            return true;
    return false;
}

std::string InitString::toString(bool includePassword) const {
    std::string out;
    for (const auto &pair : pairs) {
        if (!includePassword && isPasswordKey(pair.first))
            continue;
        const std::string &value = pair.second;
        bool needsQuotes =
            value.find_first_of(";={}'\"") != std::string::npos || (!value.empty() && (value != trimmed(value)));
        out += pair.first + "=";
        if (needsQuotes) {
            out += '"';
            for (char c : value) {
                out += c;
                if (c == '"')
                    out += '"';
            }
            out += '"';
        } else {
            out += value;
        }
        out += ";";
    }
    return out;
}

uint64_t ProviderConnection::nextSerial() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

HRESULT openProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection, MissingFile missing) {
    const std::string provider = init.get("Provider");
    if (provider.empty() || equalsNoCase(provider, "SQLite"))
        return openSQLiteProvider(init, connection, missing);
    if (equalsNoCase(provider, "ODBC") || equalsNoCase(provider, "MSDASQL"))
        return openOdbcProvider(init, connection);
    if (isAccessProvider(provider))
        return openAccessProvider(init, connection);
    CDBErrorInfo::add("Unknown provider \"" + provider +
                      "\": use SQLite, ODBC, or Microsoft.Jet.OLEDB.4.0 / Microsoft.ACE.OLEDB.12.0 for an Access file");
    return E_FAIL;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
