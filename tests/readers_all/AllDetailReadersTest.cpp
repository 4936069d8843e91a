// The library-wide detail readers over the sample library, checked against
// the walk through the per-definition readers.

#include "tests/support/PathTestSupport.h"
#include "tests/support/SampleDatabase.h"

#include "interface/AllAttributeAccess.h"
#include "interface/AllGateAccess.h"
#include "interface/AllGateSwapAccess.h"
#include "interface/AllPinDataAccess.h"
#include "interface/AllPinEquivAccess.h"
#include "interface/AttributeAccess.h"
#include "interface/CompletePartAndPartDefAccess.h"
#include "interface/GateAccess.h"
#include "interface/GateDataAccess.h"
#include "interface/GateSwapAccess.h"
#include "interface/GateSwapGateAccess.h"
#include "interface/GateSwapPinDataAccess.h"
#include "interface/LibraryAccess.h"
#include "interface/PartDefAccess.h"
#include "interface/PinDataAccess.h"
#include "interface/PinEquivAccess.h"
#include "interface/PinEquivDataAccess.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

using namespace pathtest;
using txdbtest::nullable;
using txdbtest::pinOf;
using txdbtest::readAll;
using txdbtest::SampleDatabase;

namespace {

const std::string NULL_TEXT = "<NULL>";

using Row = std::vector<std::string>;

std::string joined(const Row &cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i)
        text += (i ? "|" : "") + cells[i];
    return text;
}

// ---- Records as rows ------------------------------------------------------

std::string cell(bool isNull, int value) {
    return isNull ? NULL_TEXT : std::to_string(value);
}

// The columns the two pin interfaces share, from the identifier to the position.
template <class Pin> Row pinCells(const std::shared_ptr<Pin> &pin) {
    bool n1, n2, n3;
    int type = -1, loading = -1, position = -1;
    pin->getType(n1, type);
    pin->getLoading(n2, loading);
    pin->getPosition(n3, position);
    return {pinOf(pin),
            nullable(TEXT_OF(pin, getName), 11),
            nullable(TEXT_OF(pin, getLabel), 51),
            nullable(TEXT_OF(pin, getSignal), 49),
            cell(n1, type),
            cell(n2, loading),
            cell(n3, position)};
}

std::string rowOf(const std::shared_ptr<AllPinDataAccess> &pin) {
    bool isNull;
    int def = -1, group = -1;
    pin->getPartDefID(def);
    pin->getPinEquivGroupID(isNull, group);
    Row cells = pinCells(pin);
    cells.insert(cells.begin(), std::to_string(def));
    cells.push_back(cell(isNull, group));
    return joined(cells);
}

std::string rowOf(const std::shared_ptr<AllGateAccess> &gate) {
    char name[51];
    int def = -1;
    gate->getPartDefID(def);
    gate->getName(name, sizeof name);
    return joined({std::to_string(def), std::to_string(gate->getID()), name, nullable(TEXT_OF(gate, getAltName), 51),
                   pinOf(gate)});
}

std::string rowOf(const std::shared_ptr<AllGateSwapAccess> &swap) {
    char name[51];
    int def = -1, type = -1, member = -1;
    swap->getPartDefID(def);
    swap->getName(name, sizeof name);
    swap->getEquivType(type);
    swap->getGateEquivGateID(member);
    return joined({std::to_string(def), name, std::to_string(swap->getID()), std::to_string(type),
                   std::to_string(member), pinOf(swap)});
}

std::string rowOf(const std::shared_ptr<AllPinEquivAccess> &equiv) {
    int def = -1, group = -1;
    equiv->getPartDefID(def);
    equiv->getPinEquivID(group);
    EXPECT_EQ(group, equiv->getID());
    return joined({std::to_string(def), std::to_string(group), pinOf(equiv)});
}

// The columns the two attribute interfaces share, after the definition.
template <class Attribute>
std::string attributeRow(const std::string &def, const std::shared_ptr<Attribute> &attribute) {
    char value[256];
    int type = -1, readOnly = -1;
    attribute->getValue(value, sizeof value);
    attribute->getType(type);
    attribute->getReadOnly(readOnly);
    return joined({def, txdbtest::nameOf(attribute), value, std::to_string(type), std::to_string(readOnly)});
}

std::string rowOf(const std::shared_ptr<AllAttributeAccess> &attribute) {
    int def = -1;
    attribute->getPartDefID(def);
    return attributeRow(std::to_string(def), attribute);
}

// Every record of a reader as a row.
template <class T> std::vector<std::string> rowsOf(const std::shared_ptr<Reader<T>> &reader) {
    std::vector<std::string> rows;
    for (const auto &record : readAll(reader))
        rows.push_back(rowOf(record));
    return rows;
}

std::string inList(const std::vector<int> &ids) {
    std::string text = "IN (";
    for (size_t i = 0; i < ids.size(); ++i)
        text += (i ? "," : "") + std::to_string(ids[i]);
    return text + ")";
}

// ---- The walk through the per-definition readers ---------------------------

// Rows by the part definition they begin with.
using ByDefinition = std::map<int, std::vector<std::string>>;

// The rows of the definitions, in the order of their IDs.
std::vector<std::string> rowsFor(const ByDefinition &grouped, const std::vector<int> &defs) {
    std::vector<std::string> rows;
    for (int def : defs)
        if (auto found = grouped.find(def); found != grouped.end())
            rows.insert(rows.end(), found->second.begin(), found->second.end());
    return rows;
}

// The cell of a row at `index`.
std::string columnOf(const std::string &row, size_t index) {
    size_t begin = 0;
    for (size_t i = 0; i < index; ++i)
        begin = row.find('|', begin) + 1;
    return row.substr(begin, row.find('|', begin) - begin);
}

// The details of every definition of a library as the host walks them, one
// reader per definition, gate, group and member, in the rows of the
// library-wide records.
struct Walk {
    ByDefinition pins, gates, swaps, equivs, attributes;

    explicit Walk(LibraryAccess &library) {
        for (const auto &definition : readAll(library.getPartDefReader(0))) {
            const int id = definition->getID();
            const std::string def = std::to_string(id);
            for (const auto &pin : readAll(definition->getPinDataReader()))
                pins[id].push_back(def + "|" + joined(pinCells(pin)));
            for (const auto &gate : readAll(definition->getGateReader())) {
                char name[51];
                gate->getName(name, sizeof name);
                const std::string head =
                    joined({def, std::to_string(gate->getID()), name, nullable(TEXT_OF(gate, getAltName), 51)}) + "|";
                auto gatePins = readAll(gate->getGateDataReader());
                if (gatePins.empty())
                    gates[id].push_back(head + NULL_TEXT);
                for (const auto &pin : gatePins)
                    gates[id].push_back(head + pinOf(pin));
            }
            for (const auto &swap : readAll(definition->getGateSwapReader())) {
                char name[51];
                swap->getName(name, sizeof name);
                for (const auto &member : readAll(swap->getGateSwapGateReader())) {
                    int type = -1;
                    member->getEquivType(type);
                    const std::string head = joined({def, name, std::to_string(swap->getID()), std::to_string(type),
                                                     std::to_string(member->getID())}) +
                                             "|";
                    for (const auto &pin : readAll(member->getGateSwapPinDataReader()))
                        swaps[id].push_back(head + pinOf(pin));
                }
            }
            // The pins of a group come in the database's order: sorted here
            // as the library-wide reader sorts them.
            for (const auto &group : readAll(definition->getPinEquivReader())) {
                std::vector<std::string> rows;
                for (const auto &pin : readAll(group->getEquivilentPins()))
                    rows.push_back(joined({def, std::to_string(group->getID()), pinOf(pin)}));
                std::sort(rows.begin(), rows.end());
                equivs[id].insert(equivs[id].end(), rows.begin(), rows.end());
            }
            for (const auto &attribute : readAll(definition->getAttributesReader()))
                attributes[id].push_back(attributeRow(def, attribute));
        }
    }
};

// ---- The sample database, built once per engine ----------------------------

constexpr int PINLESS_GATE = 9001;

// Shapes the sample lacks: a gate without pins, a swap gate without pins,
// an equivalence group without pins, a pin without identifier, and a
// library without part definitions.
void addMissingShapes(SampleDatabase &db) {
    const std::string def = std::to_string(db.ints("SELECT MIN([ID]) FROM [Part_Definition];").at(0));
    const std::string swap = std::to_string(db.ints("SELECT MIN([ID]) FROM [Gate_Equiv];").at(0));
    db.exec("INSERT INTO [Gate] ([ID],[Part_def_ID],[Name],[Alt_name]) VALUES (" + std::to_string(PINLESS_GATE) + "," +
            def + ",'NC',NULL);");
    db.exec("INSERT INTO [Gate_Equiv_Gate] ([ID],[Gate_equiv_ID],[Equiv_type]) VALUES (9002," + swap + ",2);");
    db.exec("INSERT INTO [Pin_Equiv] ([ID],[Part_def_ID]) VALUES (9003," + def + ");");
    db.exec("INSERT INTO [Pin_Data] ([ID],[Part_def_ID]) VALUES (9004," + def + ");");
    db.exec("INSERT INTO [Library] ([ID],[Name],[Enabled],[Comment]) VALUES (2,'Empty',1,NULL);");
}

class AllDetailReadersTest : public ::testing::TestWithParam<std::string> {
protected:
    AllDetailReadersTest()
        : sample(txdbtest::sharedSample(GetParam(), addMissingShapes)), library(sample.library()),
          definitions(sample.ints("SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = 1 ORDER BY [ID];")) {
        if (!library)
            throw std::runtime_error("no sample library");
    }

    // The walk's pins of the definitions in the library-wide reader's order:
    // by definition and identifier (NULL first), or by pin ID.
    std::vector<std::string> expectedPins(const Walk &walk, const std::vector<int> &defs, bool byPinId) {
        std::vector<std::string> rows;
        if (byPinId) {
            std::map<int, size_t> next;
            for (int def : sample.ints("SELECT [Part_def_ID] FROM [Pin_Data] WHERE [Part_def_ID] " + inList(defs) +
                                       " ORDER BY [ID];"))
                rows.push_back(walk.pins.at(def).at(next[def]++));
            return rows;
        }
        rows = rowsFor(walk.pins, defs);
        const auto key = [](const std::string &row) {
            const std::string identifier = columnOf(row, 1);
            return std::make_pair(std::stoi(row), identifier == NULL_TEXT ? "" : "~" + identifier);
        };
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const std::string &a, const std::string &b) { return key(a) < key(b); });
        return rows;
    }

    SampleDatabase &sample;
    std::shared_ptr<LibraryAccess> library;
    std::vector<int> definitions; // of the sample library, by ID
};

TEST_P(AllDetailReadersTest, SameDetailsAsThePerDefinitionReaders) {
    Walk walk(*library);
    ASSERT_EQ(definitions.size(), 30u);
    for (const ByDefinition *details : {&walk.pins, &walk.gates, &walk.swaps, &walk.equivs, &walk.attributes})
        EXPECT_GT(rowsFor(*details, definitions).size(), 10u);
    // The group of a pin is the one of the definition's groups holding it.
    std::map<std::string, std::string> groupOfPin;
    for (const std::string &row : rowsFor(walk.equivs, definitions))
        groupOfPin[columnOf(row, 0) + "|" + columnOf(row, 2)] = columnOf(row, 1);

    const std::vector<int> some = {definitions.at(0), definitions.at(6), definitions.at(17)};
    const std::string someText = inList(some), allText = inList(definitions);
    struct Case {
        const char *text;
        std::vector<int> defs;
    };
    // An absent text reads the whole library as an empty one does.
    for (const Case &c : {Case{nullptr, definitions}, Case{"", definitions}, Case{someText.c_str(), some},
                          Case{allText.c_str(), definitions}}) {
        SCOPED_TRACE(c.text ? c.text : "<absent>");
        EXPECT_EQ(rowsOf(library->getAllGateReader(c.text)), rowsFor(walk.gates, c.defs));
        EXPECT_EQ(rowsOf(library->getAllGateSwapReader(c.text)), rowsFor(walk.swaps, c.defs));
        EXPECT_EQ(rowsOf(library->getAllPinEquivReader(c.text)), rowsFor(walk.equivs, c.defs));
        EXPECT_EQ(rowsOf(library->getAllAttributeReader(c.text)), rowsFor(walk.attributes, c.defs));
        std::vector<std::string> pins = rowsOf(library->getAllPinDataReader(c.text));
        for (std::string &row : pins) {
            const size_t last = row.rfind('|');
            const auto group = groupOfPin.find(columnOf(row, 0) + "|" + columnOf(row, 1));
            EXPECT_EQ(row.substr(last + 1), group == groupOfPin.end() ? NULL_TEXT : group->second) << row;
            row.erase(last);
        }
        EXPECT_EQ(pins, expectedPins(walk, c.defs, c.text && *c.text));
    }
    EXPECT_NE(expectedPins(walk, definitions, true), expectedPins(walk, definitions, false));
}

// The index of a record (-1 for an empty handle).
template <class T> int indexOf(const std::shared_ptr<T> &record) {
    int index = -1;
    if (!record)
        return index;
    if constexpr (std::is_same_v<T, AllPinEquivAccess>)
        record->getEquivIndex(index);
    else
        record->getIndex(index);
    return index;
}

// Which records the shapes without pins give is checked by the comparison
// with the walk; here the index runs on across the records of every gate,
// swap gate and group.
TEST_P(AllDetailReadersTest, IndexesRunAcrossTheWholeResult) {
    const auto expectRunning = [](const auto &records) {
        ASSERT_FALSE(records.empty());
        for (size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(indexOf(records[i]), static_cast<int>(i));
    };
    expectRunning(readAll(library->getAllGateReader("")));
    expectRunning(readAll(library->getAllGateSwapReader("")));
    expectRunning(readAll(library->getAllPinEquivReader("")));
}

TEST_P(AllDetailReadersTest, DefinitionFormReadsThePartsDefinitionOnly) {
    Walk walk(*library);
    // A resistor (with the gate without pins) and a NAND gate package.
    std::set<int> wanted = {definitions.at(0), definitions.at(6)};
    auto parts = library->getCompletePartAndPartDefReader(nullptr, 0);
    while (std::shared_ptr<CompletePartAndPartDefAccess> part = parts->getNext()) {
        const int def = part->getPartDefID();
        if (!wanted.erase(def))
            continue;
        EXPECT_EQ(rowsOf(part->getGateReader()), rowsFor(walk.gates, {def}));
        EXPECT_EQ(rowsOf(part->getGateSwapReader()), rowsFor(walk.swaps, {def}));
        EXPECT_EQ(rowsOf(part->getPinEquivReader()), rowsFor(walk.equivs, {def}));
        EXPECT_EQ(indexOf(part->getGateReader()->getNext()), 0);
        EXPECT_EQ(indexOf(part->getPinEquivReader()->getNext()), 0);
        if (def == definitions.at(6)) {
            EXPECT_FALSE(rowsFor(walk.swaps, {def}).empty());
            EXPECT_EQ(indexOf(part->getGateSwapReader()->getNext()), 0);
        }
    }
    EXPECT_TRUE(wanted.empty());
}

TEST_P(AllDetailReadersTest, RecordsMakeTheReadersOfTheirGateAndGroup) {
    std::map<int, std::shared_ptr<AllGateAccess>> firstOfGate;
    std::map<int, std::vector<std::string>> pinsOfGate;
    for (const auto &gate : readAll(library->getAllGateReader(""))) {
        firstOfGate.emplace(gate->getID(), gate);
        if (const std::string pin = pinOf(gate); pin != NULL_TEXT)
            pinsOfGate[gate->getID()].push_back(pin);
    }
    ASSERT_TRUE(firstOfGate.count(PINLESS_GATE));
    for (const auto &gate : firstOfGate) {
        std::vector<std::string> read;
        for (const auto &pin : readAll(gate.second->getGateDataReader()))
            read.push_back(pinOf(pin));
        EXPECT_EQ(read, pinsOfGate[gate.first]) << "gate " << gate.first;
    }

    // The members of a group, also those without pins.
    std::map<int, std::shared_ptr<AllGateSwapAccess>> firstOfGroup;
    for (const auto &swap : readAll(library->getAllGateSwapReader("")))
        firstOfGroup.emplace(swap->getID(), swap);
    ASSERT_FALSE(firstOfGroup.empty());
    for (const auto &group : firstOfGroup) {
        std::vector<int> members;
        for (const auto &member : readAll(group.second->getGateSwapGateReader()))
            members.push_back(member->getID());
        EXPECT_EQ(members, sample.ints("SELECT [ID] FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = " +
                                       std::to_string(group.first) + " ORDER BY [ID];"))
            << "group " << group.first;
    }
}

TEST_P(AllDetailReadersTest, InvalidFilterTextRaisesTheDatabaseError) {
    std::string message = thrownMessage([this] { library->getAllGateReader("IN ("); });
    EXPECT_NE(message, "<no exception>");
    EXPECT_FALSE(message.empty());
}

TEST_P(AllDetailReadersTest, LibraryWithoutDefinitionsGivesNoRecords) {
    std::shared_ptr<LibraryAccess> empty = sample.library("Empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(rowsOf(empty->getAllPinDataReader("")).empty());
    EXPECT_TRUE(rowsOf(empty->getAllGateReader("")).empty());
    EXPECT_TRUE(rowsOf(empty->getAllGateSwapReader("")).empty());
    EXPECT_TRUE(rowsOf(empty->getAllPinEquivReader("")).empty());
    EXPECT_TRUE(rowsOf(empty->getAllAttributeReader("")).empty());
}

// The pin records of both families share their getters; what NULL leaves
// of the caller's values is checked on the per-definition pins.
TEST_P(AllDetailReadersTest, PinGettersCheckBuffersOnNull) {
    // The pin without identifier comes first, everything but its IDs NULL.
    std::shared_ptr<AllPinDataAccess> pin = library->getAllPinDataReader("")->getNext();
    ASSERT_TRUE(pin);
    txdbtest::expectAtWidth(TEXT_OF(pin, getPinIdentifier), 11, NULL_TEXT);
    bool isNull = false;
    EXPECT_EQ(thrownMessage([&] { pin->getLabel(isNull, nullptr, 51); }), "Invalid NULL buffer passed");
}

INSTANTIATE_TEST_SUITE_P(Engines, AllDetailReadersTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &engine) { return engine.param; });

} // namespace
