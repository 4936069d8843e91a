// partlib parts across every library of a database, with and without
// --ignore-case, on every engine; the names of the type codes in show; the
// suggestions of stored FILE:NAME forms.

#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// A one-gate definition with a pin of each given type and one swap member.
json definition(const std::string &name, const std::vector<int> &pinTypes) {
    json pins = json::array(), identifiers = json::array();
    for (size_t i = 0; i < pinTypes.size(); ++i) {
        const std::string id = std::to_string(i + 1);
        pins.push_back({{"identifier", id},
                        {"name", "P" + id},
                        {"label", nullptr},
                        {"position", int(i + 1)},
                        {"type", pinTypes[i]},
                        {"loading", nullptr},
                        {"signal", nullptr},
                        {"equivGroup", nullptr}});
        identifiers.push_back(id);
    }
    return {{"name", name},
            {"pcbComponentName", "SO14"},
            {"pcbAlternateName", nullptr},
            {"value", nullptr},
            {"componentNameStem", "U"},
            {"pspiceData", nullptr},
            {"maxConnectorPins", 0},
            {"gateSwapping", true},
            {"pinNumName", false},
            {"isFPGA", false},
            {"pins", pins},
            {"gates", json::array({{{"name", "G"}, {"altName", nullptr}, {"pins", identifiers}}})},
            {"gateSwaps", json::array({{{"name", "Units 1-1"},
                                        {"gates", json::array({{{"equivType", 0}, {"pins", identifiers}}})}}})},
            {"pinEquivalences", json::array()},
            {"attributes", json::array()}};
}

json part(const std::string &name, const std::string &description, const std::string &definition, int type = 1) {
    return {{"name", name},          {"number", nullptr},   {"description", description},
            {"pspiceData", nullptr}, {"version", 1},        {"acceptance", nullptr},
            {"type", type},          {"folder", {"Logic"}}, {"definition", definition}};
}

json library(const std::string &name, const json &definitions, const json &parts) {
    return {{"name", name},
            {"enabled", true},
            {"comment", nullptr},
            {"folders", json::array({{{"name", "Logic"}, {"folders", json::array()}}})},
            {"partDefinitions", definitions},
            {"parts", parts}};
}

// Two libraries as import-kicad leaves them: a name that two files hold
// stored as FILE:NAME, descriptions that differ in case only, and a pair of
// names that differ in the case of a letter outside ASCII.
std::string libraryFile() {
    const json document = {
        {"format", 1},
        {"libraries", json::array({library("4xxx", json::array({definition("CD4011", {1, 1, 2, 8})}),
                                           json::array({part("4xxx:4011", "Quad Nand 2 inputs", "CD4011"),
                                                        part("4xxx:4012", "Dual Nand 4 inputs", "CD4011"),
                                                        part("4023", "Triple NAND 3 inputs", "CD4011"),
                                                        part("4001", "Quad NOR 2 inputs", "CD4011")})),
                                   library("74xx", json::array({definition("SN74HC00", {1, 3, 9, 12, 40})}),
                                           json::array({part("74HC00", "quad NAND gate", "SN74HC00", 2),
                                                        part("Ärger", "Ä upper", "SN74HC00"),
                                                        part("ärger", "ä lower", "SN74HC00")}))})}};
    const std::string file = txdbtest::tempFile(".json");
    std::ofstream(file) << document.dump(2);
    return file;
}

class SearchTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        database = GetParam() == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(GetParam());
        ProgramRun imported = runPartlib({"import", database, libraryFile(), "--yes"});
        ASSERT_EQ(imported.status, 0) << imported.all();
    }

    // The (library, name) pairs a search prints as JSON.
    std::set<std::pair<std::string, std::string>> found(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"parts", database});
        arguments.insert(arguments.end(), {"--format", "json"});
        ProgramRun run = runPartlib(arguments);
        EXPECT_EQ(run.status, 0) << run.all();
        std::set<std::pair<std::string, std::string>> pairs;
        for (const json &row : json::parse(run.output.empty() ? "[]" : run.output))
            pairs.emplace(row.value("library", "(none)"), row["name"]);
        return pairs;
    }

    std::string database;
};

using Found = std::set<std::pair<std::string, std::string>>;

TEST_P(SearchTest, EveryLibraryIsSearchedAndNamedInItsColumn) {
    const Found nand = {{"4xxx", "4023"}, {"74xx", "74HC00"}};
    EXPECT_EQ(found({"--where", "Description like %NAND%"}), nand);
    EXPECT_EQ(found({"--all", "--where", "Description like %NAND%"}), nand);
    // One library named: its parts only, without the library column.
    EXPECT_EQ(found({"4xxx", "--where", "Description like %NAND%"}), Found({{"(none)", "4023"}}));

    ProgramRun text = runPartlib({"parts", database});
    ASSERT_EQ(text.status, 0) << text.all();
    EXPECT_EQ(text.output.rfind("Library  Name", 0), 0u) << text.output;
    // By library, then by name.
    EXPECT_LT(text.output.find("4xxx:4012"), text.output.find("74HC00"));
    EXPECT_LT(text.output.find("4001"), text.output.find("4023"));

    ProgramRun both = runPartlib({"parts", database, "4xxx", "--all"});
    EXPECT_EQ(both.status, 1);
    EXPECT_NE(both.errors.find("not both"), std::string::npos) << both.errors;
    ProgramRun folder = runPartlib({"parts", database, "--folder", "Logic"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.errors.find("--folder needs a LIBRARY"), std::string::npos) << folder.errors;
}

TEST_P(SearchTest, IgnoreCaseFoldsAsciiLettersTheSameOnEveryEngine) {
    EXPECT_EQ(found({"--ignore-case", "--where", "Description like %nand%"}),
              Found({{"4xxx", "4xxx:4011"}, {"4xxx", "4xxx:4012"}, {"4xxx", "4023"}, {"74xx", "74HC00"}}));
    EXPECT_EQ(found({"--where", "Description like %nand%"}), Found());
    EXPECT_EQ(found({"--ignore-case", "--where", "Part Name = 74hc00"}), Found({{"74xx", "74HC00"}}));
    EXPECT_EQ(found({"--ignore-case", "--where", "Description notlike %NaNd%", "--where", "Part Name <> 4001"}),
              Found({{"74xx", "Ärger"}, {"74xx", "ärger"}}));
    EXPECT_EQ(found({"4xxx", "--ignore-case", "--where", "Component = so14", "--where", "Symbol = g"}).size(), 4u);

    // Letters outside ASCII keep their case: Ä is not ä, whatever the
    // engine's own LOWER() would say.
    EXPECT_EQ(found({"--ignore-case", "--where", "Part Name = ÄRGER"}), Found({{"74xx", "Ärger"}}));
    EXPECT_EQ(found({"--ignore-case", "--where", "Description like ä%"}), Found({{"74xx", "ärger"}}));
    EXPECT_EQ(found({"--ignore-case", "--where", "Part Name like _RGER"}),
              Found({{"74xx", "Ärger"}, {"74xx", "ärger"}}));

    // Orderings keep the byte order with or without it.
    EXPECT_EQ(found({"--ignore-case", "--where", "Part Name >= 74hc"}), Found({{"74xx", "Ärger"}, {"74xx", "ärger"}}));

    ProgramRun libraries = runPartlib({"libraries", database, "--name", "4X%", "--ignore-case", "--format", "csv"});
    ASSERT_EQ(libraries.status, 0) << libraries.all();
    EXPECT_NE(libraries.output.find("\r\n4xxx,"), std::string::npos) << libraries.output;
    EXPECT_EQ(libraries.output.find("74xx"), std::string::npos) << libraries.output;
}

TEST_P(SearchTest, NamesNotFoundSuggestTheStoredFileAndNameForms) {
    ProgramRun search = runPartlib({"parts", database, "--where", "Part Name = 4011"});
    EXPECT_EQ(search.status, 0) << search.all();
    EXPECT_NE(search.errors.find("no part is named \"4011\"; did you mean \"4xxx:4011\""), std::string::npos)
        << search.errors;

    ProgramRun shown = runPartlib({"show", database, "4xxx", "4011"});
    EXPECT_EQ(shown.status, 1);
    EXPECT_NE(shown.errors.find("did you mean \"4xxx:4011\""), std::string::npos) << shown.errors;
    // A part of another library: that library is named.
    ProgramRun other = runPartlib({"show", database, "4xxx", "74HC00"});
    EXPECT_EQ(other.status, 1);
    EXPECT_NE(other.errors.find("No part named \"74HC00\" in library 4xxx; library 74xx holds it"), std::string::npos)
        << other.errors;
    // A close name of another library is offered too.
    ProgramRun elsewhere = runPartlib({"show", database, "4xxx", "74hc00"});
    EXPECT_EQ(elsewhere.status, 1);
    EXPECT_NE(elsewhere.errors.find("\"74HC00\"? (in another library"), std::string::npos) << elsewhere.errors;
}

INSTANTIATE_TEST_SUITE_P(Engines, SearchTest, ::testing::ValuesIn(txdbtest::testEngines()));

TEST(ShowCodes, TypesAreNamedInTextAndNumbersWithRawAndInJson) {
    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"import", database, libraryFile(), "--yes"}).status, 0);

    // The line of a text that starts with `start`.
    auto lineOf = [](const std::string &text, const std::string &start) {
        const size_t at = text.find("\n" + start);
        return at == std::string::npos ? std::string() : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
    };
    auto endsWith = [](const std::string &text, const std::string &end) {
        return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
    };
    ProgramRun text = runPartlib({"show", database, "74xx", "74HC00"});
    ASSERT_EQ(text.status, 0) << text.all();
    EXPECT_TRUE(endsWith(lineOf(text.output, "Part type"), " connector")) << text.output;
    // The pins' types end their lines (Loading and Signal are NULL).
    for (const char *name :
         {"  input\n", "  bidirectional\n", "  power output\n", "  not connected\n", "  swappable  "})
        EXPECT_NE(text.output.find(name), std::string::npos) << name << "\n" << text.output;
    // A code without a name stays a number.
    EXPECT_NE(text.output.find(" 40\n"), std::string::npos) << text.output;

    ProgramRun raw = runPartlib({"show", database, "74xx", "74HC00", "--raw"});
    ASSERT_EQ(raw.status, 0) << raw.all();
    EXPECT_EQ(raw.output.find("bidirectional"), std::string::npos) << raw.output;
    EXPECT_TRUE(endsWith(lineOf(raw.output, "Part type"), " 2")) << raw.output;
    EXPECT_NE(raw.output.find(" 3\n"), std::string::npos) << raw.output;

    ProgramRun shown = runPartlib({"show", database, "74xx", "74HC00", "--format", "json"});
    ASSERT_EQ(shown.status, 0) << shown.all();
    const json document = json::parse(shown.output);
    EXPECT_EQ(document["part"]["type"], 2);
    EXPECT_EQ(document["pins"][1]["type"], 3);
    EXPECT_EQ(document["gateSwaps"][0]["equivType"], 0);
    // The keys the library file spells.
    EXPECT_EQ(document["definition"]["pcbComponentName"], "SO14");
    EXPECT_EQ(document["definition"]["componentNameStem"], "U");
    EXPECT_EQ(document["gates"][0]["altName"], nullptr);
    EXPECT_TRUE(document.contains("pinEquivalences")) << shown.output;
    EXPECT_TRUE(document["part"].contains("pspiceData")) << shown.output;
}

} // namespace
