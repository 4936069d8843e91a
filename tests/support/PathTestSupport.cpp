#include "tests/support/PathTestSupport.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CTables.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "tests/support/TestDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pathtest {

RawDb::RawDb(const std::string &initString) : src(initString.c_str()) {}

void RawDb::exec(const std::string &sql) {
    CCommand<CNoAccessor> command;
    checkResult(command.Open(src.getSession(), src.fixTcEnc(sql)));
}

namespace {

struct ValueRow {
    int32_t number = 0;
    char text[1024] = {};
    DBSTATUS status = DBSTATUS_S_OK;
    bool asText = false;
    void bind(ColumnMap &map) {
        if (asText)
            map.column(1, text, &status);
        else
            map.column(1, number, &status);
    }
};

template <class F> void eachRow(CSession &session, const std::string &sql, bool asText, F take) {
    CCommand<CAccessor<ValueRow>> command;
    command.asText = asText;
    checkResult(command.Open(session, sql));
    for (HRESULT r = command.MoveFirst(); r != DB_S_ENDOFROWSET; r = command.MoveNext()) {
        checkResult(r);
        take(command);
    }
}

} // namespace

std::vector<int> intColumn(CSession &session, const std::string &sql) {
    std::vector<int> values;
    eachRow(session, sql, false,
            [&values](ValueRow &row) { values.push_back(row.status == DBSTATUS_S_ISNULL ? -99 : row.number); });
    return values;
}

std::vector<std::string> textColumn(CSession &session, const std::string &sql) {
    std::vector<std::string> values;
    eachRow(session, sql, true,
            [&values](ValueRow &row) { values.push_back(row.status == DBSTATUS_S_ISNULL ? "<NULL>" : row.text); });
    return values;
}

std::vector<int> RawDb::ints(const std::string &sql) {
    return intColumn(src.getSession(), src.fixTcEnc(sql));
}

std::vector<std::string> RawDb::texts(const std::string &sql) {
    return textColumn(src.getSession(), src.fixTcEnc(sql));
}

namespace {

void replaceAll(std::string &text, const std::string &from, const std::string &to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

void buildSchema(RawDb &db, int major, int minor, bool versionRow) {
    for (std::string statement : CTraxDBSchema::creationStatements()) {
        if (major == 1 && minor < 2)
            replaceAll(statement, "[Pin_identifier]", "[Pin_number]");
        if (major == 1 && minor < 1)
            replaceAll(statement, ", [Part_Type] INTEGER", "");
        db.exec(statement);
    }
    if (versionRow)
        db.exec("INSERT INTO [Library_version] ([Major],[Minor]) VALUES (" + std::to_string(major) + "," +
                std::to_string(minor) + ");");
}

TraceCapture::TraceCapture() : CLogHandler(LOG_ALL) {
    slot = theLogger.addHandler(this);
    wasEnabled = loggingEnabled;
    loggingEnabled = true;
}

TraceCapture::~TraceCapture() {
    loggingEnabled = wasEnabled;
    theLogger.removeHandler(slot);
}

bool TraceCapture::publish(LogRecord &record) {
    records.push_back(record);
    return true;
}

std::vector<std::string> TraceCapture::messagesStartingWith(const std::string &prefix) const {
    std::vector<std::string> found;
    for (const LogRecord &record : records)
        if (record.message.compare(0, prefix.size(), prefix) == 0)
            found.push_back(record.message);
    return found;
}

int TraceCapture::countLevel(LogLevel level) const {
    int count = 0;
    for (const LogRecord &record : records)
        count += record.level == level ? 1 : 0;
    return count;
}

bool TraceCapture::contains(const std::string &message) const {
    for (const LogRecord &record : records)
        if (record.message == message)
            return true;
    return false;
}

namespace {

HostScript *current = nullptr;

int scriptedBox(const char *text, const char *caption, unsigned style) {
    current->boxes.push_back({text ? text : "", caption ? caption : "", style});
    if (!(style & MB_YESNO)) // a notice takes no answer
        return IDOK;
    if (current->answers.empty())
        return IDYES;
    int answer = current->answers.front();
    current->answers.erase(current->answers.begin());
    return answer;
}

void recordReport(const char *path) {
    current->reportContents.push_back(txdbtest::readFile(path));
}

} // namespace

HostScript::HostScript(bool prompt, std::vector<int> scripted) : answers(std::move(scripted)) {
    current = this;
    hostCallbacks().messageBox = scriptedBox;
    hostCallbacks().reportViewer = recordReport;
    promptValidationMsg = prompt;
}

HostScript::~HostScript() {
    hostCallbacks().messageBox = nullptr;
    hostCallbacks().reportViewer = nullptr;
    promptValidationMsg = false;
    current = nullptr;
}

} // namespace pathtest
