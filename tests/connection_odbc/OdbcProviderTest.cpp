// The ODBC provider against a real MariaDB server (scripts/mariadb-server.sh
// prints the initialisation string to export as TXDB_MARIADB_INITSTRING),
// and its translation of diagnostics and initialisation strings.

#include "ctraxdbpartlib/connection/OdbcProvider.h"
#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/OdbcSupport.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr auto intParam = &DBParam::fromInt;
constexpr auto textParam = &DBParam::fromText;

bool anyRecordContains(const std::string &text) {
    const std::vector<std::string> &records = CDBErrorInfo::records();
    return std::any_of(records.begin(), records.end(),
                       [&](const auto &r) { return r.find(text) != std::string::npos; });
}

} // namespace

TEST(OdbcTranslation, ResultCodesFollowSqlStateClassAndMariaDbNumbers) {
    EXPECT_EQ(odbcResultCode("42000", 1064), DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(odbcResultCode("42S02", 1146), DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(odbcResultCode("23000", 1062), DB_E_INTEGRITYVIOLATION);
    for (int native : {1048, 1062, 1364, 1451, 1452})
        EXPECT_EQ(odbcResultCode("HY000", native), DB_E_INTEGRITYVIOLATION) << native;
    EXPECT_EQ(odbcResultCode("HY000", 1553), E_FAIL);
    EXPECT_EQ(odbcResultCode("08001", 2002), E_FAIL);
    EXPECT_EQ(odbcResultCode("28000", 1045), E_FAIL);
    // The engine numbers count only with the general SQLSTATE.
    EXPECT_EQ(odbcResultCode("HY010", 1062), E_FAIL);
}

TEST(OdbcTranslation, ConnectionStringRenamesKeysDropsProviderAndBracesValues) {
    InitString init{{{"Provider", "ODBC"},
                     {"Driver", "MariaDB Unicode"},
                     {"Server", "127.0.0.1"},
                     {"initial catalog", "parts"},
                     {"User ID", "u"},
                     {"Password", "p"}}};
    EXPECT_EQ(odbcConnectionString(init), "Driver={MariaDB Unicode};Server=127.0.0.1;DATABASE=parts;UID=u;PWD=p;");
    init.pairs = {{"DSN", "lib"}, {"PWD", "a;b}c"}, {"Option", " x"}, {"Empty", ""}};
    EXPECT_EQ(odbcConnectionString(init), "DSN=lib;PWD={a;b}}c};Option={ x};Empty={};");
}

class OdbcServer : public ::testing::Test {
protected:
    void SetUp() override {
        const char *env = std::getenv("TXDB_MARIADB_INITSTRING");
        if (!env || !*env)
            GTEST_SKIP() << "TXDB_MARIADB_INITSTRING is not set; start a server with "
                            "scripts/mariadb-server.sh start BUILD_DIR and export the string it prints";
        ASSERT_EQ(InitString::parse(env, init), S_OK);
        db = open(init);
        ASSERT_TRUE(db);
    }

    std::unique_ptr<ProviderConnection> open(const InitString &with) {
        CDBErrorInfo::clear();
        std::unique_ptr<ProviderConnection> connection;
        HRESULT hr = openOdbcProvider(with, connection);
        EXPECT_EQ(hr, S_OK) << (CDBErrorInfo::records().empty() ? "" : CDBErrorInfo::records()[0]);
        return connection;
    }

    HRESULT run(const std::string &sql, ProviderConnection *on = nullptr) {
        CDBErrorInfo::clear();
        return (on ? on : db.get())->execute(sql);
    }

    // Drops the table if it is there and runs the CREATE statement.
    void recreate(const std::string &table, const std::string &create) {
        runOk("DROP TABLE IF EXISTS `" + table + "`");
        runOk(create);
    }

    void runOk(const std::string &sql) {
        ASSERT_EQ(run(sql), S_OK) << sql << ": " << (CDBErrorInfo::records().empty() ? "" : CDBErrorInfo::records()[0]);
    }

    std::unique_ptr<ProviderStatement> query(const std::string &sql, const std::vector<DBParam> &params = {},
                                             ProviderConnection *on = nullptr) {
        std::unique_ptr<ProviderStatement> statement;
        CDBErrorInfo::clear();
        EXPECT_EQ((on ? on : db.get())->prepare(sql, statement), S_OK) << sql;
        if (statement) {
            EXPECT_EQ(statement->execute(params), S_OK) << sql;
        }
        return statement;
    }

    // The first column of every row, NULL as "<null>".
    std::vector<std::string> column(const std::string &sql, const std::vector<DBParam> &params = {},
                                    ProviderConnection *on = nullptr) {
        std::vector<std::string> values;
        auto statement = query(sql, params, on);
        HRESULT hr;
        while (statement && (hr = statement->fetch()) == S_OK) {
            size_t length = 0;
            const char *text = statement->getText(1, length);
            values.push_back(statement->isNull(1) ? "<null>" : std::string(text, length));
        }
        return values;
    }

    int count(const std::string &table, ProviderConnection *on = nullptr) {
        auto statement = query("SELECT COUNT(*) FROM `" + table + "`", {}, on);
        EXPECT_EQ(statement->fetch(), S_OK);
        return statement->getInt(1);
    }

    InitString init;
    std::unique_ptr<ProviderConnection> db;
};

TEST_F(OdbcServer, PropertiesAndQuoting) {
    DBVariant value;
    ASSERT_EQ(db->property(DBPropSet::DBINIT, DBPROP_INIT_CATALOG, value), S_OK);
    EXPECT_EQ(value.type, DBVariant::STRING);
    EXPECT_EQ(value.str, "partlib_test");
    ASSERT_EQ(db->property(DBPropSet::DATASOURCEINFO, DBPROP_DATASOURCENAME, value), S_OK);
    EXPECT_NE(value.str.find("127.0.0.1"), std::string::npos) << value.str;
    ASSERT_EQ(db->property(DBPropSet::DATASOURCEINFO, DBPROP_DATASOURCEREADONLY, value), S_OK);
    EXPECT_EQ(value.type, DBVariant::fromBool(true).type); // sql.h defines BOOL as a macro
    EXPECT_FALSE(value.boolVal);
    EXPECT_TRUE(FAILED(db->property(DBPropSet::ROWSET, DBPROP_IRowsetChange, value)));
    char open = 0, close = 0;
    db->dialect().quoteChars(open, close);
    EXPECT_EQ(open, '`');
    EXPECT_EQ(close, '`');
}

TEST_F(OdbcServer, WithoutCatalogTheCatalogPropertyFails) {
    InitString noCatalog = init;
    noCatalog.pairs.erase(std::remove_if(noCatalog.pairs.begin(), noCatalog.pairs.end(),
                                         [](const auto &p) { return equalsNoCase(p.first, "Initial Catalog"); }),
                          noCatalog.pairs.end());
    auto other = open(noCatalog);
    ASSERT_TRUE(other);
    DBVariant value;
    EXPECT_TRUE(FAILED(other->property(DBPropSet::DBINIT, DBPROP_INIT_CATALOG, value)));
    // The catalog is chosen by USE, as the library path does.
    ASSERT_EQ(run("USE `partlib_test`", other.get()), S_OK);
    EXPECT_EQ(column("SELECT DATABASE()", {}, other.get()), std::vector<std::string>{"partlib_test"});
}

TEST_F(OdbcServer, DataSourceNamesTheDsn) {
    // A user data source file of this test's own, in place of ~/.odbc.ini.
    std::string file = ::testing::TempDir() + "odbc_provider_test.ini";
    std::ofstream(file) << "[partlib_test_dsn]\nDriver=" << init.get("Driver") << "\nServer=" << init.get("Server")
                        << "\nPort=" << init.get("Port") << "\n";
    InitString dsn{{{"Provider", "ODBC"},
                    {"DSN", "partlib_test_dsn"},
                    {"Initial Catalog", "partlib_test"},
                    {"User ID", init.get("User ID")},
                    {"Password", init.get("Password")}}};
    std::unique_ptr<ProviderConnection> other;
    {
        txdbtest::ScopedVariable odbcIni("ODBCINI", file.c_str());
        other = open(dsn);
    }
    std::remove(file.c_str());
    ASSERT_TRUE(other);
    DBVariant value;
    ASSERT_EQ(other->property(DBPropSet::DATASOURCEINFO, DBPROP_DATASOURCENAME, value), S_OK);
    EXPECT_EQ(value.str, "partlib_test_dsn");
    EXPECT_EQ(column("SELECT DATABASE()", {}, other.get()), std::vector<std::string>{"partlib_test"});
}

TEST_F(OdbcServer, RefusedLoginLeavesTheDriverTextButNotThePassword) {
    InitString wrong = init;
    for (auto &pair : wrong.pairs) {
        if (equalsNoCase(pair.first, "Password"))
            pair.second = "not-the-secret-7391";
    }
    CDBErrorInfo::clear();
    std::unique_ptr<ProviderConnection> connection;
    EXPECT_EQ(openOdbcProvider(wrong, connection), E_FAIL);
    EXPECT_FALSE(connection);
    ASSERT_FALSE(CDBErrorInfo::records().empty());
    EXPECT_TRUE(anyRecordContains("SQLSTATE 28000")) << CDBErrorInfo::records()[0];
    EXPECT_FALSE(anyRecordContains("not-the-secret-7391"));
}

TEST_F(OdbcServer, CatalogsAndTablesOfTheCurrentCatalog) {
    recreate("OdbcListed", "CREATE TABLE `OdbcListed` (`ID` INTEGER)");
    runOk("DROP TABLE IF EXISTS `partlib_test2`.`OdbcOther`");
    runOk("CREATE TABLE `partlib_test2`.`OdbcOther` (`ID` INTEGER)");

    std::vector<std::string> names;
    ASSERT_EQ(db->catalogs(names), S_OK);
    EXPECT_NE(std::find(names.begin(), names.end(), "partlib_test"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "partlib_test2"), names.end());

    ASSERT_EQ(db->tables(names), S_OK);
    EXPECT_NE(std::find(names.begin(), names.end(), "OdbcListed"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "OdbcOther"), names.end());

    runOk("USE `partlib_test2`");
    ASSERT_EQ(db->tables(names), S_OK);
    EXPECT_NE(std::find(names.begin(), names.end(), "OdbcOther"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "OdbcListed"), names.end());
}

TEST_F(OdbcServer, PrimaryKeyColumnsInKeyOrder) {
    recreate("OdbcKeyed", "CREATE TABLE `OdbcKeyed` (`A` INTEGER NOT NULL, `B` VARCHAR(20) NOT NULL, `C` INTEGER)");
    runOk("ALTER TABLE `OdbcKeyed` ADD CONSTRAINT `OdbcKeyedPK` PRIMARY KEY(`B`,`A`)");
    std::vector<std::string> key;
    ASSERT_EQ(db->primaryKey("OdbcKeyed", key), S_OK);
    EXPECT_EQ(key, (std::vector<std::string>{"B", "A"}));
    // Table names are case-sensitive on this server.
    ASSERT_EQ(db->primaryKey("odbckeyed", key), S_OK);
    EXPECT_TRUE(key.empty());
}

TEST_F(OdbcServer, RollbackDiscardsAndCommitKeepsWhileOthersSeeOnlyCommittedRows) {
    recreate("OdbcTx", "CREATE TABLE `OdbcTx` (`ID` INTEGER PRIMARY KEY) ENGINE=InnoDB");
    auto other = open(init);
    ASSERT_TRUE(other);

    ASSERT_EQ(db->begin(), S_OK);
    EXPECT_TRUE(db->inTransaction());
    runOk("INSERT INTO `OdbcTx` VALUES (1)");
    EXPECT_EQ(count("OdbcTx"), 1);
    EXPECT_EQ(count("OdbcTx", other.get()), 0);
    ASSERT_EQ(db->rollback(), S_OK);
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(count("OdbcTx"), 0);

    ASSERT_EQ(db->begin(), S_OK);
    runOk("INSERT INTO `OdbcTx` VALUES (2)");
    ASSERT_EQ(db->commit(), S_OK);
    EXPECT_EQ(count("OdbcTx", other.get()), 1);

    // Outside a transaction every statement is kept at once.
    runOk("INSERT INTO `OdbcTx` VALUES (3)");
    EXPECT_EQ(count("OdbcTx", other.get()), 2);
    EXPECT_EQ(column("SELECT @@SESSION.tx_isolation"), std::vector<std::string>{"READ-COMMITTED"});
}

TEST_F(OdbcServer, FailuresCarryTheirCodesAndOneRecordPerDiagnostic) {
    runOk("DROP TABLE IF EXISTS `OdbcChild`");
    recreate("OdbcParent",
             "CREATE TABLE `OdbcParent` (`ID` INTEGER NOT NULL PRIMARY KEY, `Name` VARCHAR(10) NOT NULL)");
    runOk("CREATE TABLE `OdbcChild` (`ID` INTEGER NOT NULL PRIMARY KEY, `Parent_ID` INTEGER NOT NULL)");
    runOk("ALTER TABLE `OdbcChild` ADD CONSTRAINT `OdbcChildParent` FOREIGN KEY(`Parent_ID`) REFERENCES "
          "`OdbcParent`(`ID`)");
    runOk("INSERT INTO `OdbcParent` (`ID`,`Name`) VALUES (1,'a')");

    EXPECT_EQ(run("SELEC 1"), DB_E_ERRORSINCOMMAND);
    ASSERT_EQ(CDBErrorInfo::records().size(), 1u);
    EXPECT_TRUE(anyRecordContains("(SQLSTATE 42000, error 1064)")) << CDBErrorInfo::records()[0];
    EXPECT_EQ(run("INSERT INTO `OdbcParent` (`ID`,`Name`) VALUES (4,NULL)"), DB_E_INTEGRITYVIOLATION);
    EXPECT_EQ(run("INSERT INTO `OdbcChild` VALUES (1,99)"), DB_E_INTEGRITYVIOLATION);
    runOk("INSERT INTO `OdbcChild` VALUES (1,1)");
    EXPECT_EQ(run("DELETE FROM `OdbcParent` WHERE `ID`=1"), DB_E_INTEGRITYVIOLATION);
    EXPECT_EQ(count("OdbcParent"), 1);
}

TEST_F(OdbcServer, BackslashesAreOrdinaryCharactersAndServerModesStay) {
    recreate("OdbcText", "CREATE TABLE `OdbcText` (`T` VARCHAR(50))");
    runOk("INSERT INTO `OdbcText` VALUES ('C:\\new\\table\\'), ('it''s')");
    EXPECT_EQ(column("SELECT `T` FROM `OdbcText` ORDER BY `T`"),
              (std::vector<std::string>{"C:\\new\\table\\", "it's"}));
    std::string mode = column("SELECT @@SESSION.sql_mode").at(0);
    EXPECT_NE(mode.find("NO_BACKSLASH_ESCAPES"), std::string::npos) << mode;
    EXPECT_NE(mode.find("STRICT_TRANS_TABLES"), std::string::npos) << mode;
    EXPECT_EQ(mode.find("ANSI_QUOTES"), std::string::npos) << mode;
}

TEST_F(OdbcServer, ParametersNullsAndReexecution) {
    recreate("OdbcParams", "CREATE TABLE `OdbcParams` (`ID` INTEGER NOT NULL, `Name` VARCHAR(20), `Flag` SMALLINT)");
    std::unique_ptr<ProviderStatement> insert;
    ASSERT_EQ(db->prepare("INSERT INTO `OdbcParams` VALUES (?,?,?)", insert), S_OK);
    ASSERT_EQ(insert->execute({intParam(1), textParam("R [SMD] \\ 'x'"), intParam(-7)}), S_OK);
    ASSERT_EQ(insert->execute({intParam(2), DBParam(), DBParam()}), S_OK);
    ASSERT_EQ(insert->execute({intParam(3), textParam(""), intParam(0)}), S_OK);
    EXPECT_EQ(insert->execute({DBParam(), textParam("x"), intParam(0)}), DB_E_INTEGRITYVIOLATION);

    auto rows = query("SELECT `ID`,`Name`,`Flag` FROM `OdbcParams` WHERE `ID`>=? ORDER BY `ID`", {intParam(1)});
    ASSERT_EQ(rows->columnCount(), 3);
    EXPECT_EQ(rows->columnName(2), "Name");
    ASSERT_EQ(rows->fetch(), S_OK);
    size_t length = 0;
    EXPECT_EQ(std::string(rows->getText(2, length)), "R [SMD] \\ 'x'");
    EXPECT_EQ(length, 13u);
    EXPECT_EQ(rows->getInt(3), -7);
    EXPECT_EQ(std::string(rows->getText(3, length)), "-7");
    ASSERT_EQ(rows->fetch(), S_OK);
    EXPECT_EQ(rows->getInt(1), 2);
    EXPECT_TRUE(rows->isNull(2));
    EXPECT_TRUE(rows->isNull(3));
    ASSERT_EQ(rows->fetch(), S_OK);
    EXPECT_FALSE(rows->isNull(2));
    EXPECT_EQ(rows->getText(2, length), std::string());
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(rows->fetch(), DB_S_ENDOFROWSET);

    // Running again starts over with the new parameter.
    ASSERT_EQ(rows->execute({intParam(3)}), S_OK);
    ASSERT_EQ(rows->fetch(), S_OK);
    EXPECT_EQ(rows->getInt(1), 3);
    EXPECT_EQ(rows->fetch(), DB_S_ENDOFROWSET);
}

TEST_F(OdbcServer, LongTextsComeWholeAndStatementsReadSideBySide) {
    recreate("OdbcLong", "CREATE TABLE `OdbcLong` (`ID` INTEGER, `Body` LONGTEXT, `Note` VARCHAR(255))");
    std::string body(100000, 'x');
    body[0] = 'a';
    body[body.size() - 1] = 'z';
    std::unique_ptr<ProviderStatement> insert;
    ASSERT_EQ(db->prepare("INSERT INTO `OdbcLong` VALUES (?,?,?)", insert), S_OK);
    ASSERT_EQ(insert->execute({intParam(1), textParam(body), textParam(std::string(255, 'n'))}), S_OK);
    ASSERT_EQ(insert->execute({intParam(2), DBParam(), textParam("10k \xCE\xA9 \xC3\xA9")}), S_OK);

    auto outer = query("SELECT `ID`,`Body`,`Note` FROM `OdbcLong` ORDER BY `ID`");
    ASSERT_EQ(outer->fetch(), S_OK);
    // A second statement while the first is still reading.
    EXPECT_EQ(column("SELECT `ID` FROM `OdbcLong` ORDER BY `ID`"), (std::vector<std::string>{"1", "2"}));
    size_t length = 0;
    EXPECT_EQ(std::string(outer->getText(2, length)), body);
    EXPECT_EQ(length, body.size());
    EXPECT_EQ(std::string(outer->getText(3, length)), std::string(255, 'n'));
    ASSERT_EQ(outer->fetch(), S_OK);
    EXPECT_TRUE(outer->isNull(2));
    EXPECT_EQ(std::string(outer->getText(3, length)), "10k \xCE\xA9 \xC3\xA9");
    EXPECT_EQ(outer->fetch(), DB_S_ENDOFROWSET);
}
