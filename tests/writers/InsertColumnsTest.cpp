// The INSERT statements of a library write name the columns of the column
// catalogue: every buffered table is written, each statement's column list
// names only catalogued columns of its table, and every column of it.

#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "tests/support/PathTestSupport.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

bool neverCancel() {
    return false;
}

// Table -> the column list of its INSERT statements, from the statements
// the path executed ("execute: INSERT INTO [T] ([A], [B]) VALUES ...").
std::map<std::string, std::set<std::vector<std::string>>> insertHeads(const pathtest::TraceCapture &trace) {
    static const std::regex head(R"(^execute: INSERT INTO \[(\w+)\] \(([^)]*)\) VALUES)");
    static const std::regex name(R"(\[(\w+)\])");
    std::map<std::string, std::set<std::vector<std::string>>> heads;
    for (const std::string &message : trace.messagesStartingWith("execute: INSERT INTO ")) {
        std::smatch match;
        EXPECT_TRUE(std::regex_search(message, match, head)) << message.substr(0, 200);
        if (match.empty())
            continue;
        const std::string list = match[2];
        std::vector<std::string> columns;
        for (std::sregex_iterator it(list.begin(), list.end(), name), end; it != end; ++it)
            columns.push_back((*it)[1]);
        heads[match[1]].insert(columns);
    }
    return heads;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> catalogued(const std::string &table) {
    std::vector<std::string> names;
    for (const CatalogueColumn &column : COLUMN_CATALOGUE)
        if (column.table == table)
            names.emplace_back(column.name);
    return names;
}

TEST(InsertColumnsTest, ALibraryCopyInsertsEveryColumnOfEveryBufferedTableByItsCatalogueName) {
    txdbtest::SampleDatabase &source = txdbtest::sharedSample("SQLite");
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other("SQLite", {"", 0});
    std::map<std::string, std::set<std::vector<std::string>>> heads;
    {
        pathtest::TraceCapture trace;
        getLibraryWriter(target.path)->write(getLibraryReader(source.path, nullptr), neverCancel);
        heads = insertHeads(trace);
    }
    const std::set<std::string> buffered = {"Hierarchy",
                                            "Part_Definition",
                                            "Pin_Data",
                                            "Attributes",
                                            "Gate",
                                            "Gate_has_Pin_Data",
                                            "Gate_Equiv",
                                            "Gate_Equiv_Gate",
                                            "Gate_Equiv_has_Pin_Data",
                                            "Pin_Equiv",
                                            "Parts"};
    std::set<std::string> written;
    for (const auto &[table, lists] : heads) {
        written.insert(table);
        EXPECT_FALSE(catalogued(table).empty()) << table << " is no catalogued table";
        for (const std::vector<std::string> &columns : lists) {
            for (const std::string &column : columns)
                EXPECT_NE(findColumn(table, column), nullptr) << table << "." << column << " is not catalogued";
            EXPECT_EQ(sorted(columns), sorted(catalogued(table))) << table << ": every column, each once";
        }
    }
    for (const std::string &table : buffered)
        EXPECT_EQ(written.count(table), 1u) << "no INSERT into " << table << ": the sample should fill it";
}

} // namespace
