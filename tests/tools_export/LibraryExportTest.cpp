// The library file export over real databases (two sample libraries and a
// library of awkward rows, checked against the tables they came from), and
// partlib export run as the built program on a SQLite file.

#include "tools/partlib/LibraryExport.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/libraryfile/LibraryFile.h"
#include "tools/partlib/LibraryFolders.h"
#include "tools/partlib/StoredLibrary.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unordered_map>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace partlib;
using Json = nlohmann::ordered_json;

namespace {

// The texts of the library of awkward rows.
const std::string EDGE_LIBRARY = "Ed\"ge \\ Ω", EDGE_TOP = "Top \"A\"", EDGE_SUB = "Sub\\Dir",
                  EDGE_DEFINITION = "EDGE_DEF_ü", EDGE_LABEL = "tab\there\x01", EDGE_VALUE = "say \"hi\" \\ 中",
                  EDGE_PART = "EDGE-1 \"q\" \\ Ω";

std::string quoted(const std::string &text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

void writeEdgeLibrary(CTraxDBPath &path) {
    for (const std::string &sql : {
             "INSERT INTO [Library] VALUES (50000," + quoted(EDGE_LIBRARY) + ",0,'');",
             "INSERT INTO [Hierarchy] VALUES (50001,50000," + quoted(EDGE_TOP) + ",NULL),(50002,50000," +
                 quoted(EDGE_SUB) + ",50001),(50003,50000,'Empty ☃',NULL);",
             "INSERT INTO [Part_Definition] VALUES (50010,50000," + quoted(EDGE_DEFINITION) +
                 ",'P\"CB','',NULL,'',NULL,5,1,0,1);",
             std::string("INSERT INTO [Pin_Equiv] VALUES (50030,50010);"),
             "INSERT INTO [Pin_Data] VALUES (50020,50010,'1','A'," + quoted(EDGE_LABEL) +
                 ",1,1,1,'S1',50030),(50021,50010,'2',NULL,'L2',2,1,NULL,'S2',50030),"
                 "(50022,50010,'3','','L3',3,2,NULL,'',NULL);",
             std::string("INSERT INTO [Gate] VALUES (50040,50010,'G',NULL),(50041,50010,'NC','');"),
             // The pins of gate G linked in the order 3, 1, 2.
             std::string("INSERT INTO [Gate_has_Pin_Data] VALUES (50050,50040,50022),(50051,50040,50020),"
                         "(50052,50040,50021);"),
             std::string("INSERT INTO [Gate_Equiv] VALUES (50060,50010,'SW');"),
             std::string("INSERT INTO [Gate_Equiv_Gate] VALUES (50061,50060,2);"),
             std::string("INSERT INTO [Gate_Equiv_has_Pin_Data] VALUES (50062,50061,50021),(50063,50061,50020);"),
             "INSERT INTO [Attributes] VALUES (50010,'Note'," + quoted(EDGE_VALUE) + ",3,1);",
             "INSERT INTO [Parts] VALUES (50070,50000,50010,50002," + quoted(EDGE_PART) +
                 ",'',NULL,'',NULL,NULL,NULL);",
         })
        path.execute(sql);
}

void addLibraries(txdbtest::SampleDatabase &db) {
    SampleOptions second;
    second.libraryName = "Second";
    second.parts = 200;
    second.firstId = 100000;
    writeSampleLibrary(db.dbPath(), second);
    writeEdgeLibrary(db.dbPath());
}

std::string exportToString(const pathHandle_t &path, const std::vector<std::string> &libraries = {}) {
    ExportOptions options;
    options.libraries = libraries;
    std::ostringstream out;
    try {
        exportLibraries(path, out, options);
    } catch (Exception *e) { // shown by the test framework with its text
        std::unique_ptr<Exception> failure(e);
        throw std::runtime_error(failure->getMessage());
    }
    return out.str();
}

// Every element reached from the document through the lists named in turn.
std::vector<const Json *> items(const Json &doc, const std::vector<const char *> &keys) {
    std::vector<const Json *> level{&doc};
    for (const char *key : keys) {
        std::vector<const Json *> next;
        for (const Json *item : level)
            for (const Json &element : item->at(key))
                next.push_back(&element);
        level = next;
    }
    return level;
}
int folderCount(const Json &folders) {
    int n = 0;
    for (const Json &folder : folders)
        n += 1 + folderCount(folder.at("folders"));
    return n;
}
const Json &byName(const Json &list, const std::string &name) {
    for (const Json &item : list)
        if (item.at("name") == name)
            return item;
    throw std::out_of_range("no item named " + name);
}
// Every field of `expected` is in `item` with its value.
void expectFields(const Json &item, const Json &expected) {
    for (const auto &field : expected.items())
        EXPECT_EQ(item.at(field.key()), field.value()) << field.key();
}

const char *const LIB = "libraries";
const char *const DEF = "partDefinitions";

// Demo, a second sample library and the awkward one, built once per engine.
class LibraryExportTest : public ::testing::TestWithParam<std::string> {
protected:
    txdbtest::SampleDatabase &db = txdbtest::sharedSample(GetParam(), addLibraries);
    Json whole() { return Json::parse(exportToString(db.path)); }
    int count(const std::string &sql) { return runCount(db.dbPath(), sql); }
};

TEST_P(LibraryExportTest, HoldsEveryRowOfEveryTable) {
    const Json doc = whole();
    EXPECT_EQ(doc.at("format"), 1);
    // Every pin of a group is listed with the group as well.
    const std::pair<const char *, std::vector<const char *>> tables[] = {
        {"[Library]", {LIB}},
        {"[Part_Definition]", {LIB, DEF}},
        {"[Pin_Data]", {LIB, DEF, "pins"}},
        {"[Pin_Equiv]", {LIB, DEF, "pinEquivalences"}},
        {"[Pin_Data] WHERE [Equiv_group] IS NOT NULL", {LIB, DEF, "pinEquivalences", "pins"}},
        {"[Gate]", {LIB, DEF, "gates"}},
        {"[Gate_has_Pin_Data]", {LIB, DEF, "gates", "pins"}},
        {"[Gate_Equiv]", {LIB, DEF, "gateSwaps"}},
        {"[Gate_Equiv_Gate]", {LIB, DEF, "gateSwaps", "gates"}},
        {"[Gate_Equiv_has_Pin_Data]", {LIB, DEF, "gateSwaps", "gates", "pins"}},
        {"[Attributes]", {LIB, DEF, "attributes"}},
        {"[Parts]", {LIB, "parts"}},
    };
    for (const auto &[from, keys] : tables)
        EXPECT_EQ(static_cast<int>(items(doc, keys).size()), count(std::string("SELECT Count(*) FROM ") + from + ";"))
            << from;
    int folders = 0;
    for (const Json *library : items(doc, {LIB}))
        folders += folderCount(library->at("folders"));
    EXPECT_EQ(folders, count("SELECT Count(*) FROM [Hierarchy];"));
}

TEST_P(LibraryExportTest, EveryPartNamesItsFolderPathAndDefinition) {
    const Json doc = whole();
    for (const Json *part : items(doc, {LIB, "parts"})) {
        const Json &folder = part->at("folder");
        ASSERT_FALSE(folder.empty()) << part->at("name");
        // H0 is the part's folder, H1 its parent and so on up to the top.
        std::string sql = "SELECT Count(*) FROM [Parts] INNER JOIN [Part_Definition] ON "
                          "[Part_Definition].[ID]=[Parts].[Part_def_ID] INNER JOIN [Hierarchy] [H0] ON "
                          "[H0].[ID]=[Parts].[Hierarchy_ID]";
        std::string where = " WHERE [Parts].[Name]=" + quoted(part->at("name")) +
                            " AND [Part_Definition].[Name]=" + quoted(part->at("definition"));
        for (size_t level = 0; level < folder.size(); ++level) {
            const std::string h = "[H" + std::to_string(level) + "]";
            if (level > 0)
                sql += " INNER JOIN [Hierarchy] " + h + " ON " + h + ".[ID]=[H" + std::to_string(level - 1) +
                       "].[Parent_ID]";
            where += " AND " + h + ".[Name]=" + quoted(folder.at(folder.size() - 1 - level));
        }
        where += " AND [H" + std::to_string(folder.size() - 1) + "].[Parent_ID] IS NULL;";
        EXPECT_EQ(count(sql + where), 1) << part->dump();
    }
}

TEST_P(LibraryExportTest, NullAndEmptyTextStayApart) {
    const Json doc = whole();
    struct Column {
        std::vector<const char *> items;
        const char *key, *table, *column;
    };
    const Column columns[] = {
        {{LIB, "parts"}, "acceptance", "Parts", "Part_Acceptance"},
        {{LIB, "parts"}, "number", "Parts", "Part_number"},
        {{LIB, "parts"}, "pspiceData", "Parts", "PSpice_data"},
        {{LIB, DEF, "gates"}, "altName", "Gate", "Alt_name"},
        {{LIB, DEF}, "pcbAlternateName", "Part_Definition", "PCB_alternate_name"},
        {{LIB, DEF, "pins"}, "signal", "Pin_Data", "Signal"},
        {{LIB, DEF, "pins"}, "name", "Pin_Data", "Name"},
    };
    for (const Column &c : columns) {
        int nulls = 0, empties = 0;
        for (const Json *item : items(doc, c.items)) {
            nulls += item->at(c.key).is_null();
            empties += item->at(c.key) == "";
        }
        const std::string from = std::string("SELECT Count(*) FROM [") + c.table + "] WHERE [" + c.column + "]";
        EXPECT_EQ(nulls, count(from + " IS NULL;")) << c.column;
        EXPECT_EQ(empties, count(from + " = '';")) << c.column;
        EXPECT_GT(nulls * empties, 0) << "the data has NULL and empty texts in " << c.column;
    }
}

TEST_P(LibraryExportTest, AwkwardRowsComeOutAsStored) {
    const Json doc = Json::parse(exportToString(db.path, {EDGE_LIBRARY}));
    ASSERT_EQ(doc.at(LIB).size(), 1u);
    const Json &library = doc.at(LIB).at(0);
    expectFields(library, {{"name", EDGE_LIBRARY},
                           {"enabled", false},
                           {"comment", ""},
                           {"folders", Json::parse(R"([{"name": "Empty ☃", "folders": []},
                               {"name": "Top \"A\"", "folders": [{"name": "Sub\\Dir", "folders": []}]}])")}});

    const Json &definition = library.at(DEF).at(0);
    // Pins linked 3, 1, 2 come in that order; a gate without pins has none.
    expectFields(definition,
                 {{"name", EDGE_DEFINITION},
                  {"pcbComponentName", "P\"CB"},
                  {"pcbAlternateName", ""},
                  {"value", nullptr},
                  {"maxConnectorPins", 5},
                  {"gateSwapping", true},
                  {"isFPGA", true},
                  {"pinEquivalences", Json::parse(R"([{"pins": ["1", "2"]}])")},
                  {"gates", Json::parse(R"([{"name": "G", "altName": null, "pins": ["3", "1", "2"]},
                                            {"name": "NC", "altName": "", "pins": []}])")},
                  {"gateSwaps", Json::parse(R"([{"name": "SW", "gates": [{"equivType": 2, "pins": ["2", "1"]}]}])")}});
    const Json &pins = definition.at("pins");
    ASSERT_EQ(pins.size(), 3u);
    EXPECT_EQ(pins.at(0).at("label"), EDGE_LABEL);
    expectFields(pins.at(1), {{"name", nullptr}, {"equivGroup", 0}});
    expectFields(pins.at(2), {{"signal", ""}, {"equivGroup", nullptr}});
    EXPECT_EQ(definition.at("attributes").at(0).at("value"), EDGE_VALUE);

    expectFields(library.at("parts").at(0), {{"name", EDGE_PART},
                                             {"number", ""},
                                             {"description", nullptr},
                                             {"type", nullptr},
                                             {"folder", Json::array({EDGE_TOP, EDGE_SUB})},
                                             {"definition", EDGE_DEFINITION}});
}

TEST_P(LibraryExportTest, SameDatabaseSameBytesInCanonicalLayout) {
    const std::string first = exportToString(db.path);
    EXPECT_EQ(exportToString(db.path), first);
    EXPECT_EQ(Json::parse(first).dump(2) + "\n", first) << "the layout of a two-space dump";
    // Libraries come in the database's order, whatever order they are named in.
    const Json named = Json::parse(exportToString(db.path, {"Second", "Demo"}));
    ASSERT_EQ(named.at(LIB).size(), 2u);
    EXPECT_EQ(named.at(LIB).at(0).at("name"), "Demo");
    EXPECT_EQ(named.at(LIB).at(1), byName(Json::parse(first).at(LIB), "Second"));
}

// The import compares a file with the stored library read straight into
// the host model: that must equal the library read from its own export, or
// an unchanged library would be written again (or differences missed).
TEST_P(LibraryExportTest, AStoredLibraryReadDirectlyEqualsItsExportReadBack) {
    const libraryfile::LibraryFile file = libraryfile::readLibraryFile(exportToString(db.path));
    ASSERT_TRUE(file.problems.empty()) << libraryfile::summary(file.problems);
    libraryReaderHandle_t reader = getLibraryReader(db.path, nullptr);
    size_t compared = 0;
    while (std::shared_ptr<LibraryAccess> library = reader->getNext()) {
        const hostmodel::Library stored = readStoredLibrary(*library);
        auto same = std::find_if(file.libraries.begin(), file.libraries.end(),
                                 [&](const hostmodel::Library &read) { return read.name == stored.name; });
        ASSERT_NE(same, file.libraries.end()) << stored.name;
        EXPECT_FALSE(stored.parts.empty()) << stored.name;
        EXPECT_TRUE(stored == *same) << stored.name;
        ++compared;
    }
    EXPECT_EQ(compared, file.libraries.size());
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryExportTest, ::testing::ValuesIn(txdbtest::testEngines()));

TEST(RefusedDataTest, TextThatIsNotUtf8APartOfAnotherLibrarysFolderAndFoldersOfOneName) {
    txdbtest::SampleDatabase db("SQLite");
    const auto refusal = [&db] {
        return txdbtest::thrownMessage([&db] {
            std::ostringstream out;
            exportLibraries(db.path, out);
        });
    };
    db.exec("UPDATE [Parts] SET [Description]='caf\xE9' WHERE [ID]=3;");
    const std::string notUtf8 = refusal();
    EXPECT_NE(notUtf8.find("The text \"caf\\xE9\" of library Demo, part "), std::string::npos) << notUtf8;
    EXPECT_NE(notUtf8.find("is not valid UTF-8"), std::string::npos) << notUtf8;

    db.exec("UPDATE [Parts] SET [Description]=NULL WHERE [ID]=3;");
    db.exec("INSERT INTO [Library] VALUES (800,'Zother',1,NULL);");
    db.exec("INSERT INTO [Hierarchy] VALUES (801,800,'Elsewhere',NULL);");
    const std::string moved = db.texts("SELECT [Name] FROM [Parts] WHERE [ID]=3;").at(0);
    db.exec("UPDATE [Parts] SET [Hierarchy_ID]=801 WHERE [ID]=3;");
    EXPECT_EQ(refusal(), "Part " + moved + " of library Demo is filed in a folder of another library");

    db.exec("UPDATE [Parts] SET [Hierarchy_ID]=(SELECT [Hierarchy_ID] FROM [Parts] WHERE [ID]=4) WHERE [ID]=3;");
    db.exec("INSERT INTO [Hierarchy] VALUES (900,1,'Obsolete',NULL);");
    EXPECT_EQ(refusal(), "Library Demo has two folders named \"Obsolete\" in its top level; a library file "
                         "tells folders apart by their path");
}

// A database without the unique key of part names may hold two parts of
// one name in two folders of a library: the folder that lists it first
// keeps it, and only that folder counts it. Every other part keeps its own
// folder, however large the table of names has grown.
TEST(LibraryFoldersTest, EachPartInItsFolderAndANameOfTwoFoldersInTheFirst) {
    SampleOptions options;
    options.parts = 3000;
    txdbtest::SampleDatabase db("SQLite", options);
    const std::vector<std::string> names = db.texts("SELECT [Name] FROM [Parts] ORDER BY [ID];");
    const std::vector<int> folderOf = db.ints("SELECT [Hierarchy_ID] FROM [Parts] ORDER BY [ID];");
    // Two top folders listed in the order of their names; the part in the
    // second has the lower ID.
    db.exec("DROP INDEX [PartsUnique];");
    db.exec("INSERT INTO [Hierarchy] VALUES (990010,1,'AAA first',NULL),(990020,1,'AAB second',NULL);");
    for (const std::string folder : {"990020", "990010"})
        db.exec("INSERT INTO [Parts] ([ID],[Library_ID],[Part_def_ID],[Hierarchy_ID],[Name]) SELECT " + folder +
                "+1,[Library_ID],[Part_def_ID]," + folder + ",'TWICE' FROM [Parts] WHERE [ID]=1;");

    LibraryFolders folders(*db.library(), "Demo");
    EXPECT_EQ(folders.folderOfPart("TWICE"), 990010);
    EXPECT_EQ(folders.partsIn(990010), 1);
    EXPECT_EQ(folders.partsIn(990020), 0);
    ASSERT_EQ(names.size(), folderOf.size());
    std::unordered_map<int, int> counts;
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(folders.folderOfPart(names[i]), folderOf[i]) << names[i];
        ++counts[folderOf[i]];
    }
    for (const auto &[folder, count] : counts)
        EXPECT_EQ(folders.partsIn(folder), count) << folder;
    EXPECT_EQ(txdbtest::thrownMessage([&] { folders.folderOfPart("no such part"); }),
              "Part no such part of library Demo is filed in a folder of another library");
}

// ---- partlib export, the program --------------------------------------------

using txdbtest::ProgramRun;
using txdbtest::readFile;
using txdbtest::runPartlib;

// A SQLite file with a sample library of 3000 parts, and an empty folder.
class ExportCommandTest : public ::testing::Test {
protected:
    ExportCommandTest()
        : db("SQLite", manyParts()), file(db.init.substr(db.init.find('=', db.init.find("Data Source")) + 1)) {
        folder = txdbtest::tempFile("-export");
        std::filesystem::create_directory(folder);
        target = folder + "/demo.json";
    }
    static SampleOptions manyParts() {
        SampleOptions options;
        options.parts = 3000;
        return options;
    }
    std::vector<std::string> filesInFolder() {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    txdbtest::SampleDatabase db;
    std::string file, folder, target;
};

TEST_F(ExportCommandTest, WritesTheLibraryFileToStandardOutputOrAFile) {
    const std::string expected = exportToString(db.path);
    ProgramRun toOutput = runPartlib({"export", file});
    EXPECT_EQ(toOutput.status, 0) << toOutput.errors;
    EXPECT_EQ(toOutput.output, expected);
    // The sample's 50-byte signals arrive whole, so nothing is said (and no
    // progress bar is drawn when standard error is no terminal).
    ASSERT_GT(db.ints("SELECT COUNT(*) FROM [Pin_Data] WHERE LENGTH([Signal]) = 50").at(0), 0);
    EXPECT_EQ(toOutput.errors, "");

    ProgramRun toFile = runPartlib({"export", file, "Demo", "-o", target});
    EXPECT_EQ(toFile.status, 0) << toFile.errors;
    EXPECT_EQ(toFile.output, "");
    EXPECT_EQ(readFile(target), expected);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"demo.json"}) << "no temporary file left";

    if (!std::filesystem::exists("/usr/bin/script"))
        GTEST_SKIP() << "script(1) is needed to run partlib on a terminal";
    // script runs the program on a new terminal and copies what it shows.
    ProgramRun onTerminal = txdbtest::runShell(
        "script -qec " + txdbtest::shellQuoted(txdbtest::partlibCommand({"export", file, "-o", target})) +
        " /dev/null");
    EXPECT_EQ(onTerminal.status, 0) << onTerminal.errors;
    EXPECT_NE(onTerminal.output.find("\rExporting Demo [......"), std::string::npos) << onTerminal.output;
    EXPECT_NE(onTerminal.output.find("\rExporting Demo [##############################] 100% (3300/3300)"),
              std::string::npos)
        << onTerminal.output;
    EXPECT_EQ(readFile(target), expected);
}

TEST_F(ExportCommandTest, FailuresLeaveFilesAsTheyWere) {
    std::ofstream(target) << "previous content\n";
    ProgramRun unknown = runPartlib({"export", file, "Demo", "Nonesuch", "-o", target});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.errors, "No library named \"Nonesuch\" in the database\n");
    EXPECT_EQ(readFile(target), "previous content\n");
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"demo.json"}) << "no temporary file left";

    ProgramRun missing = runPartlib({"export", folder + "/none.db"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors, "No such database file: " + folder + "/none.db\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/none.db")) << "the file is not created";

    const std::string other = txdbtest::freshDatabase("SQLite");
    CTraxDBPath(other.c_str(), CTraxDBPath::SchemaCheck::Skip).execute("CREATE TABLE [Other] ([ID] INTEGER);");
    ProgramRun noLibrary = runPartlib({"export", other});
    EXPECT_EQ(noLibrary.status, 1);
    EXPECT_EQ(noLibrary.errors, "The database holds no part library of the current version (see partlib info)\n");

    ProgramRun noFolder = runPartlib({"export", file, "-o", folder + "/no/dir/out.json"});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.errors.find("Cannot create " + folder + "/no/dir/out.json: "), std::string::npos)
        << noFolder.errors;
}

TEST_F(ExportCommandTest, UnsafeTargetsAreRefusedBeforeAnythingIsWritten) {
    const std::string database = readFile(file);
    const std::string protectedFile = folder + "/protected.json";
    std::ofstream(protectedFile) << "kept\n";
    std::filesystem::permissions(protectedFile, std::filesystem::perms::owner_read);
    // The database under another name: a path through its folder and a hard link.
    const std::string otherSpelling = folder + "/../" + std::filesystem::path(file).filename().string();
    const std::string link = folder + "/link.db";
    std::filesystem::create_hard_link(file, link);
    const std::pair<std::string, std::string> cases[] = {
        {file, "Refusing to write " + file + ": it is the database being read\n"},
        {otherSpelling, "Refusing to write " + otherSpelling + ": it is the database being read\n"},
        {link, "Refusing to write " + link + ": it is the database being read\n"},
        {protectedFile, "Refusing to replace " + protectedFile + ": it is write-protected\n"},
        {folder, "Cannot write " + folder + ": it is a directory\n"},
        {"/dev/full", "Cannot write /dev/full: No space left on device\n"},
        {"", "-o needs a file name (- for standard output)\n"},
    };
    for (const auto &[target, message] : cases) {
        ProgramRun run = runPartlib({"export", file, "-o", target});
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_EQ(run.errors, message);
    }
    EXPECT_EQ(readFile(file), database);
    EXPECT_EQ(readFile(protectedFile), "kept\n");
    std::vector<std::string> names = filesInFolder();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"link.db", "protected.json"})) << "no temporary file left";
}

TEST_F(ExportCommandTest, ReplacedFilesKeepModeAndGroupDevicesAndFifosAreWrittenInPlace) {
    const std::string expected = exportToString(db.path);
    std::ofstream(target) << "old\n";
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const gid_t group = ::getegid() == 0 ? 1 : ::getegid(); // root can hand the file to the daemon group
    ASSERT_EQ(::chown(target.c_str(), static_cast<uid_t>(-1), group), 0);
    ProgramRun replaced = runPartlib({"export", file, "-o", target});
    EXPECT_EQ(replaced.status, 0) << replaced.errors;
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_gid, group);
    EXPECT_EQ(readFile(target), expected);

    ProgramRun dash = runPartlib({"export", file, "-o", "-"});
    EXPECT_EQ(dash.status, 0) << dash.errors;
    EXPECT_EQ(dash.output, expected);

    ProgramRun null = runPartlib({"export", file, "-o", "/dev/null"});
    EXPECT_EQ(null.status, 0) << null.errors;
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "/dev/null is still the device";

    const std::string fifo = folder + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ProgramRun throughFifo =
        txdbtest::runShell("cat " + fifo + " & " + txdbtest::partlibCommand({"export", file, "-o", fifo}) + "; wait");
    EXPECT_EQ(throughFifo.status, 0) << throughFifo.errors;
    EXPECT_EQ(throughFifo.output, expected) << "the reader gets the export";
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    std::vector<std::string> names = filesInFolder();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"demo.json", "fifo"})) << "no temporary file left";
}

TEST_F(ExportCommandTest, SignalsEndTheExportWithoutATemporaryFile) {
    const std::string expected = exportToString(db.path);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::freopen("/dev/null", "w", stderr);
            const std::string program = std::string(TXDB_BINARY_DIR) + "/partlib";
            ::execl(program.c_str(), program.c_str(), "export", file.c_str(), "-o", target.c_str(), nullptr);
            ::_exit(127);
        }
        // The signal comes once the temporary file is there.
        for (int wait = 0; wait < 20000; ++wait) {
            std::vector<std::string> names = filesInFolder();
            if (std::any_of(names.begin(), names.end(),
                            [](const std::string &name) { return name.rfind("demo.json.", 0) == 0; }))
                break;
            ::usleep(500);
        }
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + signal) << signal << ": " << status;
        std::vector<std::string> names = filesInFolder();
        EXPECT_TRUE(names.empty() || names == std::vector<std::string>{"demo.json"}) << "no temporary file left";
        if (!names.empty()) { // the signal came after the file was complete
            EXPECT_EQ(readFile(target), expected);
        }
        std::filesystem::remove(target);
    }
}

} // namespace
