#pragma once

#include "ctraxdbpartlib/LogLevel.h"
#include "ctraxdbpartlib/OleDbTypes.h"
#include "interface/Exception.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Numbers of the message table.
enum MessageId : int {
    IDS_NULL_SOURCE_HANDLE = 32961,
    IDS_INVALID_SOURCE_HANDLE = 32962,
    IDS_BUFFER_TOO_SMALL = 32963,
    IDS_NULL_BUFFER = 32964,
    IDS_NULL_PATH_STRING = 32965,
    IDS_NULL_PATH_HANDLE = 32966,
    IDS_INVALID_PATH_HANDLE = 32967,
    IDS_NULL_READER = 32968,
    IDS_NULL_CANCEL_CALLBACK = 32969,
    IDS_NULL_OBSERVER = 32970,
    IDS_UNKNOWN_NODE_TYPE = 32971,
    IDS_UNKNOWN_COMPARATOR_TYPE = 32972,
    IDS_MODIFIED_PARENT_NOT_FOUND = 32973,
    IDS_ITEM_NOT_FOUND = 32974,
    IDS_ITEM_EXISTS = 32975,
    IDS_DATABASE_TOO_NEW = 32976,
    IDS_UPDATE_PROMPT = 32977,
    IDS_UPDATE_FAILED_SCRIPT = 32978,
    IDS_DATABASE_TOO_OLD = 32979,
    IDS_CREATE_PROMPT = 32980,
    IDS_CREATE_FAILED_SCRIPT = 32981,
    IDS_SCRIPT_HEADING_10_11 = 32982,
    IDS_SCRIPT_HEADING_11_12 = 32983,
    IDS_SCRIPT_HEADING_OTHER = 32984,
    IDS_SCRIPT_HEADING_MYSQL = 32985,
};

// The text of a message number; empty for a number outside the table.
std::string loadMessage(int number);

// Fills the numbered inserts %1!s! .. %9!s! with the given strings
// (argument 1 is args[0]); an insert without an argument becomes empty.
std::string formatNumbered(const std::string &format, const std::vector<std::string> &args);

// Fills the one printf-style %s of a message with the argument.
std::string formatPrintf(const std::string &format, const std::string &arg);

// Raising a failure: a SEVERE trace record with the raising unit and line,
// then a throw of a new Exception carrying the text.
[[noreturn]] void raiseText(const std::string &sourceUnit, int line, const std::string &text);
[[noreturn]] void raiseMessage(const std::string &sourceUnit, int line, int number);

// What kind of failure a database error is, as far as its result code and
// the engine's own codes tell.
enum class DBFailure {
    Other,
    Busy,       // another writer holds what the statement needs, or a deadlock
    Constraint, // a key, a unique or a NOT NULL constraint refused the change
    Statement,  // the engine cannot run the statement (syntax, unknown names)
    Connection, // the connection to the server failed
};

// A database error: the Exception that callers catch, with its cause kept
// for the callers that decide by it.
class DBException : public Exception {
public:
    DBException(const std::string &text, HRESULT result, std::string sqlState, int engineError);
    HRESULT result() const { return code; }
    const std::string &sqlState() const { return state; }
    int engineError() const { return native; }
    DBFailure failure() const;

private:
    HRESULT code;
    std::string state;
    int native;
};

// The check of every provider result: success codes return; a failure
// gathers the thread's error records, joined by " : ", traces them at
// SEVERE from CTraxDBError and throws them as a new DBException.
void checkResult(HRESULT result);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

// Raise a table message / a text from the current source unit and line.
#define TXDB_RAISE(number)                                                                                             \
    ::COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::raiseMessage(                                                           \
        ::COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::sourceUnitOf(__FILE__), __LINE__, (number))
#define TXDB_RAISE_TEXT(text)                                                                                          \
    ::COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::raiseText(                                                              \
        ::COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::sourceUnitOf(__FILE__), __LINE__, (text))
