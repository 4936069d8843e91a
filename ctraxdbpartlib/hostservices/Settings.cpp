#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <algorithm>
#include <cctype>
#include <string>

#include <odbcinst.h>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string trimmed(const std::string &text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

// The value of `key` (case-insensitive) in an initialisation string of
// "key=value;" pairs, whose values may be quoted with ' or " (a doubled quote
// stands for itself) or braced with {}; empty when the key is absent. It
// reads every string the plug-in accepts as the plug-in does.
std::string initStringValue(const std::string &text, const std::string &key) {
    const std::string wanted = lowerCase(key);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t equals = text.find('=', pos);
        if (equals == std::string::npos)
            break;
        // Empty entries (";;", a leading ';') carry no key: the name is what
        // follows the last ';' before the '='.
        const size_t entry = text.rfind(';', equals);
        if (entry != std::string::npos && entry >= pos)
            pos = entry + 1;
        std::string name = lowerCase(trimmed(text.substr(pos, equals - pos)));
        size_t at = text.find_first_not_of(" \t", equals + 1);
        std::string value;
        if (at == std::string::npos) {
            pos = text.size();
        } else if (text[at] == '\'' || text[at] == '"' || text[at] == '{') {
            char closing = text[at] == '{' ? '}' : text[at];
            for (pos = at + 1; pos < text.size(); ++pos) {
                if (text[pos] == closing && !(pos + 1 < text.size() && text[pos + 1] == closing))
                    break;
                if (text[pos] == closing)
                    ++pos;
                value += text[pos];
            }
            pos = text.find(';', pos);
            pos = pos == std::string::npos ? text.size() : pos + 1;
        } else {
            size_t semicolon = text.find(';', at);
            size_t end = semicolon == std::string::npos ? text.size() : semicolon;
            value = trimmed(text.substr(at, end - at));
            pos = end + 1;
        }
        if (name == wanted)
            return value;
    }
    return std::string();
}

bool contains(const std::string &text, const char *part) {
    return text.find(part) != std::string::npos;
}

enum class Quoting { DoubleQuotes, Backticks, Brackets };

// The quoting of a database kind, from a driver or provider name (lower case):
//  - MySQL and MariaDB (drivers "MariaDB Unicode", "MySQL ODBC 8.0 ...",
//    libmaodbc.so, libmyodbc*.so; providers MySQLProv): backticks;
//  - SQL Server and Access (drivers "SQL Server", "ODBC Driver 17/18 for SQL
//    Server", FreeTDS / libtdsodbc.so, libmsodbcsql*.so, "Microsoft Access
//    Driver"; providers SQLOLEDB, SQLNCLI, MSOLEDBSQL, Microsoft.Jet.OLEDB,
//    Microsoft.ACE.OLEDB): brackets;
//  - everything else, SQLite and PostgreSQL among them: double quotes.
Quoting quotingOfName(const std::string &name) {
    if (contains(name, "mysql") || contains(name, "mariadb") || contains(name, "maodbc") || contains(name, "myodbc"))
        return Quoting::Backticks;
    if (contains(name, "sql server") || contains(name, "tds") || contains(name, "msodbcsql") ||
        contains(name, "sqloledb") || contains(name, "sqlncli") || contains(name, "msoledbsql") ||
        contains(name, "microsoft.jet") || contains(name, "microsoft.ace") || contains(name, "access"))
        return Quoting::Brackets;
    return Quoting::DoubleQuotes;
}

// The driver a DSN names in unixODBC's odbc.ini (user or system).
std::string driverOfDataSource(const std::string &dsn) {
    char driver[1024] = "";
    SQLGetPrivateProfileString(dsn.c_str(), "Driver", "", driver, sizeof driver, "odbc.ini");
    return driver;
}

// An initialisation string without a provider, or with SQLite, is the
// embedded SQLite database. ODBC (also through MSDASQL) is classified by its
// driver, or by the driver of its DSN; any other provider by its own name.
Quoting quotingOfInitString(const std::string &initialisationString) {
    std::string provider = lowerCase(initStringValue(initialisationString, "Provider"));
    if (provider.empty() || provider == "sqlite")
        return Quoting::DoubleQuotes;
    if (provider == "odbc" || contains(provider, "msdasql")) {
        std::string driver = initStringValue(initialisationString, "Driver");
        std::string dsn = initStringValue(initialisationString, "DSN");
        if (driver.empty() && !dsn.empty())
            driver = driverOfDataSource(dsn);
        return quotingOfName(lowerCase(driver));
    }
    return quotingOfName(provider);
}

} // namespace

// The last argument (always 1 from the plug-in) asks for the characters of
// identifiers; this host knows no other kind, so it is not looked at.
int getDatabaseEncloseChars(const char *initialisationString, char *open, char *close, int /*flag*/) {
    if (!open || !close)
        return 0;
    switch (quotingOfInitString(initialisationString ? initialisationString : "")) {
    case Quoting::Backticks:
        *open = *close = '`';
        break;
    case Quoting::Brackets:
        *open = '[';
        *close = ']';
        break;
    case Quoting::DoubleQuotes:
        *open = *close = '"';
        break;
    }
    return 1;
}

// This host keeps no register of library paths.
int getLibraryPathByFilename(const char * /*initialisationString*/) {
    return 0;
}
