#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Owns a string that a host service returned.
using HostString = std::unique_ptr<char, void (*)(void *)>;
HostString own(char *text) {
    return HostString(text, freeMem);
}

std::string fixBrackets(const char *sql, char open, char close) {
    HostString fixed = own(fixDatabaseCommandEncloseTC(sql, open, close));
    EXPECT_NE(fixed, nullptr);
    return fixed ? fixed.get() : "";
}

TEST(FixEncloseTest, ReplacesIdentifierBracketsOnly) {
    EXPECT_EQ(fixBrackets("SELECT [ID], [Name] FROM [Part] WHERE [ID] = 1", '`', '`'),
              "SELECT `ID`, `Name` FROM `Part` WHERE `ID` = 1");
    EXPECT_EQ(fixBrackets("SELECT [ID] FROM [Part]", '"', '"'), "SELECT \"ID\" FROM \"Part\"");
    EXPECT_EQ(fixBrackets("SELECT [ID] FROM [Part]", '[', ']'), "SELECT [ID] FROM [Part]");
}

TEST(FixEncloseTest, LeavesLiteralsAsWritten) {
    EXPECT_EQ(fixBrackets("INSERT INTO [Part] ([Name]) VALUES ('R [SMD]')", '`', '`'),
              "INSERT INTO `Part` (`Name`) VALUES ('R [SMD]')");
    // A doubled quote is an escaped quote; the literal goes on behind it.
    EXPECT_EQ(fixBrackets("WHERE [Name] = 'it''s [x]' AND [ID] = 2", '"', '"'),
              "WHERE \"Name\" = 'it''s [x]' AND \"ID\" = 2");
    EXPECT_EQ(fixBrackets("WHERE [N] LIKE '%[%' OR [N] = ''''", '`', '`'), "WHERE `N` LIKE '%[%' OR `N` = ''''");
    EXPECT_EQ(fixBrackets("VALUES ('', '[a]', [b])", '`', '`'), "VALUES ('', '[a]', `b`)");
}

TEST(FixEncloseTest, EmptyAndNullText) {
    EXPECT_EQ(fixBrackets("", '`', '`'), "");
    EXPECT_EQ(fixBrackets(nullptr, '`', '`'), "");
}

std::pair<char, char> encloseChars(const char *initialisationString) {
    char open = 0;
    char close = 0;
    EXPECT_NE(getDatabaseEncloseChars(initialisationString, &open, &close, 1), 0);
    return {open, close};
}

TEST(EncloseCharsTest, ByDatabaseKind) {
    const std::pair<char, char> quotes{'"', '"'};
    const std::pair<char, char> backticks{'`', '`'};
    const std::pair<char, char> brackets{'[', ']'};
    EXPECT_EQ(encloseChars("Provider=SQLite;Data Source=parts.db"), quotes);
    EXPECT_EQ(encloseChars("Data Source=parts.db"), quotes);
    EXPECT_EQ(encloseChars("Provider=ODBC;Driver={PostgreSQL Unicode};Server=h"), quotes);
    EXPECT_EQ(encloseChars("Provider=ODBC;Driver={MariaDB Unicode};Server=127.0.0.1;Port=3306"), backticks);
    EXPECT_EQ(encloseChars("provider = odbc ; driver = {MySQL ODBC 8.0 Unicode Driver}"), backticks);
    EXPECT_EQ(encloseChars("Provider=ODBC;Driver=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so"), backticks);
    EXPECT_EQ(encloseChars("Provider=ODBC;Driver={ODBC Driver 18 for SQL Server};Server=s"), brackets);
    EXPECT_EQ(encloseChars("Provider=ODBC;Driver=FreeTDS;Server=s"), brackets);
    EXPECT_EQ(encloseChars("Provider=ODBC;Driver={SQL Server}"), brackets);
    EXPECT_EQ(encloseChars("Provider=SQLOLEDB;Data Source=s"), brackets);
    EXPECT_EQ(encloseChars("Provider=MSOLEDBSQL;Data Source=s"), brackets);
    EXPECT_EQ(encloseChars("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=a.accdb"), brackets);
    EXPECT_EQ(encloseChars("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb"), brackets);
}

TEST(EncloseCharsTest, QuotedValuesAndUnknownDsn) {
    // A ';' inside a quoted value does not end it.
    EXPECT_EQ(encloseChars("Provider=ODBC;Password='a;Driver=MariaDB';Driver={SQL Server}"), std::make_pair('[', ']'));
    EXPECT_EQ(encloseChars("Provider=ODBC;DSN=no-such-data-source-here"), std::make_pair('"', '"'));
}

TEST(EncloseCharsTest, EmptyEntriesHideNoKey) {
    // The plug-in skips empty entries; read otherwise, a MariaDB string
    // would get double quotes, which MariaDB takes for text literals.
    const std::pair<char, char> backticks{'`', '`'};
    EXPECT_EQ(encloseChars(";Provider=ODBC;Driver={MariaDB Unicode};Server=h"), backticks);
    EXPECT_EQ(encloseChars("Provider=ODBC;;Driver={MariaDB Unicode}"), backticks);
    EXPECT_EQ(encloseChars("Provider=ODBC; ; ;Driver={MariaDB Unicode}"), backticks);
    EXPECT_EQ(encloseChars(" ;Provider=SQLOLEDB;;"), std::make_pair('[', ']'));
}

TEST(EncloseCharsTest, DataSourceByItsDriver) {
    // unixODBC reads the user's data sources from the file ODBCINI names.
    std::string ini = testing::TempDir() + "hostservices-odbc-" + std::to_string(::getpid()) + ".ini";
    std::ofstream(ini) << "[txdbMaria]\nDriver=MariaDB Unicode\nServer=127.0.0.1\n\n"
                          "[txdbMssql]\nDriver=ODBC Driver 18 for SQL Server\n";
    {
        txdbtest::ScopedVariable odbcIni("ODBCINI", ini.c_str());
        EXPECT_EQ(encloseChars("Provider=ODBC;DSN=txdbMaria"), std::make_pair('`', '`'));
        EXPECT_EQ(encloseChars("Provider=ODBC;DSN=txdbMssql;Initial Catalog=parts"), std::make_pair('[', ']'));
    }
    std::remove(ini.c_str());
}

bool before(const char *a, const char *b) {
    return isFirstNameBeforeSecond(a, b) != 0;
}

TEST(NaturalOrderTest, NumbersByValueCaseInsensitiveZerosAfterValue) {
    const std::pair<const char *, const char *> ordered[] = {
        {"R2", "R10"},  {"C1-2", "C1-10"}, {"R9", "R10A"},      {"X99999999999999999999", "X100000000000000000000"},
        {"a", "B"},     {"B", "c"},        {"res", "RESISTOR"}, {"R2", "R02"},
        {"R007", "R8"}, {"R02A", "R2B"}, // the value decides before the zeros do
        {"", "A"},      {"R1", "RA"}};
    for (const auto &[first, second] : ordered) {
        EXPECT_TRUE(before(first, second)) << first << " / " << second;
        EXPECT_FALSE(before(second, first)) << second << " / " << first;
    }
    for (const auto &[a, b] : {std::pair{"r2", "R2"}, std::pair{"R2", "r2"}, std::pair{"same", "same"}})
        EXPECT_FALSE(before(a, b)) << a << " / " << b;
}

TEST(NaturalOrderTest, StrictWeakOrderOfASortedList) {
    std::vector<std::string> sorted = {"C1", "c2", "C10", "IC1", "ic01", "R1", "R1A", "R2", "R10", "R100"};
    for (size_t i = 0; i < sorted.size(); ++i)
        for (size_t j = 0; j < sorted.size(); ++j)
            EXPECT_EQ(before(sorted[i].c_str(), sorted[j].c_str()), i < j) << sorted[i] << " / " << sorted[j];
}

// Cuts `pending` into pieces; every piece is checked against the limit
// unless it holds a single item.
std::vector<std::string> splitAll(std::string pending, int limit, const std::string &prefix = "[ID] IN (",
                                  const std::string &suffix = ")") {
    std::vector<std::string> pieces;
    while (HostString piece = own(extractToCommandStringToLimit(prefix.c_str(), pending, suffix.c_str(), limit))) {
        pieces.emplace_back(piece.get());
        if (pieces.size() > 100000)
            break;
    }
    EXPECT_TRUE(pending.empty());
    return pieces;
}

std::vector<std::string> itemsOf(const std::string &piece, const std::string &prefix, const std::string &suffix) {
    EXPECT_EQ(piece.compare(0, prefix.size(), prefix), 0) << piece;
    EXPECT_EQ(piece.compare(piece.size() - suffix.size(), suffix.size(), suffix), 0) << piece;
    std::string body = piece.substr(prefix.size(), piece.size() - prefix.size() - suffix.size());
    std::vector<std::string> items;
    size_t pos = 0;
    for (size_t comma; (comma = body.find(',', pos)) != std::string::npos; pos = comma + 1)
        items.push_back(body.substr(pos, comma - pos));
    items.push_back(body.substr(pos));
    return items;
}

TEST(CommandSplitTest, PiecesStayWithinLimitAndUseEveryItemOnce) {
    std::string pending;
    std::vector<std::string> expected;
    for (int i = 1; i <= 2000; ++i) {
        expected.push_back(std::to_string(i * 7));
        pending += (i > 1 ? "," : "") + expected.back();
    }
    const int limit = 300;
    std::vector<std::string> pieces = splitAll(pending, limit);
    ASSERT_GT(pieces.size(), 1u);
    std::vector<std::string> seen;
    for (const std::string &piece : pieces) {
        EXPECT_LE(piece.size(), static_cast<size_t>(limit));
        for (const std::string &item : itemsOf(piece, "[ID] IN (", ")"))
            seen.push_back(item);
    }
    EXPECT_EQ(seen, expected);
}

TEST(CommandSplitTest, PiecesFilledUpToTheLimitOversizeItemsAloneEmptyItemsDropped) {
    // Each piece "(1,2)" holds two one-digit items at a limit of 5.
    EXPECT_EQ(splitAll("1,2,3,4,5", 5, "(", ")"), (std::vector<std::string>{"(1,2)", "(3,4)", "(5)"}));
    EXPECT_EQ(splitAll("3,5,7,11", -1, "(", ")"), (std::vector<std::string>{"(3,5,7,11)"}));
    const std::string big(500, '9');
    EXPECT_EQ(splitAll("1," + big + ",2", 100, "(", ")"), (std::vector<std::string>{"(1)", "(" + big + ")", "(2)"}));
    EXPECT_EQ(splitAll("1,,2,", -1, "(", ")"), (std::vector<std::string>{"(1,2)"}));
    EXPECT_TRUE(splitAll(",,", -1, "(", ")").empty());
    std::string pending;
    EXPECT_EQ(extractToCommandStringToLimit("(", pending, ")", 100), nullptr);
}

TEST(CommandLimitTest, HalvesDownToTheFloor) {
    int limit = -1;
    std::vector<int> steps;
    while (reduceDatabaseCommandStringLimit(&limit))
        steps.push_back(limit);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), DEFAULT_COMMAND_LIMIT / 2);
    EXPECT_EQ(steps.back(), MIN_COMMAND_LIMIT);
    for (size_t i = 1; i < steps.size(); ++i)
        EXPECT_LT(steps[i], steps[i - 1]);
    EXPECT_EQ(limit, MIN_COMMAND_LIMIT);

    limit = 300;
    EXPECT_NE(reduceDatabaseCommandStringLimit(&limit), 0);
    EXPECT_EQ(limit, MIN_COMMAND_LIMIT);
    limit = 100;
    EXPECT_EQ(reduceDatabaseCommandStringLimit(&limit), 0);
    EXPECT_EQ(limit, 100);
    EXPECT_EQ(reduceDatabaseCommandStringLimit(nullptr), 0);
}

} // namespace
