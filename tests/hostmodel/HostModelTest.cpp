// The host model: its records' getters, positions and indexes, the two
// selection modes, the items' states as the readers report them, and the
// snapshot of the sample database.

#include "tools/hostmodel/HostRecords.h"
#include "tools/hostmodel/Snapshot.h"

#include "interface/PartLibInterface.h"
#include "tests/support/SampleDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace hostmodel;
using txdbtest::nameOf;
using txdbtest::namesOf;
using txdbtest::nullable;
using txdbtest::pinOf;
using txdbtest::readAll;

namespace {

std::shared_ptr<LibraryAccess> recordOf(const Library &library) {
    return libraryReader({library})->getNext();
}

// Non-nullable text getters, with and without the unused flag, as nullable() reads them.
#define NAME_OF(record) [&](bool &, TCHAR *b, size_t s) { record->getName(b, s, false); }
#define PLAIN_TEXT_OF(record, getter) [&](bool &, TCHAR *b, size_t s) { record->getter(b, s); }

// Every getter's value is checked by the round trip through snapshot below;
// here the cuts, the NULLs and what they leave alone.
TEST(HostModelTest, GettersCutTextsAndReportNulls) {
    Library model{"Library"};
    PartDefinition definition = hostmodel::definition("DEF-NAME", "PCB-NAME", {"1", "A12"});
    definition.value = "10k";
    definition.pins[1].loading = 0;
    definition.gates.push_back(gate("G", {"1", "A12"}));
    definition.gates[0].pins[1].create = true;
    definition.attributes.push_back({"Tolerance", "5%"});
    model.definitions.push_back(definition);
    model.parts.push_back(part("P", {"Top"}, "DEF-NAME"));

    auto library = recordOf(model);
    auto def = library->getPartDefReader(0)->getNext();
    auto pins = readAll(def->getPinDataReader());
    auto part = library->getPartReader("", 0)->getNext();
    auto attribute = def->getAttributesReader()->getNext();
    ASSERT_EQ(pins.size(), 2u);

    const struct {
        const char *what;
        std::function<void(bool &, TCHAR *, size_t)> get;
        size_t size;
        std::string expected;
    } cases[] = {
        {"identifier", TEXT_OF(pins[1], getPinIdentifier), 11, "A12"},
        {"identifier cut", TEXT_OF(pins[1], getPinIdentifier), 3, "A1"},
        {"pin number as identifier", TEXT_OF(pins[1], getPinNumber), 2, "A"},
        {"NULL pin name", TEXT_OF(pins[0], getName), 11, "<NULL>"},
        {"value cut", TEXT_OF(def, getValue), 3, "10"},
        {"NULL alternate name", TEXT_OF(def, getPCBCompAltName), 51, "<NULL>"},
        {"definition name cut", NAME_OF(def), 4, "DEF"},
        {"component name, room for the terminator only", PLAIN_TEXT_OF(def, getPCBCompName), 1, ""},
        {"NULL comment", TEXT_OF(library, getComment), 256, "<NULL>"},
        {"NULL part number", TEXT_OF(part, getNumber), 51, "<NULL>"},
        {"attribute value cut", PLAIN_TEXT_OF(attribute, getValue), 2, "5"},
        {"attribute name cut", NAME_OF(attribute), 5, "Tole"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(nullable(c.get, c.size), c.expected) << c.what;

    // NULL leaves the caller's buffer and integers alone (but for the part
    // type); no buffer is no harm.
    char buffer[8] = "keep";
    bool isNull = false;
    pins[0]->getLabel(isNull, buffer, sizeof buffer);
    EXPECT_TRUE(isNull);
    EXPECT_STREQ(buffer, "keep");
    pins[1]->getPinIdentifier(isNull, nullptr, 0);
    EXPECT_FALSE(isNull);
    int value = 77;
    pins[0]->getPosition(isNull, value);
    EXPECT_TRUE(isNull);
    part->getVersion(isNull, value);
    EXPECT_TRUE(isNull);
    EXPECT_EQ(value, 77);
    pins[1]->getLoading(isNull, value);
    EXPECT_FALSE(isNull) << "0 is a value";
    part->getPartType(isNull, value);
    EXPECT_TRUE(isNull);
    EXPECT_EQ(value, -1);

    // The gate pins' create flags through the fourth output.
    std::vector<bool> created;
    for (const auto &pin : readAll(def->getGateReader()->getNext()->getGateDataReader())) {
        bool create = created.empty(); // the opposite of what is expected
        char identifier[11];
        pin->getPinIdentifier(isNull, identifier, sizeof identifier, create);
        created.push_back(create);
    }
    EXPECT_EQ(created, (std::vector<bool>{false, true}));

    // A record outlives the records and readers it came from.
    auto gatePin = def->getGateReader()->getNext()->getGateDataReader()->getNext();
    library.reset();
    def.reset();
    model = Library{};
    EXPECT_EQ(pinOf(gatePin), "1");
}

// "position name in parent" of every folder, depth first.
void walk(const std::shared_ptr<Reader<HierarchyAccess>> &reader, std::vector<std::string> &seen) {
    for (const auto &folder : readAll(reader)) {
        int position = -2;
        folder->getPosition(position);
        const hierarchyAccessHandle_t parent = folder->getParent();
        seen.push_back(std::to_string(position) + " " + nameOf(folder) + " in " + (parent ? nameOf(parent) : "-"));
        walk(folder->getHierarchyChildReader(), seen);
    }
}

std::string pathOf(hierarchyAccessHandle_t folder) {
    std::string path;
    for (; folder; folder = folder->getParent())
        path = nameOf(folder) + (path.empty() ? "" : "/") + path;
    return path;
}

TEST(HostModelTest, PositionsAndIndexes) {
    Library model{"Tree"};
    addFolder(model, {"A", "A1", "A1a"});
    addFolder(model, {"A", "A2"});
    addFolder(model, {"B"});
    model.definitions = {definition("D0", "C0"), definition("D1", "C1", {"1", "2", "3"})};
    PartDefinition &d1 = model.definitions[1];
    d1.gates = {gate("GA", {"1", "2"}), gate("GB", {"3"})};
    d1.gateSwaps = {gateSwap("S0", {{"1"}}), gateSwap("S1", {{"1", "2"}, {"3"}})};
    d1.pinEquivalences = {pinEquivalence({"1"}), pinEquivalence({"2", "3"})};
    const struct {
        std::vector<std::string> folder;
        std::string definition;
        int folderPosition, definitionPosition;
    } placements[] = {
        {{"A", "A2"}, "D1", 3, 1},
        {{"B"}, "D0", 4, 0},
        {{"A", "A1", "A1a"}, "D0", 2, 0},
        {{"A", "X", "Y"}, "Nope", -1, -1}, // not in the model: found by name later
        {{"A1"}, "D1", -1, 1},             // not at the top
    };
    for (const auto &placement : placements)
        model.parts.push_back(part("P", placement.folder, placement.definition));

    auto library = recordOf(model);
    std::vector<std::string> seen;
    walk(library->getHierarchyReader(), seen);
    EXPECT_EQ(seen, (std::vector<std::string>{"0 A in -", "1 A1 in A", "2 A1a in A1", "3 A2 in A", "4 B in -"}));

    auto parts = readAll(library->getPartReader("", 0));
    ASSERT_EQ(parts.size(), std::size(placements));
    for (size_t i = 0; i < parts.size(); ++i) {
        const auto &expected = placements[i];
        int folderPosition = -2, definitionPosition = -2;
        parts[i]->getHierarchyPosition(folderPosition);
        parts[i]->getPartDefPosition(definitionPosition);
        EXPECT_EQ(folderPosition, expected.folderPosition) << i;
        EXPECT_EQ(definitionPosition, expected.definitionPosition) << i;
        std::string joined;
        for (const std::string &name : expected.folder)
            joined += (joined.empty() ? "" : "/") + name;
        EXPECT_EQ(pathOf(parts[i]->getPartHierarchy()), joined) << i;
        EXPECT_EQ(nameOf(parts[i]->getPartPartDefn()), expected.definition) << i;
    }

    // Definitions by their place in the list; every member by its place in its own.
    std::vector<std::string> indexes;
    for (const auto &definition : readAll(library->getPartDefReader(0))) {
        int position = -2;
        definition->getPosition(position);
        indexes.push_back(nameOf(definition) + " " + std::to_string(position));
    }
    const auto add = [&](const std::string &what, const auto &record) {
        int index = -2;
        if constexpr (std::is_base_of_v<PinEquivAccess, std::decay_t<decltype(*record)>> ||
                      std::is_base_of_v<PinEquivDataAccess, std::decay_t<decltype(*record)>>)
            record->getEquivIndex(index);
        else
            record->getIndex(index);
        indexes.push_back(what + " " + std::to_string(index));
    };
    auto def = library->getPartDefReader(0);
    def->getNext();
    auto d1Record = def->getNext();
    for (const auto &g : readAll(d1Record->getGateReader())) {
        add("gate", g);
        for (const auto &pin : readAll(g->getGateDataReader()))
            add(" pin " + pinOf(pin), pin);
    }
    for (const auto &swap : readAll(d1Record->getGateSwapReader())) {
        add("swap", swap);
        for (const auto &member : readAll(swap->getGateSwapGateReader())) {
            add(" gate", member);
            for (const auto &pin : readAll(member->getGateSwapPinDataReader()))
                add("  pin " + pinOf(pin), pin);
        }
    }
    for (const auto &group : readAll(d1Record->getPinEquivReader())) {
        add("group", group);
        for (const auto &pin : readAll(group->getEquivilentPins()))
            add(" pin " + pinOf(pin), pin);
    }
    EXPECT_EQ(indexes, (std::vector<std::string>{
                           "D0 0",    "D1 1",      "gate 0",    " pin 1 0", " pin 2 1", "gate 1",    " pin 3 0",
                           "swap 0",  " gate 0",   "  pin 1 0", "swap 1",   " gate 0",  "  pin 1 0", "  pin 2 1",
                           " gate 1", "  pin 3 0", "group 0",   " pin 1 0", "group 1",  " pin 2 0",  " pin 3 1",
                       }));
}

TEST(HostModelTest, SelectionModes) {
    Library model{"Passes"};
    addFolder(model, {"F"});
    model.definitions = {definition("first", "C"), definition("second", "C")};
    model.definitions[1].secondPass = true;
    model.parts = {part("p1", {"F"}, "first"), part("p2", {"F"}, "second")};
    model.parts[1].secondPass = true;
    const std::vector<std::string> bothDefinitions{"first", "second"}, bothParts{"p1", "p2"};

    const struct {
        SelectionMode mode;
        int definitionSelection, partSelection;
        std::vector<std::string> definitions, parts;
    } cases[] = {
        {SelectionMode::Ignore, 3, 82, bothDefinitions, bothParts},
        {SelectionMode::Ignore, 252, 173, bothDefinitions, bothParts},
        {SelectionMode::Split, 3, 82, {"first"}, {"p1"}},
        {SelectionMode::Split, 252, 173, {"second"}, {"p2"}},
        {SelectionMode::Split, 0, 0, bothDefinitions, bothParts},
        {SelectionMode::Split, 82, 3, bothDefinitions, bothParts}, // each reader has its own pair
    };
    for (const auto &c : cases) {
        model.selection = c.mode;
        auto library = recordOf(model);
        const std::string what = std::to_string(c.definitionSelection) + "/" + std::to_string(c.partSelection);
        EXPECT_EQ(namesOf(readAll(library->getPartDefReader(c.definitionSelection))), c.definitions) << what;
        EXPECT_EQ(namesOf(readAll(library->getPartDefReader(partDefFilterHandle_t(), c.definitionSelection))),
                  c.definitions)
            << what;
        EXPECT_EQ(namesOf(readAll(library->getPartReader("", c.partSelection))), c.parts) << what;
        EXPECT_EQ(namesOf(readAll(library->getPartReader(partFilterCompHandle_t(), c.partSelection))), c.parts) << what;
        // The placement of the parts is always all of them.
        EXPECT_EQ(namesOf(readAll(library->getHierarchyElementReader())), bothParts) << what;
        auto folderTree = hierarchyOnlyReader({model})->getNext();
        EXPECT_EQ(namesOf(readAll(folderTree->getHierarchyElementReader())), bothParts) << what;
        EXPECT_EQ(namesOf(readAll(folderTree->getHierarchyReader())), std::vector<std::string>{"F"}) << what;
    }
}

// Every state field of the library, in a fixed order.
std::vector<int *> statesOf(Library &library) {
    std::vector<int *> states{&library.state};
    const std::function<void(std::vector<Folder> &)> folders = [&](std::vector<Folder> &list) {
        for (Folder &folder : list) {
            states.push_back(&folder.state);
            folders(folder.children);
        }
    };
    folders(library.folders);
    for (PartDefinition &definition : library.definitions) {
        states.push_back(&definition.state);
        for (Pin &pin : definition.pins)
            states.push_back(&pin.state);
        for (PinEquivalence &group : definition.pinEquivalences) {
            states.push_back(&group.state);
            for (PinRef &pin : group.pins)
                states.push_back(&pin.state);
        }
        for (Gate &gate : definition.gates) {
            states.push_back(&gate.state);
            for (GatePin &pin : gate.pins)
                states.push_back(&pin.state);
        }
        for (GateSwap &swap : definition.gateSwaps) {
            states.push_back(&swap.state);
            for (SwapGate &member : swap.gates) {
                states.push_back(&member.state);
                for (PinRef &pin : member.pins)
                    states.push_back(&pin.state);
            }
        }
        for (Attribute &attribute : definition.attributes)
            states.push_back(&attribute.state);
    }
    for (Part &part : library.parts)
        states.push_back(&part.state);
    return states;
}

std::vector<int> valuesOf(const std::vector<int *> &states) {
    std::vector<int> values;
    for (const int *state : states)
        values.push_back(*state);
    return values;
}

TEST(HostModelTest, StatesReachTheReadersAndTheSnapshotKeepsEverything) {
    Library model{"States"};
    model.comment.emplace("with a comment");
    model.enabled = false;
    addFolder(model, {"A", "B"});
    addFolder(model, {"C"});
    PartDefinition full = definition("D", "PCB", {"1", "2"});
    full.pcbAlternateName = "ALT";
    full.componentNameStem = "U";
    full.pspice = "X";
    full.maxConnectorPins = 14;
    full.pinNumName = true;
    full.pins[0].signal = "GND";
    full.pins[1].type = 4;
    full.gates = {gate("G", {"1", "2"})};
    full.gates[0].altName = "H";
    full.gateSwaps = {gateSwap("S", {{"1"}, {"2"}})};
    full.gateSwaps[0].gates[1].equivType = 2;
    full.pinEquivalences = {pinEquivalence({"1", "2"})};
    full.attributes = {{"Value", "10k", 1, 0}};
    model.definitions = {full, definition("E", "PCB2")};
    model.definitions[1].gateSwapping = true;
    model.parts = {part("P", {"A", "B"}, "D"), part("Q", {"C"}, "E")};
    model.parts[0].number = "0815";
    model.parts[0].version = 3;
    model.parts[0].type = 1;
    model.parts[1].description = "desc";
    model.parts[1].acceptance = "";

    std::vector<int *> states = statesOf(model);
    for (size_t i = 0; i < states.size(); ++i)
        *states[i] = i % 6 == 5 ? 7 : static_cast<int>(i % 6); // every state and one no writer acts on

    Library read = snapshot(*recordOf(model));
    EXPECT_TRUE(read == model);
    EXPECT_EQ(valuesOf(statesOf(read)), valuesOf(states));
    // == compares content: a change of any kind of field shows.
    for (const std::function<void(Library &)> &change : std::vector<std::function<void(Library &)>>{
             [](Library &l) { l.enabled = true; },
             [](Library &l) { l.folders[0].children[0].name = "b"; },
             [](Library &l) { l.definitions[0].pins[1].type = std::nullopt; },
             [](Library &l) { l.definitions[0].gateSwaps[0].gates[1].pins[0].identifier = "3"; },
             [](Library &l) { l.parts[0].folder.pop_back(); },
         }) {
        Library changed = read;
        change(changed);
        EXPECT_TRUE(changed != model);
    }
}

TEST(HostModelTest, SnapshotOfTheSampleDatabase) {
    txdbtest::SampleDatabase &sample = txdbtest::sharedSample("SQLite");
    std::shared_ptr<LibraryAccess> record = sample.library();
    ASSERT_TRUE(record);
    const Library library = snapshot(*record);

    int folders = 0;
    const std::function<void(const std::vector<Folder> &)> countFolders = [&](const std::vector<Folder> &list) {
        for (const Folder &folder : list) {
            ++folders;
            countFolders(folder.children);
        }
    };
    countFolders(library.folders);
    int pins = 0, groupPins = 0, gatePins = 0, swapGates = 0, swapPins = 0, attributes = 0;
    const auto add = [](int &total, const auto &list) { total += static_cast<int>(list.size()); };
    for (const PartDefinition &definition : library.definitions) {
        add(pins, definition.pins);
        for (const PinEquivalence &group : definition.pinEquivalences)
            add(groupPins, group.pins);
        for (const Gate &gate : definition.gates)
            add(gatePins, gate.pins);
        for (const GateSwap &swap : definition.gateSwaps) {
            add(swapGates, swap.gates);
            for (const SwapGate &member : swap.gates)
                add(swapPins, member.pins);
        }
        add(attributes, definition.attributes);
    }
    // The sample database of this program holds the one library.
    const std::pair<int, const char *> tables[] = {
        {folders, "[Hierarchy]"},
        {static_cast<int>(library.definitions.size()), "[Part_Definition]"},
        {static_cast<int>(library.parts.size()), "[Parts]"},
        {pins, "[Pin_Data]"},
        {groupPins, "[Pin_Data] WHERE [Equiv_group] IS NOT NULL"},
        {gatePins, "[Gate_has_Pin_Data]"},
        {swapGates, "[Gate_Equiv_Gate]"},
        {swapPins, "[Gate_Equiv_has_Pin_Data]"},
        {attributes, "[Attributes]"},
    };
    for (const auto &[read, table] : tables)
        EXPECT_EQ(read, sample.ints(std::string("SELECT COUNT(*) FROM ") + table).at(0)) << table;
    ASSERT_GT(swapPins, 0) << "the sample has every kind of detail";

    // Each part's definition and folder, against the joined tables.
    std::vector<std::string> definitionNames, folderNames;
    for (const Part &part : library.parts) {
        definitionNames.push_back(part.definition);
        folderNames.push_back(part.folder.empty() ? "<none>" : part.folder.back());
    }
    const auto sorted = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(sorted(definitionNames),
              sorted(sample.texts("SELECT [Part_Definition].[Name] FROM [Parts] JOIN [Part_Definition] ON "
                                  "[Part_Definition].[ID] = [Parts].[Part_def_ID]")));
    EXPECT_EQ(sorted(folderNames), sorted(sample.texts("SELECT [Hierarchy].[Name] FROM [Parts] JOIN [Hierarchy] ON "
                                                       "[Hierarchy].[ID] = [Parts].[Hierarchy_ID]")));

    // Through the host's records it reads the same again.
    EXPECT_TRUE(snapshot(*recordOf(library)) == library);
}

} // namespace
