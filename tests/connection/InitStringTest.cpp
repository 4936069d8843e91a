// Initialisation strings: what a malformed one is told without repeating
// its values, and values that need quoting kept whole through a rebuild.

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

TEST(InitStringParse, MalformedStringsAreRefusedWithoutQuotingValues) {
    const std::pair<const char *, const char *> cases[] = {
        {"Provider=ODBC;Password=abc;s3cr3t", "an entry after Password has no '=' (quote values that hold ';')"},
        {"Password=abc;s3cr3t;User ID=u", "an entry after Password has no '=' (quote values that hold ';')"},
        {"s3cr3t;Provider=SQLite", "an entry at its start has no '=' (quote values that hold ';')"},
        {"Password='s3cr3t", "the value of Password is not closed"},
    };
    for (const auto &[text, expected] : cases) {
        CDBErrorInfo::clear();
        InitString init;
        EXPECT_EQ(InitString::parse(text, init), E_INVALIDARG) << text;
        ASSERT_EQ(CDBErrorInfo::records().size(), 1u) << text;
        const std::string &message = CDBErrorInfo::records().front();
        EXPECT_EQ(message, std::string("Invalid initialisation string: ") + expected) << text;
        EXPECT_EQ(message.find("s3cr3t"), std::string::npos) << text;
    }
    InitString empty;
    EXPECT_EQ(InitString::parse(";;Provider=SQLite; ;", empty), S_OK);
    EXPECT_EQ(empty.pairs.size(), 1u);
}

TEST(InitStringParse, ValuesWithSeparatorsQuotesAndBlanksSurviveARebuild) {
    for (const char *path : {" sp.db", "a;b.db", "x=y.db", "it's \"q\".db", "tab\t", "{braced}.db"}) {
        InitString built{{{"Provider", "SQLite"}, {"Data Source", path}}};
        InitString parsed;
        ASSERT_EQ(InitString::parse(built.toString(true), parsed), S_OK) << path;
        EXPECT_EQ(parsed.get("Data Source"), path) << built.toString(true);
    }
}
