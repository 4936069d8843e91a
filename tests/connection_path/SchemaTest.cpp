// Creating, recognising and upgrading the part-library schema through a
// path opened on a real database.

#include "tests/support/PathTestSupport.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sqlite3.h>
#include <thread>

using namespace pathtest;

namespace {

class SchemaTest : public ::testing::TestWithParam<std::string> {
protected:
    SchemaTest() : init(txdbtest::freshDatabase(GetParam())) {}

    std::unique_ptr<CTraxDBPath> openPath() { return std::make_unique<CTraxDBPath>(init.c_str()); }

    // The rows of the version table, each as 10 * Major + Minor.
    std::vector<int> version() { return RawDb(init).ints("SELECT 10 * [Major] + [Minor] FROM [Library_version];"); }

    std::string init;
};

TEST_P(SchemaTest, EmptyDatabaseGetsEveryTableAfterTheUserAgrees) {
    HostScript host(true, {IDYES});
    auto path = openPath();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, formatPrintf(loadMessage(IDS_CREATE_PROMPT), path->getDisplayName()));
    EXPECT_EQ(host.boxes[0].caption, "Warning");
    EXPECT_EQ(host.boxes[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(CTraxDBSchema::presentTables(path->getSession()), CTraxDBSchema::tableNames());
    EXPECT_EQ(version(), std::vector<int>{12});
}

TEST_P(SchemaTest, CreatedSchemaRefusesRowsThatBreakItsConstraints) {
    HostScript host(true);
    auto path = openPath();
    path->execute("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (1,'Lib',1);");
    path->execute("INSERT INTO [Hierarchy] ([ID],[Library_ID],[Name]) VALUES (1,1,'Top');");
    path->execute("INSERT INTO [Part_Definition] ([ID],[Library_ID],[Name],[PCB_component_name],[Gate_swapping],"
                  "[Pin_num_name],[Is_FPGA]) VALUES (1,1,'DEF','DIP8',0,0,0);");
    path->execute("INSERT INTO [Pin_Data] ([ID],[Part_def_ID],[Pin_identifier]) VALUES (1,1,'1');");

    // A duplicate library name, a part in a missing folder, a second row for
    // the same pin identifier.
    for (const char *statement :
         {"INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (2,'Lib',1);",
          "INSERT INTO [Parts] ([ID],[Library_ID],[Part_def_ID],[Hierarchy_ID],[Name]) VALUES (1,1,1,77,'P1');",
          "INSERT INTO [Pin_Data] ([ID],[Part_def_ID],[Pin_identifier]) VALUES (2,1,'1');"})
        EXPECT_NE(thrownMessage([&] { path->execute(statement); }), "<no exception>") << statement;
    // The same rows with the faults mended are taken.
    path->execute("INSERT INTO [Parts] ([ID],[Library_ID],[Part_def_ID],[Hierarchy_ID],[Name]) VALUES (1,1,1,1,'P1');");
    path->execute("INSERT INTO [Pin_Data] ([ID],[Part_def_ID],[Pin_identifier]) VALUES (2,1,'2');");
}

TEST_P(SchemaTest, CurrentDatabaseOpensWithNothingButTheTwoReads) {
    {
        HostScript host(true);
        openPath();
    }
    HostScript host(true);
    TraceCapture trace;
    auto path = openPath();
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(trace.contains("CTraxDBSchema::isValidPartLibrary(const CSession &)"));
    EXPECT_TRUE(trace.contains("CTraxDBSchema::getVersionInfo(const CSession &,int &,int &)"));
    EXPECT_TRUE(trace.contains("Accessed version info OK"));
    EXPECT_EQ(trace.countLevel(LOG_SEVERE), 0);
    // The connection opens the catalog of its string: no USE is needed.
    EXPECT_TRUE(trace.messagesStartingWith("execute: ").empty());
}

TEST_P(SchemaTest, NewerVersionIsRefusedWhateverThePromptingAndAnEmptyVersionTableIsTooOld) {
    {
        RawDb raw(init);
        buildSchema(raw, 1, 2, false);
    }
    {
        HostScript host(false);
        EXPECT_EQ(thrownMessage([&] { openPath(); }), "");
        EXPECT_TRUE(host.boxes.empty());
    }
    {
        HostScript host(true, {IDYES});
        EXPECT_EQ(thrownMessage([&] { openPath(); }), loadMessage(IDS_DATABASE_TOO_OLD));
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_NE(host.boxes[0].text.find("is out of date"), std::string::npos);
        EXPECT_TRUE(host.reportContents.empty());
    }
    RawDb(init).exec("INSERT INTO [Library_version] ([Major],[Minor]) VALUES (1,3);");
    for (bool prompt : {false, true}) {
        HostScript host(prompt);
        EXPECT_EQ(thrownMessage([&] { openPath(); }), loadMessage(IDS_DATABASE_TOO_NEW));
        EXPECT_TRUE(host.boxes.empty());
    }
}

// Prompting off asks nothing and a "no" ends the opening: neither throws,
// and an empty database stays empty, a 1.1 one as it was.
TEST_P(SchemaTest, PromptingOffOrDecliningLeavesAnEmptyOrOldDatabaseAsItWas) {
    for (bool old : {false, true}) {
        init = txdbtest::freshDatabase(GetParam());
        {
            RawDb raw(init); // makes the SQLite file of an empty database too
            if (old) {
                buildSchema(raw, 1, 1);
                raw.exec("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (1,'Lib',1);");
            }
        }
        for (bool prompt : {false, true}) {
            HostScript host(prompt, {IDNO});
            EXPECT_EQ(thrownMessage([&] { openPath(); }), "") << old;
            ASSERT_EQ(host.boxes.size(), prompt ? 1u : 0u) << old;
            if (prompt) {
                EXPECT_EQ(host.boxes[0].caption, "Warning") << old;
            }
        }
        RawDb raw(init);
        if (!old) {
            EXPECT_TRUE(CTraxDBSchema::presentTables(raw.source().getSession()).empty());
            continue;
        }
        EXPECT_EQ(version(), std::vector<int>{11});
        EXPECT_EQ(raw.texts("SELECT [Pin_number] FROM [Pin_Data];").size(), 0u);
        EXPECT_EQ(raw.texts("SELECT [Name] FROM [Library];"), std::vector<std::string>{"Lib"});
    }
}

// Rows of an old library whose parts fall under each classification rule.
void fillOldLibrary(RawDb &raw) {
    raw.exec("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (1,'Lib',1);");
    raw.exec("INSERT INTO [Hierarchy] ([ID],[Library_ID],[Name]) VALUES (1,1,'Top');");
    const char *components[] = {"DIP8",      "TESTPOINT", "STARPOINTNF_1", "JUMPERNF2",
                                "TESTPOINT", "R0805",     "SOT23",         "SO8"};
    for (int id = 1; id <= 8; ++id) {
        std::string n = std::to_string(id);
        raw.exec("INSERT INTO [Part_Definition] ([ID],[Library_ID],[Name],[PCB_component_name],[Gate_swapping],"
                 "[Pin_num_name],[Is_FPGA]) VALUES (" +
                 n + ",1,'DEF" + n + "','" + components[id - 1] + "',0,0,0);");
        raw.exec("INSERT INTO [Parts] ([ID],[Library_ID],[Part_def_ID],[Hierarchy_ID],[Name]) VALUES (" + n + ",1," +
                 n + ",1,'PART" + n + "');");
    }
    raw.exec("INSERT INTO [Gate] ([ID],[Part_def_ID],[Name]) VALUES (1,1,'CONNECTOR'),(2,5,'CONNECTOR'),"
             "(3,7,'TESTPOINT'),(4,8,'STARPOINTNF_A'),(5,6,'A');");
    raw.exec("INSERT INTO [Pin_Data] ([ID],[Part_def_ID],[Pin_number],[Name]) VALUES (1,1,'1','IN'),(2,1,'2','OUT'),"
             "(3,6,'A1','X');");
}

TEST_P(SchemaTest, OneZeroDatabaseIsClassifiedAndReachesOneTwo) {
    {
        RawDb raw(init);
        buildSchema(raw, 1, 0);
        fillOldLibrary(raw);
    }
    HostScript host(true, {IDYES});
    auto path = openPath();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, formatPrintf(loadMessage(IDS_UPDATE_PROMPT), path->getDisplayName()));
    path.reset();

    EXPECT_EQ(version(), std::vector<int>{12});
    RawDb raw(init);
    // CONNECTOR gate, TESTPOINT component, STARPOINTNF component, JUMPERNF
    // component, TESTPOINT component with a CONNECTOR gate, none, TESTPOINT
    // gate, STARPOINTNF gate.
    EXPECT_EQ(raw.ints("SELECT [Part_Type] FROM [Parts] ORDER BY [ID];"), (std::vector<int>{2, 4, 16, 8, 4, 1, 4, 16}));
}

TEST_P(SchemaTest, OneOneDatabaseMovesPinNumbersAndKeepsThemUnique) {
    {
        RawDb raw(init);
        buildSchema(raw, 1, 1);
        fillOldLibrary(raw);
        raw.exec("UPDATE [Parts] SET [Part_Type]=32;");
    }
    HostScript host(true, {IDYES});
    openPath();
    EXPECT_EQ(version(), std::vector<int>{12});
    RawDb raw(init);
    EXPECT_EQ(raw.texts("SELECT [Pin_identifier] FROM [Pin_Data] ORDER BY [ID];"),
              (std::vector<std::string>{"1", "2", "A1"}));
    EXPECT_NE(thrownMessage([&] { raw.texts("SELECT [Pin_number] FROM [Pin_Data];"); }), "<no exception>");
    // The classification is the 1.0 step's: a 1.1 database keeps its types.
    EXPECT_EQ(raw.ints("SELECT [Part_Type] FROM [Parts] WHERE [ID]=1;"), std::vector<int>{32});
    // A pin identifier twice on one definition, and one of no definition:
    // the foreign key is back after the step.
    const std::string insert = "INSERT INTO [Pin_Data] ([ID],[Part_def_ID],[Pin_identifier]) VALUES ";
    for (const char *values : {"(9,1,'2');", "(9,99,'5');"})
        EXPECT_NE(thrownMessage([&] { raw.exec(insert + values); }), "<no exception>") << values;
}

TEST_P(SchemaTest, FailedUpgradeTriesTheMySqlFormThenOffersTheScript) {
    {
        RawDb raw(init);
        buildSchema(raw, 1, 1);
        // Without the unique constraint neither form of the step can drop it.
        // MariaDB drops it only once the foreign key that uses its index is gone.
        if (GetParam() == "MariaDB")
            raw.exec("ALTER TABLE [Pin_Data] DROP FOREIGN KEY [PinDataPartDef];");
        raw.exec(GetParam() == "PostgreSQL" ? "ALTER TABLE [Pin_Data] DROP CONSTRAINT [PinDataUnique];"
                                            : "ALTER TABLE [Pin_Data] DROP INDEX [PinDataUnique];");
    }
    HostScript host(true, {IDYES, IDYES});
    TraceCapture trace;
    EXPECT_EQ(thrownMessage([&] { openPath(); }), "");
    std::vector<std::string> run = trace.messagesStartingWith("execute: ALTER ");
    ASSERT_GE(run.size(), 2u);
    EXPECT_EQ(run[0], "execute: ALTER TABLE [Pin_Data] DROP CONSTRAINT [PinDataUnique];");
    EXPECT_EQ(run[1], "execute: ALTER TABLE [Pin_Data] DROP FOREIGN KEY [PinDataPartDef];");
    // The question, the cause as a notice, the script offer.
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[1].caption, "Error");
    EXPECT_EQ(host.boxes[1].style & MB_YESNO, 0u);
    EXPECT_NE(host.boxes[1].text, "");
    EXPECT_EQ(host.boxes[2].text, loadMessage(IDS_UPDATE_FAILED_SCRIPT));
    EXPECT_EQ(host.boxes[2].caption, "Error");
    ASSERT_EQ(host.reportContents.size(), 1u);
    EXPECT_EQ(host.reportContents[0].rfind("-- Update TRAXEL Parts Database from version 1.1 to 1.2\n", 0), 0u);
    EXPECT_EQ(version(), std::vector<int>{11});
}

TEST_P(SchemaTest, AutotestModeUpgradesWithoutAsking) {
    {
        RawDb raw(init);
        buildSchema(raw, 1, 1);
    }
    setenv("TXDB_AUTOTEST", "1", 1);
    HostScript host(false);
    openPath();
    unsetenv("TXDB_AUTOTEST");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(version(), std::vector<int>{12});
}

// A creation that fails part way (an index or constraint name that another
// table already uses stops it at the Parts / Gate statements) names the
// tables left and offers the script, which a "no" does not write.
TEST_P(SchemaTest, FailedCreationNamesTheTablesLeftAndOffersTheScript) {
    for (int answer : {IDYES, IDNO}) {
        init = txdbtest::freshDatabase(GetParam());
        {
            RawDb raw(init);
            raw.exec("CREATE TABLE [Obstacle] ([ID] INTEGER NOT NULL PRIMARY KEY, [Ref] INTEGER);");
            // Index names are the database's, constraint names (on PostgreSQL) the table's.
            if (GetParam() != "MariaDB")
                raw.exec("CREATE INDEX [PartsUnique] ON [Obstacle] ([Ref]);");
            else
                raw.exec("ALTER TABLE [Obstacle] ADD CONSTRAINT [GatePartDef] FOREIGN KEY([Ref]) REFERENCES "
                         "[Obstacle]([ID]);");
        }
        HostScript host(true, {IDYES, answer});
        EXPECT_EQ(thrownMessage([&] { openPath(); }), "");
        if (answer == IDNO) {
            EXPECT_TRUE(host.reportContents.empty());
            continue;
        }
        RawDb raw(init);
        std::vector<std::string> left = CTraxDBSchema::presentTables(raw.source().getSession());
        // The creation question, the cause, a notice of the tables left where
        // the database kept them, and the script offer.
        ASSERT_EQ(host.boxes.size(), left.empty() ? 3u : 4u);
        EXPECT_EQ(host.boxes[1].caption, "Error");
        EXPECT_NE(host.boxes[1].text, "");
        if (!left.empty()) {
            EXPECT_EQ(host.boxes[2].caption, "Warning");
            EXPECT_NE(host.boxes[2].text.find(CTraxDBSchema::joinNames(left)), std::string::npos);
        }
        EXPECT_EQ(host.boxes.back().text, loadMessage(IDS_CREATE_FAILED_SCRIPT));
        EXPECT_EQ(host.boxes.back().caption, "Error");
        ASSERT_EQ(host.reportContents.size(), 1u);
        EXPECT_EQ(
            host.reportContents[0].rfind(
                raw.source().fixTcEnc("CREATE TABLE [Library_version] ( [Major] INTEGER, [Minor] INTEGER);\n"), 0),
            0u);
        if (GetParam() == "MariaDB")
            EXPECT_FALSE(left.empty()) << "table creation is committed at once";
        else
            EXPECT_TRUE(left.empty()) << "the aborted transaction takes the tables back";
    }
}

TEST_P(SchemaTest, HalfBuiltLibraryIsNamedInsteadOfRecreated) {
    const std::vector<std::string> &statements = CTraxDBSchema::creationStatements();
    // Library, Hierarchy and their constraints without the version table;
    // then the version table as well, without its row.
    struct Case {
        size_t first, end;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {1,
         7,
         {"incomplete TRAXEL Part Library", "Tables present: Library, Hierarchy\n",
          "Tables missing: Library_version, Part_Definition,"}},
        {0, 1, {"Tables present: Library_version, Library, Hierarchy\n", "no version row"}},
        {7, 10, {"Tables present: Library_version, Library, Hierarchy, Part_Definition\n", "no version row"}},
    };
    RawDb raw(init);
    for (const Case &each : cases) {
        for (size_t i = each.first; i < each.end; ++i)
            raw.exec(statements[i]);
        HostScript host(true);
        std::string message = thrownMessage([&] { openPath(); });
        EXPECT_TRUE(host.boxes.empty());
        for (const std::string &text : each.texts)
            EXPECT_NE(message.find(text), std::string::npos) << text << " in " << message;
    }
}

TEST_P(SchemaTest, AnotherProgramsTablesAreNotTakenForAHalfBuiltLibrary) {
    // A table of another program under a part-library name, beside one of
    // the library's own: the columns tell them apart, not the names.
    RawDb raw(init);
    raw.exec("CREATE TABLE [Parts] ( [Sku] VARCHAR(20), [Quantity] INTEGER);");
    raw.exec(CTraxDBSchema::creationStatements()[1]); // Library, as the part library makes it
    CTraxDBPath unchecked(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    EXPECT_EQ(CTraxDBSchema::foreignTables(unchecked, {"Library", "Parts"}), std::vector<std::string>{"Parts"});
    HostScript host(true, {IDYES});
    const std::string message = thrownMessage([&] { openPath(); });
    EXPECT_TRUE(host.boxes.empty()) << "no question about creating tables beside them";
    EXPECT_NE(message.find("is not a TRAXEL Part Library: it holds the data of another program"), std::string::npos)
        << message;
    EXPECT_NE(message.find("Its table Parts has the name of a part-library table but other columns"), std::string::npos)
        << message;
    EXPECT_EQ(message.find("Remove"), std::string::npos) << "another program's tables are not ours to remove";
    EXPECT_EQ(raw.ints("SELECT COUNT(*) FROM [Parts];"), std::vector<int>{0});

    // Its version table too: the version read fails on its columns, and
    // that is told as another program's database, not as a failed query.
    raw.exec("CREATE TABLE [Library_version] ( [Release] VARCHAR(20));");
    const std::string versioned = thrownMessage([&] { openPath(); });
    EXPECT_NE(versioned.find("Its tables Library_version, Parts have the names"), std::string::npos) << versioned;
}

// Runs a script with the engine's own shell (sqlite3, the MariaDB client) on
// the database of an initialisation string.
txdbtest::ProgramRun runInShell(const std::string &init, const std::string &script) {
    const std::string file = txdbtest::tempFile(".sql");
    std::ofstream(file) << script;
    InitString parsed;
    EXPECT_EQ(InitString::parse(init, parsed), S_OK);
    using txdbtest::shellQuoted;
    const std::string driver = parsed.get("Driver");
    std::string shell;
    if (parsed.get("Provider") == "SQLite")
        shell = "sqlite3 -bail " + shellQuoted(parsed.get("Data Source"));
    else if (driver.find("PostgreSQL") != std::string::npos)
        shell = "PGPASSWORD=" + shellQuoted(parsed.get("Password")) + " psql -X -q -v ON_ERROR_STOP=1 -h " +
                parsed.get("Server") + " -p " + parsed.get("Port") + " -U " + shellQuoted(parsed.get("User ID")) + " " +
                shellQuoted(parsed.get("Initial Catalog"));
    else
        shell = "mariadb --no-defaults -h " + parsed.get("Server") + " -P " + parsed.get("Port") + " -u " +
                shellQuoted(parsed.get("User ID")) + " -p" + shellQuoted(parsed.get("Password")) + " " +
                parsed.get("Initial Catalog");
    return txdbtest::runShell("(" + shell + " < " + file + ")");
}

// The foreign keys of the database, each as "table.column" of its first
// column, and those of them whose first column leads no index (the engine
// then scans the whole table for each lookup of a parent's rows).
struct ForeignKeys {
    std::vector<std::string> all, unindexed;
};

ForeignKeys foreignKeysOf(const std::string &engine, const std::string &init) {
    RawDb raw(init);
    std::string keys, lead;
    if (engine == "SQLite") {
        keys = "SELECT m.[name] || '.' || f.[from] FROM sqlite_master m, pragma_foreign_key_list(m.[name]) f WHERE "
               "m.[type] = 'table' AND f.[seq] = 0";
        lead = " AND NOT EXISTS (SELECT 1 FROM pragma_index_list(m.[name]) l, pragma_index_info(l.[name]) i WHERE "
               "i.[seqno] = 0 AND i.[name] = f.[from])";
    } else if (engine == "PostgreSQL") {
        keys = "SELECT c.conrelid::regclass::text || '.' || a.attname FROM pg_constraint c, pg_attribute a WHERE "
               "c.contype = 'f' AND a.attrelid = c.conrelid AND a.attnum = ANY (c.conkey) AND "
               "array_position(c.conkey, a.attnum) = 1 AND c.connamespace = 'public'::regnamespace";
        // An index whose leading columns are the key's columns.
        lead = " AND NOT EXISTS (SELECT 1 FROM pg_index i WHERE i.indrelid = c.conrelid AND "
               "(i.indkey::text || ' ') LIKE array_to_string(c.conkey, ' ') || ' %')";
    } else {
        keys = "SELECT CONCAT(k.TABLE_NAME, '.', k.COLUMN_NAME) FROM information_schema.KEY_COLUMN_USAGE k WHERE "
               "k.TABLE_SCHEMA = DATABASE() AND k.REFERENCED_TABLE_NAME IS NOT NULL AND k.ORDINAL_POSITION = 1";
        lead = " AND NOT EXISTS (SELECT 1 FROM information_schema.STATISTICS s WHERE s.TABLE_SCHEMA = k.TABLE_SCHEMA "
               "AND s.TABLE_NAME = k.TABLE_NAME AND s.SEQ_IN_INDEX = 1 AND s.COLUMN_NAME = k.COLUMN_NAME)";
    }
    ForeignKeys found{raw.texts(keys + ";"), raw.texts(keys + lead + ";")};
    std::sort(found.all.begin(), found.all.end());
    return found;
}

TEST_P(SchemaTest, ScriptsRunAsTheyAreInTheEnginesOwnShell) {
    {
        CTraxDBPath empty(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
        const std::string script = CTraxDBSchema::createScript(empty);
        EXPECT_EQ(script.find(";;"), std::string::npos) << script;
        EXPECT_EQ(script.find("{"), std::string::npos) << script;
        txdbtest::ProgramRun created = runInShell(init, script);
        EXPECT_EQ(created.status, 0) << created.errors << script;
    }
    EXPECT_EQ(version(), std::vector<int>{12});
    {
        HostScript host(true);
        auto path = openPath();
        EXPECT_TRUE(host.boxes.empty()) << "the created library opens as it is";
        EXPECT_EQ(CTraxDBSchema::presentTables(path->getSession()), CTraxDBSchema::tableNames());
        path->execute("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (1,'Lib',1);");
        for (const char *broken : {"INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (2,'Lib',1);",
                                   "INSERT INTO [Hierarchy] ([ID],[Library_ID],[Name]) VALUES (1,7,'Top');"})
            EXPECT_NE(thrownMessage([&] { path->execute(broken); }), "<no exception>") << broken;
    }

    for (int minor : {0, 1}) {
        const std::string old = txdbtest::freshDatabase(GetParam());
        {
            RawDb raw(old);
            buildSchema(raw, 1, minor);
        }
        CTraxDBPath path(old.c_str(), CTraxDBPath::SchemaCheck::Skip);
        const std::string script = CTraxDBSchema::upgradeScript(path, 1, minor);
        EXPECT_EQ(script.rfind(minor == 0 ? "-- Update TRAXEL Parts Database from version 1.0 to 1.1\n\n"
                                          : "-- Update TRAXEL Parts Database from version 1.1 to 1.2\n",
                               0),
                  0u)
            << script;
        if (minor == 0) {
            EXPECT_NE(script.find("LIKE'JUMPERNF%');\n"), std::string::npos) << "percent signs stay: " << script;
        }
        txdbtest::ProgramRun upgraded = runInShell(old, script);
        EXPECT_EQ(upgraded.status, 0) << upgraded.errors << script;
        RawDb raw(old);
        EXPECT_EQ(raw.ints("SELECT 10 * [Major] + [Minor] FROM [Library_version];"), std::vector<int>{12}) << minor;
        EXPECT_EQ(raw.texts("SELECT [Pin_identifier] FROM [Pin_Data];"), std::vector<std::string>{}) << minor;
        EXPECT_EQ(foreignKeysOf(GetParam(), old).unindexed, std::vector<std::string>{}) << minor;
    }
}

// Reading or writing a library looks rows up by their parent: by every
// foreign key, and each deleted parent row is checked against its
// children. Whether the schema is created by the plug-in or by its script
// in the engine's own shell, each key's columns lead an index.
TEST_P(SchemaTest, EveryForeignKeyLeadsAnIndexWhetherCreatedOrScripted) {
    size_t declared = 0;
    for (const std::string &statement : CTraxDBSchema::creationStatements())
        declared += statement.find("FOREIGN KEY") != std::string::npos;
    {
        HostScript host(true, {IDYES});
        openPath();
    }
    const ForeignKeys created = foreignKeysOf(GetParam(), init);
    EXPECT_EQ(created.all.size(), declared);
    EXPECT_EQ(created.unindexed, std::vector<std::string>{});

    const std::string scripted = txdbtest::freshDatabase(GetParam());
    {
        CTraxDBPath empty(scripted.c_str(), CTraxDBPath::SchemaCheck::Skip);
        txdbtest::ProgramRun run = runInShell(scripted, CTraxDBSchema::createScript(empty));
        ASSERT_EQ(run.status, 0) << run.errors;
    }
    const ForeignKeys fromScript = foreignKeysOf(GetParam(), scripted);
    EXPECT_EQ(fromScript.all, created.all);
    EXPECT_EQ(fromScript.unindexed, std::vector<std::string>{});
}

// A database made before the indexes of the foreign keys were part of the
// schema gets them: with the upgrade of its version, or alone (script or
// write) when it is at the current version. Where the engine indexes its
// keys itself, nothing is reported missing.
TEST_P(SchemaTest, AnOlderDatabaseGetsTheIndexesOfItsForeignKeys) {
    {
        RawDb raw(init);
        buildSchema(raw, 1, 0);
    }
    const size_t unindexedBefore = foreignKeysOf(GetParam(), init).unindexed.size();
    {
        HostScript host(true, {IDYES});
        openPath();
    }
    EXPECT_EQ(version(), std::vector<int>{12});
    EXPECT_EQ(foreignKeysOf(GetParam(), init).unindexed, std::vector<std::string>{}) << "after the upgrade from 1.0";

    const std::string current = txdbtest::freshDatabase(GetParam());
    {
        RawDb raw(current);
        buildSchema(raw, 1, 2);
    }
    CTraxDBInspector inspector = CTraxDBInspector::openUnchecked(current);
    // Where keys lack an index, every index of the schema's keys is missing
    // (some keys are led by another index, their own is made all the same).
    const std::vector<std::string> missing = inspector.missingIndexes();
    EXPECT_EQ(missing.empty(), unindexedBefore == 0) << missing.size();
    EXPECT_EQ(missing.empty(), foreignKeysOf(GetParam(), current).unindexed.empty());
    if (missing.empty()) {
        EXPECT_EQ(inspector.indexScript(), "");
        return;
    }
    EXPECT_EQ(missing.size(), foreignKeysOf(GetParam(), current).all.size());
    txdbtest::ProgramRun run = runInShell(current, inspector.indexScript());
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(foreignKeysOf(GetParam(), current).unindexed, std::vector<std::string>{}) << "after the script";
    EXPECT_EQ(inspector.missingIndexes(), std::vector<std::string>{});
    EXPECT_EQ(inspector.indexScript(), "");

    // One index dropped by hand: only it is made again.
    RawDb(current).exec("DROP INDEX [GateHasPinsGateIndex];");
    EXPECT_EQ(inspector.missingIndexes(), std::vector<std::string>{"GateHasPinsGateIndex"});
    inspector.addMissingIndexes();
    EXPECT_EQ(foreignKeysOf(GetParam(), current).unindexed, std::vector<std::string>{}) << "after the write";
    EXPECT_EQ(inspector.missingIndexes(), std::vector<std::string>{});
}

// On SQLite a transaction that has read cannot wait for the write lock: an
// upgrade, which reads a table's definition before it rebuilds it, has to
// hold that lock from its start to wait for another connection's write.
TEST(SchemaOnSQLite, CreationAndUpgradeWaitForAnotherConnectionsWrite) {
    for (bool old : {false, true}) {
        const std::string file = txdbtest::tempFile();
        const std::string init = "Provider=SQLite;Data Source=" + file;
        RawDb raw(init);
        raw.exec("CREATE TABLE [Other] ( [ID] INTEGER);");
        if (old)
            buildSchema(raw, 1, 1);
        sqlite3 *other = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO Other VALUES (1);", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        std::thread writer([other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            sqlite3_exec(other, "COMMIT;", nullptr, nullptr, nullptr);
        });
        HostScript host(true, {IDYES});
        const std::string message = thrownMessage([&] { CTraxDBPath path(init.c_str()); });
        writer.join();
        sqlite3_close(other);
        EXPECT_EQ(message, "<no exception>") << (old ? "upgrade" : "creation");
        EXPECT_EQ(raw.ints("SELECT 10 * [Major] + [Minor] FROM [Library_version];"), std::vector<int>{12});
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &engine) { return engine.param; });

} // namespace
