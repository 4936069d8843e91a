// partlib libraries, tree, parts, show and report, run as the built program
// on a SQLite file holding two sample libraries. What the program prints is
// checked against plain SQL on the same file.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using nlohmann::json;

namespace {

using txdbtest::ProgramRun;
using txdbtest::readFile;

using Rows = std::vector<std::vector<std::string>>;

// An RFC 4180 reader: quoted fields may hold commas, quotes and line breaks.
Rows parseCsv(const std::string &text) {
    Rows rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(row.empty() && field.empty() && !quoted) << "CSV must end with CRLF";
    return rows;
}

const char *const HOSTILE_NAME = "Demo-R [SMD] 'Ohm' \\ test";
const char *const HOSTILE_DESCRIPTION = "'; DROP TABLE [Parts]; -- 100% [sic] \\n";

class ReadCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = txdbtest::tempDirectory();
        file = txdbtest::tempFile();
        ASSERT_EQ(partlib({"init", file}).status, 0);
        CTraxDBPath path(("Provider=SQLite;Data Source=" + file).c_str());
        writeSampleLibrary(path, SampleOptions());
        SampleOptions other;
        other.libraryName = "Other";
        other.parts = 20;
        other.firstId = 1000;
        other.hostileNames = false;
        writeSampleLibrary(path, other);
    }

    static ProgramRun partlib(const std::vector<std::string> &arguments, const std::string &environment = "") {
        return txdbtest::runShell("cd " + txdbtest::shellQuoted(folder) + " && " + environment + " " +
                                  txdbtest::partlibCommand(arguments));
    }

    // Runs the command, which must succeed, and returns its output.
    static std::string output(const std::vector<std::string> &arguments) {
        ProgramRun run = partlib(arguments);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.errors, "");
        return run.output;
    }

    // The CSV rows of a command, header first.
    static Rows csv(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--format", "csv"});
        return parseCsv(output(arguments));
    }

    static json jsonOf(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--format", "json"});
        return json::parse(output(arguments));
    }

    // The rows of a query run on the file with SQLite itself.
    static Rows sql(const std::string &query) {
        sqlite3 *db = nullptr;
        Rows rows;
        EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt *statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const unsigned char *value = sqlite3_column_text(statement, c);
                row.push_back(value ? reinterpret_cast<const char *>(value) : "");
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return rows;
    }

    // The first row whose first field is `name`.
    static Rows::const_iterator rowNamed(const Rows &rows, const std::string &name) {
        return std::find_if(rows.begin(), rows.end(), [&](const auto &row) { return row[0] == name; });
    }

    // The part names in a parts listing (CSV rows without the header).
    static std::vector<std::string> names(const Rows &rows) {
        std::vector<std::string> result;
        for (size_t r = 1; r < rows.size(); ++r)
            result.push_back(rows[r][0]);
        return result;
    }

    static std::vector<std::string> sqlNames(const std::string &condition) {
        std::vector<std::string> result;
        for (const auto &row : sql("SELECT Name FROM Parts WHERE Library_ID = 1 AND " + condition + " ORDER BY Name"))
            result.push_back(row[0]);
        return result;
    }

    static std::string folder;
    static std::string file;
};

std::string ReadCommandsTest::folder;
std::string ReadCommandsTest::file;

TEST_F(ReadCommandsTest, LibrariesAreListedAndFilteredByAPattern) {
    Rows all = csv({"libraries", file});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0], (std::vector<std::string>{"Name", "ID", "Enabled", "Comment"}));
    EXPECT_EQ(all[1], (std::vector<std::string>{"Demo", "1", "yes", "Sample library of Demo"}));
    EXPECT_EQ(all[2][0], "Other");

    json other = jsonOf({"libraries", file, "--name", "O%"});
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0]["name"], "Other");
    EXPECT_EQ(other[0]["id"], 1000);
    EXPECT_EQ(other[0]["enabled"], true);

    EXPECT_EQ(csv({"libraries", file, "--name", "Nothing%"}).size(), 1u) << "the header alone";
    EXPECT_NE(output({"libraries", file}).find("Demo      1  yes      Sample library of Demo\n"), std::string::npos);
}

TEST_F(ReadCommandsTest, TreeShowsEveryFolderWithItsOwnPartCount) {
    json tree = jsonOf({"tree", file, "Demo"});
    size_t folders = 0, parts = 0;
    std::function<void(const json &, const std::string &)> walk = [&](const json &level, const std::string &parent) {
        for (const json &node : level) {
            ++folders;
            parts += node["parts"].get<size_t>();
            const std::string id = std::to_string(node["id"].get<int>());
            EXPECT_EQ(sql("SELECT Name, Parent_ID FROM Hierarchy WHERE ID = " + id),
                      (Rows{{node["name"].get<std::string>(), parent}}));
            EXPECT_EQ(node["parts"], std::stoul(sql("SELECT Count(*) FROM Parts WHERE Hierarchy_ID = " + id)[0][0]))
                << node["name"];
            walk(node["folders"], id);
        }
    };
    walk(tree, "");
    EXPECT_EQ(folders, 20u);
    EXPECT_EQ(parts, 300u);

    std::string text = output({"tree", file, "Demo"});
    EXPECT_NE(text.find("\n    Resistors (0)\n      SMD ("), std::string::npos) << text;
    Rows flat = csv({"tree", file, "Demo"});
    EXPECT_EQ(flat.size(), 21u);
    EXPECT_NE(
        std::find_if(flat.begin(), flat.end(),
                     [](const std::vector<std::string> &row) { return row[0] == "root\\Passives\\Resistors\\SMD"; }),
        flat.end());
}

TEST_F(ReadCommandsTest, PartsListEveryPartByNameWithFolderAndDefinition) {
    Rows rows = csv({"parts", file, "Demo"});
    ASSERT_EQ(rows.size(), 301u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Name", "Number", "Description", "Version", "Folder", "Definition"}));
    EXPECT_EQ(names(rows), sqlNames("1 = 1"));

    Rows expected = sql("SELECT p.Name, IFNULL(p.Part_number, ''), IFNULL(p.Description, ''), "
                        "IFNULL(p.Part_version, ''), d.Name FROM Parts p JOIN Part_Definition d "
                        "ON d.ID = p.Part_def_ID WHERE p.Name = 'Demo-R1-10k-R0603'");
    ASSERT_EQ(expected.size(), 1u);
    auto row = rowNamed(rows, "Demo-R1-10k-R0603");
    ASSERT_NE(row, rows.end());
    EXPECT_EQ(*row, (std::vector<std::string>{expected[0][0], expected[0][1], expected[0][2], expected[0][3],
                                              "Passives\\Resistors\\SMD", expected[0][4]}));
    EXPECT_EQ(jsonOf({"parts", file, "Other"}).size(), 20u);
}

// A folder's parts include its sub-folders; where clauses combine with and,
// or with any.
TEST_F(ReadCommandsTest, FoldersAndWhereClausesSelectTheirParts) {
    const std::string component = "Part_def_ID IN (SELECT ID FROM Part_Definition WHERE PCB_component_name = 'SO14')";
    const std::string resistors = "Hierarchy_ID IN (SELECT ID FROM Hierarchy WHERE Library_ID = 1 AND Name IN "
                                  "('SMD', 'THT'))";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--folder", "Passives/Resistors"}, resistors},
        {{"--folder", "root\\Passives\\Resistors"}, resistors},
        {{"--folder", "Passives/Resistors/SMD"},
         "Hierarchy_ID = (SELECT ID FROM Hierarchy WHERE Library_ID = 1 AND Name = 'SMD')"},
        {{"--where", "Part Name like Demo-R1%"}, "Name LIKE 'Demo-R1%'"},
        {{"--where", "Version >= 2", "--where", "Number notlike %7"},
         "Part_version >= 2 AND Part_number NOT LIKE '%7'"},
        {{"--where", "Component = SO14", "--where", "Version = 1"}, component + " AND Part_version = 1"},
        {{"--where", "Component = SO14", "--where", "Version = 1", "--any"}, "(" + component + " OR Part_version = 1)"},
        {{"--where", "attr:Manufacturer = Acme"},
         "Part_def_ID IN (SELECT Part_def_ID FROM Attributes WHERE Name = 'Manufacturer' AND Attribute_value = "
         "'Acme')"},
        {{"--where", "Symbol = NANDB"}, "Part_def_ID IN (SELECT Part_def_ID FROM Gate WHERE Name = 'NANDB')"},
        {{"--where", "Number ="}, "Part_number IS NULL"},
    };
    for (const auto &[clauses, condition] : cases) {
        std::vector<std::string> arguments = {"parts", file, "Demo"};
        arguments.insert(arguments.end(), clauses.begin(), clauses.end());
        EXPECT_EQ(names(csv(arguments)), sqlNames(condition)) << condition;
    }
}

TEST_F(ReadCommandsTest, HostileValuesFindExactlyTheirPartsAndChangeNothing) {
    const Rows before = sql("SELECT Count(*), Sum(ID) FROM Parts");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {std::string("Description = ") + HOSTILE_DESCRIPTION, {HOSTILE_NAME}},
        {std::string("Part Name = ") + HOSTILE_NAME, {HOSTILE_NAME}},
        {"Part Name = x'; DROP TABLE [Parts]; --", {}},
        {"Description like %' OR '1'='1", {}},
    };
    for (const auto &[clause, expected] : cases)
        EXPECT_EQ(names(csv({"parts", file, "Demo", "--where", clause})), expected) << clause;
    EXPECT_EQ(sql("SELECT Count(*), Sum(ID) FROM Parts"), before);

    json shown = jsonOf({"show", file, "Demo", HOSTILE_NAME});
    EXPECT_EQ(shown["part"]["description"], HOSTILE_DESCRIPTION);
}

TEST_F(ReadCommandsTest, BadWhereClausesAreRefusedBeforeAnyQuery) {
    struct Case {
        const char *clause;
        const char *message;
    };
    const Case cases[] = {
        {"Colour = red", "unknown field \"Colour\""},
        {"part name = x", "unknown field \"part name\""},
        {"Version = two", "value \"two\" of the numeric field \"Version\" is not an integer"},
        {"Max. Pin > 1.5", "is not an integer"},
        {"Version ~ 2", "no operator"},
        {"= 2", "no field before the operator"},
        {"attr: = x", "no attribute name"},
    };
    for (const Case &each : cases) {
        ProgramRun run = partlib({"parts", file, "Demo", "--where", each.clause}, "TXDBLOGGER=FINEST");
        EXPECT_EQ(run.status, 1) << each.clause;
        EXPECT_EQ(run.output, "") << each.clause;
        EXPECT_NE(run.errors.find(each.message), std::string::npos) << each.clause << ": " << run.errors;
    }
    size_t logs = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        if (name.rfind("txdb_", 0) != 0)
            continue;
        ++logs;
        const std::string log = readFile(entry.path());
        EXPECT_NE(log.find("CTraxPartFilterVisitor"), std::string::npos) << "the filter was walked";
        EXPECT_EQ(log.find("[Parts]"), std::string::npos) << name;
    }
    EXPECT_GT(logs, 0u) << "TXDBLOGGER writes a log file";
}

TEST_F(ReadCommandsTest, ShowGivesThePartWithEveryDetailOfItsDefinition) {
    // A part on a four-gate definition with swaps, equivalences and attributes.
    Rows chosen =
        sql("SELECT p.Name, d.ID, d.Name FROM Parts p JOIN Part_Definition d ON d.ID = p.Part_def_ID "
            "WHERE p.Library_ID = 1 AND d.ID IN (SELECT Part_def_ID FROM Gate_Equiv) ORDER BY p.Name LIMIT 1");
    ASSERT_EQ(chosen.size(), 1u);
    const std::string name = chosen[0][0], defId = chosen[0][1];

    json shown = jsonOf({"show", file, "Demo", name});
    EXPECT_EQ(shown["part"]["name"], name);
    EXPECT_EQ(shown["part"]["folder"], "Logic\\74HC");
    EXPECT_EQ(shown["definition"]["name"], chosen[0][2]);
    EXPECT_EQ(shown["definition"]["pcbComponentName"], "SO14");

    Rows pins = sql("SELECT Pin_identifier FROM Pin_Data WHERE Part_def_ID = " + defId + " ORDER BY ID");
    ASSERT_EQ(shown["pins"].size(), pins.size());
    for (size_t i = 0; i < pins.size(); ++i)
        EXPECT_EQ(shown["pins"][i]["identifier"], pins[i][0]);

    Rows gates = sql("SELECT ID, Name FROM Gate WHERE Part_def_ID = " + defId + " ORDER BY ID");
    ASSERT_EQ(shown["gates"].size(), gates.size());
    for (size_t g = 0; g < gates.size(); ++g) {
        EXPECT_EQ(shown["gates"][g]["name"], gates[g][1]);
        json linked = json::array();
        for (const auto &row : sql("SELECT p.Pin_identifier FROM Gate_has_Pin_Data l JOIN Pin_Data p ON "
                                   "p.ID = l.Pin_data_ID WHERE l.Gate_ID = " +
                                   gates[g][0] + " ORDER BY l.ID"))
            linked.push_back(row[0]);
        EXPECT_EQ(shown["gates"][g]["pins"], linked) << "pins in link order";
    }

    Rows members = sql("SELECT m.ID FROM Gate_Equiv_Gate m JOIN Gate_Equiv s ON s.ID = m.Gate_equiv_ID WHERE "
                       "s.Part_def_ID = " +
                       defId + " ORDER BY m.ID");
    ASSERT_EQ(shown["gateSwaps"].size(), members.size());
    EXPECT_EQ(shown["gateSwaps"][0]["name"], "NAND_SWAP");
    EXPECT_EQ(shown["gateSwaps"][0]["pins"], shown["gates"][0]["pins"]);

    const size_t equivalences = std::stoul(sql("SELECT Count(*) FROM Pin_Equiv WHERE Part_def_ID = " + defId)[0][0]);
    ASSERT_EQ(shown["pinEquivalences"].size(), equivalences);
    EXPECT_EQ(shown["pinEquivalences"][0]["pins"].size(), 2u);

    Rows attributes =
        sql("SELECT Name, Attribute_value FROM Attributes WHERE Part_def_ID = " + defId + " ORDER BY Name");
    ASSERT_EQ(shown["attributes"].size(), attributes.size());
    EXPECT_EQ(shown["attributes"][0]["name"], attributes[0][0]);
    EXPECT_EQ(shown["attributes"][0]["value"], attributes[0][1]);

    std::string text = output({"show", file, "Demo", name});
    for (const char *heading : {"Part\nName", "\nDefinition\nName", "\nPins (12)\n", "\nPin equivalence groups (4)\n",
                                "\nGates (4)\n", "\nGate swaps (4)\n", "\nAttributes ("})
        EXPECT_NE(text.find(heading), std::string::npos) << heading << "\n" << text;
}

TEST_F(ReadCommandsTest, UnknownNamesGiveAClearMessage) {
    const std::string other = txdbtest::tempFile();
    CTraxDBPath(("Provider=SQLite;Data Source=" + other).c_str(), CTraxDBPath::SchemaCheck::Skip)
        .execute("CREATE TABLE [Other] ([ID] INTEGER);");
    struct Case {
        std::vector<std::string> arguments;
        const char *message;
    };
    const std::vector<Case> cases = {
        {{"show", file, "Demo", "No such part"}, "No part named \"No such part\" in library Demo"},
        {{"tree", file, "Nope"}, "No library named \"Nope\""},
        {{"parts", file, "Demo", "--folder", "Passives/Nothing"}, "No folder \"Passives\\Nothing\" in library Demo"},
        {{"report", file, "Nope"}, "No library named \"Nope\""},
        {{"libraries", other}, "holds no part library of the current version (see partlib info"},
    };
    for (const Case &each : cases) {
        ProgramRun run = partlib(each.arguments);
        EXPECT_EQ(run.status, 1) << each.message;
        EXPECT_NE(run.errors.find(each.message), std::string::npos) << run.errors;
    }

    // An initialisation string is never repeated: it may hold a password.
    const std::string secret = "Provider=SQLite;Data Source=" + other + ";Password=hunter2";
    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"libraries", secret}, std::vector<std::string>{"tree", secret, "Demo"},
          std::vector<std::string>{"export", secret}}) {
        ProgramRun run = partlib(arguments);
        EXPECT_EQ(run.status, 1) << arguments[0];
        EXPECT_NE(run.errors.find("The database holds no part library"), std::string::npos) << run.errors;
        EXPECT_EQ((run.errors + run.output).find("hunter2"), std::string::npos) << run.errors;
    }
}

TEST_F(ReadCommandsTest, ReportListsPartsWithComponentAndFolderPath) {
    Rows rows = csv({"report", file, "Demo"});
    ASSERT_EQ(rows.size(), 301u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"Name", "Number", "Description", "Version", "PCB component", "Folder"}));
    auto row = rowNamed(rows, "Demo-R1-10k-R0603");
    ASSERT_NE(row, rows.end());
    EXPECT_EQ((*row)[4], "R0603");
    EXPECT_EQ((*row)[5], "Passives\\Resistors\\SMD");

    // Sorted: by folder path byte by byte, then by natural name order.
    Rows sorted = csv({"report", file, "Demo", "--sorted"});
    ASSERT_EQ(sorted.size(), 301u);
    for (size_t r = 2; r < sorted.size(); ++r)
        EXPECT_LE(sorted[r - 1][5], sorted[r][5]) << r;
    EXPECT_LT(rowNamed(sorted, "Demo-R12-10k-R0603"), rowNamed(sorted, "Demo-R102-1M-R0603")) << "natural order";
    EXPECT_GT(rowNamed(rows, "Demo-R12-10k-R0603"), rowNamed(rows, "Demo-R102-1M-R0603")) << "byte order unsorted";

    std::string html = output({"report", file, "Demo", "--format", "html"});
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<td>Demo-R [SMD] &#39;Ohm&#39; \\ test</td>"), std::string::npos);
    EXPECT_EQ(jsonOf({"report", file, "Other"}).size(), 20u);
}

} // namespace
