#include "ctraxdbpartlib/CTraxDBError.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "interface/Exception.h"

#include <cstdio>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

struct Message {
    int number;
    const char *text;
};

const Message messages[] = {
    {32961, "Invalid NULL source handle passed"},
    {32962, "Invalid source handle passed"},
    {32963, "Buffer too small"},
    {32964, "Invalid NULL buffer passed"},
    {32965, "Invalid NULL path string"},
    {32966, "Invalid NULL path handle passed"},
    {32967, "Invalid path handle passed"},
    {32968, "Invalid NULL Reader passed"},
    {32969, "Invalid NULL CANCEL_CALLBACK passed"},
    {32970, "Invalid Null observer passed"},
    {32971, "Unknown Node Type"},
    {32972, "Unknown Comparator Type"},
    {32973, "Failed to find modified parent (%1!s!) of hierarchy %2!s!"},
    {32974, "Failed to find item %1!s!  in the database"},
    {32975, "Insert Failed. Item %1!s! already exists in the database"},
    {32976, "The Parts Database is from a more recent version of TRAXEL and is not supported by this version of the "
            "software"},
    {32977, "The TRAXEL Parts Library Database '%s' is out of date and will not be usable until a succesful update has "
            "been performed.\n\nDo you wish to update it now?"},
    {32978,
     "Automatic updating of the TRAXEL Parts Database failed.\n\nDo you wish to create an SQL script that can be "
     "used to manually update the database?\n"},
    {32979,
     "The TRAXEL Parts Database is too old and cannot be automatically updated. It therefore cannot be used with "
     "this version of TRAXEL"},
    {32980, "The database \"%s\" does not contain TRAXEL Part Library information.\n\nDo you wish to create the TRAXEL "
            "Part Library in this database?\n"},
    {32981, "Creation of the TRAXEL Parts Database failed.\n\nDo you wish to create an SQL script that can be used to "
            "manually create the database?\n"},
    {32982, "{Update TRAXEL Parts Database from version 1.0 to 1.1}\n\n"},
    {32983, "{Update TRAXEL Parts Database from version 1.1 to 1.2}\n"},
    {32984, "{For databases other than MySQL (Access, SQL Server)}\n\n"},
    {32985, "\n{For MySQL databases}\n\n"},
};

} // namespace

std::string loadMessage(int number) {
    for (const Message &message : messages)
        if (message.number == number)
            return message.text;
    return std::string();
}

std::string formatNumbered(const std::string &format, const std::vector<std::string> &args) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        // %n!s! with n from 1 to 9
        if (format[i] == '%' && i + 4 < format.size() && format[i + 1] >= '1' && format[i + 1] <= '9' &&
            format.compare(i + 2, 3, "!s!") == 0) {
            size_t n = static_cast<size_t>(format[i + 1] - '1');
            if (n < args.size())
                out += args[n];
            i += 4;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::string formatPrintf(const std::string &format, const std::string &arg) {
    std::string out;
    size_t at = format.find("%s");
    if (at == std::string::npos)
        return format;
    out = format.substr(0, at) + arg + format.substr(at + 2);
    return out;
}

namespace {

void logFailure(const std::string &sourceUnit, int line, const std::string &text) {
    if (loggingEnabled)
        theLogger.log(LOG_SEVERE, sourceUnit, line, text);
}

} // namespace

void raiseText(const std::string &sourceUnit, int line, const std::string &text) {
    logFailure(sourceUnit, line, text);
    throw new Exception(text);
}

void raiseMessage(const std::string &sourceUnit, int line, int number) {
    raiseText(sourceUnit, line, loadMessage(number));
}

DBException::DBException(const std::string &text, HRESULT result, std::string sqlState, int engineError)
    : Exception(text), code(result), state(std::move(sqlState)), native(engineError) {}

DBFailure DBException::failure() const {
    constexpr int SQLITE_BUSY_CODE = 5, SQLITE_LOCKED_CODE = 6;
    const int sqliteKind = native & 0xff;
    if (state.empty() && (sqliteKind == SQLITE_BUSY_CODE || sqliteKind == SQLITE_LOCKED_CODE))
        return DBFailure::Busy;
    // Deadlocks and lock waits: SQLSTATE class 40, PostgreSQL's 55P03,
    // MariaDB/MySQL's lock wait timeout (1205) reported as HY000.
    if (state.compare(0, 2, "40") == 0 || state == "55P03" || (state == "HY000" && native == 1205))
        return DBFailure::Busy;
    if (state.compare(0, 2, "08") == 0)
        return DBFailure::Connection;
    if (code == DB_E_INTEGRITYVIOLATION)
        return DBFailure::Constraint;
    if (code == DB_E_ERRORSINCOMMAND)
        return DBFailure::Statement;
    return DBFailure::Other;
}

void checkResult(HRESULT result) {
    if (result >= 0)
        return;
    CDBErrorInfo errorInfo;
    uint32_t count = 0;
    if (FAILED(errorInfo.GetErrorRecords(&count)))
        count = 0;
    std::string text;
    for (uint32_t i = 0; i < count; ++i) {
        if (i > 0)
            text += " : ";
        std::string description;
        if (SUCCEEDED(errorInfo.GetDescription(i, description)))
            text += description;
    }
    logFailure("CTraxDBError", __LINE__, text);
    const CDBErrorInfo::Cause &cause = CDBErrorInfo::cause();
    throw new DBException(text, result, cause.sqlState, cause.engineError);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
