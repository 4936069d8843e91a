// A name that is not there is answered with the names the user probably
// meant: the closest ranking, and the messages of the commands that look
// names up.

#include "tools/partlib/Suggestions.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using partlib::closestNames;
using partlib::didYouMean;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;
using Names = std::vector<std::string>;

TEST(Suggestions, CaseBlanksAndStoredFileNamesComeFirst) {
    const Names stored{"74HC00", "74HC02", "74HCT00", "4xxx:4011", "Quad NAND", "R1", "R10", "R2"};
    EXPECT_EQ(closestNames("74hc00", stored), (Names{"74HC00", "74HC02", "74HCT00"}));
    EXPECT_EQ(closestNames("quadnand", stored), (Names{"Quad NAND"}));
    EXPECT_EQ(closestNames("4011", stored), (Names{"4xxx:4011"}));
    // The name itself is no suggestion; the nearest edits are.
    EXPECT_EQ(closestNames("R1", stored), (Names{"R10", "R2"}));
}

TEST(Suggestions, FarNamesAreNotOfferedAndAtMostThreeAre) {
    EXPECT_TRUE(closestNames("resistor", {"74HC00", "Capacitor", "Res"}).empty());
    EXPECT_TRUE(closestNames("x", {}).empty());
    EXPECT_EQ(closestNames("part", {"Part", "PART", "pArt", "parts", "par"}).size(), 3u);
    // A long name may be a few edits away, a short one only one.
    EXPECT_EQ(closestNames("Demo-U7-74HC00-SO14", {"Demo-U7-74HC00-DIP14"}), (Names{"Demo-U7-74HC00-DIP14"}));
    EXPECT_TRUE(closestNames("ab", {"xy"}).empty());
}

TEST(Suggestions, TheSentenceNamesEachAndHidesControlCharacters) {
    EXPECT_EQ(didYouMean("a", {"A"}), "; did you mean \"A\"?");
    EXPECT_EQ(didYouMean("ab", {"AB", "aB", "Ab"}), "; did you mean \"AB\", \"Ab\" or \"aB\"?");
    EXPECT_EQ(didYouMean("zz", {"q"}), "");
    EXPECT_EQ(didYouMean("ab", {"a\x1b"
                                "b"})
                  .find('\x1b'),
              std::string::npos);
}

TEST(Suggestions, CommandsThatLookNamesUpSuggestThem) {
    const std::string file = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", file, "--yes"}).status, 0);
    ProgramRun written = txdbtest::runShell(txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") +
                                            " " + txdbtest::shellQuoted(file) + " --parts 60");
    ASSERT_EQ(written.status, 0) << written.all();

    ProgramRun show = runPartlib({"show", file, "demo", "Demo-C10-47u-CP_RADIAL"});
    EXPECT_EQ(show.status, 1);
    EXPECT_NE(show.errors.find("No library named \"demo\" in " + file + "; did you mean \"Demo\"?"), std::string::npos)
        << show.errors;

    ProgramRun part = runPartlib({"show", file, "Demo", "demo-c10-47u-cp_radial"});
    EXPECT_EQ(part.status, 1);
    EXPECT_NE(part.errors.find("No part named \"demo-c10-47u-cp_radial\" in library Demo; did you mean "
                               "\"Demo-C10-47u-CP_RADIAL\", "),
              std::string::npos)
        << part.errors;

    ProgramRun folder = runPartlib({"parts", file, "Demo", "--folder", "passives"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.errors.find("did you mean \"Passives\""), std::string::npos) << folder.errors;

    for (const std::vector<std::string> &command : std::vector<std::vector<std::string>>{
             {"export", file, "DEMO"}, {"copy", file, txdbtest::tempFile(), "DEMO", "--yes"}}) {
        ProgramRun run = runPartlib(command);
        EXPECT_EQ(run.status, 1) << command[0];
        EXPECT_NE(run.errors.find("did you mean \"Demo\"?"), std::string::npos) << run.errors;
    }

    // Nothing close: the message stays as it was, with its hint.
    ProgramRun far = runPartlib({"tree", file, "Elsewhere"});
    EXPECT_EQ(far.status, 1);
    EXPECT_EQ(far.errors.find("did you mean"), std::string::npos) << far.errors;
    EXPECT_NE(far.errors.find("(partlib libraries lists them)"), std::string::npos) << far.errors;
}

} // namespace
