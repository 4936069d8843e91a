#include "tests/support/FilterTree.h"

#include "ctraxdbpartlib/filters/CTraxLibFilterVisitor.h"
#include "ctraxdbpartlib/filters/CTraxPartDefFilterVisitor.h"

#include <gtest/gtest.h>

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

TEST(LibFilterShape, LoneRootComparisonHasNoParentheses) {
    EXPECT_EQ("[Name]='A'", libFilter(lib(2, "A")));
}

TEST(LibFilterShape, GroupsAndSeparators) {
    EXPECT_EQ("([Name]='A' OR [Name] LIKE'B%')", libFilter(lib(1, "", {lib(2, "A"), lib(8, "B%")})));
    EXPECT_EQ("([Name]='A' OR [Name]='B')", libFilter(lib(1, "", {lib(2, "A"), lib(2, "B")})));
    EXPECT_EQ("(([Name]='x' OR [Name]='y') AND [Name]='z')",
              libFilter(lib(0, "", {lib(1, "", {lib(2, "x"), lib(2, "y")}), lib(2, "z")})));
    EXPECT_EQ("([Name]='a' AND [Name]='b' AND [Name]='c')",
              libFilter(lib(0, "", {lib(2, "a"), lib(2, "b"), lib(2, "c")})));
    EXPECT_EQ("()", libFilter(lib(0, "")));
}

TEST(LibFilterShape, EveryComparator) {
    EXPECT_EQ("[Name]='v'", libFilter(lib(2, "v")));
    EXPECT_EQ("[Name]<>'v'", libFilter(lib(3, "v")));
    EXPECT_EQ("[Name]>'v'", libFilter(lib(4, "v")));
    EXPECT_EQ("[Name]>='v'", libFilter(lib(5, "v")));
    EXPECT_EQ("[Name]<'v'", libFilter(lib(6, "v")));
    EXPECT_EQ("[Name]<='v'", libFilter(lib(7, "v")));
    EXPECT_EQ("[Name] LIKE'v'", libFilter(lib(8, "v")));
    EXPECT_EQ("[Name] NOT LIKE'v'", libFilter(lib(9, "v")));
}

TEST(LibFilterShape, EmptyValueIsNull) {
    EXPECT_EQ("[Name] IS NULL", libFilter(lib(2, "")));
    EXPECT_EQ("[Name] IS NOT NULL", libFilter(lib(3, "")));
    EXPECT_EQ("[Name]>NULL", libFilter(lib(4, "")));
}

TEST(LibFilterValues, WrittenUnchangedApartFromQuotes) {
    EXPECT_EQ("[Name] LIKE'Lib_%[0-9]*'", libFilter(lib(8, "Lib_%[0-9]*")));
    EXPECT_EQ("[Name]=' padded '", libFilter(lib(2, " padded ")));
    EXPECT_EQ("[Name]='O''Brien'", libFilter(lib(2, "O'Brien")));
    EXPECT_EQ("[Name]=''''", libFilter(lib(2, "'")));
    EXPECT_EQ("[Name]='a\\''b\\'", libFilter(lib(2, "a\\'b\\")));
    EXPECT_EQ("[Name]='R [SMD]'", libFilter(lib(2, "R [SMD]")));
    EXPECT_EQ("[Name]='''; DROP TABLE [Parts]; --'", libFilter(lib(2, "'; DROP TABLE [Parts]; --")));
}

TEST(FilterWalkErrors, ComparisonWithSecondChildIsUnknownNodeType) {
    // The second child's comparator is invalid as well: the node type error
    // shows that the walk failed as that child was begun, before its comparison.
    auto root = lib(2, "A", {lib(2, "B"), lib(10, "C")});
    EXPECT_EQ("Unknown Node Type", thrownMessage([&] { libFilter(root); }));
}

TEST(FilterWalkErrors, ComparatorOutsideTwoToNine) {
    EXPECT_EQ("Unknown Comparator Type", thrownMessage([] { libFilter(lib(10, "A")); }));
    EXPECT_EQ("Unknown Comparator Type", thrownMessage([] { libFilter(lib(-1, "A")); }));
    EXPECT_EQ("Unknown Comparator Type", thrownMessage([] { libFilter(lib(0, "", {lib(2, "A"), lib(10, "B")})); }));
}

TEST(PartDefFilter, NameIsUnqualified) {
    EXPECT_EQ("Name='A'", partDefFilter(partDef(2, "A")));
    EXPECT_EQ("(Name='A' OR Name LIKE'B%')", partDefFilter(partDef(1, "", {partDef(2, "A"), partDef(8, "B%")})));
    EXPECT_EQ("Name IS NULL", partDefFilter(partDef(2, "")));
    EXPECT_EQ("Name IS NOT NULL", partDefFilter(partDef(3, "")));
    EXPECT_EQ("Name='''; DROP TABLE [Parts]; --'", partDefFilter(partDef(2, "'; DROP TABLE [Parts]; --")));
    EXPECT_EQ("Unknown Comparator Type", thrownMessage([] { partDefFilter(partDef(10, "A")); }));
}
