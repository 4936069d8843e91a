// The writers against a real database, driven by host-model libraries with
// chosen write states: folder trees and their look-up, folders moved and
// deleted, every kind of detail written, changed and removed, pins found
// while still pending, the writers' own messages, libraries in each state
// and the hierarchy-only writer.

#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/writers/CTraxDBHierarchyWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBPinEquivDataWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBPinEquivWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBStatementBuffers.h"
#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/PartLibInterface.h"
#include "tests/support/PathTestSupport.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tools/hostmodel/HostRecords.h"
#include "tools/hostmodel/Snapshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace hostmodel;
using txdbtest::SampleDatabase;
using txdbtest::thrownMessage;

namespace {

const char *const OK = "<no exception>";

// Every table of the schema but Library_version, parents before children.
const std::vector<std::string> TABLES(CTraxDBSchema::tableNames().begin() + 1, CTraxDBSchema::tableNames().end());

bool neverCancel() {
    return false;
}

// The events of one write type, as their texts.
struct EventTexts : Observer<WriterEvent> {
    explicit EventTexts(int writeType) : writeType(writeType) {}
    void update(const WriterEvent &event) override {
        if (event.writeType == writeType)
            texts.push_back(event.text);
    }
    int writeType;
    std::vector<std::string> texts;
};

// Writes the libraries through the exported library writer; the message of
// what it raised, or OK.
std::string writeLibraries(SampleDatabase &db, const std::vector<Library> &libraries,
                           std::shared_ptr<Observer<WriterEvent>> observer = nullptr) {
    return thrownMessage([&] {
        std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(db.path);
        if (observer)
            writer->attach(observer);
        writer->write(libraryReader(libraries), neverCancel);
    });
}

std::string writeHierarchyOnly(SampleDatabase &db, const std::vector<Library> &libraries) {
    return thrownMessage(
        [&] { getLibHierarchyOnlyWriter(db.path)->write(hierarchyOnlyReader(libraries), neverCancel); });
}

Library stored(SampleDatabase &db, const std::string &name) {
    std::shared_ptr<LibraryAccess> library = db.library(name);
    if (!library) {
        ADD_FAILURE() << "no library " << name;
        return {};
    }
    return snapshot(*library);
}

std::vector<int> tableCounts(SampleDatabase &db) {
    std::vector<int> counts;
    for (const std::string &table : TABLES)
        counts.push_back(db.ints("SELECT COUNT(*) FROM [" + table + "];").at(0));
    return counts;
}

int keyOf(SampleDatabase &db, const std::string &table, const std::string &name) {
    return db.ints("SELECT [ID] FROM [" + table + "] WHERE [Name] = '" + name + "';").at(0);
}

// The record of the folder at `path` among the folders a reader delivers.
hierarchyAccessHandle_t folderAt(std::shared_ptr<Reader<HierarchyAccess>> level, const std::vector<std::string> &path) {
    hierarchyAccessHandle_t folder;
    for (const std::string &name : path) {
        do
            folder = level->getNext();
        while (folder && txdbtest::nameOf(folder) != name);
        if (!folder) {
            ADD_FAILURE() << "no folder " << name;
            return nullptr;
        }
        level = folder->getHierarchyChildReader();
    }
    return folder;
}

hierarchyAccessHandle_t folderAt(const Library &library, const std::vector<std::string> &path) {
    return folderAt(libraryReader({library})->getNext()->getHierarchyReader(), path);
}

// A definition whose details touch every detail writer: pins (one with every
// column), an equivalence, two gates (one pin to be created), a swap group
// and attributes; the references in lower case, as a host may give them.
PartDefinition richDefinition(const std::string &name) {
    PartDefinition definition = hostmodel::definition(name, "PCB-" + name, {"A1", "B2", "C3", "D4"});
    Pin &full = definition.pins[0];
    full.name = "n'1";
    full.label = "";
    full.position = 1;
    full.type = 2;
    full.loading = -3;
    full.signal = "GND";
    definition.value = "10k";
    definition.pinEquivalences.push_back(pinEquivalence({"a1", "b2"}));
    definition.gates.push_back(gate("G1", {"a1", "c3"}));
    definition.gates.push_back(gate("G2", {"D4", "E5"}));
    definition.gates[1].altName = "Alt";
    definition.gates[1].pins[1].create = true;
    definition.gateSwaps.push_back(gateSwap("S1", {{"a1"}, {"c3"}}));
    definition.gateSwaps[0].gates[1].equivType = 2;
    definition.attributes = {{"Tol", "5%", 1, 1}, {"Value", "10'k"}};
    return definition;
}

// What the database gives back for it: identifiers as the pins store them,
// and the pin that the gate created, with every other column NULL.
PartDefinition richDefinitionStored(const std::string &name) {
    PartDefinition definition = richDefinition(name);
    definition.pins.push_back({"E5"});
    definition.pinEquivalences[0] = pinEquivalence({"A1", "B2"});
    definition.gates[0].pins = gate("", {"A1", "C3"}).pins;
    definition.gateSwaps[0].gates[0].pins = {{"A1"}};
    definition.gateSwaps[0].gates[1].pins = {{"C3"}};
    return definition;
}

class WritersTest : public ::testing::TestWithParam<std::string> {
protected:
    WritersTest() : db(GetParam(), {"Demo", 0}) {}
    SampleDatabase db;
};

TEST_P(WritersTest, AFolderTreeIsWrittenDepthFirstAndFoundByItsPath) {
    Library library{"L"};
    addFolder(library, {"A", "A1", "A1a"});
    addFolder(library, {"A", "A2"});
    addFolder(library, {"B", "B1"});
    auto folders = std::make_shared<EventTexts>(WRITE_TYPE_HIERARCHY);
    ASSERT_EQ(writeLibraries(db, {library}, folders), OK);

    const std::vector<std::string> depthFirst = {"A", "A1", "A1a", "A2", "B", "B1"};
    EXPECT_EQ(folders->texts, depthFirst);
    // Keys are handed out in the same order.
    EXPECT_EQ(db.texts("SELECT [Name] FROM [Hierarchy] ORDER BY [ID];"), depthFirst);
    const int a = keyOf(db, "Hierarchy", "A"), a1 = keyOf(db, "Hierarchy", "A1"), b = keyOf(db, "Hierarchy", "B");
    EXPECT_EQ(db.ints("SELECT [Parent_ID] FROM [Hierarchy] ORDER BY [ID];"), (std::vector<int>{-99, a, a1, a, -99, b}));
    EXPECT_EQ(stored(db, "L").folders, library.folders);

    const int libraryId = keyOf(db, "Library", "L");
    EXPECT_EQ(findHierarchyID(db.path, folderAt(library, {"A", "A1", "A1a"}), libraryId),
              keyOf(db, "Hierarchy", "A1a"));
    EXPECT_EQ(findHierarchyID(db.path, folderAt(library, {"B"}), libraryId), b);

    // Same-named siblings: the lower key, whatever the order of the rows.
    for (int key : {200, 150})
        db.exec("INSERT INTO [Hierarchy] ([ID], [Library_ID], [Name], [Parent_ID]) VALUES (" + std::to_string(key) +
                ", " + std::to_string(libraryId) + ", 'Dup', NULL);");
    Library other{"Other"};
    addFolder(other, {"Dup"});
    addFolder(other, {"Nope"});
    addFolder(other, {"B", "Nope"});
    EXPECT_EQ(findHierarchyID(db.path, folderAt(other, {"Dup"}), libraryId), 150);
    EXPECT_EQ(thrownMessage([&] { findHierarchyID(db.path, folderAt(other, {"Nope"}), libraryId); }),
              "Failed to find item Nope  in the database");
    EXPECT_EQ(thrownMessage([&] {
                  findHierarchyID(db.path, folderAt(other, {"B", "Nope"}), libraryId);
              }),
              "Failed to find item Nope  in the database");
    // A library of another key sees none of them.
    EXPECT_EQ(thrownMessage([&] { findHierarchyID(db.path, folderAt(other, {"B"}), libraryId + 1); }),
              "Failed to find item B  in the database");
}

TEST_P(WritersTest, AChangedFolderMovesToTheTopLevelOrUnderAnotherFolder) {
    Library library{"L"};
    addFolder(library, {"A", "B"});
    addFolder(library, {"C"});
    ASSERT_EQ(writeLibraries(db, {library}), OK);
    const int a = keyOf(db, "Hierarchy", "A"), c = keyOf(db, "Hierarchy", "C");

    // B as the host now has it: at the top level, then inside C.
    Library moved{"L"};
    moved.folders = {{"B", {}, MODIFIED}, {"C", {{"B", {}, MODIFIED}}}};
    const struct {
        std::vector<std::string> path;
        int parent;
    } cases[] = {{{"B"}, -99}, {{"C", "B"}, c}};
    for (const auto &move : cases) {
        db.exec("UPDATE [Hierarchy] SET [Parent_ID] = " + std::to_string(a) + " WHERE [Name] = 'B';");
        HierarchyAccessor underA;
        underA.id = a;
        underA.libraryId = keyOf(db, "Library", "L");
        hierarchyAccessHandle_t folder = folderAt(moved, move.path);
        CTraxDBStatementBuffers buffers(db.dbPath());
        CTraxDBHierarchyWriter writer(db.path, underA);
        EXPECT_EQ(thrownMessage([&] {
                      writer.write(
                          std::make_shared<VectorReader<HierarchyAccess>>(std::vector<hierarchyAccessHandle_t>{folder}),
                          neverCancel);
                  }),
                  OK);
        EXPECT_EQ(db.ints("SELECT [Parent_ID] FROM [Hierarchy] WHERE [Name] = 'B';"), std::vector<int>{move.parent})
            << move.path.size();
    }
}

TEST_P(WritersTest, ADeletedFolderGoesAfterEveryFolderBelowIt) {
    Library library{"L"};
    addFolder(library, {"A", "A1", "A1a"});
    addFolder(library, {"A", "A2"});
    addFolder(library, {"B"});
    ASSERT_EQ(writeLibraries(db, {library}), OK);

    Library changed{"L"};
    changed.state = UNCHANGED;
    changed.folders = {{"A", {}, DELETED}, {"B", {}, UNCHANGED}};
    auto folders = std::make_shared<EventTexts>(WRITE_TYPE_HIERARCHY);
    ASSERT_EQ(writeLibraries(db, {changed}, folders), OK);
    // A's purge reads its children, then purges each, the deepest first.
    EXPECT_EQ(folders->texts, (std::vector<std::string>{"A", "A1", "A2", "A1", "A1a", "A1a", "A2", "B"}));
    EXPECT_EQ(db.texts("SELECT [Name] FROM [Hierarchy];"), std::vector<std::string>{"B"});
}

TEST_P(WritersTest, EveryDetailIsWrittenWithPendingPinsFoundWhateverTheirCase) {
    Library library{"L"};
    library.definitions.push_back(richDefinition("D1"));
    ASSERT_EQ(writeLibraries(db, {library}), OK);

    Library expected = library;
    expected.definitions[0] = richDefinitionStored("D1");
    EXPECT_EQ(stored(db, "L"), expected);
    // The group went into the pending rows: A1 and B2 carry its key.
    const int group = db.ints("SELECT [ID] FROM [Pin_Equiv];").at(0);
    EXPECT_EQ(db.ints("SELECT [Equiv_group] FROM [Pin_Data] ORDER BY [ID];"),
              (std::vector<int>{group, group, -99, -99, -99}));
}

TEST_P(WritersTest, DetailsAreChangedAndRemovedAsTheirStatesSay) {
    Library library{"L"};
    library.definitions.push_back(richDefinition("D1"));
    ASSERT_EQ(writeLibraries(db, {library}), OK);

    // Pins that are stored are named as they are stored: only the pending
    // ones are found whatever their case.
    PartDefinition &definition = library.definitions[0];
    definition.state = MODIFIED;
    definition.pcbComponentName = "PCB-NEW";
    // Pins: kept, changed, removed and one new that a gate names at once.
    for (Pin &pin : definition.pins)
        pin.state = UNCHANGED;
    definition.pins[1].state = MODIFIED;
    definition.pins[1].name = "nb";
    definition.pins.push_back({"E5"});
    definition.pins.back().state = DELETED;
    definition.pins.push_back({"F6"});
    definition.pins.back().state = NEW;
    // Groups, gates and swap groups delivered again are written anew.
    definition.pinEquivalences[0] = pinEquivalence({"B2", "C3"});
    definition.gates[0] = gate("G1", {"A1", "f6"});
    definition.gates[1].state = DELETED;
    definition.gateSwaps[0].state = DELETED;
    definition.attributes[0].state = DELETED;
    definition.attributes[1].state = MODIFIED;
    definition.attributes[1].value = "22k";
    definition.attributes.push_back({"Mfr", "ACME", 0, 0, NEW});
    ASSERT_EQ(writeLibraries(db, {library}), OK);

    PartDefinition expected = definition;
    expected.pins.erase(expected.pins.begin() + 4); // E5
    expected.pinEquivalences[0] = pinEquivalence({"B2", "C3"});
    expected.gates = {gate("G1", {"A1", "F6"})};
    expected.gateSwaps.clear();
    expected.attributes = {{"Mfr", "ACME"}, {"Value", "22k"}};
    EXPECT_EQ(stored(db, "L").definitions, std::vector<PartDefinition>{expected});
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Pin_Equiv];"), std::vector<int>{1});
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Gate_Equiv_Gate];"), std::vector<int>{0});
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Gate_has_Pin_Data];"), std::vector<int>{2});
}

TEST_P(WritersTest, APinThatCannotBeFoundIsRefusedWithItsMessageAndNothingIsWritten) {
    Library library{"L"};
    library.definitions.push_back(richDefinition("D1"));
    ASSERT_EQ(writeLibraries(db, {library}), OK);
    const std::vector<int> counts = tableCounts(db);

    const struct {
        const char *message;
        void (*change)(PartDefinition &);
    } cases[] = {
        {"Pin Z9 not found for this gate", [](PartDefinition &d) { d.gates[0].pins[0].identifier = "Z9"; }},
        {"Pin Z9 not found for this gate swap gate",
         [](PartDefinition &d) { d.gateSwaps[0].gates[0].pins[0].identifier = "Z9"; }},
        {"Pin does not exist for pin equivilence Z9",
         [](PartDefinition &d) { d.pinEquivalences[0].pins[1].identifier = "Z9"; }},
        // A pin that another group of the same write has taken.
        {"Pin does not exist for pin equivilence A1",
         [](PartDefinition &d) { d.pinEquivalences.push_back(pinEquivalence({"A1"})); }},
    };
    for (bool newDefinition : {false, true}) {
        for (const auto &c : cases) {
            Library changed = library;
            changed.definitions[0] = richDefinitionStored("D1");
            if (newDefinition)
                changed.definitions[0].name = "D2";
            c.change(changed.definitions[0]);
            EXPECT_EQ(writeLibraries(db, {changed}), c.message) << (newDefinition ? "new " : "") << c.message;
            EXPECT_EQ(tableCounts(db), counts) << c.message;
        }
    }
}

// The pins that a gate names and the write does not create are looked up
// among the stored pins of its definition, by their exact identifier, in a
// library whose pins the write reads ahead.
TEST_P(WritersTest, AGateFindsStoredPinsByExactIdentifier) {
    // Without equivalence groups, whose rewriting changes the pins' rows.
    const auto definition = [](const std::string &name) {
        PartDefinition stored = richDefinitionStored(name);
        stored.pinEquivalences.clear();
        return stored;
    };
    Library library{"L"};
    for (int i = 1; i <= 12; ++i)
        library.definitions.push_back(definition("D" + std::to_string(i)));
    ASSERT_EQ(writeLibraries(db, {library}), OK);
    const std::vector<int> counts = tableCounts(db);

    // Every definition delivered again, the last one with its gate G2 on
    // other pins and its pin E5 (which G2 had) removed.
    const auto changed = [&](const std::vector<std::string> &pins) {
        Library again = library;
        PartDefinition &last = again.definitions.back();
        for (Pin &pin : last.pins)
            pin.state = pin.identifier == Text("E5") ? DELETED : UNCHANGED;
        last.gates[1] = gate("G2", pins);
        return again;
    };
    for (const std::string pin : {"c3", "C3 "}) {
        EXPECT_EQ(writeLibraries(db, {changed({"D4", pin})}), "Pin " + pin + " not found for this gate") << pin;
        EXPECT_EQ(tableCounts(db), counts) << pin;
    }
    // The pin that the write removes is found while its removal waits for
    // the end of the definition: the link to it is refused by the database.
    EXPECT_NE(writeLibraries(db, {changed({"D4", "E5"})}), OK);
    EXPECT_EQ(tableCounts(db), counts);
    {
        // Where texts compare byte by byte, the read-ahead answers the
        // lookups; elsewhere each pin is asked of the engine.
        pathtest::TraceCapture trace;
        ASSERT_EQ(writeLibraries(db, {changed({"C3", "D4"})}), OK);
        const size_t asked =
            trace.messagesStartingWith("SELECT [ID] FROM [Pin_Data] WHERE [Part_def_ID] = ? AND [Pin_identifier]")
                .size();
        if (GetParam() == "MariaDB") {
            EXPECT_GT(asked, 0u);
        } else {
            EXPECT_EQ(asked, 0u);
        }
    }
    EXPECT_EQ(stored(db, "L").definitions.back().gates[1], gate("G2", {"C3", "D4"}));
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Pin_Data] WHERE [Pin_identifier] = 'E5';"), std::vector<int>{11});
}

TEST_P(WritersTest, AStoredGroupAndItsPinsRefuseAnUpdate) {
    Library library{"L"};
    library.definitions.push_back(richDefinition("D1"));
    ASSERT_EQ(writeLibraries(db, {library}), OK);

    // A library write purges a group that the source delivers again before
    // it writes it: only writers of their own see a stored group changed.
    Library changed = library;
    changed.definitions[0] = richDefinitionStored("D1");
    changed.definitions[0].pinEquivalences[0].state = MODIFIED;
    changed.definitions[0].pinEquivalences[0].pins[0].state = MODIFIED;
    auto groups = libraryReader({changed})->getNext()->getPartDefReader(0)->getNext()->getPinEquivReader();
    PartDefAccessor definition;
    definition.id = keyOf(db, "Part_Definition", "D1");
    PinEquivAccessor group;
    group.id = db.ints("SELECT [ID] FROM [Pin_Equiv];").at(0);
    group.partDefId = definition.id;

    CTraxDBStatementBuffers buffers(db.dbPath());
    std::shared_ptr<PinEquivAccess> first = groups->getNext();
    CTraxDBPinEquivWriter groupWriter(db.path, definition);
    EXPECT_EQ(thrownMessage([&] {
                  groupWriter.write(std::make_shared<VectorReader<PinEquivAccess>>(
                                        std::vector<std::shared_ptr<PinEquivAccess>>{first}),
                                    neverCancel);
              }),
              "Update unsupported for pin equivilence groups");
    CTraxDBPinEquivDataWriter pinWriter(db.path, group);
    EXPECT_EQ(thrownMessage([&] { pinWriter.write(first->getEquivilentPins(), neverCancel); }),
              "Update unsupported for pin equivilence data");
    EXPECT_EQ(stored(db, "L").definitions, std::vector<PartDefinition>{richDefinitionStored("D1")});
}

TEST_P(WritersTest, LibraryItemsReachTheDatabaseAsTheirStatesSay) {
    Library kept{"Kept"};
    addFolder(kept, {"K"});
    kept.definitions.push_back(hostmodel::definition("KD", "KPCB", {"1"}));
    kept.parts.push_back(part("KP", {"K"}, "KD"));
    Library library{"L"};
    library.comment.emplace("first");
    addFolder(library, {"F", "G"});
    addFolder(library, {"H"});
    library.definitions = {hostmodel::definition("D1", "P1", {"1", "2"}), hostmodel::definition("D2", "P2", {"1"})};
    library.parts = {part("P1", {"F"}, "D1"), part("P2", {"F", "G"}, "D1"), part("P3", {"H"}, "D2")};
    library.parts[0].type = 1;
    ASSERT_EQ(writeLibraries(db, {kept, library}), OK);

    // Changed: the library's comment, a part moved and renumbered (its type
    // stays), a part and a definition removed, one of each added, the rest
    // only checked.
    Library changed = library;
    changed.state = MODIFIED;
    changed.comment.reset();
    changed.enabled = false;
    for (Folder &folder : changed.folders)
        folder.state = UNCHANGED;
    changed.folders[0].children[0].state = UNCHANGED;
    changed.definitions[0].state = UNCHANGED;
    // The definition goes in the second pass, after the part built on it.
    changed.selection = SelectionMode::Split;
    changed.definitions[1].state = DELETED;
    changed.definitions[1].secondPass = true;
    changed.definitions.push_back(hostmodel::definition("D3", "P3", {"9"}));
    changed.definitions.back().state = NEW;
    changed.parts[0].state = MODIFIED;
    changed.parts[0].folder = {"H"};
    changed.parts[0].number = "N-1";
    changed.parts[0].type = 2;
    changed.parts[1].state = UNCHANGED;
    changed.parts[2].state = DELETED;
    changed.parts.push_back(part("P4", {"F", "G"}, "D3"));
    changed.parts.back().state = NEW;
    ASSERT_EQ(writeLibraries(db, {changed}), OK);

    Library expected = changed;
    expected.definitions.erase(expected.definitions.begin() + 1);
    expected.parts.erase(expected.parts.begin() + 2);
    expected.parts[0].type = 1;
    EXPECT_EQ(stored(db, "L"), expected);
    EXPECT_EQ(stored(db, "Kept"), kept);

    // Unchanged but not there: refused, nothing written.
    const std::vector<int> counts = tableCounts(db);
    Library missing{"Missing"};
    missing.state = UNCHANGED;
    Library added{"Added"};
    added.state = NEW;
    EXPECT_EQ(writeLibraries(db, {added, missing}), "Failed to find item Missing  in the database");
    EXPECT_EQ(tableCounts(db), counts);

    // Deleted: the library with all its parts, folders and definitions.
    Library deleted{"L"};
    deleted.state = DELETED;
    ASSERT_EQ(writeLibraries(db, {deleted, added}), OK);
    EXPECT_EQ(db.texts("SELECT [Name] FROM [Library] ORDER BY [Name];"), (std::vector<std::string>{"Added", "Kept"}));
    EXPECT_EQ(stored(db, "Kept"), kept);
    const std::vector<int> keptOnly = {2, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(tableCounts(db), keptOnly);
}

TEST_P(WritersTest, TheHierarchyOnlyWriterCopiesFoldersAndPlacesExistingParts) {
    Library library{"L"};
    addFolder(library, {"Old"});
    library.definitions.push_back(hostmodel::definition("D1", "P1", {"1"}));
    library.parts = {part("P1", {"Old"}, "D1"), part("P2", {"Old"}, "D1")};
    ASSERT_EQ(writeLibraries(db, {library}), OK);

    // A tree of its own into a new library.
    Library tree{"Tree"};
    tree.state = NEW;
    addFolder(tree, {"W"});
    addFolder(tree, {"X", "Y", "Z"});
    ASSERT_EQ(writeHierarchyOnly(db, {tree}), OK);
    EXPECT_EQ(stored(db, "Tree").folders, tree.folders);

    // Existing parts moved into folders the same write creates.
    Library placed{"L"};
    placed.state = UNCHANGED;
    placed.folders = {{"New", {{"Sub"}}}, {"Old", {}, UNCHANGED}};
    placed.parts = {part("P1", {"New", "Sub"}, "D1"), part("P2", {"New"}, "D1")};
    placed.parts[0].state = MODIFIED;
    placed.parts[1].state = MODIFIED;
    ASSERT_EQ(writeHierarchyOnly(db, {placed}), OK);
    Library expected = library;
    expected.folders = placed.folders;
    expected.parts = placed.parts;
    EXPECT_EQ(stored(db, "L"), expected);

    // A new part whose definition is not there: refused, nothing written,
    // not even the folder written before it.
    const std::vector<int> counts = tableCounts(db);
    Library broken = placed;
    addFolder(broken, {"Another"});
    broken.parts.push_back(part("P3", {"Another"}, "NoSuchDef"));
    broken.parts.back().state = NEW;
    EXPECT_EQ(writeHierarchyOnly(db, {broken}), "Failed to find item NoSuchDef  in the database");
    EXPECT_EQ(tableCounts(db), counts);
    EXPECT_EQ(stored(db, "L"), expected);
}

TEST_P(WritersTest, DefinitionsNewInTheSecondPassAreWrittenWithTheirPartsAndDetails) {
    Library library{"L"};
    addFolder(library, {"F"});
    library.selection = SelectionMode::Split;
    library.definitions = {hostmodel::definition("D1", "P1", {"1"}), hostmodel::definition("D2", "P2", {"1", "2"})};
    library.definitions[1].secondPass = true;
    library.definitions[1].attributes.push_back({"Tol", "5%"});
    library.parts = {part("P1", {"F"}, "D1"), part("P2", {"F"}, "D2")};
    library.parts[1].secondPass = true;
    ASSERT_EQ(writeLibraries(db, {library}), OK);
    EXPECT_EQ(db.texts("SELECT [Name] FROM [Part_Definition] ORDER BY [Name];"),
              (std::vector<std::string>{"D1", "D2"}));
    EXPECT_EQ(db.texts("SELECT [Name] FROM [Parts] ORDER BY [Name];"), (std::vector<std::string>{"P1", "P2"}));
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Pin_Data];"), std::vector<int>{3});
    EXPECT_EQ(db.texts("SELECT [Attribute_value] FROM [Attributes];"), std::vector<std::string>{"5%"});
}

INSTANTIATE_TEST_SUITE_P(Engines, WritersTest, ::testing::ValuesIn(txdbtest::testEngines()));

} // namespace
