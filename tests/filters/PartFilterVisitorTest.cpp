#include "tests/support/FilterTree.h"

#include "ctraxdbpartlib/filters/CTraxPartFilterVisitor.h"

#include <gtest/gtest.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string partFilter(const Node<PartFilter> &root) {
    return filterOf<CTraxPartFilterVisitor, PartFilter>(root);
}

const std::string PART_DEF_QUERY = "[Part_def_ID] IN (SELECT ID FROM [Part_Definition] WHERE ";
const std::string GATE_QUERY = "[Part_def_ID] IN (SELECT [Parts].[Part_def_ID] FROM [Parts] LEFT JOIN [Gate] ON "
                               "[Parts].[Part_def_ID]=[Gate].[Part_def_ID] WHERE ";
const std::string ATTRIBUTE_QUERY = "[Part_def_ID] IN (SELECT [Part_def_ID] FROM [Attributes] WHERE ";

} // namespace

TEST(PartFilterFields, EveryDisplayNameOnThePartsTable) {
    struct Row {
        const char *name;
        const char *value;
        const char *expected;
    };
    const Row rows[] = {
        {"Part Name", "v", "[Parts].[Name]='v'"},
        {"Number", "v", "[Part_number]='v'"},
        {"Description", "v", "[Description]='v'"},
        {"Version", "3", "[Part_version]=3"},
        {"Component", "v", "[PCB_component_name]='v'"},
        {"Component Alternate", "v", "[PCB_alternate_name]='v'"},
        {"Stem", "v", "[Component_name_stem]='v'"},
        {"Max. Pin", "14", "[Max_connector_pins]=14"},
        {"Symbol", "v", "[Name]='v'"},
        {"Symbol Alternate", "v", "[Alt_name]='v'"},
        {"Part Acceptance", "v", "[Part_Acceptance]='v'"},
        {"Part Type", "-2", "[Part_Type]=-2"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(row.expected, partFilter(part(row.name, 1, 2, row.value))) << row.name;
        EXPECT_EQ(row.expected, partFilter(part(row.name, 0, 2, row.value))) << row.name;
    }
}

TEST(PartFilterFields, ValuesAndNulls) {
    EXPECT_EQ("[Parts].[Name] IS NULL", partFilter(part("Part Name", 0, 2, "")));
    EXPECT_EQ("[Max_connector_pins]>=14", partFilter(part("Max. Pin", 0, 5, "14")));
    EXPECT_EQ("[Part_version]>2", partFilter(part("Version", 0, 4, "2")));
    EXPECT_EQ("[Part_version] IS NOT NULL", partFilter(part("Version", 0, 3, "")));
    EXPECT_EQ("[Part_Type]= 7 ", partFilter(part("Part Type", 0, 2, " 7 ")));
    EXPECT_EQ("[Parts].[Name] LIKE'R_%[0-9]'", partFilter(part("Part Name", 0, 8, "R_%[0-9]")));
}

TEST(PartFilterSubQueries, ExamplesUnderAnAndRoot) {
    EXPECT_EQ("([Parts].[Name] LIKE'R%' AND " + PART_DEF_QUERY + "[PCB_component_name]='RES0805'))",
              partFilter(partGroup(0, 0, {part("Part Name", 0, 8, "R%"), part("Component", 2, 2, "RES0805")})));
    EXPECT_EQ("(" + GATE_QUERY + "[Gate].[Name]='AND2'))", partFilter(partGroup(0, 0, {part("Symbol", 3, 2, "AND2")})));
    EXPECT_EQ("(" + ATTRIBUTE_QUERY + "[Name] = 'Tolerance' AND [Attribute_value] ='5%'))",
              partFilter(partGroup(0, 0, {part("Tolerance", 4, 2, "5%")})));
    EXPECT_EQ("([Parts].[Name]='X' AND (" + PART_DEF_QUERY + "[PCB_component_name]='A' OR [PCB_component_name]='B')))",
              partFilter(partGroup(0, 0,
                                   {part("Part Name", 0, 2, "X"),
                                    partGroup(1, 2, {part("Component", 2, 2, "A"), part("Component", 2, 2, "B")})})));
}

TEST(PartFilterSubQueries, AttributeValues) {
    EXPECT_EQ(ATTRIBUTE_QUERY + "[Name] = 'Tolerance' AND [Attribute_value]  IS NOT NULL)",
              partFilter(part("Tolerance", 4, 3, "")));
    // Attribute names are not looked up and attribute values are always text.
    EXPECT_EQ(ATTRIBUTE_QUERY + "[Name] = 'Version' AND [Attribute_value] ='1.5a')",
              partFilter(part("Version", 4, 2, "1.5a")));
    EXPECT_EQ(ATTRIBUTE_QUERY + "[Name] = 'Rock''n''roll' AND [Attribute_value] ='it''s')",
              partFilter(part("Rock'n'roll", 4, 2, "it's")));
}

TEST(PartFilterSubQueries, EachTableGetsItsOwnSubQuery) {
    auto root = partGroup(0, 0,
                          {part("Component", 2, 2, "C1"), part("Symbol", 3, 2, "G1"), part("Vendor", 4, 2, "V1"),
                           part("Stem", 2, 8, "R%"), part("Number", 1, 2, "N1")});
    EXPECT_EQ("(" + PART_DEF_QUERY + "[PCB_component_name]='C1') AND " + GATE_QUERY + "[Gate].[Name]='G1') AND " +
                  ATTRIBUTE_QUERY + "[Name] = 'Vendor' AND [Attribute_value] ='V1') AND " + PART_DEF_QUERY +
                  "[Component_name_stem] LIKE'R%') AND [Part_number]='N1')",
              partFilter(root));
}

TEST(PartFilterSubQueries, NestedGroupsOfOneTableFormOneSubQuery) {
    auto root = partGroup(0, 2,
                          {partGroup(1, 2, {part("Component", 2, 2, "A"), part("Component Alternate", 2, 2, "A")}),
                           part("Max. Pin", 2, 7, "8")});
    EXPECT_EQ("(" + PART_DEF_QUERY + "([PCB_component_name]='A' OR [PCB_alternate_name]='A') AND " +
                  "[Max_connector_pins]<=8))",
              partFilter(root));
}

TEST(PartFilterSubQueries, TableStringsAreEmptyAfterTheWalk) {
    CTraxPartFilterVisitor visitor;
    partGroup(1, 0, {part("Symbol", 3, 2, "G"), part("Component", 2, 2, "C"), part("Vendor", 4, 2, "V")})
        ->accept(&visitor);
    for (int table = 2; table <= 4; ++table)
        EXPECT_EQ("", visitor.getFilterString(std::make_shared<PartFilter>(2, "", "", table))) << table;
    EXPECT_EQ("(" + GATE_QUERY + "[Gate].[Name]='G') OR " + PART_DEF_QUERY + "[PCB_component_name]='C') OR " +
                  ATTRIBUTE_QUERY + "[Name] = 'Vendor' AND [Attribute_value] ='V'))",
              visitor.getFilterString(nullptr));
}

TEST(PartFilterValues, HostileTextIsQuoted) {
    EXPECT_EQ("[Parts].[Name]='''; DROP TABLE [Parts]; --'",
              partFilter(part("Part Name", 0, 2, "'; DROP TABLE [Parts]; --")));
    EXPECT_EQ(PART_DEF_QUERY + "[PCB_component_name] LIKE'R''[0]\\''%')",
              partFilter(part("Component", 2, 8, "R'[0]\\'%")));
    EXPECT_EQ(GATE_QUERY + "[Gate].[Alt_name]<>'a'' OR ''1''=''1')",
              partFilter(part("Symbol Alternate", 3, 3, "a' OR '1'='1")));
}

TEST(PartFilterErrors, NumericFieldsTakeOnlyIntegers) {
    for (const char *value : {"abc", "1.5", "12a", "- 3", "-", "1 2", "3; DROP TABLE [Parts]", "0x10"}) {
        EXPECT_EQ(std::string("The part filter value \"") + value +
                      "\" of the numeric field \"Version\" is not an integer",
                  thrownMessage([&] { partFilter(part("Version", 0, 2, value)); }))
            << value;
    }
    EXPECT_EQ("The part filter value \"x\" of the numeric field \"Max. Pin\" is not an integer",
              thrownMessage([] { partFilter(partGroup(0, 0, {part("Max. Pin", 2, 5, "x")})); }));
    EXPECT_EQ("The part filter value \"1e3\" of the numeric field \"Part Type\" is not an integer",
              thrownMessage([] { partFilter(part("Part Type", 1, 2, "1e3")); }));
    EXPECT_EQ("[Part_version]>= -12\t", partFilter(part("Version", 0, 5, " -12\t")));
}

TEST(PartFilterErrors, UnknownDisplayNames) {
    EXPECT_EQ("The part filter names an unknown field \"part name\"",
              thrownMessage([] { partFilter(part("part name", 0, 2, "A")); }));
    EXPECT_EQ("The part filter names an unknown field \"Pins\"",
              thrownMessage([] { partFilter(partGroup(0, 0, {part("Pins", 3, 2, "A")})); }));
    EXPECT_EQ("The part filter names an unknown field \"\"", thrownMessage([] { partFilter(part("", 2, 2, "A")); }));
}

TEST(PartFilterErrors, TableCodeOutsideZeroToFour) {
    EXPECT_EQ("Unknown Error", thrownMessage([] { partFilter(part("Part Name", 5, 2, "A")); }));
    EXPECT_EQ("Unknown Error", thrownMessage([] { partFilter(partGroup(0, 0, {part("Part Name", -1, 2, "A")})); }));
}

TEST(PartFilterErrors, ConditionsThatCouldNotBePlaced) {
    // A sub-query below a group of table 1 would never be spliced.
    EXPECT_EQ("A part filter node of table 2 cannot stand in a group of table 1: only a group of table 0 can hold "
              "conditions on other tables",
              thrownMessage([] {
                  partFilter(partGroup(0, 1, {part("Part Name", 1, 2, "A"), part("Component", 2, 2, "B")}));
              }));
    // A gate condition inside a part-definition sub-query.
    EXPECT_EQ(
        "A part filter node of table 3 cannot stand in a group of table 2: only a group of table 0 can hold "
        "conditions on other tables",
        thrownMessage([] {
            partFilter(partGroup(0, 0, {partGroup(1, 2, {part("Component", 2, 2, "B"), part("Symbol", 3, 2, "C")})}));
        }));
    // A part column inside a part-definition sub-query.
    EXPECT_EQ("A part filter node of table 0 cannot stand in a group of table 2: only a group of table 0 can hold "
              "conditions on other tables",
              thrownMessage([] { partFilter(partGroup(1, 2, {part("Part Name", 0, 2, "B")})); }));
    // Tables 0 and 1 share the main condition.
    EXPECT_EQ("([Parts].[Name]='A' AND [Part_number]='B')",
              partFilter(partGroup(0, 1, {part("Part Name", 0, 2, "A"), part("Number", 1, 2, "B")})));
}

TEST(PartFilterErrors, BaseWalkErrors) {
    EXPECT_EQ("Unknown Comparator Type", thrownMessage([] { partFilter(part("Part Name", 0, 10, "A")); }));
    EXPECT_EQ("Unknown Node Type", thrownMessage([] {
                  partFilter(partGroup(
                      0, 0, {part("Number", 0, 2, "A", {part("Number", 0, 2, "B"), part("Number", 0, 2, "C")})}));
              }));
}
