#include "tests/support/FilterTree.h"

#include "ctraxdbpartlib/filters/CTraxLibFilterVisitor.h"
#include "ctraxdbpartlib/filters/CTraxPartDefFilterVisitor.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string libFilter(const Node<LibFilter> &root) {
    return filterOf<CTraxLibFilterVisitor, LibFilter>(root);
}

std::string partDefFilter(const Node<PartDefFilter> &root) {
    return filterOf<CTraxPartDefFilterVisitor, PartDefFilter>(root);
}

// Records the values in the order the interface's default walk reaches them.
class RecordingVisitor : public Visitor<LibFilter> {
public:
    void visit(std::shared_ptr<LibFilter> data) override { seen.push_back(data->value); }
    std::vector<std::string> seen;
};

} // namespace

TEST(VisitorDefaults, WalkDepthFirstInListOrder) {
    auto root = lib(0, "root", {lib(1, "a", {lib(2, "a1"), lib(2, "a2")}), lib(2, "b")});
    RecordingVisitor visitor;
    root->accept(&visitor);
    EXPECT_EQ((std::vector<std::string>{"root", "a", "a1", "a2", "b"}), visitor.seen);
}

TEST(LibFilterText, ShapesComparatorsNullsAndQuoting) {
    const std::pair<Node<LibFilter>, const char *> cases[] = {
        // A lone root comparison has no parentheses; groups and separators.
        {lib(2, "A"), "[Name]='A'"},
        {lib(1, "", {lib(2, "A"), lib(8, "B%")}), "([Name]='A' OR [Name] LIKE'B%' ESCAPE '\\')"},
        {lib(0, "", {lib(1, "", {lib(2, "x"), lib(2, "y")}), lib(2, "z")}),
         "(([Name]='x' OR [Name]='y') AND [Name]='z')"},
        {lib(0, "", {lib(2, "a"), lib(2, "b"), lib(2, "c")}), "([Name]='a' AND [Name]='b' AND [Name]='c')"},
        {lib(0, ""), "()"},
        // Every other comparator.
        {lib(3, "v"), "[Name]<>'v'"},
        {lib(4, "v"), "[Name]>'v'"},
        {lib(5, "v"), "[Name]>='v'"},
        {lib(6, "v"), "[Name]<'v'"},
        {lib(7, "v"), "[Name]<='v'"},
        {lib(9, "v"), "[Name] NOT LIKE'v' ESCAPE '\\'"},
        // An empty value is NULL.
        {lib(2, ""), "[Name] IS NULL"},
        {lib(3, ""), "[Name] IS NOT NULL"},
        {lib(4, ""), "[Name]>NULL"},
        // Values are written unchanged apart from doubled quotes.
        {lib(8, "Lib_%[0-9]*"), "[Name] LIKE'Lib_%[0-9]*' ESCAPE '\\'"},
        // A like-pattern's backslashes match themselves: doubled under ESCAPE '\'.
        {lib(8, "a\\b\\"), "[Name] LIKE'a\\\\b\\\\' ESCAPE '\\'"},
        {lib(9, "\\%"), "[Name] NOT LIKE'\\\\%' ESCAPE '\\'"},
        {lib(2, " padded "), "[Name]=' padded '"},
        {lib(2, "O'Brien"), "[Name]='O''Brien'"},
        {lib(2, "'"), "[Name]=''''"},
        {lib(2, "a\\'b\\"), "[Name]='a\\''b\\'"},
        {lib(2, "'; DROP TABLE [Parts]; --"), "[Name]='''; DROP TABLE [Parts]; --'"},
    };
    for (const auto &[root, expected] : cases)
        EXPECT_EQ(expected, libFilter(root));
}

TEST(LibFilterText, WalkErrors) {
    // A comparison with a second child: the walk fails as that child is begun,
    // before its own invalid comparator is seen.
    EXPECT_EQ("Unknown Node Type", thrownMessage([] { libFilter(lib(2, "A", {lib(2, "B"), lib(10, "C")})); }));
    // Its only child too: the child's text would run into the comparison's
    // (a case-ignoring one gave "[Name]='a'REPLACE(...").
    EXPECT_EQ("Unknown Node Type", thrownMessage([] { libFilter(lib(2, "A", {lib(2, "B")})); }));
    EXPECT_EQ("Unknown Node Type", thrownMessage([] { libFilter(lib(2 | 0x100, "A", {lib(2 | 0x100, "B")})); }));
    for (const Node<LibFilter> &root : {lib(10, "A"), lib(-1, "A"), lib(0, "", {lib(2, "A"), lib(10, "B")})})
        EXPECT_EQ("Unknown Comparator Type", thrownMessage([&] { libFilter(root); }));
}

TEST(PartDefFilter, NameOfTheDefinitionTable) {
    const std::pair<Node<PartDefFilter>, const char *> cases[] = {
        {partDef(2, "A"), "[Name]='A'"},
        {partDef(1, "", {partDef(2, "A"), partDef(8, "B%")}), "([Name]='A' OR [Name] LIKE'B%' ESCAPE '\\')"},
        {partDef(2, ""), "[Name] IS NULL"},
        {partDef(3, ""), "[Name] IS NOT NULL"},
        {partDef(2, "'; DROP TABLE [Parts]; --"), "[Name]='''; DROP TABLE [Parts]; --'"},
    };
    for (const auto &[root, expected] : cases)
        EXPECT_EQ(expected, partDefFilter(root));
    EXPECT_EQ("Unknown Comparator Type", thrownMessage([] { partDefFilter(partDef(10, "A")); }));
}

TEST(FilterValues, NulCharactersAreRefused) {
    // The statement's text would end inside the literal.
    const std::string nul("A\0' OR 1=1", 11);
    const std::string message = "A filter text holds a NUL character, which SQL cannot carry";
    for (int type : {2, 3, 4, 8, 9}) {
        EXPECT_EQ(message, thrownMessage([&] { libFilter(lib(type, nul)); })) << type;
        EXPECT_EQ(message, thrownMessage([&] { partDefFilter(partDef(type, nul)); })) << type;
    }
    EXPECT_EQ(message, thrownMessage([&] { libFilter(lib(1, "", {lib(2, "A"), lib(2, std::string(1, '\0'))})); }));
}

namespace {

// A library filter node whose comparison ignores ASCII case.
Node<LibFilter> foldingLib(int type, const std::string &value) {
    return lib(type | 0x100, value);
}

} // namespace

TEST(LibFilterText, IgnoringCaseFoldsOnlyEqualityAndPatternsWithAValue) {
    // NULL tests are written as without it.
    EXPECT_EQ("[Name] IS NULL", libFilter(foldingLib(2, "")));
    // The others lower the value's ASCII letters only and fold the column
    // through REPLACE, never an engine's LOWER().
    for (int type : {2, 3, 8, 9}) {
        const std::string text = libFilter(foldingLib(type, "AbÄ\\_"));
        EXPECT_NE(text.find("'abÄ"), std::string::npos) << text;
        EXPECT_EQ(text.find("LOWER"), std::string::npos) << text;
        EXPECT_NE(text.find("REPLACE([Name],'A','a')"), std::string::npos) << text;
        EXPECT_NE(text.find(",'Z','z')"), std::string::npos) << text;
    }
    EXPECT_NE(libFilter(foldingLib(8, "A\\_")).find("'a\\\\_' ESCAPE '\\'"), std::string::npos);
    // Only the comparisons that can ignore case take the flag, a group never.
    for (int type : {0, 1, 4, 5, 6, 7})
        EXPECT_EQ("Unknown Comparator Type", thrownMessage([&] { libFilter(foldingLib(type, "A")); })) << type;
}
