#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Restores the callback table after each test.
class HostServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = hostCallbacks();
        dir = fs::temp_directory_path() / ("hostservices-test-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        hostCallbacks() = saved;
        fs::remove_all(dir);
    }

    static std::string readFile(const fs::path &path) { return txdbtest::readFile(path.string()); }

    HostCallbacks saved;
    fs::path dir;
};

std::string lastText;
std::string lastCaption;
unsigned lastStyle = 0;
int answerYes(const char *text, const char *caption, unsigned style) {
    lastText = text;
    lastCaption = caption;
    lastStyle = style;
    return IDYES;
}

TEST_F(HostServicesTest, MessageBoxUsesTheCallbackOrTheDefaultAnswer) {
    hostCallbacks().messageBox = answerYes;
    EXPECT_EQ(messageBoxHook(getMainWindow(), "Create the tables?", "Warning", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(lastText, "Create the tables?");
    EXPECT_EQ(lastCaption, "Warning");
    EXPECT_EQ(lastStyle, MB_YESNO | MB_ICONQUESTION);

    hostCallbacks().messageBox = nullptr;
    EXPECT_EQ(hostCallbacks().defaultAnswer, IDNO);
    hostCallbacks().defaultAnswer = IDYES;
    EXPECT_EQ(messageBoxHook(nullptr, "Go on?", "Warning", MB_YESNO), IDYES);
    // Without a terminal nobody can be asked: the default answer stands.
    if (!::isatty(0)) {
        hostCallbacks().defaultAnswer = IDNO;
        EXPECT_EQ(messageBoxHook(nullptr, "Go on?", "Warning", MB_YESNO), IDNO);
    }
}

TEST_F(HostServicesTest, EnvironmentSwitches) {
    const std::pair<const char *, bool> autotest[] = {{"1", true}, {"0", false}, {"", false}, {nullptr, false}};
    for (const auto &[value, on] : autotest) {
        value ? ::setenv("TXDB_AUTOTEST", value, 1) : ::unsetenv("TXDB_AUTOTEST");
        EXPECT_EQ(isAutotestEnabled() != 0, on) << (value ? value : "unset");
    }
    ::setenv("TXDB_DEVCHECKS", "yes", 1);
    EXPECT_NE(isDevEnabled(), 0);
    ::unsetenv("TXDB_DEVCHECKS");
    EXPECT_EQ(isDevEnabled(), 0);
}

TEST_F(HostServicesTest, TextFileIsWrittenLiterally) {
    ::setenv("TMPDIR", dir.c_str(), 1);
    char path[4096];
    ASSERT_NE(makeTempFile(path), 0);
    ::unsetenv("TMPDIR");
    EXPECT_EQ(fs::path(path).parent_path(), dir);
    ASSERT_TRUE(fs::exists(path));

    TEXTFILE file = nullptr;
    ASSERT_NE(openTextFile(path, &file, 1, 1), 0);
    asciiTextFile(file);
    EXPECT_NE(printTextFile(file, "SELECT * FROM [Part] WHERE [Name] LIKE '%R%d%s';\n"), 0);
    EXPECT_NE(printTextFile(file, "100%\n"), 0);
    closeTextFile(file);
    EXPECT_EQ(readFile(path), "SELECT * FROM [Part] WHERE [Name] LIKE '%R%d%s';\n100%\n");

    // Opening for writing again starts the file afresh.
    ASSERT_NE(openTextFile(path, &file, 1, 1), 0);
    printTextFile(file, "x");
    closeTextFile(file);
    EXPECT_EQ(readFile(path), "x");

    EXPECT_NE(deleteFile(path), 0);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(openTextFile((dir / "missing" / "f.txt").c_str(), &file, 1, 1), 0);
}

TEST_F(HostServicesTest, ProcessReportKeepsTheFile) {
    fs::path source = dir / "script.sql";
    std::ofstream(source) << "CREATE TABLE [Part] ([ID] INTEGER);\n";
    fs::path kept = dir / "kept";
    fs::create_directories(kept);
    hostCallbacks().reportViewer = nullptr;
    hostCallbacks().reportDirectory = kept.string();

    ReportRequest request{1, 0, 0, source.c_str()};
    ::testing::internal::CaptureStderr();
    EXPECT_NE(processReport(source.c_str(), &request), 0);
    EXPECT_NE(processReport(source.c_str(), &request), 0);
    std::string told = ::testing::internal::GetCapturedStderr();
    fs::remove(source);

    fs::path first = kept / "partlib-report-1.sql";
    fs::path second = kept / "partlib-report-2.sql";
    EXPECT_EQ(readFile(first), "CREATE TABLE [Part] ([ID] INTEGER);\n");
    EXPECT_EQ(readFile(second), "CREATE TABLE [Part] ([ID] INTEGER);\n");
    EXPECT_NE(told.find("SQL script kept at " + first.string()), std::string::npos) << told;
}

std::string viewed;
void viewReport(const char *path) {
    viewed = path;
}

TEST_F(HostServicesTest, ProcessReportUsesViewer) {
    hostCallbacks().reportViewer = viewReport;
    hostCallbacks().reportDirectory = dir.string();
    EXPECT_NE(processReport("/some/report.txt", nullptr), 0);
    EXPECT_EQ(viewed, "/some/report.txt");
    EXPECT_TRUE(fs::is_empty(dir));
}

bool giveString(std::string &out) {
    out = "Provider=SQLite;Data Source=x.db";
    return true;
}

TEST_F(HostServicesTest, DataLinkPromptUsesCallback) {
    hostCallbacks().dataLinkPrompt = giveString;
    std::string initialisationString;
    EXPECT_TRUE(promptDataLink(nullptr, initialisationString));
    EXPECT_EQ(initialisationString, "Provider=SQLite;Data Source=x.db");
    if (!::isatty(0)) {
        hostCallbacks().dataLinkPrompt = nullptr;
        EXPECT_FALSE(promptDataLink(nullptr, initialisationString));
    }
}

} // namespace
