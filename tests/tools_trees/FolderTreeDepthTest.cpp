// Folder trees at and past the depth partlib walks: a tree of 50,000 levels
// in a real SQLite file that every command refuses cleanly, a tree of 100
// levels that every command handles and that export and import agree on,
// and the pins a library file cannot name, refused by the export as the
// import refuses them.

#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "ctraxdbpartlib/access/FolderAncestors.h"
#include "interface/PartForReportsAccess.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/partlib/FolderDepths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;

namespace {

const int LIBRARY_ID = 900, FIRST_FOLDER = 1000, DEFINITION_ID = 800, PART_ID = 700;

DBIMPL::SampleOptions schemaOnly() {
    DBIMPL::SampleOptions options;
    options.parts = 0;
    return options;
}

// A library "Deep" whose folders F1 ... F<levels> each hold the next, with
// one part definition and its part P1 filed in the deepest folder.
void writeChain(txdbtest::SampleDatabase &db, int levels) {
    db.exec("INSERT INTO [Library] VALUES (" + std::to_string(LIBRARY_ID) + ",'Deep',1,NULL);");
    std::ostringstream folders;
    folders << "INSERT INTO [Hierarchy] VALUES ";
    for (int level = 1; level <= levels; ++level)
        folders << (level > 1 ? "," : "") << "(" << FIRST_FOLDER + level << "," << LIBRARY_ID << ",'F" << level << "',"
                << (level == 1 ? std::string("NULL") : std::to_string(FIRST_FOLDER + level - 1)) << ")";
    db.exec(folders.str() + ";");
    db.exec("INSERT INTO [Part_Definition] VALUES (" + std::to_string(DEFINITION_ID) + "," +
            std::to_string(LIBRARY_ID) + ",'DEF','PCB',NULL,NULL,NULL,NULL,2,0,0,0);");
    db.exec("INSERT INTO [Pin_Data] VALUES (801," + std::to_string(DEFINITION_ID) +
            ",'1','A',NULL,1,1,NULL,NULL,NULL);");
    db.exec("INSERT INTO [Parts] VALUES (" + std::to_string(PART_ID) + "," + std::to_string(LIBRARY_ID) + "," +
            std::to_string(DEFINITION_ID) + "," + std::to_string(FIRST_FOLDER + levels) +
            ",'P1','',NULL,'',NULL,NULL,NULL);");
}

// A library "Deep" (ID 1) of SQLite whose folders F1 ... F<levels> (ID = level)
// each hold the next, made with one recursive statement.
void writeLongChain(txdbtest::SampleDatabase &db, int levels) {
    db.exec("INSERT INTO [Library] VALUES (1,'Deep',1,NULL);");
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" + std::to_string(levels) +
            ") INSERT INTO [Hierarchy] SELECT i,1,'F'||i,CASE WHEN i=1 THEN NULL ELSE i-1 END FROM n;");
}

// A directory of its own for the files a command writes, so that a left-over
// temporary file shows.
std::filesystem::path emptyDirectory() {
    std::filesystem::path directory = txdbtest::tempFile("");
    std::filesystem::create_directories(directory);
    return directory;
}

size_t entries(const std::filesystem::path &directory) {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()));
}

void expectRefused(const ProgramRun &run, int levels, const std::string &command) {
    EXPECT_EQ(run.status, 1) << command << ": " << run.all();
    EXPECT_NE(run.errors.find("Library Deep has folders " + std::to_string(levels) + " levels deep (folder \"F" +
                              std::to_string(levels) + "\""),
              std::string::npos)
        << command << ": " << run.errors;
    EXPECT_NE(run.errors.find("at most 100 levels"), std::string::npos) << command << ": " << run.errors;
}

TEST(FolderDepthsTest, CountsLevelsFromTheTopAndLeavesCyclesOut) {
    partlib::FolderDepths depths;
    EXPECT_EQ(depths.depth(), 0);
    depths.add(1, std::nullopt, "top");
    depths.add(2, 1, "middle");
    depths.add(3, 2, "bottom");
    depths.add(3, 2, "bottom"); // a folder listed once per part counts once
    depths.add(4, 1, "beside");
    // Two folders each other's parent hang from no top folder.
    depths.add(5, 6, "ring a");
    depths.add(6, 5, "ring b");
    EXPECT_EQ(depths.depth(), 3);
    depths.add(7, 99, "orphan");
    EXPECT_EQ(depths.depth(), 3);
}

// A tree of 50,000 levels, made with one statement in a real SQLite file,
// is deeper than a recursive walk survives: every command measures it first
// and refuses it, writing nothing and leaving no file behind.
TEST(DeepFolderTreeTest, EveryCommandRefusesATreeTooDeepToWalk) {
    const int levels = 50000;
    txdbtest::SampleDatabase db("SQLite", schemaOnly());
    writeLongChain(db, levels);
    db.path.reset();
    const std::string file = db.init.substr(db.init.find("Data Source=") + 12);

    const std::filesystem::path out = emptyDirectory();
    const std::string target = (out / "copy.db").string();
    expectRefused(runPartlib({"tree", file, "Deep"}), levels, "tree");
    expectRefused(runPartlib({"tree", file, "Deep", "--format", "json"}), levels, "tree --format json");
    expectRefused(runPartlib({"parts", file, "Deep"}), levels, "parts");
    expectRefused(runPartlib({"report", file, "Deep"}), levels, "report");
    expectRefused(runPartlib({"export", file, "-o", (out / "deep.json").string()}), levels, "export");
    expectRefused(runPartlib({"catalogue", file, "-o", (out / "deep.html").string()}), levels, "catalogue");
    expectRefused(runPartlib({"copy", file, target, "--yes"}), levels, "copy");
    expectRefused(runPartlib({"copy", file, target, "--yes", "--hierarchy-only"}), levels, "copy --hierarchy-only");
    EXPECT_EQ(entries(out), 0u) << "a refused command left a file in " << out;

    // The source is untouched and has no journal.
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
    ProgramRun info = runPartlib({"info", file});
    ASSERT_EQ(info.status, 0) << info.all();
    EXPECT_NE(info.output.find("Hierarchy                 50000\n"), std::string::npos) << info.output;
}

// A host that hands the plug-in's writer a tree deeper than partlib walks:
// the writer nests one writer per level, so it writes its deepest tree
// whole and refuses one level more by the folder's name, leaving the target
// as it was, instead of running out of stack.
TEST(DeepFolderTreeTest, ThePlugInWritesItsDeepestTreeAndRefusesOneLevelMore) {
    const int deepest = DBIMPL::MAX_FOLDER_DEPTH;
    txdbtest::SampleDatabase source("SQLite", schemaOnly());
    writeLongChain(source, deepest);
    const auto copy = [&](txdbtest::SampleDatabase &target) {
        return txdbtest::thrownMessage([&] {
            getLibraryWriter(target.path)->write(getLibraryReader(source.path, nullptr), [] { return false; });
        });
    };
    txdbtest::SampleDatabase whole("SQLite", schemaOnly());
    ASSERT_EQ(copy(whole), "<no exception>");
    EXPECT_EQ(whole.ints("SELECT COUNT(*) FROM [Hierarchy];"), std::vector<int>{deepest});
    EXPECT_EQ(whole.ints("SELECT COUNT(*) FROM [Hierarchy] WHERE [Name] = 'F" + std::to_string(deepest) +
                         "' AND [Parent_ID] = (SELECT [ID] FROM [Hierarchy] WHERE [Name] = 'F" +
                         std::to_string(deepest - 1) + "');"),
              std::vector<int>{1});

    const std::string below = std::to_string(deepest + 1);
    source.exec("INSERT INTO [Hierarchy] VALUES (" + below + ",1,'F" + below + "'," + std::to_string(deepest) + ");");
    source.exec("INSERT INTO [Hierarchy] VALUES (" + std::to_string(deepest + 2) + ",1,'Beside',NULL);");
    txdbtest::SampleDatabase refused("SQLite", schemaOnly());
    EXPECT_EQ(copy(refused), "Library \"Deep\": the folder \"F" + below + "\" lies more than " +
                                 std::to_string(deepest) + " levels deep, deeper than a folder tree is written");
    EXPECT_EQ(refused.ints("SELECT COUNT(*) FROM [Library];"), std::vector<int>{0}) << "nothing was written";
    EXPECT_EQ(refused.ints("SELECT COUNT(*) FROM [Hierarchy];"), std::vector<int>{0}) << "nothing was written";
}

class FolderTreeDepthTest : public ::testing::TestWithParam<std::string> {};

// At the limit everything works: tree, report, copy and export show every
// level, and what export writes import reads back whole. One level more and
// export refuses, with no file, instead of writing one that import refuses.
TEST_P(FolderTreeDepthTest, ExportAndImportAgreeOnTheDeepestTree) {
    txdbtest::SampleDatabase db(GetParam(), schemaOnly());
    writeChain(db, 100);

    ProgramRun tree = runPartlib({"tree", db.init, "Deep"});
    ASSERT_EQ(tree.status, 0) << tree.all();
    EXPECT_EQ(std::count(tree.output.begin(), tree.output.end(), '\n'), 100);
    EXPECT_NE(tree.output.find("\n" + std::string(2 * 99, ' ') + "F100 (1)\n"), std::string::npos) << tree.output;

    ProgramRun report = runPartlib({"report", db.init, "Deep", "--format", "csv"});
    ASSERT_EQ(report.status, 0) << report.all();
    std::string path;
    for (int level = 1; level <= 100; ++level)
        path += (level > 1 ? "\\F" : "F") + std::to_string(level);
    EXPECT_NE(report.output.find("," + path), std::string::npos) << report.output.substr(0, 400);

    const std::filesystem::path out = emptyDirectory();
    const std::string file = (out / "deep.json").string();
    ProgramRun exported = runPartlib({"export", db.init, "-o", file});
    ASSERT_EQ(exported.status, 0) << exported.all();

    const std::string copy = txdbtest::otherDatabase(GetParam());
    ASSERT_EQ(runPartlib({"init", copy, "--yes"}).status, 0);
    ProgramRun imported = runPartlib({"import", copy, file});
    ASSERT_EQ(imported.status, 0) << imported.all();
    EXPECT_NE(imported.output.find("Hierarchy 100"), std::string::npos) << imported.output;
    ProgramRun again = runPartlib({"export", copy});
    ASSERT_EQ(again.status, 0) << again.all();
    EXPECT_EQ(again.output, txdbtest::readFile(file));

    const std::string copied = txdbtest::otherDatabase(GetParam());
    ProgramRun copyRun = runPartlib({"copy", db.init, copied, "--yes"});
    ASSERT_EQ(copyRun.status, 0) << copyRun.all();
    EXPECT_EQ(runPartlib({"export", copied}).output, again.output);

    db.exec("INSERT INTO [Hierarchy] VALUES (" + std::to_string(FIRST_FOLDER + 101) + "," + std::to_string(LIBRARY_ID) +
            ",'F101'," + std::to_string(FIRST_FOLDER + 100) + ");");
    const std::string tooDeep = (out / "too-deep.json").string();
    expectRefused(runPartlib({"export", db.init, "-o", tooDeep}), 101, "export");
    EXPECT_FALSE(std::filesystem::exists(tooDeep));
    // The file written before is kept as it was.
    ProgramRun overwrite = runPartlib({"export", db.init, "-o", file});
    expectRefused(overwrite, 101, "export over a file");
    EXPECT_EQ(txdbtest::readFile(file), again.output);
    EXPECT_EQ(entries(out), 1u);
}

// The database allows a pin without identifier, and (SQLite, PostgreSQL)
// two identifiers that differ only in case; a library file names pins by
// identifier regardless of case, so the export refuses both as import does.
TEST_P(FolderTreeDepthTest, ExportRefusesPinsTheFileCannotName) {
    txdbtest::SampleDatabase db(GetParam(), schemaOnly());
    writeChain(db, 2);
    const std::filesystem::path out = emptyDirectory();
    const std::string file = (out / "pins.json").string();
    ASSERT_EQ(runPartlib({"export", db.init, "-o", file}).status, 0);
    const std::string written = txdbtest::readFile(file);

    db.exec("INSERT INTO [Pin_Data] VALUES (802," + std::to_string(DEFINITION_ID) +
            ",NULL,'NC',NULL,2,1,NULL,NULL,NULL);");
    ProgramRun unnamed = runPartlib({"export", db.init, "-o", file});
    EXPECT_EQ(unnamed.status, 1) << unnamed.all();
    EXPECT_NE(unnamed.errors.find("Part definition DEF of library Deep has a pin without identifier (pin name \"NC\")"),
              std::string::npos)
        << unnamed.errors;
    EXPECT_EQ(txdbtest::readFile(file), written);
    db.exec("DELETE FROM [Pin_Data] WHERE [ID] = 802;");

    if (GetParam() == "MariaDB")
        return; // its unique key already refuses identifiers that differ only in case
    db.exec("INSERT INTO [Pin_Data] VALUES (803," + std::to_string(DEFINITION_ID) +
            ",'a','X',NULL,3,1,NULL,NULL,NULL),(804," + std::to_string(DEFINITION_ID) +
            ",'A','Y',NULL,4,1,NULL,NULL,NULL);");
    ProgramRun cased = runPartlib({"export", db.init, "-o", file});
    EXPECT_EQ(cased.status, 1) << cased.all();
    EXPECT_NE(cased.errors.find("Part definition DEF of library Deep has the pins \""), std::string::npos)
        << cased.errors;
    EXPECT_NE(cased.errors.find("\", whose identifiers differ only in case"), std::string::npos) << cased.errors;
    EXPECT_NE(cased.errors.find("\"a\""), std::string::npos) << cased.errors;
    EXPECT_NE(cased.errors.find("\"A\""), std::string::npos) << cased.errors;
    EXPECT_EQ(txdbtest::readFile(file), written);
    EXPECT_EQ(entries(out), 1u);
}

INSTANTIATE_TEST_SUITE_P(Engines, FolderTreeDepthTest, ::testing::ValuesIn(txdbtest::testEngines()));

// The report's folder path of a part below 20,000 folders: the walk up is
// told apart from a cycle by the folders' IDs, and joins the names in order.
TEST(DeepFolderTreeTest, TheReportPathOfADeepPartIsWhole) {
    const int levels = 20000;
    txdbtest::SampleDatabase db("SQLite", schemaOnly());
    writeLongChain(db, levels);
    db.exec("INSERT INTO [Part_Definition] VALUES (1,1,'DEF','PCB',NULL,NULL,NULL,NULL,0,0,0,0);");
    db.exec("INSERT INTO [Parts] VALUES (1,1,1," + std::to_string(levels) + ",'P1','',NULL,'',NULL,NULL,NULL);");

    std::shared_ptr<Reader<PartForReportsAccess>> parts = db.library("Deep")->getPartReaderForReports(0);
    ASSERT_TRUE(parts);
    std::shared_ptr<PartForReportsAccess> part = parts->getNext();
    ASSERT_TRUE(part);
    bool isNull = true;
    TCHAR *fullName = nullptr;
    part->getHierrachyFullName(isNull, &fullName);
    ASSERT_FALSE(isNull);
    ASSERT_NE(fullName, nullptr);
    const std::string text = fullName;
    EXPECT_EQ(text.substr(0, 9), "F1\\F2\\F3\\");
    EXPECT_EQ(text.substr(text.size() - 13), "F19999\\F20000");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\\'), levels - 1);
}

} // namespace
