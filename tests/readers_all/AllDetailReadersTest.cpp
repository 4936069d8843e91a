// The library-wide detail readers over the sample library, checked against
// the rows of the detail tables read one table at a time and joined here,
// and against the walk through the per-definition readers.

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
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

using namespace pathtest;
using txdbtest::readAll;
using txdbtest::SampleDatabase;

namespace {

const std::string NULL_TEXT = "<NULL>";

// ---- Expected rows, joined from the tables -------------------------------

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

std::string joined(const Row &cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i)
        text += (i ? "|" : "") + cells[i];
    return text;
}

// Every row of a table, the given columns as texts (NULL as "<NULL>").
Rows readTable(SampleDatabase &db, const std::string &table, const std::vector<std::string> &columns,
               const std::string &order) {
    Rows rows;
    for (size_t c = 0; c < columns.size(); ++c) {
        std::vector<std::string> values =
            db.texts("SELECT [" + columns[c] + "] FROM [" + table + "] ORDER BY " + order + ";");
        rows.resize(values.size(), Row(columns.size()));
        for (size_t r = 0; r < values.size(); ++r)
            rows[r][c] = values[r];
    }
    return rows;
}

// The detail tables of a database.
struct Tables {
    Rows pins, gates, gateLinks, swaps, swapGates, swapLinks, equivs, attributes;
    std::map<std::string, std::string> pinIdentifier; // pin ID -> identifier

    explicit Tables(SampleDatabase &db) {
        pins = readTable(db, "Pin_Data",
                         {"ID", "Part_def_ID", "Pin_identifier", "Name", "Label", "Signal", "Pin_type", "Loading",
                          "Pin_position", "Equiv_group"},
                         "[ID]");
        gates = readTable(db, "Gate", {"ID", "Part_def_ID", "Name", "Alt_name"}, "[ID]");
        gateLinks = readTable(db, "Gate_has_Pin_Data", {"ID", "Gate_ID", "Pin_data_ID"}, "[ID]");
        swaps = readTable(db, "Gate_Equiv", {"ID", "Part_def_ID", "Name"}, "[ID]");
        swapGates = readTable(db, "Gate_Equiv_Gate", {"ID", "Gate_equiv_ID", "Equiv_type"}, "[ID]");
        swapLinks = readTable(db, "Gate_Equiv_has_Pin_Data", {"ID", "Gate_equiv_gate_ID", "Pin_data_ID"}, "[ID]");
        equivs = readTable(db, "Pin_Equiv", {"ID", "Part_def_ID"}, "[ID]");
        attributes = readTable(db, "Attributes", {"Part_def_ID", "Name", "Attribute_value", "Usage_type", "Read_Only"},
                               "[Part_def_ID],[Name]");
        for (const Row &pin : pins)
            pinIdentifier[pin[0]] = pin[2];
    }

    static Rows where(const Rows &rows, size_t column, const std::string &value) {
        Rows found;
        for (const Row &row : rows)
            if (row[column] == value)
                found.push_back(row);
        return found;
    }

    // Pins by definition and identifier (NULL first), or by pin ID.
    std::vector<std::string> pinRows(const std::vector<int> &defs, bool byPinId) const {
        Rows selected;
        for (const Row &pin : pins)
            if (std::find(defs.begin(), defs.end(), std::stoi(pin[1])) != defs.end())
                selected.push_back(pin);
        if (!byPinId)
            std::stable_sort(selected.begin(), selected.end(), [](const Row &a, const Row &b) {
                if (a[1] != b[1])
                    return std::stoi(a[1]) < std::stoi(b[1]);
                return (a[2] == NULL_TEXT ? "" : "~" + a[2]) < (b[2] == NULL_TEXT ? "" : "~" + b[2]);
            });
        std::vector<std::string> rows;
        for (const Row &p : selected)
            rows.push_back(joined(
                {p[1], p[2], p[3], p[4], p[5] == NULL_TEXT ? p[5] : p[5].substr(0, 48), p[6], p[7], p[8], p[9]}));
        return rows;
    }

    std::vector<std::string> gateRows(const std::vector<int> &defs) const {
        std::vector<std::string> rows;
        for (int def : defs)
            for (const Row &gate : where(gates, 1, std::to_string(def))) {
                Rows links = where(gateLinks, 1, gate[0]);
                if (links.empty())
                    rows.push_back(joined({gate[1], gate[0], gate[2], gate[3], NULL_TEXT}));
                for (const Row &link : links)
                    rows.push_back(joined({gate[1], gate[0], gate[2], gate[3], pinIdentifier.at(link[2])}));
            }
        return rows;
    }

    std::vector<std::string> swapRows(const std::vector<int> &defs) const {
        std::vector<std::string> rows;
        for (int def : defs)
            for (const Row &swap : where(swaps, 1, std::to_string(def)))
                for (const Row &member : where(swapGates, 1, swap[0]))
                    for (const Row &link : where(swapLinks, 1, member[0]))
                        rows.push_back(
                            joined({swap[1], swap[2], swap[0], member[2], member[0], pinIdentifier.at(link[2])}));
        return rows;
    }

    std::vector<std::string> equivRows(const std::vector<int> &defs) const {
        std::vector<std::string> rows;
        for (int def : defs)
            for (const Row &group : where(equivs, 1, std::to_string(def))) {
                std::vector<std::string> identifiers;
                for (const Row &pin : where(pins, 9, group[0]))
                    identifiers.push_back(pin[2]);
                std::sort(identifiers.begin(), identifiers.end());
                for (const std::string &identifier : identifiers)
                    rows.push_back(joined({group[1], group[0], identifier}));
            }
        return rows;
    }

    std::vector<std::string> attributeRows(const std::vector<int> &defs) const {
        std::vector<std::string> rows;
        for (int def : defs)
            for (const Row &a : where(attributes, 0, std::to_string(def)))
                rows.push_back(joined({a[0], a[1].substr(0, 50), a[2], a[3], a[4] == NULL_TEXT ? "0" : a[4]}));
        return rows;
    }
};

// ---- Records as rows ------------------------------------------------------

std::string cell(bool isNull, const char *text) {
    return isNull ? NULL_TEXT : text;
}
std::string cell(bool isNull, int value) {
    return isNull ? NULL_TEXT : std::to_string(value);
}

// The columns the two pin interfaces share, from the identifier to the position.
template <class Pin> Row pinCells(Pin &pin) {
    char id[11], name[11], label[51], signal[49];
    bool n1, n2, n3, n4, n5, n6, n7;
    int type = -1, loading = -1, position = -1;
    pin.getPinIdentifier(n1, id, sizeof id);
    pin.getName(n2, name, sizeof name);
    pin.getLabel(n3, label, sizeof label);
    pin.getSignal(n4, signal, sizeof signal);
    pin.getType(n5, type);
    pin.getLoading(n6, loading);
    pin.getPosition(n7, position);
    return {cell(n1, id),   cell(n2, name),    cell(n3, label),   cell(n4, signal),
            cell(n5, type), cell(n6, loading), cell(n7, position)};
}

std::string rowOf(AllPinDataAccess &pin) {
    bool isNull;
    int def = -1, group = -1;
    pin.getPartDefID(def);
    pin.getPinEquivGroupID(isNull, group);
    Row cells = pinCells(pin);
    cells.insert(cells.begin(), std::to_string(def));
    cells.push_back(cell(isNull, group));
    return joined(cells);
}

std::string rowOf(AllGateAccess &gate) {
    char name[51], alt[51], pin[11];
    bool altNull, pinNull;
    int def = -1;
    gate.getPartDefID(def);
    gate.getName(name, sizeof name);
    gate.getAltName(altNull, alt, sizeof alt);
    gate.getPinIdentifier(pinNull, pin, sizeof pin);
    return joined({std::to_string(def), std::to_string(gate.getID()), name, cell(altNull, alt), cell(pinNull, pin)});
}

std::string rowOf(AllGateSwapAccess &swap) {
    char name[51], pin[11];
    bool pinNull;
    int def = -1, type = -1, member = -1;
    swap.getPartDefID(def);
    swap.getName(name, sizeof name);
    swap.getEquivType(type);
    swap.getGateEquivGateID(member);
    swap.getPinIdentifier(pinNull, pin, sizeof pin);
    return joined({std::to_string(def), name, std::to_string(swap.getID()), std::to_string(type),
                   std::to_string(member), cell(pinNull, pin)});
}

std::string rowOf(AllPinEquivAccess &equiv) {
    char pin[11];
    bool pinNull;
    int def = -1, group = -1;
    equiv.getPartDefID(def);
    equiv.getPinEquivID(group);
    EXPECT_EQ(group, equiv.getID());
    equiv.getPinIdentifier(pinNull, pin, sizeof pin);
    return joined({std::to_string(def), std::to_string(group), cell(pinNull, pin)});
}

// The columns the two attribute interfaces share, after the definition.
template <class Attribute> std::string attributeRow(const std::string &def, Attribute &attribute) {
    char name[51], value[256];
    int type = -1, readOnly = -1;
    attribute.getName(name, sizeof name, false);
    attribute.getValue(value, sizeof value);
    attribute.getType(type);
    attribute.getReadOnly(readOnly);
    return joined({def, name, value, std::to_string(type), std::to_string(readOnly)});
}

std::string rowOf(AllAttributeAccess &attribute) {
    int def = -1;
    attribute.getPartDefID(def);
    return attributeRow(std::to_string(def), attribute);
}

// Every record of a reader as a row.
template <class T> std::vector<std::string> rowsOf(const std::shared_ptr<Reader<T>> &reader) {
    std::vector<std::string> rows;
    for (const auto &record : readAll(reader))
        rows.push_back(rowOf(*record));
    return rows;
}

std::string inList(const std::vector<int> &ids) {
    std::string text = "IN (";
    for (size_t i = 0; i < ids.size(); ++i)
        text += (i ? "," : "") + std::to_string(ids[i]);
    return text + ")";
}

// ---- The walk through the per-definition readers ---------------------------

Row with(Row cells, const std::string &last) {
    cells.push_back(last);
    return cells;
}

// Rows by the part definition they begin with.
using ByDefinition = std::map<int, std::vector<std::string>>;

ByDefinition byDefinition(const std::vector<std::string> &rows) {
    ByDefinition grouped;
    for (const std::string &row : rows)
        grouped[std::stoi(row)].push_back(row);
    return grouped;
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
            for (const auto &pin : readAll(definition->getPinDataReader())) {
                Row cells = pinCells(*pin);
                cells.insert(cells.begin(), def);
                pins[id].push_back(joined(cells));
            }
            for (const auto &gate : readAll(definition->getGateReader())) {
                char name[51], alt[51];
                bool altNull;
                gate->getName(name, sizeof name);
                gate->getAltName(altNull, alt, sizeof alt);
                const Row head = {def, std::to_string(gate->getID()), name, cell(altNull, alt)};
                auto gatePins = readAll(gate->getGateDataReader());
                if (gatePins.empty())
                    gates[id].push_back(joined(with(head, NULL_TEXT)));
                for (const auto &pin : gatePins) {
                    char identifier[11];
                    bool isNull, flag = true;
                    pin->getPinIdentifier(isNull, identifier, sizeof identifier, flag);
                    gates[id].push_back(joined(with(head, cell(isNull, identifier))));
                }
            }
            for (const auto &swap : readAll(definition->getGateSwapReader())) {
                char name[51];
                swap->getName(name, sizeof name);
                for (const auto &member : readAll(swap->getGateSwapGateReader())) {
                    int type = -1;
                    member->getEquivType(type);
                    const Row head = {def, name, std::to_string(swap->getID()), std::to_string(type),
                                      std::to_string(member->getID())};
                    for (const auto &pin : readAll(member->getGateSwapPinDataReader())) {
                        char identifier[11];
                        bool isNull;
                        pin->getPinIdentifier(isNull, identifier, sizeof identifier);
                        swaps[id].push_back(joined(with(head, cell(isNull, identifier))));
                    }
                }
            }
            // The pins of a group come in the database's order: sorted here
            // as the library-wide reader sorts them.
            for (const auto &group : readAll(definition->getPinEquivReader())) {
                std::vector<std::string> rows;
                for (const auto &pin : readAll(group->getEquivilentPins())) {
                    char identifier[11];
                    bool isNull;
                    pin->getPinIdentifier(isNull, identifier, sizeof identifier);
                    rows.push_back(joined({def, std::to_string(group->getID()), cell(isNull, identifier)}));
                }
                std::sort(rows.begin(), rows.end());
                equivs[id].insert(equivs[id].end(), rows.begin(), rows.end());
            }
            for (const auto &attribute : readAll(definition->getAttributesReader()))
                attributes[id].push_back(attributeRow(def, *attribute));
        }
    }
};

// ---- The sample database, built once per engine ----------------------------

constexpr int PINLESS_GATE = 9001;
constexpr int PINLESS_SWAP_GATE = 9002;

// Shapes the sample lacks: a gate without pins, a swap gate without pins,
// an equivalence group without pins, a pin without identifier, and a
// library without part definitions.
void addMissingShapes(SampleDatabase &db) {
    const std::string def = std::to_string(db.ints("SELECT MIN([ID]) FROM [Part_Definition];").at(0));
    const std::string swap = std::to_string(db.ints("SELECT MIN([ID]) FROM [Gate_Equiv];").at(0));
    db.exec("INSERT INTO [Gate] ([ID],[Part_def_ID],[Name],[Alt_name]) VALUES (" + std::to_string(PINLESS_GATE) + "," +
            def + ",'NC',NULL);");
    db.exec("INSERT INTO [Gate_Equiv_Gate] ([ID],[Gate_equiv_ID],[Equiv_type]) VALUES (" +
            std::to_string(PINLESS_SWAP_GATE) + "," + swap + ",2);");
    db.exec("INSERT INTO [Pin_Equiv] ([ID],[Part_def_ID]) VALUES (9003," + def + ");");
    db.exec("INSERT INTO [Pin_Data] ([ID],[Part_def_ID]) VALUES (9004," + def + ");");
    db.exec("INSERT INTO [Library] ([ID],[Name],[Enabled],[Comment]) VALUES (2,'Empty',1,NULL);");
}

class AllDetailReadersTest : public ::testing::TestWithParam<std::string> {
protected:
    AllDetailReadersTest()
        : sample(txdbtest::sharedSample(GetParam(), addMissingShapes)), tables(sample), library(sample.library()),
          definitions(sample.ints("SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = 1 ORDER BY [ID];")) {
        if (!library)
            throw std::runtime_error("no sample library");
    }

    SampleDatabase &sample;
    Tables tables;
    std::shared_ptr<LibraryAccess> library;
    std::vector<int> definitions; // of the sample library, by ID
};

TEST_P(AllDetailReadersTest, WholeLibraryMatchesTheTables) {
    const std::vector<int> &defs = definitions;
    ASSERT_EQ(defs.size(), 30u);
    for (const auto &expected : {tables.pinRows(defs, false), tables.gateRows(defs), tables.swapRows(defs),
                                 tables.equivRows(defs), tables.attributeRows(defs)})
        EXPECT_GT(expected.size(), 10u);
    EXPECT_EQ(rowsOf(library->getAllPinDataReader("")), tables.pinRows(defs, false));
    EXPECT_EQ(rowsOf(library->getAllGateReader("")), tables.gateRows(defs));
    EXPECT_EQ(rowsOf(library->getAllGateSwapReader("")), tables.swapRows(defs));
    EXPECT_EQ(rowsOf(library->getAllPinEquivReader("")), tables.equivRows(defs));
    EXPECT_EQ(rowsOf(library->getAllAttributeReader("")), tables.attributeRows(defs));
    // An absent text reads the whole library as an empty one does.
    EXPECT_EQ(rowsOf(library->getAllGateReader(nullptr)), tables.gateRows(defs));
}

TEST_P(AllDetailReadersTest, IndexesRunAcrossTheWholeResult) {
    // The gate without pins gives one record, a gate with three pins three
    // consecutive ones.
    std::map<int, std::vector<int>> indexesOfGate;
    int next = 0;
    for (const auto &gate : readAll(library->getAllGateReader(""))) {
        int index = -1;
        gate->getIndex(index);
        EXPECT_EQ(index, next++);
        indexesOfGate[gate->getID()].push_back(index);
    }
    EXPECT_EQ(indexesOfGate[PINLESS_GATE].size(), 1u);
    int threePinGates = 0;
    for (const auto &gate : indexesOfGate)
        if (gate.second.size() == 3) {
            ++threePinGates;
            EXPECT_EQ(gate.second, (std::vector<int>{gate.second[0], gate.second[0] + 1, gate.second[0] + 2}));
        }
    EXPECT_GT(threePinGates, 0);

    // The swap gate without pins gives no record.
    next = 0;
    for (const auto &swap : readAll(library->getAllGateSwapReader(""))) {
        int index = -1, member = 0;
        swap->getIndex(index);
        swap->getGateEquivGateID(member);
        EXPECT_EQ(index, next++);
        EXPECT_NE(member, PINLESS_SWAP_GATE);
    }
    next = 0;
    for (const auto &equiv : readAll(library->getAllPinEquivReader(""))) {
        int index = -1;
        equiv->getEquivIndex(index);
        EXPECT_EQ(index, next++);
    }
}

TEST_P(AllDetailReadersTest, FilterTextSelectsDefinitionsAndPinsComeByPinId) {
    const std::vector<int> some = {definitions.at(0), definitions.at(6), definitions.at(17)};
    for (const std::vector<int> &defs : {some, definitions}) {
        const std::string text = inList(defs);
        EXPECT_EQ(rowsOf(library->getAllPinDataReader(text.c_str())), tables.pinRows(defs, true));
        EXPECT_EQ(rowsOf(library->getAllGateReader(text.c_str())), tables.gateRows(defs));
        EXPECT_EQ(rowsOf(library->getAllGateSwapReader(text.c_str())), tables.swapRows(defs));
        EXPECT_EQ(rowsOf(library->getAllPinEquivReader(text.c_str())), tables.equivRows(defs));
        EXPECT_EQ(rowsOf(library->getAllAttributeReader(text.c_str())), tables.attributeRows(defs));
    }
    EXPECT_NE(tables.pinRows(definitions, true), tables.pinRows(definitions, false));
}

// The index of a reader's first record (-1 without records).
template <class T> int firstIndex(const std::shared_ptr<Reader<T>> &reader) {
    int index = -1;
    if (std::shared_ptr<T> record = reader->getNext()) {
        if constexpr (std::is_same_v<T, AllPinEquivAccess>)
            record->getEquivIndex(index);
        else
            record->getIndex(index);
    }
    return index;
}

TEST_P(AllDetailReadersTest, DefinitionFormReadsThePartsDefinitionOnly) {
    // A resistor (with the gate without pins) and a NAND gate package.
    std::set<int> wanted = {definitions.at(0), definitions.at(6)};
    auto parts = library->getCompletePartAndPartDefReader(nullptr, 0);
    while (std::shared_ptr<CompletePartAndPartDefAccess> part = parts->getNext()) {
        const int def = part->getPartDefID();
        if (!wanted.erase(def))
            continue;
        EXPECT_EQ(rowsOf(part->getGateReader()), tables.gateRows({def}));
        EXPECT_EQ(rowsOf(part->getGateSwapReader()), tables.swapRows({def}));
        EXPECT_EQ(rowsOf(part->getPinEquivReader()), tables.equivRows({def}));
        EXPECT_EQ(firstIndex(part->getGateReader()), 0);
        EXPECT_EQ(firstIndex(part->getPinEquivReader()), 0);
        if (def == definitions.at(6)) {
            EXPECT_FALSE(tables.swapRows({def}).empty());
            EXPECT_EQ(firstIndex(part->getGateSwapReader()), 0);
        }
    }
    EXPECT_TRUE(wanted.empty());
}

TEST_P(AllDetailReadersTest, SameDetailsAsThePerDefinitionReaders) {
    Walk walk(*library);
    for (const ByDefinition *details : {&walk.pins, &walk.gates, &walk.swaps, &walk.equivs, &walk.attributes})
        EXPECT_FALSE(details->empty());
    EXPECT_EQ(byDefinition(rowsOf(library->getAllGateReader(""))), walk.gates);
    EXPECT_EQ(byDefinition(rowsOf(library->getAllGateSwapReader(""))), walk.swaps);
    EXPECT_EQ(byDefinition(rowsOf(library->getAllPinEquivReader(""))), walk.equivs);
    EXPECT_EQ(byDefinition(rowsOf(library->getAllAttributeReader(""))), walk.attributes);
    // Pins: the definition's reader has no equivalence group and reads by
    // pin ID, the library-wide one by identifier.
    std::vector<std::string> pinRows = rowsOf(library->getAllPinDataReader(""));
    for (std::string &row : pinRows)
        row.erase(row.rfind('|'));
    ByDefinition pins = byDefinition(pinRows);
    for (ByDefinition *grouped : {&pins, &walk.pins})
        for (auto &definition : *grouped)
            std::sort(definition.second.begin(), definition.second.end());
    EXPECT_EQ(pins, walk.pins);
}

TEST_P(AllDetailReadersTest, RecordsMakeTheReadersOfTheirGateAndGroup) {
    std::map<int, std::shared_ptr<AllGateAccess>> firstOfGate;
    std::map<int, std::vector<std::string>> pinsOfGate;
    for (const auto &gate : readAll(library->getAllGateReader(""))) {
        char identifier[11];
        bool isNull;
        gate->getPinIdentifier(isNull, identifier, sizeof identifier);
        firstOfGate.emplace(gate->getID(), gate);
        if (!isNull)
            pinsOfGate[gate->getID()].push_back(identifier);
    }
    ASSERT_TRUE(firstOfGate.count(PINLESS_GATE));
    for (const auto &gate : firstOfGate) {
        std::vector<std::string> read;
        for (const auto &pin : readAll(gate.second->getGateDataReader())) {
            char identifier[11];
            bool isNull, flag = true;
            pin->getPinIdentifier(isNull, identifier, sizeof identifier, flag);
            read.push_back(identifier);
        }
        EXPECT_EQ(read, pinsOfGate[gate.first]) << "gate " << gate.first;
    }

    // The members of a group, also those without pins.
    std::map<int, std::shared_ptr<AllGateSwapAccess>> firstOfGroup;
    for (const auto &swap : readAll(library->getAllGateSwapReader("")))
        firstOfGroup.emplace(swap->getID(), swap);
    ASSERT_FALSE(firstOfGroup.empty());
    for (const auto &group : firstOfGroup) {
        std::vector<std::string> members, expected;
        for (const auto &member : readAll(group.second->getGateSwapGateReader()))
            members.push_back(std::to_string(member->getID()));
        for (const Row &member : Tables::where(tables.swapGates, 1, std::to_string(group.first)))
            expected.push_back(member[0]);
        EXPECT_EQ(members, expected) << "group " << group.first;
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

TEST_P(AllDetailReadersTest, PinGettersCheckBuffersAndKeepValuesOnNull) {
    // The pin without identifier comes first, everything but its IDs NULL.
    std::shared_ptr<AllPinDataAccess> pin = library->getAllPinDataReader("")->getNext();
    ASSERT_TRUE(pin);
    char buffer[49] = "unchanged";
    bool isNull = false;
    pin->getName(isNull, buffer, 11);
    EXPECT_TRUE(isNull);
    EXPECT_STREQ(buffer, "unchanged");
    int position = 77;
    pin->getPosition(isNull, position);
    EXPECT_TRUE(isNull);
    EXPECT_EQ(position, 77);
    txdbtest::expectAtWidth(TEXT_OF(pin, getSignal), 49, "<NULL>");
    txdbtest::expectAtWidth(TEXT_OF(pin, getPinIdentifier), 11, "<NULL>");
    EXPECT_EQ(thrownMessage([&] { pin->getLabel(isNull, nullptr, 51); }), "Invalid NULL buffer passed");
}

INSTANTIATE_TEST_SUITE_P(Engines, AllDetailReadersTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

} // namespace
