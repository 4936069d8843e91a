#include "ctraxdbpartlib/hostservices/HostInternal.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include <sql.h>
#include <sqlext.h>

using hostservices_detail::askLine;
using hostservices_detail::stdinIsTerminal;

namespace hostservices_detail {

bool stdinIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

bool askLine(const std::string &prompt, std::string &answer) {
    std::cerr << prompt << std::flush;
    if (!std::getline(std::cin, answer))
        return false;
    if (!answer.empty() && answer.back() == '\r')
        answer.pop_back();
    return true;
}

} // namespace hostservices_detail

HostCallbacks &hostCallbacks() {
    static HostCallbacks callbacks;
    return callbacks;
}

CWnd *getMainWindow() {
    return nullptr;
}

namespace {

// Asks a yes/no question until it gets an answer; end of input is No.
int askYesNo(const char *text, const char *caption) {
    std::string prompt = std::string(caption ? caption : "") + ": " + (text ? text : "") + " [y/n] ";
    std::string answer;
    while (askLine(prompt, answer)) {
        if (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes")
            return IDYES;
        if (answer == "n" || answer == "N" || answer == "no" || answer == "No")
            return IDNO;
    }
    return IDNO;
}

} // namespace

// A notice is printed on standard error. A host that answers Yes to
// everything (partlib --yes) is not asked; otherwise the user is asked when
// there is a terminal, and when there is none the question is printed with
// the default answer and the host's hint.
int messageBoxHook(CWnd * /*owner*/, const char *text, const char *caption, unsigned style) {
    const HostCallbacks &callbacks = hostCallbacks();
    if (callbacks.messageBox)
        return callbacks.messageBox(text, caption, style);
    const std::string shown = std::string(caption ? caption : "") + ": " + (text ? text : "");
    if (!(style & MB_YESNO)) {
        std::cerr << shown << std::endl;
        return IDOK;
    }
    if (callbacks.defaultAnswer == IDYES)
        return IDYES;
    if (stdinIsTerminal())
        return askYesNo(text, caption);
    std::cerr << shown << (shown.back() == '\n' ? "" : "\n") << "No terminal to ask this question on: answered No"
              << (callbacks.unaskedHint.empty() ? "" : " (" + callbacks.unaskedHint + ")") << std::endl;
    return callbacks.defaultAnswer;
}

namespace {

// What the data-link prompt offers: an ODBC driver or data source of unixODBC.
struct DataLinkChoice {
    std::string label;
    std::string initialisationString; // for a driver: the start, more keywords follow
    bool isDriver;
};

std::vector<DataLinkChoice> odbcChoices() {
    std::vector<DataLinkChoice> choices;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return choices;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[256];
    SQLCHAR description[1024];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDrivers(env, direction, name, sizeof name, &nameLength, description, sizeof description,
                                    &descriptionLength))) {
        std::string driver(reinterpret_cast<char *>(name));
        choices.push_back({"ODBC driver " + driver, "Provider=ODBC;Driver={" + driver + "};", true});
        direction = SQL_FETCH_NEXT;
    }
    direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDataSources(env, direction, name, sizeof name, &nameLength, description, sizeof description,
                                        &descriptionLength))) {
        std::string dsn(reinterpret_cast<char *>(name));
        choices.push_back({"ODBC data source " + dsn + " (" + reinterpret_cast<char *>(description) + ")",
                           "Provider=ODBC;DSN=" + dsn + ";", false});
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return choices;
}

std::string sqliteInitialisationString(const std::string &path) {
    return "Provider=SQLite;Data Source=" + path;
}

// Turns one answer into an initialisation string; false when the user cancels.
bool resolveAnswer(const std::string &answer, const std::vector<DataLinkChoice> &choices, std::string &out) {
    if (answer.find('=') != std::string::npos) {
        out = answer;
        return true;
    }
    bool isNumber = answer.find_first_not_of("0123456789") == std::string::npos && answer.size() < 6;
    if (!isNumber) {
        out = sqliteInitialisationString(answer);
        return true;
    }
    size_t index = std::stoul(answer);
    std::string more;
    if (index == 0) {
        if (!askLine("SQLite file: ", more) || more.empty())
            return false;
        out = sqliteInitialisationString(more);
        return true;
    }
    if (index > choices.size())
        return false;
    const DataLinkChoice &choice = choices[index - 1];
    const char *question = choice.isDriver ? "Further keywords (e.g. Server=127.0.0.1;Port=3306;Initial "
                                             "Catalog=parts;User ID=u;Password=p): "
                                           : "Further keywords (e.g. Initial Catalog=parts), or empty: ";
    if (!askLine(question, more))
        return false;
    out = choice.initialisationString + more;
    return true;
}

bool askDataLink(std::string &out) {
    std::vector<DataLinkChoice> choices = odbcChoices();
    std::cerr << "Choose the part library database:\n  0  a SQLite file\n";
    for (size_t i = 0; i < choices.size(); ++i)
        std::cerr << "  " << i + 1 << "  " << choices[i].label << '\n';
    std::string answer;
    if (!askLine("Number, SQLite file path or initialisation string (empty cancels): ", answer) || answer.empty())
        return false;
    return resolveAnswer(answer, choices, out);
}

} // namespace

bool promptDataLink(CWnd * /*parent*/, std::string &initialisationString) {
    const HostCallbacks &callbacks = hostCallbacks();
    if (callbacks.dataLinkPrompt)
        return callbacks.dataLinkPrompt(initialisationString);
    if (!stdinIsTerminal())
        return false;
    return askDataLink(initialisationString);
}
