// The library file reader: one small valid document read into the model,
// then one row per problem (a change to that document, the place the
// problem is reported at, a fragment of the message); the checks against a
// database's names; and the import planner's states and counts.

#include "tools/libraryfile/LibraryFile.h"
#include "tools/libraryfile/LibrarySync.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <string>

namespace {

using json = nlohmann::json;
using libraryfile::readLibraryFile;

// Two libraries: Demo with a folder tree, one definition of two pins in one
// gate, one swap group and one equivalence group, and one part; Other with
// one part on its own definition.
json validDocument() {
    return json::parse(R"({
  "format": 1,
  "libraries": [
    {"name": "Demo", "enabled": true, "comment": null,
     "folders": [{"name": "Passives", "folders": [{"name": "Resistors", "folders": []}]}],
     "partDefinitions": [
       {"name": "RES_0603", "pcbComponentName": "R0603", "pcbAlternateName": null, "value": "10k",
        "componentNameStem": "R", "pspiceData": "", "maxConnectorPins": 0, "gateSwapping": false,
        "pinNumName": true, "isFPGA": false,
        "pins": [
          {"identifier": "1", "name": "A", "label": "Pin 1", "position": 1, "type": 1, "loading": null,
           "signal": null, "equivGroup": 0},
          {"identifier": "2", "name": "B", "label": "Pin 2", "position": 2, "type": 1, "loading": null,
           "signal": "S", "equivGroup": 0}],
        "gates": [{"name": "R", "altName": "", "pins": ["2", "1"]}],
        "gateSwaps": [{"name": "G", "gates": [{"equivType": 3, "pins": ["1"]}]}],
        "pinEquivalences": [{"pins": ["1", "2"]}],
        "attributes": [{"name": "Manufacturer", "value": "Acme", "usageType": 1, "readOnly": 0}]}],
     "parts": [
       {"name": "R1", "number": "RES-1", "description": "Résistance", "pspiceData": null, "version": 1,
        "acceptance": "", "type": 1, "folder": ["Passives", "Resistors"], "definition": "RES_0603"}]},
    {"name": "Other", "enabled": false, "comment": "x", "folders": [{"name": "Top", "folders": []}],
     "partDefinitions": [
       {"name": "OTHER_DEF", "pcbComponentName": "X", "pcbAlternateName": null, "value": null,
        "componentNameStem": null, "pspiceData": null, "maxConnectorPins": 2, "gateSwapping": true,
        "pinNumName": false, "isFPGA": true, "pins": [], "gates": [], "gateSwaps": [], "pinEquivalences": [],
        "attributes": []}],
     "parts": [
       {"name": "O1", "number": null, "description": null, "pspiceData": null, "version": null,
        "acceptance": null, "type": null, "folder": ["Top"], "definition": "OTHER_DEF"}]}]
})");
}

json &demo(json &document) {
    return document["libraries"][0];
}
json &definition(json &document) {
    return demo(document)["partDefinitions"][0];
}

TEST(LibraryFileReader, AValidDocumentIsReadIntoTheModel) {
    const libraryfile::LibraryFile file = readLibraryFile(validDocument().dump(2));
    ASSERT_TRUE(file.problems.empty()) << libraryfile::summary(file.problems);
    ASSERT_EQ(file.libraries.size(), 2u);

    hostmodel::Library expected{"Demo"};
    hostmodel::addFolder(expected, {"Passives", "Resistors"});
    hostmodel::PartDefinition resistor = hostmodel::definition("RES_0603", "R0603", {"1", "2"});
    resistor.value = "10k";
    resistor.componentNameStem = "R";
    resistor.pspice = "";
    resistor.pinNumName = true;
    resistor.pins[0] = {"1", "A", "Pin 1", 1, 1, std::nullopt, std::nullopt};
    resistor.pins[1] = {"2", "B", "Pin 2", 2, 1, std::nullopt, "S"};
    resistor.gates.push_back(hostmodel::gate("R", {"2", "1"}));
    resistor.gates[0].altName = "";
    resistor.gateSwaps.push_back(hostmodel::gateSwap("G", {{"1"}}));
    resistor.gateSwaps[0].gates[0].equivType = 3;
    resistor.pinEquivalences.push_back(hostmodel::pinEquivalence({"1", "2"}));
    resistor.attributes.push_back({"Manufacturer", "Acme", 1, 0});
    expected.definitions.push_back(resistor);
    hostmodel::Part part = hostmodel::part("R1", {"Passives", "Resistors"}, "RES_0603");
    part.number = "RES-1";
    part.description = "Résistance";
    part.version = 1;
    part.acceptance = "";
    part.type = 1;
    expected.parts.push_back(part);
    EXPECT_TRUE(file.libraries[0] == expected);

    const hostmodel::Library &other = file.libraries[1];
    EXPECT_FALSE(other.enabled);
    EXPECT_EQ(other.comment, hostmodel::Text("x"));
    EXPECT_EQ(other.definitions[0].maxConnectorPins, 2);
    EXPECT_TRUE(other.definitions[0].gateSwapping && other.definitions[0].isFPGA);
    EXPECT_EQ(other.parts[0].type, std::nullopt);
}

struct ProblemCase {
    const char *what;
    std::function<std::string()> text; // the document
    std::string place;
    std::string fragment;
};

std::string edited(const std::function<void(json &)> &edit) {
    json document = validDocument();
    edit(document);
    return document.dump(2);
}

TEST(LibraryFileReader, EachProblemIsNamedByItsPlace) {
    const std::string fiftyOne(51, 'n');
    // Widths count characters: 51 four-byte characters are one over the 50
    // of a name, in bytes far more.
    std::string crossing;
    for (int i = 0; i < 51; ++i)
        crossing += "\xF0\x9F\x98\x80";
    const ProblemCase cases[] = {
        {"broken JSON", [] { return std::string("{\n  \"format\": 1,\n  \"libraries\": [\n}"); }, "line 4, column 1",
         "syntax error"},
        {"not UTF-8", [] { return std::string("{\"format\": 1, \"libraries\": [\"\xFF\"]}"); }, "line 1, column 30",
         "UTF-8"},
        {"empty", [] { return std::string(); }, "line 1, column 1", "syntax error"},
        {"number beyond a double", [] { return std::string("{\n  \"format\": 1e400,\n  \"libraries\": []\n}"); },
         "line 2, column 17", "number overflow parsing '1e400'"},
        {"number of many digits", [] { return "{\"format\": " + std::string(400, '9') + "}"; }, "line 1, column 411",
         "number overflow"},
        {"no object", [] { return std::string("[]"); }, "the document", "must be an object"},
        {"format 2", [] { return edited([](json &d) { d["format"] = 2; }); }, "format", "must be 1"},
        {"format as text", [] { return edited([](json &d) { d["format"] = "1"; }); }, "format", "must be 1"},
        {"wrong type", [] { return edited([](json &d) { demo(d)["enabled"] = "yes"; }); }, "libraries[0].enabled",
         "must be true or false"},
        {"text as number", [] { return edited([](json &d) { demo(d)["parts"][0]["name"] = 7; }); },
         "libraries[0].parts[0].name", "must be a text"},
        {"list as object", [] { return edited([](json &d) { demo(d)["parts"] = json::object(); }); },
         "libraries[0].parts", "must be a list"},
        {"fraction", [] { return edited([](json &d) { demo(d)["parts"][0]["version"] = 1.5; }); },
         "libraries[0].parts[0].version", "whole number"},
        {"integer too large",
         [] { return edited([](json &d) { definition(d)["pins"][1]["position"] = 2147483648LL; }); },
         "libraries[0].partDefinitions[0].pins[1].position", "whole number"},
        {"unknown key", [] { return edited([](json &d) { demo(d)["colour"] = "red"; }); }, "libraries[0].colour",
         "no key"},
        {"missing key", [] { return edited([](json &d) { demo(d).erase("name"); }); }, "libraries[0]",
         "lacks the key \"name\""},
        {"name one character over", [&] { return edited([&](json &d) { definition(d)["name"] = fiftyOne; }); },
         "libraries[0].partDefinitions[0].name",
         "51 characters long; Part_Definition.Name holds at most 50 characters"},
        {"multi-byte characters over the width",
         [&] { return edited([&](json &d) { demo(d)["folders"][0]["folders"][0]["name"] = crossing; }); },
         "libraries[0].folders[0].folders[0].name", "51 characters long"},
        {"signal over its column",
         [] { return edited([](json &d) { definition(d)["pins"][0]["signal"] = std::string(51, 's'); }); },
         "libraries[0].partDefinitions[0].pins[0].signal", "Pin_Data.Signal holds at most 50"},
        {"NUL in a text", [] { return edited([](json &d) { demo(d)["comment"] = std::string("a\0b", 3); }); },
         "libraries[0].comment", "NUL"},
        {"library twice", [] { return edited([](json &d) { d["libraries"][1]["name"] = "Demo"; }); },
         "libraries[1].name", "taken by libraries[0].name"},
        {"part name twice in the file",
         [] { return edited([](json &d) { d["libraries"][1]["parts"][0]["name"] = "R1"; }); },
         "libraries[1].parts[0].name", "part name \"R1\" is taken by libraries[0].parts[0].name"},
        {"definition name twice in the file",
         [] { return edited([](json &d) { d["libraries"][1]["partDefinitions"][0]["name"] = "RES_0603"; }); },
         "libraries[1].partDefinitions[0].name", "taken by libraries[0].partDefinitions[0].name"},
        {"sibling folders of one name",
         [] {
             return edited([](json &d) {
                 demo(d)["folders"].push_back({{"name", "Passives"}, {"folders", json::array()}});
             });
         },
         "libraries[0].folders[1].name", "folder name \"Passives\""},
        {"part in a missing folder",
         [] { return edited([](json &d) {
                  demo(d)["parts"][0]["folder"] = {"Passives", "Capacitors"};
              }); },
         "libraries[0].parts[0].folder", "\"Passives/Capacitors\", which is not in the library's folder tree"},
        {"part in no folder", [] { return edited([](json &d) { demo(d)["parts"][0]["folder"] = json::array(); }); },
         "libraries[0].parts[0].folder", "must name a folder"},
        {"gate naming a missing pin",
         [] { return edited([](json &d) { definition(d)["gates"][0]["pins"][1] = "3"; }); },
         "libraries[0].partDefinitions[0].gates[0].pins[1]", "names pin \"3\", which the definition does not have"},
        {"swap gate naming a missing pin",
         [] { return edited([](json &d) { definition(d)["gateSwaps"][0]["gates"][0]["pins"][0] = "9"; }); },
         "libraries[0].partDefinitions[0].gateSwaps[0].gates[0].pins[0]", "names pin \"9\""},
        {"pin identifier twice (case ignored)",
         [] { return edited([](json &d) { definition(d)["pins"][1]["identifier"] = "1"; }); },
         "libraries[0].partDefinitions[0].pins[1].identifier", "a second time"},
        {"pin without identifier",
         [] { return edited([](json &d) { definition(d)["pins"][1]["identifier"] = nullptr; }); },
         "libraries[0].partDefinitions[0].pins[1].identifier", "told apart by their identifiers"},
        {"attribute name twice",
         [] { return edited([](json &d) { definition(d)["attributes"].push_back(definition(d)["attributes"][0]); }); },
         "libraries[0].partDefinitions[0].attributes[1].name", "attribute name \"Manufacturer\""},
        {"equivGroup beyond the groups",
         [] { return edited([](json &d) { definition(d)["pins"][0]["equivGroup"] = 1; }); },
         "libraries[0].partDefinitions[0].pinEquivalences[0].pins[0]", "whose equivGroup is not 0"},
        {"pin in a group it does not name",
         [] { return edited([](json &d) { definition(d)["pins"][1]["equivGroup"] = nullptr; }); },
         "libraries[0].partDefinitions[0].pinEquivalences[0].pins[1]", "whose equivGroup is not 0"},
        {"pin naming a group that does not list it",
         [] { return edited([](json &d) { definition(d)["pinEquivalences"][0]["pins"] = {"1"}; }); },
         "libraries[0].partDefinitions[0].pins[1].equivGroup", "whose pins do not list this pin"},
        {"pin listed in two groups",
         [] { return edited([](json &d) {
                  definition(d)["pinEquivalences"].push_back({{"pins", {"1"}}});
              }); },
         "libraries[0].partDefinitions[0].pinEquivalences[1].pins[0]", "lists already"},
    };
    for (const ProblemCase &each : cases) {
        const libraryfile::LibraryFile file = readLibraryFile(each.text());
        ASSERT_FALSE(file.problems.empty()) << each.what;
        EXPECT_EQ(file.problems.front().place, each.place) << each.what << ": " << libraryfile::summary(file.problems);
        EXPECT_NE(file.problems.front().message.find(each.fragment), std::string::npos)
            << each.what << ": " << file.problems.front().message;
    }
}

TEST(LibraryFileReader, TextsUpToTheirWidthInBytesAreAccepted) {
    // 48 ASCII bytes and a two-byte character: exactly 50.
    const std::string fifty = std::string(48, 'x') + "\xC3\xA9";
    const libraryfile::LibraryFile file = readLibraryFile(edited([&](json &d) {
        definition(d)["name"] = fifty;
        demo(d)["parts"][0]["definition"] = fifty;
        demo(d)["folders"][0]["name"] = fifty;
        demo(d)["parts"][0]["folder"][0] = fifty;
    }));
    EXPECT_TRUE(file.problems.empty()) << libraryfile::summary(file.problems);
    EXPECT_EQ(libraryfile::columnWidth("Parts", "Part_Acceptance"), 100u);
    EXPECT_EQ(libraryfile::columnWidth("Attributes", "Name"), 255u);
    EXPECT_EQ(libraryfile::columnWidth("Parts", "Part_version"), 0u);
}

TEST(LibraryFileReader, FoldersNestUpToAHundredLevels) {
    // A chain of folders `levels` deep, the part filed in the deepest one;
    // written as text, as a document this deep is no json value to dump.
    const auto chain = [](int levels) {
        std::string folders;
        json path = json::array();
        for (int level = 1; level <= levels; ++level) {
            folders += "[{\"name\": \"F" + std::to_string(level) + "\", \"folders\": ";
            path.push_back("F" + std::to_string(level));
        }
        folders += "[]";
        for (int level = 1; level <= levels; ++level)
            folders += "}]";
        std::string text = edited([&](json &d) {
            demo(d)["folders"] = "FOLDERS";
            demo(d)["parts"][0]["folder"] = path;
        });
        return text.replace(text.find("\"FOLDERS\""), 9, folders);
    };
    const libraryfile::LibraryFile deepest = readLibraryFile(chain(100));
    EXPECT_TRUE(deepest.problems.empty()) << libraryfile::summary(deepest.problems);
    const libraryfile::LibraryFile tooDeep = readLibraryFile(chain(101));
    ASSERT_FALSE(tooDeep.problems.empty());
    EXPECT_NE(tooDeep.problems.front().message.find("deeper than 100 levels"), std::string::npos)
        << tooDeep.problems.front().message;
    // 100000 levels: refused by place, without walking the levels the
    // reader refuses (nor running out of stack while parsing or freeing).
    const libraryfile::LibraryFile abyss = readLibraryFile(chain(100000));
    EXPECT_EQ(abyss.problems.size(), 1u) << libraryfile::summary(abyss.problems);
}

TEST(LibraryFileReader, TheSummaryNamesTheFirstProblemAndCountsTheOthers) {
    const libraryfile::LibraryFile file = readLibraryFile(edited([](json &d) {
        demo(d)["enabled"] = 1;
        demo(d)["parts"][0]["type"] = "one";
        demo(d)["extra"] = 0;
    }));
    ASSERT_EQ(file.problems.size(), 3u);
    EXPECT_EQ(libraryfile::summary(file.problems),
              "libraries[0].extra: is no key of this object (and 2 more problems)");

    // A million faulty items: the list stops at its limit, and says so.
    std::string many = "{\"format\": 1, \"libraries\": [[]";
    for (int i = 1; i < 1000000; ++i)
        many += ", []";
    const libraryfile::LibraryFile flood = readLibraryFile(many + "]}");
    ASSERT_EQ(flood.problems.size(), libraryfile::MAX_PROBLEMS);
    EXPECT_EQ(flood.problems.back().place, "libraries[" + std::to_string(libraryfile::MAX_PROBLEMS - 1) + "]");
    EXPECT_EQ(libraryfile::summary(flood.problems), "libraries[0]: must be an object (and at least " +
                                                        std::to_string(libraryfile::MAX_PROBLEMS - 1) +
                                                        " more problems)");
}

TEST(LibraryFileReader, NamesAreCheckedAgainstTheDatabase) {
    libraryfile::StoredNames stored;
    stored.definitions = {{"RES_0603", "Demo"}, {"ONLY_STORED", "Demo"}, {"ELSEWHERE", "Third"}};
    stored.parts = {{"R1", {"Demo", "RES_0603"}}, {"O1", {"Third", "ELSEWHERE"}}};
    struct Case {
        const char *what;
        std::function<void(json &)> edit;
        bool prune;
        std::string place;
        std::string fragment;
    };
    const Case cases[] = {
        {"part name held by another library", [](json &) {}, false, "libraries[1].parts[0].name",
         "part name \"O1\" is taken by library \"Third\""},
        {"definition name held by another library",
         [](json &d) {
             d["libraries"][1]["parts"][0]["name"] = "O2";
             definition(d)["name"] = "ELSEWHERE";
             demo(d)["parts"][0]["definition"] = "ELSEWHERE";
         },
         false, "libraries[0].partDefinitions[0].name", "taken by library \"Third\""},
        {"definition in neither",
         [](json &d) {
             d["libraries"][1]["parts"][0]["name"] = "O2";
             demo(d)["parts"][0]["definition"] = "NOWHERE";
         },
         false, "libraries[0].parts[0].definition", "neither in the file's library nor in the database's"},
        {"stored definition that --prune removes",
         [](json &d) {
             d["libraries"][1]["parts"][0]["name"] = "O2";
             demo(d)["parts"][0]["definition"] = "ONLY_STORED";
         },
         true, "libraries[0].parts[0].definition", "--prune would remove"},
    };
    for (const Case &each : cases) {
        libraryfile::LibraryFile file = readLibraryFile(edited(each.edit));
        ASSERT_TRUE(file.problems.empty()) << each.what << ": " << libraryfile::summary(file.problems);
        libraryfile::checkAgainstDatabase(file, stored, {}, each.prune);
        ASSERT_FALSE(file.problems.empty()) << each.what;
        EXPECT_EQ(file.problems.front().place, each.place) << each.what;
        EXPECT_NE(file.problems.front().message.find(each.fragment), std::string::npos)
            << each.what << ": " << file.problems.front().message;
    }

    // A stored definition of the part's own library serves without --prune,
    // and a library left out of the import is not checked.
    libraryfile::LibraryFile file =
        readLibraryFile(edited([](json &d) { demo(d)["parts"][0]["definition"] = "ONLY_STORED"; }));
    libraryfile::checkAgainstDatabase(file, stored, {"Demo"}, false);
    EXPECT_TRUE(file.problems.empty()) << libraryfile::summary(file.problems);
}

// The planner, on the model: the stored library as the file gives it, then
// edited.
class LibrarySyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        const libraryfile::LibraryFile file = readLibraryFile(validDocument().dump());
        ASSERT_TRUE(file.problems.empty());
        stored = file.libraries[0];
        wanted = stored;
    }
    libraryfile::ImportPlan plan(bool prune) {
        libraryfile::ImportPlan result;
        libraryfile::planImport(result, wanted, &stored, prune);
        return result;
    }
    hostmodel::Library stored, wanted;
};

TEST_F(LibrarySyncTest, ANewLibraryIsInsertedWholeAndAnEqualOneOnlyFound) {
    libraryfile::ImportPlan fresh;
    libraryfile::planImport(fresh, wanted, nullptr, true);
    ASSERT_EQ(fresh.writes.size(), 1u);
    EXPECT_EQ(fresh.writes[0].state, hostmodel::NEW);
    EXPECT_EQ(fresh.writes[0].selection, hostmodel::SelectionMode::Split);
    EXPECT_EQ(fresh.changes[libraryfile::FOLDERS].inserted, 2);
    EXPECT_EQ(fresh.changes[libraryfile::PINS].inserted, 2);
    EXPECT_EQ(fresh.changes[libraryfile::PARTS].inserted, 1);
    EXPECT_EQ(fresh.writes[0].folders[0].children[0].state, hostmodel::NEW);

    const libraryfile::ImportPlan same = plan(true);
    EXPECT_TRUE(same.changesNothing()) << same.describe();
    ASSERT_EQ(same.writes.size(), 1u);
    const hostmodel::Library &write = same.writes[0];
    EXPECT_EQ(write.state, hostmodel::UNCHANGED);
    EXPECT_EQ(write.folders[0].children[0].state, hostmodel::UNCHANGED);
    EXPECT_EQ(write.definitions[0].state, hostmodel::UNCHANGED);
    EXPECT_FALSE(write.definitions[0].details);
    EXPECT_EQ(write.parts[0].state, hostmodel::UNCHANGED);
    EXPECT_EQ(same.describe(), "  nothing to change\n");
}

TEST_F(LibrarySyncTest, ChangesAreMatchedByNameAndRemovalsWaitForPrune) {
    wanted.comment = "now with a comment";
    hostmodel::PartDefinition &resistor = wanted.definitions[0];
    resistor.pins[1].type = 7;
    resistor.pins.erase(resistor.pins.begin()); // pin 1 goes, with its places in the groups
    resistor.gates[0].pins.pop_back();
    resistor.gateSwaps.clear();
    resistor.pinEquivalences[0].pins.erase(resistor.pinEquivalences[0].pins.begin());
    resistor.attributes.push_back({"Tolerance", "1%"});
    wanted.folders[0].children.clear();
    wanted.folders.push_back({"Moved", {{"Resistors"}}});
    wanted.parts[0].folder = {"Moved", "Resistors"};
    wanted.parts.push_back(hostmodel::part("R2", {"Moved"}, "RES_0603"));

    const libraryfile::ImportPlan kept = plan(false);
    ASSERT_EQ(kept.writes.size(), 1u);
    EXPECT_EQ(kept.writes[0].state, hostmodel::MODIFIED);
    const hostmodel::PartDefinition &written = kept.writes[0].definitions[0];
    EXPECT_EQ(written.state, hostmodel::MODIFIED);
    EXPECT_TRUE(written.details);
    ASSERT_EQ(written.pins.size(), 1u) << "without --prune the stored pin is not removed";
    EXPECT_EQ(written.pins[0].state, hostmodel::MODIFIED);
    EXPECT_EQ(written.gates[0].state, hostmodel::NEW);
    EXPECT_EQ(written.attributes[0].state, hostmodel::UNCHANGED);
    EXPECT_EQ(written.attributes[1].state, hostmodel::NEW);
    EXPECT_EQ(kept.writes[0].folders[1].state, hostmodel::NEW);
    EXPECT_EQ(kept.writes[0].folders[1].children[0].state, hostmodel::NEW);
    EXPECT_EQ(kept.writes[0].parts[0].state, hostmodel::MODIFIED);
    EXPECT_EQ(kept.writes[0].parts[1].state, hostmodel::NEW);
    EXPECT_EQ(kept.changes[libraryfile::PINS].removed, 0);
    EXPECT_EQ(kept.changes[libraryfile::GATES].updated, 1);
    EXPECT_EQ(kept.changes[libraryfile::GATE_SWAPS].removed, 1) << "groups are replaced whole";
    EXPECT_EQ(kept.changes[libraryfile::FOLDERS].removed, 0);

    const libraryfile::ImportPlan pruned = plan(true);
    EXPECT_EQ(pruned.changes[libraryfile::PINS].removed, 1);
    EXPECT_EQ(pruned.writes[0].definitions[0].pins.back().state, hostmodel::DELETED);
    EXPECT_EQ(pruned.writes[0].definitions[0].pins.back().identifier, hostmodel::Text("1"));
    ASSERT_EQ(pruned.writes.size(), 2u) << "folders go in a second item, after the parts have moved";
    const hostmodel::Library &removals = pruned.writes[1];
    EXPECT_EQ(removals.state, hostmodel::UNCHANGED);
    ASSERT_EQ(removals.folders.size(), 1u);
    EXPECT_EQ(removals.folders[0].state, hostmodel::UNCHANGED);
    ASSERT_EQ(removals.folders[0].children.size(), 1u);
    EXPECT_EQ(removals.folders[0].children[0].name, "Resistors");
    EXPECT_EQ(removals.folders[0].children[0].state, hostmodel::DELETED);
    EXPECT_TRUE(removals.parts.empty());
    EXPECT_EQ(pruned.changes[libraryfile::FOLDERS].removed, 1);
}

TEST_F(LibrarySyncTest, APinSpeltInAnotherCaseReplacesTheStoredOneWithOrWithoutPrune) {
    stored.definitions[0].pins[0].identifier = "p1";
    wanted.definitions[0].pins[0].identifier = "P1";
    for (bool prune : {false, true}) {
        const libraryfile::ImportPlan respelled = plan(prune);
        const std::vector<hostmodel::Pin> &pins = respelled.writes[0].definitions[0].pins;
        ASSERT_EQ(pins.size(), 3u) << prune;
        EXPECT_EQ(pins[0].identifier, hostmodel::Text("P1"));
        EXPECT_EQ(pins[0].state, hostmodel::NEW);
        EXPECT_EQ(pins[1].state, hostmodel::UNCHANGED);
        EXPECT_EQ(pins[2].identifier, hostmodel::Text("p1")) << "removed after the new one is written";
        EXPECT_EQ(pins[2].state, hostmodel::DELETED);
        EXPECT_EQ(respelled.changes[libraryfile::PINS].inserted, 1);
        EXPECT_EQ(respelled.changes[libraryfile::PINS].removed, 1);
    }
}

TEST_F(LibrarySyncTest, PruneRemovesPartsFirstAndDefinitionsAfterThem) {
    wanted.parts.clear();
    wanted.definitions.clear();
    const libraryfile::ImportPlan pruned = plan(true);
    ASSERT_EQ(pruned.writes.size(), 2u);
    ASSERT_EQ(pruned.writes[0].parts.size(), 1u);
    EXPECT_EQ(pruned.writes[0].parts[0].state, hostmodel::DELETED);
    ASSERT_EQ(pruned.writes[1].definitions.size(), 1u);
    EXPECT_EQ(pruned.writes[1].definitions[0].state, hostmodel::DELETED);
    EXPECT_FALSE(pruned.writes[1].definitions[0].details) << "the writer purges the stored details itself";
    ASSERT_EQ(pruned.removedDefinitions.size(), 1u);
    EXPECT_EQ(pruned.removedDefinitions[0], std::make_pair(std::string("Demo"), std::string("RES_0603")));
    EXPECT_EQ(pruned.changes[libraryfile::PINS].removed, 2);
    EXPECT_EQ(pruned.changes[libraryfile::ATTRIBUTES].removed, 1);
}

TEST_F(LibrarySyncTest, APartWhoseTypeChangesIsMadeAnew) {
    wanted.parts[0].type = 2;
    const libraryfile::ImportPlan changed = plan(false);
    const std::vector<hostmodel::Part> &parts = changed.writes[0].parts;
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].state, hostmodel::DELETED);
    EXPECT_EQ(parts[0].type, hostmodel::Number(1));
    EXPECT_EQ(parts[1].state, hostmodel::NEW);
    EXPECT_EQ(parts[1].type, hostmodel::Number(2));
    EXPECT_EQ(changed.changes[libraryfile::PARTS].updated, 1);
    EXPECT_EQ(changed.changes[libraryfile::PARTS].removed, 0);
}

} // namespace
