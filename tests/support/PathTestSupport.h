#pragma once

// Databases, raw statements, captured trace records and scripted answers
// for the tests of data sources, paths and the schema.

#include "ctraxdbpartlib/CLogHandler.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "tests/support/TestUtil.h"

#include <memory>
#include <string>
#include <vector>

namespace pathtest {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using txdbtest::thrownMessage;

// The first column of every row of a query already put through fixTcEnc
// (NULL as -99 / "<NULL>").
std::vector<int> intColumn(CSession &session, const std::string &sql);
std::vector<std::string> textColumn(CSession &session, const std::string &sql);

// Statements and single-value queries on a data source, without the checks
// a path runs when it opens.
class RawDb {
public:
    explicit RawDb(const std::string &initString);
    void exec(const std::string &sql);
    std::vector<int> ints(const std::string &sql);
    std::vector<std::string> texts(const std::string &sql);
    CTraxDBSource &source() { return src; }

private:
    CTraxDBSource src;
};

// Builds a database at an old schema version (1, 0) or (1, 1) by the
// creation statements of 1.2 turned back, with the given version row;
// `versionRow` false leaves the version table empty.
void buildSchema(RawDb &db, int major, int minor, bool versionRow = true);

// Captures every trace record while it lives (logging switched on).
class TraceCapture : public CLogHandler {
public:
    TraceCapture();
    ~TraceCapture() override;
    bool publish(LogRecord &record) override;
    std::vector<LogRecord> records;
    // Messages of the records whose text starts with `prefix`.
    std::vector<std::string> messagesStartingWith(const std::string &prefix) const;
    int countLevel(LogLevel level) const;
    bool contains(const std::string &message) const;

private:
    int slot = -1;
    bool wasEnabled = false;
};

// One message box as the plug-in showed it.
struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
};

// Answers message boxes from a script (Yes when the script is empty) and
// records them; the report viewer records the files it was given (with
// their content) while it lives. Prompting is set as asked.
class HostScript {
public:
    explicit HostScript(bool prompt, std::vector<int> answers = {});
    ~HostScript();
    std::vector<ShownBox> boxes;
    std::vector<std::string> reportContents;
    std::vector<int> answers;
};

} // namespace pathtest
