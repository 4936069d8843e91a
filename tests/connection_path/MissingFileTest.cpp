// Opening a SQLite file that is not there: refused and left uncreated
// without prompting, asked about and created with it (and not left behind
// after a No), and made as ever when the path checks nothing.

#include "tests/support/PathTestSupport.h"
#include "tests/support/TestDatabase.h"

#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "hostservices/HostCallbacks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace pathtest;

namespace {

std::string sqlite(const std::string &file, const std::string &extra = "") {
    return "Provider=SQLite;Data Source=" + file + extra;
}

TEST(MissingFile, WithoutPromptingNoFileIsMadeAndTheMessageSaysHowToHaveIt) {
    HostScript host(false);
    const std::string file = txdbtest::tempFile();
    std::string init = sqlite(file);
    const std::string message = thrownMessage([&] { openPath(init.data()); });
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(message, "The SQLite file \"" + file +
                           "\" does not exist: it is created only when the host allows prompting "
                           "(doPromptValidationMsg(true)) and the user agrees to create the part library in it "
                           "(partlib init creates one)");
    EXPECT_TRUE(host.boxes.empty()) << "nobody may be asked";
}

TEST(MissingFile, ReadOnlyOpenNeverCreatesOne) {
    HostScript host(true);
    const std::string file = txdbtest::tempFile();
    std::string init = sqlite(file, ";Mode=Read");
    EXPECT_EQ(thrownMessage([&] { openPath(init.data()); }),
              "The SQLite file \"" + file + "\" does not exist (a read-only open never creates one)");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(MissingFile, AFileInAMissingFolderIsNotTakenForAMissingFile) {
    HostScript host(false);
    const std::string file = txdbtest::tempDirectory() + "/no-such-folder/parts.db";
    std::string init = sqlite(file);
    const std::string message = thrownMessage([&] { openPath(init.data()); });
    EXPECT_NE(message.find("no-such-folder/parts.db"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(txdbtest::tempDirectory() + "/no-such-folder"));
}

TEST(MissingFile, WithPromptingTheUserIsAskedAndYesCreatesTheLibrary) {
    HostScript host(true, {IDYES});
    const std::string file = txdbtest::tempFile();
    std::string init = sqlite(file);
    EXPECT_TRUE(openPath(init.data()));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].text.find("Do you wish to create the TRAXEL Part Library"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(file));
}

// "No" to the question leaves no file behind; an empty file that was there
// before is the user's own and stays.
TEST(MissingFile, WithPromptingANoLeavesNoFileButKeepsAnEmptyOneThatWasThere) {
    const std::string file = txdbtest::tempFile();
    std::string init = sqlite(file);
    {
        HostScript host(true, {IDNO});
        EXPECT_EQ(thrownMessage([&] { openPath(init.data()); }), "") << "the user was asked and said No";
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    { std::ofstream empty(file); }
    HostScript host(true, {IDNO});
    EXPECT_EQ(thrownMessage([&] { openPath(init.data()); }), "");
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
}

TEST(MissingFile, APathThatChecksNothingStillMakesTheFile) {
    HostScript host(false);
    const std::string file = txdbtest::tempFile();
    CTraxDBPath unchecked(sqlite(file).c_str(), CTraxDBPath::SchemaCheck::Skip);
    EXPECT_TRUE(std::filesystem::exists(file));
}

} // namespace
