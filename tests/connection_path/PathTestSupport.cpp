#include "PathTestSupport.h"

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

std::vector<Engine> engines() {
    std::vector<Engine> list{Engine::SQLite};
    const char *maria = std::getenv("TXDB_MARIADB_INITSTRING");
    if (maria && *maria)
        list.push_back(Engine::MariaDB);
    return list;
}

std::string engineName(Engine engine) {
    return engine == Engine::SQLite ? "SQLite" : "MariaDB";
}

FreshDatabase::FreshDatabase(Engine engine) : engine(engine) {
    if (engine == Engine::SQLite) {
        char pattern[] = "/tmp/txdb-path-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("no temporary folder");
        folder = pattern;
        init = "Provider=SQLite;Data Source=" + folder + "/parts.db";
        return;
    }
    init = txdbtest::mariaDbInitString();
    RawDb db(init);
    std::vector<std::string> names;
    CTables tables;
    checkResult(tables.Open(db.source().getSession()));
    for (HRESULT r = tables.MoveFirst(); r != DB_S_ENDOFROWSET; r = tables.MoveNext()) {
        checkResult(r);
        names.push_back(tables.m_szName);
    }
    db.exec("SET FOREIGN_KEY_CHECKS=0;");
    for (const std::string &name : names)
        db.exec("DROP TABLE [" + name + "];");
    db.exec("SET FOREIGN_KEY_CHECKS=1;");
}

FreshDatabase::~FreshDatabase() {
    if (!folder.empty())
        std::filesystem::remove_all(folder);
}

RawDb::RawDb(const std::string &initString) : src(initString.c_str()) {}

void RawDb::exec(const std::string &sql) {
    CCommand<CNoAccessor> command;
    checkResult(command.Open(src.getSession(), src.fixTcEnc(sql)));
}

namespace {

struct ValueRow {
    int32_t number = 0;
    char text[256] = {};
    DBSTATUS status = DBSTATUS_S_OK;
    bool asText = false;
    void bind(ColumnMap &map) {
        if (asText)
            map.column(1, text, &status);
        else
            map.column(1, number, &status);
    }
};

template <class F> void eachRow(CTraxDBSource &src, const std::string &sql, bool asText, F take) {
    CCommand<CAccessor<ValueRow>> command;
    command.asText = asText;
    checkResult(command.Open(src.getSession(), src.fixTcEnc(sql)));
    for (HRESULT r = command.MoveFirst(); r != DB_S_ENDOFROWSET; r = command.MoveNext()) {
        checkResult(r);
        take(command);
    }
}

} // namespace

std::vector<int> RawDb::ints(const std::string &sql) {
    std::vector<int> values;
    eachRow(src, sql, false,
            [&values](ValueRow &row) { values.push_back(row.status == DBSTATUS_S_ISNULL ? -99 : row.number); });
    return values;
}

std::vector<std::string> RawDb::texts(const std::string &sql) {
    std::vector<std::string> values;
    eachRow(src, sql, true,
            [&values](ValueRow &row) { values.push_back(row.status == DBSTATUS_S_ISNULL ? "<NULL>" : row.text); });
    return values;
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
    if (current->answers.empty())
        return IDYES;
    int answer = current->answers.front();
    current->answers.erase(current->answers.begin());
    return answer;
}

void recordReport(const char *path) {
    current->reportContents.push_back(fileContent(path));
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

std::string fileContent(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace pathtest
