#include "ctraxdbpartlib/connection/OdbcSupport.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

#include <cctype>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

OdbcLink::~OdbcLink() {
    if (connected)
        SQLDisconnect(dbc);
    if (dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, env);
}

HRESULT odbcResultCode(const std::string &sqlState, SQLINTEGER nativeError) {
    if (sqlState.compare(0, 2, "42") == 0)
        return DB_E_ERRORSINCOMMAND;
    if (sqlState.compare(0, 2, "23") == 0)
        return DB_E_INTEGRITYVIOLATION;
    if (sqlState == "HY000") {
        switch (nativeError) {
        case 1048: // column cannot be null
        case 1062: // duplicate entry for a key
        case 1364: // field has no default value
        case 1451: // a row is still referenced
        case 1452: // the referenced row does not exist
            return DB_E_INTEGRITYVIOLATION;
        default:
            break;
        }
    }
    return E_FAIL;
}

HRESULT odbcFailure(SQLSMALLINT handleType, SQLHANDLE handle) {
    HRESULT result = E_FAIL;
    SQLSMALLINT record = 1;
    for (;; ++record) {
        SQLCHAR state[6] = {0};
        SQLINTEGER nativeError = 0;
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {0};
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &nativeError, message, sizeof message, &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        std::string stateText(reinterpret_cast<char *>(state));
        CDBErrorInfo::add(std::string(reinterpret_cast<char *>(message)) + " (SQLSTATE " + stateText + ", error " +
                          std::to_string(nativeError) + ")");
        if (record == 1)
            CDBErrorInfo::setCause({stateText, static_cast<int>(nativeError)});
        HRESULT code = odbcResultCode(stateText, nativeError);
        if (result == E_FAIL)
            result = code;
    }
    if (record == 1)
        CDBErrorInfo::add("The ODBC driver reported a failure without a description");
    return result;
}

HRESULT odbcCheck(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle) {
    if (SQL_SUCCEEDED(rc))
        return S_OK;
    if (rc == SQL_INVALID_HANDLE) {
        CDBErrorInfo::add("Invalid ODBC handle");
        return E_UNEXPECTED;
    }
    return odbcFailure(handleType, handle);
}

namespace {

std::string connectionValue(const std::string &value, bool braced) {
    bool needsBraces = braced || value.empty() || value.find_first_of(";{}") != std::string::npos ||
                       std::isspace(static_cast<unsigned char>(value.front())) ||
                       std::isspace(static_cast<unsigned char>(value.back()));
    if (!needsBraces)
        return value;
    std::string out = "{";
    for (char c : value) {
        out += c;
        if (c == '}')
            out += '}';
    }
    return out + "}";
}

} // namespace

std::string odbcConnectionString(const InitString &init) {
    static const std::pair<const char *, const char *> renames[] = {
        {"Initial Catalog", "DATABASE"}, {"User ID", "UID"}, {"Password", "PWD"}};
    std::string out;
    for (const auto &pair : init.pairs) {
        std::string key = pair.first;
        if (equalsNoCase(key, "Provider"))
            continue;
        for (const auto &rename : renames) {
            if (equalsNoCase(key, rename.first))
                key = rename.second;
        }
        out += key + "=" + connectionValue(pair.second, equalsNoCase(key, "Driver")) + ";";
    }
    return out;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
