#include "fuzz/FuzzSupport.h"

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/filters/CTraxDBFilterVisitor.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace fuzzsupport {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

void fail(const std::string &what, const std::string &detail) {
    std::fprintf(stderr, "\nFUZZ INVARIANT BROKEN: %s\n%s\n", what.c_str(), detail.c_str());
    std::abort();
}

std::string pickText(FuzzedDataProvider &in, const std::vector<std::string> &words) {
    const size_t pick = in.ConsumeIntegralInRange<size_t>(0, words.size());
    if (pick < words.size())
        return words[pick];
    return in.ConsumeRandomLengthString(48);
}

int32_t pickNodeType(FuzzedDataProvider &in) {
    if (in.ConsumeIntegralInRange<int>(0, 15) == 0)
        return in.ConsumeIntegral<int32_t>();
    const int32_t type = in.ConsumeIntegralInRange<int32_t>(0, 9);
    // The case-ignoring flag, on any node: =, <>, like and notlike take it,
    // the others are to refuse it.
    return in.ConsumeBool() ? type | COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::FILTER_IGNORE_CASE : type;
}

namespace {

// Two libraries with a folder, two definitions each with a gate and an
// attribute, and three parts each; library 2's texts are those of library 1 (definition and part names, which are
// unique, with a blank behind) so that a condition that escapes its library's restriction finds rows.
const char *const ROWS[] = {
    "INSERT INTO [Library] VALUES (1,'L1',1,NULL),(2,'L2',0,'c')",
    "INSERT INTO [Hierarchy] VALUES (1,1,'root',NULL),(2,2,'root',NULL)",
    "INSERT INTO [Part_Definition] ([ID],[Library_ID],[Name],[PCB_component_name],[PCB_alternate_name],"
    "[Component_name_stem],[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA]) VALUES "
    "(1,1,'D1','SO14',NULL,'U',14,0,0,0),(2,1,'D2','R0805','R0603','R',2,0,0,0),"
    "(3,2,'D1 ','SO14',NULL,'U',14,0,0,0),(4,2,'D2 ','R0805','R0603','R',2,0,0,0)",
    "INSERT INTO [Gate] VALUES (1,1,'AND2','A2'),(2,2,'RES',NULL),(3,3,'AND2','A2'),(4,4,'RES',NULL)",
    "INSERT INTO [Attributes] VALUES (1,'Tolerance','5%',0,NULL),(2,'Value','10k',0,1),"
    "(3,'Tolerance','5%',0,NULL),(4,'Value','10k',0,1)",
    "INSERT INTO [Parts] VALUES (1,1,1,1,'U1','N1','quad NAND',NULL,1,'ok',0),"
    "(2,1,2,1,'R1','N2',NULL,NULL,2,NULL,1),(3,1,2,1,'R2',NULL,'it''s',NULL,NULL,'x',-1),"
    "(4,2,3,2,'U1 ','N1','quad NAND',NULL,1,'ok',0),(5,2,4,2,'R1 ','N2',NULL,NULL,2,NULL,1),"
    "(6,2,4,2,'R2 ',NULL,'it''s',NULL,NULL,'x',-1)",
};

int answerYes(const char *, const char *, unsigned) {
    return IDYES;
}

std::string fileBytes(const std::string &path) {
    std::string bytes;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

} // namespace

ProbeDatabase &ProbeDatabase::instance() {
    static ProbeDatabase database;
    return database;
}

ProbeDatabase::ProbeDatabase() {
    char name[] = "/tmp/txdb-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    check(fd >= 0, "cannot make the probe database file", name);
    close(fd);
    unlink(name);
    file = name;
    std::atexit([] { unlink(instance().file.c_str()); });

    hostCallbacks().messageBox = answerYes;
    {
        promptValidationMsg = true;
        try {
            CTraxDBPath path(("Provider=SQLite;Data Source=" + file).c_str());
            for (const char *row : ROWS)
                path.execute(row);
        } catch (Exception *e) {
            fail("cannot fill the probe database " + file, e->getMessage());
        }
    }
    check(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK, "cannot open", file);
    check(sqlite3_exec(db, "PRAGMA query_only=1", nullptr, nullptr, nullptr) == SQLITE_OK, "query_only refused", "");
    bytes = fileBytes(file);
    check(!bytes.empty(), "the probe database is empty", file);
}

std::string ProbeDatabase::fixTcEnc(const std::string &sql) {
    char *fixed = fixDatabaseCommandEncloseTC(sql.c_str(), '"', '"');
    std::string text = fixed ? fixed : "";
    freeMem(fixed);
    return text;
}

bool ProbeDatabase::run(const std::string &sql, std::vector<long long> &firstColumn) {
    firstColumn.clear();
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    const int prepared = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, &tail);
    if (prepared != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db);
        // An unclosed literal or identifier: the condition's quoting broke.
        check(error.find("unrecognized token") == std::string::npos, "a condition with broken quoting",
              sql + "\n" + error);
        return false;
    }
    check(statement != nullptr, "an empty statement", sql);
    check(tail && std::string(tail).find_first_not_of(" \t\r\n;") == std::string::npos,
          "a second statement behind the condition", sql);
    check(sqlite3_stmt_readonly(statement) != 0, "a statement that is not read-only", sql);
    int stepped;
    for (int rows = 0; rows < 1000 && (stepped = sqlite3_step(statement)) == SQLITE_ROW; ++rows)
        firstColumn.push_back(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    if (++runs % 256 == 0)
        check(fileBytes(file) == bytes, "the database file changed under read-only conditions", sql);
    return true;
}

void runCondition(const std::string &select, const std::string &condition, const std::string &order, bool restricted) {
    ProbeDatabase &db = ProbeDatabase::instance();
    const std::string sql = db.fixTcEnc(select + condition + order);
    std::vector<long long> libraries;
    if (db.run(sql, libraries) && restricted)
        for (long long library : libraries)
            check(library == 1, "a condition that escapes the library restriction", sql);
}

} // namespace fuzzsupport
