// One meaning of every filter, of unique names and of the command output on
// every engine: the sample library plus a few parts whose names differ only
// in case, trailing blanks, wildcard characters, backslashes, quotes and
// non-ASCII letters, read through the filters on each engine that the test
// run offers, and partlib's output compared byte for byte with SQLite's.

#include "ctraxdbpartlib/filters/CTraxDBFilterVisitor.h"
#include "interface/PartLibInterface.h"
#include "tests/support/FilterTree.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using txdbtest::namesOf;
using txdbtest::readAll;
using txdbtest::SampleDatabase;

namespace {

// The part number that marks the added parts, so that a filter can be
// limited to them.
const char *const ADDED = "added";
const std::vector<std::string> addedNames = {
    "Case-R1",     "case-r1",   "CASE-R1", "Case-R1 ",  "Wild_1",    "WildX1",    "Wild%1",
    "Back\\slash", "Backslash", "Quote'd", "Ünïcode-é", "ünïcode-É", "Ünïcode-e",
};

std::string literal(const std::string &text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

// The added parts, on the sample's first definition and folder, and a
// second library whose name differs from the sample's only in case.
void addParts(SampleDatabase &db) {
    int id = 100000;
    for (const std::string &name : addedNames)
        db.exec("INSERT INTO [Parts] ([ID],[Library_ID],[Part_def_ID],[Hierarchy_ID],[Name],[Part_number]) VALUES (" +
                std::to_string(++id) + ",1,1,1," + literal(name) + ",'" + ADDED + "');");
    db.exec("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (2,'demo',1);");
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class EngineAgreementTest : public ::testing::TestWithParam<std::string> {
protected:
    SampleDatabase &db = txdbtest::sharedSample(GetParam(), addParts);

    // The added parts that meet the comparison, in byte order.
    std::vector<std::string> addedParts(int type, const std::string &value) {
        auto filter =
            partGroup(FILTER_AND, 0, {part("Number", 1, FILTER_EQUAL, ADDED), part("Part Name", 1, type, value)});
        return sorted(namesOf(readAll(db.library()->getPartReader(filter, 0))));
    }
};

TEST_P(EngineAgreementTest, PartNameFiltersMeetTheSameParts) {
    struct Case {
        int type;
        std::string value;
        std::vector<std::string> expected; // in byte order
    };
    const Case cases[] = {
        // = and <> compare every byte: case and trailing blanks count.
        {FILTER_EQUAL, "Case-R1", {"Case-R1"}},
        {FILTER_EQUAL, "case-r1", {"case-r1"}},
        {FILTER_EQUAL, "Case-R1 ", {"Case-R1 "}},
        {FILTER_EQUAL, "CASE-r1", {}},
        {FILTER_NOT_EQUAL,
         "Case-R1",
         {"Back\\slash", "Backslash", "CASE-R1", "Case-R1 ", "Quote'd", "Wild%1", "WildX1", "Wild_1", "case-r1",
          "Ünïcode-e", "Ünïcode-é", "ünïcode-É"}},
        {FILTER_EQUAL, "Quote'd", {"Quote'd"}},
        {FILTER_EQUAL, "Ünïcode-é", {"Ünïcode-é"}},
        // Order comparisons follow the bytes (upper case before lower case).
        {FILTER_LESS, "Case-R1", {"Back\\slash", "Backslash", "CASE-R1"}},
        {FILTER_GREATER_EQUAL, "ü", {"ünïcode-É"}},
        // like tells case too; % and _ are the only wildcards, _ is one character.
        {FILTER_LIKE, "case%", {"case-r1"}},
        {FILTER_LIKE, "Case-R1", {"Case-R1"}},
        {FILTER_LIKE, "Case-R1%", {"Case-R1", "Case-R1 "}},
        {FILTER_LIKE, "Wild_1", {"Wild%1", "WildX1", "Wild_1"}},
        {FILTER_LIKE, "%[_]%", {}},
        {FILTER_LIKE, "Ünïcode-_", {"Ünïcode-e", "Ünïcode-é"}},
        {FILTER_LIKE, "ünïcode%", {"ünïcode-É"}},
        {FILTER_LIKE, "%'%", {"Quote'd"}},
        {FILTER_NOT_LIKE, "%e%", {"Back\\slash", "Backslash", "CASE-R1", "Wild%1", "WildX1", "Wild_1"}},
        // A backslash is an ordinary character, not an escape.
        {FILTER_LIKE, "Back\\slash", {"Back\\slash"}},
        {FILTER_LIKE, "Back\\%", {"Back\\slash"}},
        {FILTER_LIKE, "Wild\\_1", {}},
        {FILTER_LIKE, "%\\%", {"Back\\slash"}},
        {FILTER_EQUAL, "Back\\slash", {"Back\\slash"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(addedParts(c.type, c.value), c.expected) << GetParam() << ": type " << c.type << " " << c.value;
}

TEST_P(EngineAgreementTest, LibraryNamesFollowTheSameRule) {
    const std::pair<Node<LibFilter>, std::vector<std::string>> cases[] = {
        {lib(FILTER_EQUAL, "Demo"), {"Demo"}},  {lib(FILTER_EQUAL, "demo"), {"demo"}},
        {lib(FILTER_LIKE, "dem%"), {"demo"}},   {lib(FILTER_LIKE, "_emo"), {"Demo", "demo"}},
        {lib(FILTER_NOT_LIKE, "D%"), {"demo"}}, {lib(FILTER_LIKE, "Dem\\%"), {}},
    };
    for (const auto &[filter, expected] : cases)
        EXPECT_EQ(sorted(namesOf(readAll(getLibraryReader(db.path, filter)))), expected) << GetParam();
}

TEST_P(EngineAgreementTest, UniqueNamesTellCaseAndBlanks) {
    // The added names already stand side by side; only the very same bytes clash.
    const auto inserted = [&](const std::string &name) {
        const std::string failure = txdbtest::thrownMessage(
            [&] { db.exec("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (3," + literal(name) + ",1);"); });
        db.exec("DELETE FROM [Library] WHERE [ID] = 3;");
        return failure == "<no exception>";
    };
    EXPECT_FALSE(inserted("Demo")) << "a second library of the same name";
    EXPECT_FALSE(inserted("demo"));
    EXPECT_TRUE(inserted("DEMO")) << "a name differing in case only is another name";
    EXPECT_TRUE(inserted("Demo ")) << "a trailing blank makes another name";
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineAgreementTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const auto &engine) { return engine.param; });

// partlib's output of a library, with the database's own string and name
// replaced by a placeholder.
std::string outputOn(const std::string &init, const std::vector<std::string> &arguments) {
    std::vector<std::string> full = {arguments[0], init};
    full.insert(full.end(), arguments.begin() + 1, arguments.end());
    txdbtest::ProgramRun run = txdbtest::runPartlib(full);
    EXPECT_EQ(run.status, 0) << arguments[0] << ": " << run.errors;
    std::string out = run.output;
    for (size_t at = out.find(init); at != std::string::npos; at = out.find(init, at))
        out.replace(at, init.size(), "<database>");
    return out;
}

TEST(EngineOutput, ShowReportAndExportGiveTheSameBytesOnEveryEngine) {
    const std::vector<std::vector<std::string>> commands = {
        {"show", "Demo", "Demo-U7-74HC00-SO14"},
        {"show", "Demo", "Demo-U7-74HC00-SO14", "--format", "json"},
        {"report", "Demo", "--sorted"},
        {"parts", "Demo", "--where", "Part Name like %\\%", "--format", "csv"},
        {"export", "Demo"},
    };
    std::map<std::string, std::vector<std::string>> outputs;
    for (const std::string &engine : txdbtest::testEngines()) {
        SampleDatabase db(engine);
        const std::string init = db.init;
        db.path.reset();
        for (const auto &command : commands)
            outputs[engine].push_back(outputOn(init, command));
    }
    const std::vector<std::string> &reference = outputs.at("SQLite");
    for (size_t i = 0; i < commands.size(); ++i)
        EXPECT_GT(reference[i].size(), 100u) << commands[i][0];
    for (const auto &[engine, output] : outputs)
        for (size_t i = 0; i < commands.size(); ++i)
            EXPECT_EQ(output[i], reference[i]) << engine << ": partlib " << commands[i][0];
}

} // namespace
