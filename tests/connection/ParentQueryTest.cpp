// Which queries are read for a whole library, and the form they are read in.

#include "ctraxdbpartlib/connection/ParentQuery.h"

#include <gtest/gtest.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

ParentQuery parsed(const std::string &sql, bool expected = true) {
    ParentQuery query;
    EXPECT_EQ(parseParentQuery(sql, '`', '`', query), expected) << sql;
    return query;
}

const char *const DEFINITIONS = "SELECT `ID` FROM `Part_Definition` WHERE `Library_ID` = ?";

TEST(ParentQuery, AQueryOverOneDefinitionIsReadForTheLibraryInItsOwnOrder) {
    const ParentQuery pins = parsed("SELECT `Name`,`ID` FROM `Pin_Data` WHERE `Part_def_ID` = ? ORDER BY(`ID`);");
    EXPECT_EQ(pins.parent, ParentKind::Definition);
    EXPECT_EQ(pins.table, "Pin_Data");
    ASSERT_TRUE(pins.libraryWidePossible);
    EXPECT_FALSE(pins.count);
    EXPECT_EQ(pins.libraryWide,
              std::string("SELECT `Part_def_ID`,`Name`,`ID` FROM `Pin_Data` WHERE `Part_def_ID` IN (") + DEFINITIONS +
                  ") ORDER BY `Part_def_ID`,(`ID`);");
}

TEST(ParentQuery, AJoinedQueryKeepsItsTablesAndConditions) {
    const ParentQuery gatePins =
        parsed("SELECT `Pin_Data`.`Pin_identifier` FROM `Gate_has_Pin_Data`,`Pin_Data` WHERE "
               "`Gate_has_Pin_Data`.`Pin_data_ID`=`Pin_Data`.`ID` AND `Gate_has_Pin_Data`.`Gate_ID` = ? "
               "ORDER BY(`Gate_has_Pin_Data`.`ID`);");
    EXPECT_EQ(gatePins.parent, ParentKind::Gate);
    EXPECT_EQ(gatePins.libraryWide,
              "SELECT `Gate_has_Pin_Data`.`Gate_ID`,`Pin_Data`.`Pin_identifier` FROM `Gate_has_Pin_Data`,`Pin_Data` "
              "WHERE `Gate_has_Pin_Data`.`Pin_data_ID`=`Pin_Data`.`ID` AND `Gate_has_Pin_Data`.`Gate_ID` IN (SELECT "
              "`Gate`.`ID` FROM `Gate`,`Part_Definition` WHERE `Gate`.`Part_def_ID`=`Part_Definition`.`ID` AND "
              "`Part_Definition`.`Library_ID` = ?) ORDER BY `Gate_has_Pin_Data`.`Gate_ID`,(`Gate_has_Pin_Data`.`ID`);");
}

TEST(ParentQuery, CountsAndUnorderedQueriesAreReadPerParent) {
    const ParentQuery count = parsed("SELECT Count(*) FROM `Gate_Equiv_Gate` WHERE `Gate_equiv_ID` = ?");
    EXPECT_EQ(count.parent, ParentKind::Swap);
    EXPECT_TRUE(count.count);
    EXPECT_NE(count.libraryWide.find(" GROUP BY `Gate_equiv_ID`;"), std::string::npos) << count.libraryWide;
    const ParentQuery groupPins = parsed("SELECT `Pin_identifier`,`Equiv_group`, `ID` FROM `Pin_Data` WHERE "
                                         "`Equiv_group` = ?;");
    EXPECT_EQ(groupPins.parent, ParentKind::Group);
    EXPECT_NE(groupPins.libraryWide.find(" ORDER BY `Equiv_group`,`ID`;"), std::string::npos) << groupPins.libraryWide;
}

TEST(ParentQuery, FurtherConditionsAndParametersKeepAQueryToItsParent) {
    for (const char *sql :
         {"SELECT `ID` FROM `Pin_Data` WHERE `Part_def_ID` = ? AND `Pin_identifier` = ? ORDER BY(`ID`);",
          "SELECT `ID` FROM `Pin_Data` WHERE  `Part_def_ID` = ? AND `Equiv_group` IS NULL;",
          "SELECT MAX(`ID`) FROM `Gate` WHERE `Part_def_ID` = ?;"}) {
        const ParentQuery query = parsed(sql);
        EXPECT_EQ(query.parent, ParentKind::Definition) << sql;
        EXPECT_FALSE(query.libraryWidePossible) << sql;
    }
}

TEST(ParentQuery, OtherQueriesAreNoParentQueries) {
    parsed("SELECT `Name` FROM `Parts` WHERE `Library_ID` = ? ORDER BY(`Name`);", false);
    parsed("SELECT `Name` FROM `Hierarchy` WHERE `Library_ID` = ? AND `Parent_ID` = ?;", false);
    parsed("SELECT `Name` FROM `Pin_Data` WHERE `ID` = ?;", false);
    parsed("SELECT `Name` FROM `Pin_Data` WHERE `Part_def_ID` = 3;", false);
    parsed("UPDATE `Pin_Data` SET `Name` = ? WHERE `Part_def_ID` = ?;", false);
    parsed("SELECT `Name` FROM `Pin_Data` WHERE `Part_def_ID` > ?;", false);
}

} // namespace
