// The part-definition readers and the readers of one definition's details,
// over the sample library, checked against the tables read directly.

#include "tests/support/PathTestSupport.h"
#include "tests/support/SampleDatabase.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/access/CTraxDBPartRecord.h"
#include "ctraxdbpartlib/filters/CTraxDBFilterVisitor.h"
#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"
#include "ctraxdbpartlib/readers/CTraxDBLibReader.h"
#include "interface/AttributeAccess.h"
#include "interface/GateAccess.h"
#include "interface/GateDataAccess.h"
#include "interface/GateSwapAccess.h"
#include "interface/GateSwapGateAccess.h"
#include "interface/GateSwapPinDataAccess.h"
#include "interface/LibraryAccess.h"
#include "interface/PartAccess.h"
#include "interface/PartDefDataAccess.h"
#include "interface/PartDefFilter.h"
#include "interface/PinDataAccess.h"
#include "interface/PinEquivAccess.h"
#include "interface/PinEquivDataAccess.h"
#include "tests/support/TestDatabase.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace pathtest;
using txdbtest::nameOf;
using txdbtest::namesOf;
using txdbtest::nullable;
using txdbtest::pinOf;
using txdbtest::readAll;
using txdbtest::SampleDatabase;

namespace {

template <class T> std::vector<std::string> pinsOf(const std::shared_ptr<Reader<T>> &reader) {
    std::vector<std::string> pins;
    for (const auto &pin : readAll(reader))
        pins.push_back(pinOf(pin));
    return pins;
}

std::string tooSmall() {
    return loadMessage(IDS_BUFFER_TOO_SMALL);
}
std::string nullBuffer() {
    return loadMessage(IDS_NULL_BUFFER);
}

// The sample library "Demo" (ID 1), a second sample library "Other" (IDs
// from 5001) and a library "Extras" (ID 3) with shapes the sample lacks.
void addLibraries(SampleDatabase &db) {
    SampleOptions other;
    other.libraryName = "Other";
    other.parts = 40;
    other.firstId = 5001;
    writeSampleLibrary(db.dbPath(), other);
    db.exec("INSERT INTO [Library] ([ID],[Name],[Enabled],[Comment]) VALUES (3,'Extras',1,NULL);");
    const std::string definition = "INSERT INTO [Part_Definition] ([ID],[Library_ID],[Name],[PCB_component_name],"
                                   "[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA]) VALUES ";
    // A definition without any detail.
    db.exec(definition + "(900,3,'Extra_EMPTY','EMPTY',0,0,0,0);");
    // A definition with one pin whose columns are all NULL, linked to a gate.
    db.exec(definition + "(901,3,'Extra_BARE','BARE',0,0,0,1);");
    db.exec("INSERT INTO [Pin_Data] ([ID],[Part_def_ID]) VALUES (9000,901);");
    db.exec("INSERT INTO [Gate] ([ID],[Part_def_ID],[Name]) VALUES (9000,901,'G');");
    db.exec("INSERT INTO [Gate_has_Pin_Data] ([ID],[Gate_ID],[Pin_data_ID]) VALUES (9000,9000,9000);");
}

class DefinitionReadersTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        sample = &txdbtest::sharedSample(GetParam(), addLibraries);
        CTraxDBLibReader libraries(sample->path, nullptr); // by name
        library = libraries.getNext();
        extras = libraries.getNext();
        ASSERT_TRUE(library && extras);
        ASSERT_EQ(nameOf(library), "Demo");
        ASSERT_EQ(nameOf(extras), "Extras");
    }

    std::shared_ptr<PartDefAccess> definition(const std::string &name) {
        for (const auto &lib : {library, extras})
            for (const auto &def : readAll(lib->getPartDefReader(0)))
                if (nameOf(def) == name)
                    return def;
        ADD_FAILURE() << "no definition " << name;
        return nullptr;
    }

    SampleDatabase *sample = nullptr;
    std::shared_ptr<LibraryAccess> library;
    std::shared_ptr<LibraryAccess> extras;
};

TEST_P(DefinitionReadersTest, DefinitionsComeByIdWithoutFilterAndByNameWithOne) {
    std::vector<int> ids;
    for (const auto &def : readAll(library->getPartDefReader(252)))
        ids.push_back(def->getID());
    EXPECT_EQ(ids, sample->ints("SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = 1 ORDER BY [ID];"));

    // Both libraries hold resistor definitions; only this library's come.
    auto filter = std::make_shared<PartDefFilter>(FILTER_LIKE, "%RES%");
    const std::vector<std::string> names = namesOf(readAll(library->getPartDefReader(filter, 3)));
    std::vector<std::string> byName = sample->texts(
        "SELECT [Name] FROM [Part_Definition] WHERE [Library_ID] = 1 AND [Name] LIKE '%RES%' ORDER BY [Name];");
    std::vector<std::string> byId = sample->texts(
        "SELECT [Name] FROM [Part_Definition] WHERE [Library_ID] = 1 AND [Name] LIKE '%RES%' ORDER BY [ID];");
    EXPECT_EQ(names, byName);
    EXPECT_NE(names, byId);

    // A quote in the value stays inside the literal.
    auto none = std::make_shared<PartDefFilter>(FILTER_EQUAL, "Demo_RES_R0603_0000' OR 'a'='a");
    EXPECT_TRUE(readAll(library->getPartDefReader(none, 3)).empty());
}

TEST_P(DefinitionReadersTest, GettersGiveTheirColumnsAtTheirWidthsAndTellNullFromEmpty) {
    auto nand = definition("Demo_NAND_SO14_0006");
    auto capacitor = definition("Demo_CAP_CP_RADIAL_0003");
    auto resistor = definition("Demo_RES_RAXIAL_0001");
    ASSERT_TRUE(nand && capacitor && resistor);
    auto pins = readAll(capacitor->getPinDataReader());
    auto nandGates = readAll(nand->getGateReader());
    auto capGates = readAll(capacitor->getGateReader());
    ASSERT_EQ(pins.size(), 2u);
    ASSERT_EQ(nandGates.size(), 4u);
    ASSERT_EQ(capGates.size(), 1u);
    // NULL texts check the buffer all the same; the first pin of the
    // capacitor has a 50-character signal, of which 48 arrive.
    txdbtest::expectAtWidth(TEXT_OF(nand, getCompNameStem), 21, "U");
    txdbtest::expectAtWidth(TEXT_OF(nand, getPSpice), 81, "XU 1 2 MODEL");
    txdbtest::expectAtWidth(TEXT_OF(nand, getPCBCompAltName), 51, "SO14_ALT");
    txdbtest::expectAtWidth(TEXT_OF(resistor, getPCBCompAltName), 51, "<NULL>");
    txdbtest::expectAtWidth(TEXT_OF(pins[0], getSignal), 49,
                            std::string("A_VERY_LONG_SIGNAL_NAME_THAT_FILLS_THE_WHOLE_COLUMN_").substr(0, 48));
    txdbtest::expectAtWidth(TEXT_OF(pins[1], getPinNumber), 11, "2");
    txdbtest::expectAtWidth(TEXT_OF(pins[1], getLabel), 51, "Pin 2");
    txdbtest::expectAtWidth(TEXT_OF(nandGates[0], getAltName), 51, "NANDA_ALT");
    txdbtest::expectAtWidth(TEXT_OF(nandGates[1], getAltName), 51, "");
    txdbtest::expectAtWidth(TEXT_OF(capGates[0], getAltName), 51, "<NULL>");
    EXPECT_EQ(nullable(TEXT_OF(nand, getValue)), "74AC00");

    TCHAR buffer[256];
    EXPECT_EQ(thrownMessage([&] { nand->getName(buffer, 50, false); }), tooSmall());
    EXPECT_EQ(thrownMessage([&] { nandGates[1]->getName(buffer, 50); }), tooSmall());
    EXPECT_EQ(thrownMessage([&] { capGates[0]->getName(nullptr, 51); }), nullBuffer());
    nand->getPCBCompName(buffer, 51);
    EXPECT_STREQ(buffer, "SO14");
    EXPECT_EQ(nand->getLibID(), library->getID());
    int number = 0;
    nand->getPosition(number);
    EXPECT_EQ(number, -1);
    auto attributes = readAll(capacitor->getAttributesReader());
    ASSERT_EQ(attributes.size(), 2u); // Datasheet, Manufacturer
    EXPECT_EQ(thrownMessage([&] { attributes[0]->getValue(buffer, 255); }), tooSmall());
    attributes[0]->getValue(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "https://example.com/CAP/3.pdf");
    int usage = 0, readOnly = -1;
    attributes[0]->getType(usage);
    attributes[0]->getReadOnly(readOnly);
    EXPECT_EQ(usage, 2);
    EXPECT_EQ(readOnly, 0); // stored as NULL
    attributes[1]->getType(usage);
    EXPECT_EQ(usage, 1);

    // The three flags read three columns.
    auto connector = definition("Demo_CONN_HDR1X8_0007");
    ASSERT_NE(connector, nullptr);
    for (const auto &[def, expected] : {std::pair{nand, std::vector<bool>{true, false, false}},
                                        std::pair{connector, std::vector<bool>{false, true, true}}}) {
        bool swapping = !expected[0], numName = !expected[1], fpga = !expected[2];
        def->getGateSwapping(swapping);
        def->getPinNumName(numName);
        def->getIsFPGA(fpga);
        EXPECT_EQ((std::vector<bool>{swapping, numName, fpga}), expected) << nameOf(def);
    }
    connector->getMaxConnectorPins(number);
    EXPECT_EQ(number, 8);
}

TEST_P(DefinitionReadersTest, NullColumnsLeaveTheCallersValues) {
    auto resistor = definition("Demo_RES_RAXIAL_0001");
    auto bare = definition("Extra_BARE");
    ASSERT_TRUE(resistor && bare);
    TCHAR buffer[256] = "untouched";
    bool isNull = false;
    resistor->getValue(isNull, buffer, 256);
    EXPECT_TRUE(isNull);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(thrownMessage([&] { resistor->getValue(isNull, nullptr, 256); }), nullBuffer());

    auto pins = readAll(bare->getPinDataReader());
    ASSERT_EQ(pins.size(), 1u);
    isNull = false;
    pins[0]->getName(isNull, buffer, 11);
    EXPECT_TRUE(isNull);
    EXPECT_STREQ(buffer, "untouched");
    int value = 77;
    pins[0]->getPosition(isNull, value);
    EXPECT_TRUE(isNull);
    pins[0]->getType(isNull, value);
    pins[0]->getLoading(isNull, value);
    EXPECT_EQ(value, 77);

    auto gates = readAll(bare->getGateReader());
    ASSERT_EQ(gates.size(), 1u);
    auto gatePins = readAll(gates[0]->getGateDataReader());
    ASSERT_EQ(gatePins.size(), 1u);
    bool flag = true;
    gatePins[0]->getPinIdentifier(isNull, buffer, 11, flag);
    EXPECT_TRUE(isNull);
    EXPECT_TRUE(flag);
    EXPECT_STREQ(buffer, "untouched");
    // A present identifier clears the flag.
    auto present = readAll(readAll(definition("Demo_NAND_SO14_0006")->getGateReader())[0]->getGateDataReader());
    present[0]->getPinIdentifier(isNull, buffer, 11, flag);
    EXPECT_FALSE(isNull);
    EXPECT_FALSE(flag);
}

TEST_P(DefinitionReadersTest, DefinitionDataReadsTheLibraryByIdOrTheListOfAShortText) {
    std::vector<int> expected =
        sample->ints("SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = 1 ORDER BY [ID];");
    for (const TCHAR *text : {"", static_cast<const TCHAR *>(nullptr)}) {
        std::vector<int> ids;
        for (const auto &def : readAll(library->getPartDefDataReader(text))) {
            int id = 0;
            def->getPartDefID(id);
            EXPECT_EQ(id, def->getID());
            ids.push_back(id);
        }
        EXPECT_EQ(ids, expected);
    }
    auto first = library->getPartDefDataReader("")->getNext();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(nameOf(first), "Demo_RES_R0603_0000");
    EXPECT_EQ(nullable(TEXT_OF(first, getPSpice), 81), "<NULL>");

    std::vector<int> ids;
    for (const auto &def : readAll(library->getPartDefDataReader("[ID] IN (3,1,2)")))
        ids.push_back(def->getID());
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    // No list between parentheses: nothing to read.
    EXPECT_TRUE(readAll(library->getPartDefDataReader("[ID] = 1")).empty());
}

TEST_P(DefinitionReadersTest, DefinitionDataSplitsALongListAcrossThreeStatements) {
    // The library's definitions spread through some 21,000 IDs that match
    // nothing: more than two statements' worth at the host's default limit.
    // The other library's first definition is in the list as well: the text
    // alone selects.
    std::vector<int> expected =
        sample->ints("SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = 1 ORDER BY [ID];");
    expected.push_back(5001);
    std::string list;
    size_t next = 0;
    for (int i = 0; i < 21000; ++i) {
        if (i % 650 == 0 && next < expected.size())
            list += std::to_string(expected[next++]) + ",";
        list += std::to_string(200000 + i) + ",";
    }
    ASSERT_EQ(next, expected.size());
    list.pop_back();

    TraceCapture trace;
    auto reader = library->getPartDefDataReader(("[ID] IN (" + list + ")").c_str());
    EXPECT_EQ(trace.messagesStartingWith("SELECT Count(*) FROM [Part_Definition] WHERE [ID] IN (").size(), 3u);
    std::vector<int> ids;
    for (const auto &def : readAll(reader))
        ids.push_back(def->getID());
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(trace.messagesStartingWith("SELECT [Part_Definition].[Name],").size(), 3u);
}

TEST_P(DefinitionReadersTest, EveryDetailReaderDeliversItsCount) {
    SampleCounts seen;
    int equivPins = 0;
    for (const auto &def : readAll(library->getPartDefReader(0))) {
        const std::string id = std::to_string(def->getID());
        std::vector<std::string> pinIds;
        for (const auto &pin : readAll(def->getPinDataReader()))
            pinIds.push_back(pinOf(pin));
        EXPECT_EQ(pinIds, sample->texts("SELECT [Pin_identifier] FROM [Pin_Data] WHERE [Part_def_ID] = " + id +
                                        " ORDER BY [ID];"));
        seen.pins += static_cast<int>(pinIds.size());

        const std::vector<std::string> attributes = namesOf(readAll(def->getAttributesReader()));
        EXPECT_TRUE(std::is_sorted(attributes.begin(), attributes.end()));
        seen.attributes += static_cast<int>(attributes.size());

        int index = 0;
        for (const auto &gate : readAll(def->getGateReader())) {
            int gateIndex = -1;
            gate->getIndex(gateIndex);
            EXPECT_EQ(gateIndex, index++);
            seen.gatePins += static_cast<int>(readAll(gate->getGateDataReader()).size());
            ++seen.gates;
        }
        for (const auto &swap : readAll(def->getGateSwapReader())) {
            ++seen.gateSwaps;
            for (const auto &member : readAll(swap->getGateSwapGateReader())) {
                ++seen.gateSwapGates;
                seen.gateSwapPins += static_cast<int>(readAll(member->getGateSwapPinDataReader()).size());
            }
        }
        for (const auto &group : readAll(def->getPinEquivReader())) {
            ++seen.pinEquivs;
            equivPins += static_cast<int>(readAll(group->getEquivilentPins()).size());
        }
    }
    for (int SampleCounts::*field : {&SampleCounts::pins, &SampleCounts::attributes, &SampleCounts::gates,
                                     &SampleCounts::gatePins, &SampleCounts::gateSwaps, &SampleCounts::gateSwapGates,
                                     &SampleCounts::gateSwapPins, &SampleCounts::pinEquivs})
        EXPECT_EQ(seen.*field, sample->counts.*field);
    EXPECT_EQ(equivPins, sample
                             ->ints("SELECT Count(*) FROM [Pin_Data] INNER JOIN [Part_Definition] ON "
                                    "[Pin_Data].[Part_def_ID]=[Part_Definition].[ID] WHERE [Library_ID] = 1 AND "
                                    "[Equiv_group] IS NOT NULL;")
                             .at(0));
}

TEST_P(DefinitionReadersTest, GroupMembersComeInLinkOrder) {
    auto nand = definition("Demo_NAND_SO14_0006");
    ASSERT_NE(nand, nullptr);
    auto gates = readAll(nand->getGateReader());
    ASSERT_EQ(gates.size(), 4u);
    // Gate A's pins 1, 2, 3 were linked output first: 3, 1, 2.
    EXPECT_EQ(pinsOf(gates[0]->getGateDataReader()), (std::vector<std::string>{"3", "1", "2"}));
    auto pins = readAll(gates[1]->getGateDataReader());
    ASSERT_EQ(pins.size(), 3u);
    int index = -1;
    pins[2]->getIndex(index);
    EXPECT_EQ(index, 2);
    // A gate known only by its ID reads the same.
    EXPECT_EQ(pinsOf(std::shared_ptr<Reader<GateDataAccess>>(
                  std::make_shared<CTraxDBGateDataReader>(sample->path, static_cast<int32_t>(gates[1]->getID())))),
              (std::vector<std::string>{"6", "4", "5"}));

    auto swaps = readAll(nand->getGateSwapReader());
    ASSERT_EQ(swaps.size(), 1u);
    TCHAR name[51];
    swaps[0]->getName(name, sizeof name);
    EXPECT_STREQ(name, "NAND_SWAP");
    auto members = readAll(swaps[0]->getGateSwapGateReader());
    ASSERT_EQ(members.size(), 4u);
    int type = 0;
    members[3]->getEquivType(type);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(pinsOf(members[3]->getGateSwapPinDataReader()), (std::vector<std::string>{"12", "10", "11"}));
    EXPECT_EQ(readAll(std::shared_ptr<Reader<GateSwapGateAccess>>(std::make_shared<CTraxDBGateSwapGateReader>(
                          sample->path, static_cast<int32_t>(swaps[0]->getID()))))
                  .size(),
              4u);

    auto groups = readAll(nand->getPinEquivReader());
    ASSERT_EQ(groups.size(), 4u);
    groups[1]->getEquivIndex(index);
    EXPECT_EQ(index, 1);
    std::vector<std::string> equivalent = pinsOf(groups[1]->getEquivilentPins());
    std::sort(equivalent.begin(), equivalent.end());
    EXPECT_EQ(equivalent, (std::vector<std::string>{"4", "5"}));

    EXPECT_EQ(namesOf(readAll(nand->getAttributesReader())),
              (std::vector<std::string>{"Datasheet", "Height", "Manufacturer"}));
}

TEST_P(DefinitionReadersTest, DefinitionWithoutDetailsHasEmptyReaders) {
    auto empty = definition("Extra_EMPTY");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(readAll(empty->getPinDataReader()).empty());
    EXPECT_TRUE(readAll(empty->getPinEquivReader()).empty());
    EXPECT_TRUE(readAll(empty->getGateReader()).empty());
    EXPECT_TRUE(readAll(empty->getGateSwapReader()).empty());
    EXPECT_TRUE(readAll(empty->getAttributesReader()).empty());
}

TEST_P(DefinitionReadersTest, LookedUpRecordsOutliveTheirReaders) {
    const int id = definition("Demo_NAND_SO14_0006")->getID();
    EXPECT_EQ(lookupPartDefinition(sample->path, 123456), nullptr);
    std::shared_ptr<PartDefAccess> nand = lookupPartDefinition(sample->path, id);
    ASSERT_NE(nand, nullptr);
    std::shared_ptr<GateAccess> gate = nand->getGateReader()->getNext();
    std::shared_ptr<PinDataAccess> pin = nand->getPinDataReader()->getNext();
    library.reset();
    ASSERT_TRUE(gate && pin);
    TCHAR name[51];
    gate->getName(name, sizeof name);
    EXPECT_STREQ(name, "NANDA");
    EXPECT_EQ(pinOf(pin), "1");
    EXPECT_EQ(pinsOf(gate->getGateDataReader()).size(), 3u);
    EXPECT_EQ(nameOf(nand), "Demo_NAND_SO14_0006");
    EXPECT_EQ(readAll(nand->getGateReader()).size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Engines, DefinitionReadersTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &engine) { return engine.param; });

} // namespace
