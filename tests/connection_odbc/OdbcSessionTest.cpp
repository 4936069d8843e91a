// The session layer over the ODBC provider: opening by initialisation
// string and reading through an accessor whose text field is narrower than
// the column: a text that fits arrives, a longer one is refused.

#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

struct ShortNameAccessor {
    int32_t id = 0;
    char name[6] = {0}; // five characters and the NUL
    DBSTATUS nameStatus = 0;
    void bind(ColumnMap &map) {
        map.column(1, id);
        map.column(2, name, &nameStatus);
    }
};

} // namespace

TEST(OdbcSession, ReadsThroughAnAccessorTextsUpToItsWidthAndRefusesLongerOnes) {
    const char *env = std::getenv("TXDB_MARIADB_INITSTRING");
    if (!env || !*env)
        GTEST_SKIP() << "TXDB_MARIADB_INITSTRING is not set; start a server with "
                        "scripts/mariadb-server.sh start BUILD_DIR and export the string it prints";
    CDataSource dataSource;
    ASSERT_EQ(dataSource.OpenFromInitializationString(env), S_OK)
        << (CDBErrorInfo::records().empty() ? "" : CDBErrorInfo::records()[0]);
    CSession session;
    ASSERT_EQ(session.Open(dataSource), S_OK);

    CCommand<CNoAccessor> statement;
    ASSERT_EQ(statement.Open(session, "DROP TABLE IF EXISTS `OdbcSessionCut`"), S_OK);
    ASSERT_EQ(statement.Open(session, "CREATE TABLE `OdbcSessionCut` (`ID` INTEGER NOT NULL PRIMARY KEY, `Name` "
                                      "VARCHAR(50))"),
              S_OK);
    ASSERT_EQ(statement.Open(session, "INSERT INTO `OdbcSessionCut` VALUES (1,'ABCDE'),(2,NULL),(3,'xy'),(4,'ABCDEF')"),
              S_OK);

    CCommand<CAccessor<ShortNameAccessor>> query;
    ASSERT_EQ(query.Open(session, "SELECT `ID`,`Name` FROM `OdbcSessionCut` ORDER BY `ID`"), S_OK);
    ASSERT_EQ(query.MoveFirst(), S_OK);
    EXPECT_EQ(query.id, 1);
    EXPECT_STREQ(query.name, "ABCDE");
    EXPECT_NE(query.nameStatus, DBSTATUS_S_ISNULL);
    ASSERT_EQ(query.MoveNext(), S_OK);
    EXPECT_EQ(query.id, 2);
    EXPECT_EQ(query.nameStatus, DBSTATUS_S_ISNULL);
    ASSERT_EQ(query.MoveNext(), S_OK);
    EXPECT_STREQ(query.name, "xy");
    EXPECT_EQ(query.nameStatus, DBSTATUS_S_OK);
    CDBErrorInfo::clear();
    EXPECT_TRUE(FAILED(query.MoveNext()));
    ASSERT_FALSE(CDBErrorInfo::records().empty());
    EXPECT_NE(CDBErrorInfo::records().back().find("holds a text of 6 bytes, longer than the 5 bytes it is read in"),
              std::string::npos)
        << CDBErrorInfo::records().back();
    query.Close();

    // A failing statement through the layer leaves the driver's text as its record.
    EXPECT_EQ(statement.Open(session, "INSERT INTO `OdbcSessionCut` VALUES (1,'again')"), DB_E_INTEGRITYVIOLATION);
    CDBErrorInfo errors;
    uint32_t count = 0;
    ASSERT_EQ(errors.GetErrorRecords(&count), S_OK);
    ASSERT_GE(count, 1u);
    std::string description;
    ASSERT_EQ(errors.GetDescription(0, description), S_OK);
    EXPECT_NE(description.find("Duplicate entry"), std::string::npos) << description;
}
