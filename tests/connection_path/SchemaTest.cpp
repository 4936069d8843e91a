// Creating, recognising and upgrading the part-library schema through a
// path opened on a real database.

#include "tests/support/PathTestSupport.h"
#include "tests/support/TestDatabase.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        if (old) {
            RawDb raw(init);
            buildSchema(raw, 1, 1);
            raw.exec("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (1,'Lib',1);");
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
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, loadMessage(IDS_UPDATE_FAILED_SCRIPT));
    EXPECT_EQ(host.boxes[1].caption, "Error");
    ASSERT_EQ(host.reportContents.size(), 1u);
    EXPECT_EQ(host.reportContents[0].rfind(loadMessage(IDS_SCRIPT_HEADING_11_12), 0), 0u);
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
        HostScript host(true, {IDYES, answer, answer});
        EXPECT_EQ(thrownMessage([&] { openPath(); }), "");
        if (answer == IDNO) {
            EXPECT_TRUE(host.reportContents.empty());
            continue;
        }
        RawDb raw(init);
        std::vector<std::string> left = CTraxDBSchema::presentTables(raw.source().getSession());
        // The creation question, a notice of the tables left where the database
        // kept them, and the script offer.
        ASSERT_EQ(host.boxes.size(), left.empty() ? 2u : 3u);
        if (!left.empty()) {
            EXPECT_EQ(host.boxes[1].caption, "Warning");
            EXPECT_NE(host.boxes[1].text.find(CTraxDBSchema::joinNames(left)), std::string::npos);
        }
        EXPECT_EQ(host.boxes.back().text, loadMessage(IDS_CREATE_FAILED_SCRIPT));
        EXPECT_EQ(host.boxes.back().caption, "Error");
        ASSERT_EQ(host.reportContents.size(), 1u);
        EXPECT_EQ(
            host.reportContents[0].rfind(
                raw.source().fixTcEnc("CREATE TABLE [Library_version] ( [Major] INTEGER, [Minor] INTEGER);;\n"), 0),
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

TEST_P(SchemaTest, ScriptsHoldEveryStatementOnceWithTheirHeadingsAndLiteralPercentSigns) {
    HostScript host(true);
    auto path = openPath();
    const std::string file = txdbtest::tempFile(".sql");
    CTraxDBSchema::writeCreateScript(*path, file.c_str());
    CTraxDBSchema::writeUpgradeScript(*path, file.c_str(), 1, 0);
    CTraxDBSchema::writeUpgradeScript(*path, file.c_str(), 1, 1);
    ASSERT_EQ(host.reportContents.size(), 3u);
    const std::string &script = host.reportContents[0];
    const std::string &from10 = host.reportContents[1];
    const std::string &from11 = host.reportContents[2];

    EXPECT_EQ(std::count(script.begin(), script.end(), '\n'), 37);
    if (GetParam() == "SQLite") {
        EXPECT_EQ(script.rfind("CREATE TABLE \"Library_version\" ( \"Major\" INTEGER, \"Minor\" INTEGER);;\n", 0), 0u);
    }
    EXPECT_EQ(script.find("INSERT"), std::string::npos);
    EXPECT_EQ(script.find('['), std::string::npos);
    EXPECT_NE(script.find(path->fixTcEnc("ALTER TABLE [Parts] ADD CONSTRAINT [PartsUnique] UNIQUE ([Name]);;\n")),
              std::string::npos);

    const std::string like = path->fixTcEnc("UPDATE [Parts] SET [Part_Type]=8 WHERE [Parts].[Part_def_ID] IN (SELECT "
                                            "[Part_Definition].[ID] FROM [Part_Definition] WHERE "
                                            "[Part_Definition].[PCB_component_name] LIKE'JUMPERNF%');;\n");
    const std::string lastOf10 = path->fixTcEnc("UPDATE [Library_version] SET [Minor]=1;;\n");
    EXPECT_EQ(from10.rfind("{Update TRAXEL Parts Database from version 1.0 to 1.1}\n\n", 0), 0u);
    EXPECT_NE(from10.find(like), std::string::npos);
    EXPECT_NE(from10.find(lastOf10 +
                          "\n{Update TRAXEL Parts Database from version 1.1 to 1.2}\n"
                          "{For databases other than MySQL (Access, SQL Server)}\n\n" +
                          path->fixTcEnc("ALTER TABLE [Pin_Data] DROP CONSTRAINT [PinDataUnique];;\n")),
              std::string::npos);
    EXPECT_NE(from10.find(path->fixTcEnc("UPDATE [Library_version] SET [Minor]=2;;\n") + "\n{For MySQL databases}\n\n" +
                          path->fixTcEnc("ALTER TABLE [Pin_Data] DROP FOREIGN KEY [PinDataPartDef];;\n")),
              std::string::npos);
    EXPECT_EQ(from11.rfind("{Update TRAXEL Parts Database from version 1.1 to 1.2}\n", 0), 0u);
    EXPECT_EQ(from11.find("JUMPERNF"), std::string::npos);
    // 6 + 8 statements and the heading lines.
    EXPECT_EQ(std::count(from11.begin(), from11.end(), '\n'), 14 + 6);
    EXPECT_EQ(from10.size(), from10.find(from11) + from11.size());
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

} // namespace
