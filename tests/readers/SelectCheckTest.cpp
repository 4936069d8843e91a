// The compile-time check of the readers' SELECT lists against the column
// catalogue and their accessors: how it reads a list, and that it reports
// each kind of drift (the readers' own lists pass it at compile time).

#include "ctraxdbpartlib/readers/SelectCheck.h"
#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "ctraxdbpartlib/readers/LibraryAccessor.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"

#include <gtest/gtest.h>

#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr const char *PINS = "SELECT [Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],[Pin_position],"
                             "[Equiv_group],[Part_def_ID],[ID] FROM [Pin_Data] WHERE [Part_def_ID] = ?;";

// Two columns of [Pin_Equiv], bound by the test's own accessors below.
constexpr const char *GROUPS = "SELECT [ID],[Part_def_ID] FROM [Pin_Equiv] WHERE [Part_def_ID] = ?;";

struct SkippedOrdinal {
    int32_t id = 0, partDefId = 0;
    template <class Map> constexpr void bind(Map &map) {
        map.column(1, id);
        map.column(3, partDefId);
    }
};

struct OrdinalTwice {
    int32_t id = 0, partDefId = 0;
    template <class Map> constexpr void bind(Map &map) {
        map.column(1, id);
        map.column(1, partDefId);
    }
};

struct NarrowInteger {
    int16_t id = 0;
    int32_t partDefId = 0;
    template <class Map> constexpr void bind(Map &map) {
        map.column(1, id);
        map.column(2, partDefId);
    }
};

// A gate's name and ID into a buffer of `Size`, cut to `limit` bytes when given.
template <size_t Size, size_t Limit = 0> struct GateName {
    TextBuffer<Size> name = {};
    DBSTATUS nameStatus = DBSTATUS_S_OK;
    int32_t id = 0;
    template <class Map> constexpr void bind(Map &map) {
        if (Limit == 0)
            map.column(1, name);
        else
            map.columnUpTo(1, name, &nameStatus, Limit);
        map.column(2, id);
    }
};
constexpr const char *GATE_NAMES = "SELECT [Name],[ID] FROM [Gate]";
constexpr size_t GATE_NAME = bufferWidth("Gate", "Name");

TEST(SelectCheckTest, ReadsTheListAndTheTableOfAStatement) {
    EXPECT_EQ(std::string(select::listOf("SELECT [Name], [ID] from [Library] ORDER BY([Name]);")), "[Name], [ID]");
    EXPECT_EQ(std::string(select::tableOf("SELECT [Name] FROM (([Gate] INNER JOIN [Pin_Data] ON 1=1))")), "Gate");
    // A head without its FROM, and a bracketed name that holds the keyword.
    EXPECT_EQ(std::string(select::listOf("SELECT [Name],[ID] ")), "[Name],[ID]");
    EXPECT_EQ(std::string(select::tableOf("SELECT [Name],[ID] ")), "");
    EXPECT_EQ(std::string(select::listOf("SELECT [x from y] FROM [T]")), "[x from y]");
    EXPECT_EQ(select::listOf("[Name] FROM [Library]"), "") << "not a SELECT";

    EXPECT_EQ(select::itemCount("[Parts].[Name], [ID]"), 2u);
    EXPECT_EQ(select::itemCount(" "), 0u);
    EXPECT_EQ(select::itemColumn("[Parts].[Name], [Label]", 0, "Pin_Data"), columnIndex("Parts", "Name"));
    EXPECT_EQ(select::itemColumn("[Parts].[Name], [Label]", 1, "Pin_Data"), columnIndex("Pin_Data", "Label"));
    EXPECT_EQ(select::itemColumn("Name", 0, "Parts"), COLUMN_COUNT) << "not bracketed";
}

TEST(SelectCheckTest, TheReadersFormsAgree) {
    static_assert(selectAgrees<PinDataAccessor>(PINS));
    EXPECT_EQ(statementFault<PinDataAccessor>(PINS), SelectFault::None);
    // A head without FROM takes its table from the caller.
    EXPECT_EQ(statementFault<GateName<GATE_NAME>>("SELECT [Name],[ID] ", "Gate"), SelectFault::None);
    // A text read into a wider buffer held to the column's bytes.
    EXPECT_EQ((statementFault<GateName<GATE_NAME + 30, textBytes(GATE_NAME) - 1>>(GATE_NAMES)), SelectFault::None);
    // [Enabled] is a SMALLINT: an int32_t holds it.
    EXPECT_EQ(statementFault<LibraryAccessor>("SELECT [Name],[ID],[Enabled],[Comment] FROM [Library]"),
              SelectFault::None);
}

TEST(SelectCheckTest, NamesOutsideTheCatalogueAreCaught) {
    // A misspelt column, a column of another table, and the right names
    // against the wrong table.
    static_assert(statementFault<GateAccessor>("SELECT [ID],[Nme],[Alt_name],[Part_def_ID] FROM [Gate]") ==
                  SelectFault::UnknownColumn);
    EXPECT_EQ(statementFault<GateAccessor>("SELECT [ID],[Gate].[Name],[Gate].[Label],[Part_def_ID] FROM [Gate]"),
              SelectFault::UnknownColumn);
    EXPECT_EQ(statementFault<GateAccessor>("SELECT [ID],[Name],[Alt_name],[Part_def_ID] FROM [Gate_Equiv]"),
              SelectFault::UnknownColumn);
    EXPECT_EQ(statementFault<GateAccessor>("SELECT [ID],[Name],[Alt_name],[Part_def_ID]"), SelectFault::UnknownColumn)
        << "no table to read unqualified names against";
    EXPECT_EQ(statementFault<GateAccessor>("SELECT [ID],Name,[Alt_name],[Part_def_ID] FROM [Gate]"),
              SelectFault::UnknownColumn);
}

TEST(SelectCheckTest, BindingsThatDriftFromTheListAreCaught) {
    // A column dropped from the list, or one added to it.
    EXPECT_EQ(statementFault<PinDataAccessor>("SELECT [Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],"
                                              "[Pin_position],[Equiv_group],[Part_def_ID] FROM [Pin_Data]"),
              SelectFault::ColumnCount);
    EXPECT_EQ(statementFault<GateAccessor>("SELECT [ID],[Name],[Alt_name],[Part_def_ID],[ID] FROM [Gate]"),
              SelectFault::ColumnCount);
    EXPECT_EQ(statementFault<SkippedOrdinal>(GROUPS), SelectFault::Ordinal);
    EXPECT_EQ(statementFault<OrdinalTwice>(GROUPS), SelectFault::Ordinal);
    // Two columns swapped: a text lands on an integer.
    EXPECT_EQ(statementFault<GateAccessor>("SELECT [Name],[ID],[Alt_name],[Part_def_ID] FROM [Gate]"),
              SelectFault::Type);
    // An INTEGER into an int16_t.
    EXPECT_EQ(statementFault<NarrowInteger>(GROUPS), SelectFault::Type);
}

TEST(SelectCheckTest, TextBuffersOfAnotherWidthAreCaught) {
    // A buffer sized by hand for a column since widened, one wider than the
    // column without a limit, and a limit that is not the column's.
    EXPECT_EQ(statementFault<GateName<GATE_NAME - 1>>(GATE_NAMES), SelectFault::TextWidth);
    EXPECT_EQ(statementFault<GateName<GATE_NAME + 1>>(GATE_NAMES), SelectFault::TextWidth);
    EXPECT_EQ((statementFault<GateName<GATE_NAME + 30, textBytes(GATE_NAME)>>(GATE_NAMES)), SelectFault::TextWidth);
    // The part's [Part_Acceptance] buffer read as another column of its width.
    EXPECT_EQ(statementFault<PartAccessor>("SELECT [Name],[Part_number],[Description],[PSpice_data],[Description],"
                                           "[Part_version],[Library_ID],[Part_def_ID],[Hierarchy_ID],[ID],[Part_Type] "
                                           "FROM [Parts]"),
              SelectFault::TextWidth);
}

} // namespace
