#include "tests/support/FilterTree.h"

#include "ctraxdbpartlib/filters/CTraxPartFilterVisitor.h"

#include <gtest/gtest.h>

#include <utility>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string partFilter(const Node<PartFilter> &root) {
    return filterOf<CTraxPartFilterVisitor, PartFilter>(root);
}

const std::string PART_DEF_QUERY = "[Part_def_ID] IN (SELECT [ID] FROM [Part_Definition] WHERE ";
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

TEST(PartFilterFields, ValuesNullsAndQuoting) {
    const std::pair<Node<PartFilter>, std::string> cases[] = {
        {part("Part Name", 0, 2, ""), "[Parts].[Name] IS NULL"},
        {part("Max. Pin", 0, 5, "14"), "[Max_connector_pins]>=14"},
        {part("Version", 0, 4, "2"), "[Part_version]>2"},
        {part("Version", 0, 3, ""), "[Part_version] IS NOT NULL"},
        {part("Part Type", 0, 2, " 7 "), "[Part_Type]= 7 "},
        {part("Version", 0, 5, " -12\t"), "[Part_version]>= -12\t"},
        {part("Part Name", 0, 8, "R_%[0-9]"), "[Parts].[Name] LIKE'R_%[0-9]' ESCAPE '\\'"},
        // A pattern is a literal on numeric fields too.
        {part("Version", 0, 8, "2"), "[Part_version] LIKE'2' ESCAPE '\\'"},
        {part("Max. Pin", 2, 9, "1%"), PART_DEF_QUERY + "[Max_connector_pins] NOT LIKE'1%' ESCAPE '\\')"},
        {part("Part Name", 0, 2, "'; DROP TABLE [Parts]; --"), "[Parts].[Name]='''; DROP TABLE [Parts]; --'"},
        {part("Component", 2, 8, "R'[0]\\'%"),
         PART_DEF_QUERY + "[PCB_component_name] LIKE'R''[0]\\\\''%' ESCAPE '\\')"},
        {part("Symbol Alternate", 3, 3, "a' OR '1'='1"), GATE_QUERY + "[Gate].[Alt_name]<>'a'' OR ''1''=''1')"},
        {part("Tolerance", 4, 3, ""), ATTRIBUTE_QUERY + "[Name] = 'Tolerance' AND [Attribute_value]  IS NOT NULL)"},
        // Attribute names are not looked up and attribute values are always text.
        {part("Version", 4, 2, "1.5a"), ATTRIBUTE_QUERY + "[Name] = 'Version' AND [Attribute_value] ='1.5a')"},
        {part("Rock'n'roll", 4, 2, "it's"),
         ATTRIBUTE_QUERY + "[Name] = 'Rock''n''roll' AND [Attribute_value] ='it''s')"},
        // Tables 0 and 1 share the main condition.
        {partGroup(0, 1, {part("Part Name", 0, 2, "A"), part("Number", 1, 2, "B")}),
         "([Parts].[Name]='A' AND [Part_number]='B')"},
    };
    for (const auto &[root, expected] : cases)
        EXPECT_EQ(expected, partFilter(root));
}

TEST(PartFilterSubQueries, ExamplesUnderAnAndRoot) {
    EXPECT_EQ("([Parts].[Name] LIKE'R%' ESCAPE '\\' AND " + PART_DEF_QUERY + "[PCB_component_name]='RES0805'))",
              partFilter(partGroup(0, 0, {part("Part Name", 0, 8, "R%"), part("Component", 2, 2, "RES0805")})));
    EXPECT_EQ("(" + GATE_QUERY + "[Gate].[Name]='AND2'))", partFilter(partGroup(0, 0, {part("Symbol", 3, 2, "AND2")})));
    EXPECT_EQ("(" + ATTRIBUTE_QUERY + "[Name] = 'Tolerance' AND [Attribute_value] ='5%'))",
              partFilter(partGroup(0, 0, {part("Tolerance", 4, 2, "5%")})));
    EXPECT_EQ("([Parts].[Name]='X' AND (" + PART_DEF_QUERY + "[PCB_component_name]='A' OR [PCB_component_name]='B')))",
              partFilter(partGroup(0, 0,
                                   {part("Part Name", 0, 2, "X"),
                                    partGroup(1, 2, {part("Component", 2, 2, "A"), part("Component", 2, 2, "B")})})));
}

TEST(PartFilterSubQueries, EachTableGetsItsOwnSubQuery) {
    auto root = partGroup(0, 0,
                          {part("Component", 2, 2, "C1"), part("Symbol", 3, 2, "G1"), part("Vendor", 4, 2, "V1"),
                           part("Stem", 2, 8, "R%"), part("Number", 1, 2, "N1")});
    EXPECT_EQ("(" + PART_DEF_QUERY + "[PCB_component_name]='C1') AND " + GATE_QUERY + "[Gate].[Name]='G1') AND " +
                  ATTRIBUTE_QUERY + "[Name] = 'Vendor' AND [Attribute_value] ='V1') AND " + PART_DEF_QUERY +
                  "[Component_name_stem] LIKE'R%' ESCAPE '\\') AND [Part_number]='N1')",
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
}

TEST(PartFilterErrors, NulCharactersAreRefused) {
    const std::string nul("R\0", 2);
    const std::string message = "A filter text holds a NUL character, which SQL cannot carry";
    EXPECT_EQ(message, thrownMessage([&] { partFilter(part("Part Name", 0, 2, nul)); }));
    EXPECT_EQ(message, thrownMessage([&] { partFilter(part("Stem", 2, 8, nul)); }));
    EXPECT_EQ(message, thrownMessage([&] { partFilter(part("Version", 0, 9, nul)); }));
    EXPECT_EQ(message, thrownMessage([&] { partFilter(part("Tolerance", 4, 2, nul)); }));
    // The attribute's name is a literal as well.
    EXPECT_EQ(message, thrownMessage([&] { partFilter(part(nul, 4, 2, "5%")); }));
    // A number with a NUL behind it is no integer.
    EXPECT_NE("<no exception>", thrownMessage([] { partFilter(part("Version", 0, 2, std::string("1\0", 2))); }));
}

TEST(PartFilterErrors, EmptyPatternsAreRefused) {
    for (int nodeType : {8, 9})
        for (const char *field : {"Description", "Version"})
            EXPECT_EQ("LIKE and NOT LIKE need a pattern: the filter value is empty",
                      thrownMessage([&] { partFilter(part(field, 0, nodeType, "")); }))
                << field << " " << nodeType;
}

TEST(PartFilterErrors, UnknownNamesTablesAndMisplacedConditions) {
    auto placed = [](int node, int group) {
        return "A part filter node of table " + std::to_string(node) + " cannot stand in a group of table " +
               std::to_string(group) + ": only a group of table 0 can hold conditions on other tables";
    };
    const std::pair<Node<PartFilter>, std::string> cases[] = {
        {part("part name", 0, 2, "A"), "The part filter names an unknown field \"part name\""},
        {partGroup(0, 0, {part("Pins", 3, 2, "A")}), "The part filter names an unknown field \"Pins\""},
        {part("", 2, 2, "A"), "The part filter names an unknown field \"\""},
        {part("Part Name", 5, 2, "A"), "Unknown Error"},
        {partGroup(0, 0, {part("Part Name", -1, 2, "A")}), "Unknown Error"},
        // A sub-query below a group of table 1 would never be spliced.
        {partGroup(0, 1, {part("Part Name", 1, 2, "A"), part("Component", 2, 2, "B")}), placed(2, 1)},
        // A gate condition or a part column inside a part-definition sub-query.
        {partGroup(0, 0, {partGroup(1, 2, {part("Component", 2, 2, "B"), part("Symbol", 3, 2, "C")})}), placed(3, 2)},
        {partGroup(1, 2, {part("Part Name", 0, 2, "B")}), placed(0, 2)},
        {part("Part Name", 0, 10, "A"), "Unknown Comparator Type"},
        {partGroup(0, 0, {part("Number", 0, 2, "A", {part("Number", 0, 2, "B"), part("Number", 0, 2, "C")})}),
         "Unknown Node Type"},
    };
    for (const auto &[root, expected] : cases)
        EXPECT_EQ(expected, thrownMessage([&] { partFilter(root); }));
}
