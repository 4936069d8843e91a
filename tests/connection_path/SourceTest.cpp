// Data sources, their catalog lists and the getters of a path and of a
// path-data entry, on real databases.

#include "tests/support/PathTestSupport.h"
#include "tests/support/TestDatabase.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CTraxDBPathData.h"
#include "ctraxdbpartlib/connection/CTraxDBPathDataReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace pathtest;

namespace {

// The value of the Password keyword of an initialisation string.
std::string passwordOf(const std::string &init) {
    size_t at = init.find("Password=");
    if (at == std::string::npos)
        return "";
    at += std::strlen("Password=");
    return init.substr(at, init.find(';', at) - at);
}

class SourceTest : public ::testing::TestWithParam<std::string> {
protected:
    SourceTest() : init(txdbtest::freshDatabase(GetParam())) {
        if (passwordOf(init).empty())
            init += ";Password=Secret-42";
        HostScript host(true);
        CTraxDBPath created(init.c_str());
    }

    std::string catalogsOf(const std::string &initString, std::vector<std::string> &names) {
        auto source = std::make_shared<CTraxDBSource>(initString.c_str());
        CTraxDBPathDataReader reader(source);
        EXPECT_EQ(reader.getCount(), 0);
        std::string initialisation;
        while (auto entry = reader.getNext()) {
            char name[CTraxDBPathData::NAME_SIZE];
            entry->getPathStr(name, sizeof name);
            names.push_back(name);
            EXPECT_EQ(reader.getItemState(entry), 4);
            char buffer[1024];
            entry->getPathInitialisationStr(buffer, sizeof buffer);
            initialisation = buffer;
        }
        EXPECT_EQ(reader.getNext(), nullptr) << "the end stays the end";
        EXPECT_EQ(reader.getCount(), 0);
        return initialisation;
    }

    std::string init;
};

TEST_P(SourceTest, CatalogsAreListedWithTheSourceString) {
    std::vector<std::string> names;
    std::string initialisation = catalogsOf(init, names);
    ASSERT_FALSE(names.empty());
    if (GetParam() == "SQLite") {
        EXPECT_EQ(names.size(), 1u);
    } else {
        CTraxDBPath path(init.c_str());
        EXPECT_NE(std::find(names.begin(), names.end(), path.getCatalog()), names.end());
    }
    // The entry's string is the source's, password included.
    EXPECT_NE(initialisation.find(passwordOf(init)), std::string::npos);
}

// A getter filling a buffer with `text`: one byte short and NULL are refused,
// the exact size holds it.
template <class Get> void expectExactBuffer(Get get, const std::string &text) {
    char buffer[1024];
    EXPECT_EQ(thrownMessage([&] { get(buffer, text.size()); }), loadMessage(IDS_BUFFER_TOO_SMALL));
    EXPECT_EQ(thrownMessage([&] { get(nullptr, sizeof buffer); }), loadMessage(IDS_NULL_BUFFER));
    get(buffer, text.size() + 1);
    EXPECT_EQ(text, buffer);
}

TEST_P(SourceTest, EntryKeepsItsDataSourceAfterTheReaderIsGoneAndRefusesSmallBuffers) {
    std::shared_ptr<PathData> entry;
    {
        auto source = std::make_shared<CTraxDBSource>(init.c_str());
        CTraxDBPathDataReader reader(source);
        entry = reader.getNext();
    }
    ASSERT_NE(entry, nullptr);
    char buffer[1024];
    EXPECT_EQ(thrownMessage([&] { entry->getPathStr(buffer, 128); }), loadMessage(IDS_BUFFER_TOO_SMALL));
    EXPECT_EQ(thrownMessage([&] { entry->getPathStr(nullptr, 129); }), loadMessage(IDS_NULL_BUFFER));
    entry->getPathStr(buffer, 129);

    entry->getPathInitialisationStr(buffer, sizeof buffer);
    EXPECT_NE(std::string(buffer).find(passwordOf(init)), std::string::npos);
    expectExactBuffer([&](char *b, size_t s) { entry->getPathInitialisationStr(b, s); }, buffer);
}

TEST_P(SourceTest, MissingForeignAndNullSourcesAreRefused) {
    EXPECT_EQ(thrownMessage([] { CTraxDBPathDataReader reader(nullptr); }), loadMessage(IDS_NULL_SOURCE_HANDLE));
    struct ForeignSource : Source {};
    EXPECT_EQ(thrownMessage([] { CTraxDBPathDataReader reader(std::make_shared<ForeignSource>()); }),
              loadMessage(IDS_INVALID_SOURCE_HANDLE));
    EXPECT_EQ(thrownMessage([] { CTraxDBPath path(static_cast<const TCHAR *>(nullptr)); }),
              loadMessage(IDS_NULL_PATH_STRING));
}

TEST_P(SourceTest, PathStringLeavesThePasswordOut) {
    CTraxDBPath path(init.c_str());
    char buffer[1024];
    path.getPathStr(buffer, sizeof buffer);
    const std::string text = buffer;
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find(passwordOf(init)), std::string::npos);
    expectExactBuffer([&](char *b, size_t s) { path.getPathStr(b, s); }, text);
    // The string opens the same database again.
    CTraxDBPath again(GetParam() == "SQLite" ? text.c_str() : init.c_str());
    EXPECT_FALSE(again.isReadOnly());
}

TEST_P(SourceTest, TransactionsCommitAndAbort) {
    CTraxDBPath path(init.c_str());
    path.startTransaction();
    path.execute("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (1,'Kept',1);");
    path.commitTransation();
    path.startTransaction();
    path.execute("INSERT INTO [Library] ([ID],[Name],[Enabled]) VALUES (2,'Dropped',1);");
    path.abortTransaction();
    RawDb raw(init);
    EXPECT_EQ(raw.texts("SELECT [Name] FROM [Library];"), std::vector<std::string>{"Kept"});
}

INSTANTIATE_TEST_SUITE_P(Engines, SourceTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &engine) { return engine.param; });

// SQLite only: a file opened for reading.
TEST(ReadOnlyPath, ModeReadMakesThePathReadOnlyAndOpensWithoutWriting) {
    const std::string init = txdbtest::freshDatabase("SQLite");
    {
        HostScript host(true);
        CTraxDBPath created(init.c_str());
    }
    CTraxDBPath path((init + ";Mode=Read").c_str());
    EXPECT_TRUE(path.isReadOnly());
}

} // namespace
