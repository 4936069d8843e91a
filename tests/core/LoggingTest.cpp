#include "ctraxdbpartlib/CFileLogHandler.h"
#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/dllmain.h"
#include "tests/core/LogTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
namespace fs = std::filesystem;
using txdbtest::fieldValues;
using txdbtest::readFile;
using txdbtest::TempDir;
using txdbtest::todaysLogFile;

namespace {

// Keeps the records it is given and answers as told.
class RecordingHandler : public CLogHandler {
public:
    explicit RecordingHandler(bool answer = true) : CLogHandler(LOG_ALL), answer(answer) {}
    bool publish(LogRecord &record) override {
        records.push_back(record);
        return answer;
    }
    std::vector<LogRecord> records;
    bool answer;
};

LogRecord sampleRecord(uint16_t milliseconds) {
    LogRecord record;
    record.level = LOG_FINE;
    record.loggerName = "TRAXEL Database Part Library logger";
    record.message = "CTraxDBLibAccess::getName(TCHAR *,size_t)";
    record.seconds = 1772600767; // 04/03/2026 05:06:07 UTC
    record.milliseconds = milliseconds;
    record.sequence = 3;
    record.sourceFile = "CTraxDBLibAccess";
    record.sourceLine = 42;
    record.threadId = 4711;
    record.processId = 815;
    return record;
}

TEST(RecordText, ByteForByteWithMillisecondsWithoutLeadingZeros) {
    txdbtest::ScopedVariable utc("TZ", "UTC0");
    EXPECT_EQ(CFileLogHandler::formatRecord(sampleRecord(120)), "\nLogger name: TRAXEL Database Part Library logger\n"
                                                                "Level: FINE\n"
                                                                "Time: 04/03/2026 05:06:07.120\n"
                                                                "Sequence: 3\n"
                                                                "Source file: CTraxDBLibAccess\n"
                                                                "Source line: 42\n"
                                                                "Thread ID: 4711\n"
                                                                "Process ID: 815\n"
                                                                "Message: CTraxDBLibAccess::getName(TCHAR *,size_t)\n");
    for (uint16_t milliseconds : {7, 0})
        EXPECT_EQ(fieldValues(CFileLogHandler::formatRecord(sampleRecord(milliseconds)), "Time: "),
                  std::vector<std::string>{"04/03/2026 05:06:07." + std::to_string(milliseconds)});
}

TEST(Levels, NamesAreMatchedExactly) {
    const std::pair<const char *, LogLevel> names[] = {{"ALL", LOG_ALL}, {"FINE", LOG_FINE},    {"SEVERE", LOG_SEVERE},
                                                       {"OFF", LOG_OFF}, {"fine", LOG_UNKNOWN}, {"FINE ", LOG_UNKNOWN},
                                                       {"", LOG_UNKNOWN}};
    for (const auto &[name, level] : names)
        EXPECT_EQ(CLogger::levelFromName(name), level) << name;
    for (LogLevel level = LOG_ALL; level <= LOG_OFF; ++level)
        EXPECT_EQ(CLogger::levelFromName(CLogger::levelName(level)), level);
}

TEST(SourceUnits, BaseNameWithoutExtension) {
    EXPECT_EQ(sourceUnitOf("ctraxdbpartlib/connection/CTraxDBPath.cpp"), "CTraxDBPath");
    EXPECT_EQ(sourceUnitOf("dllmain.cpp"), "dllmain");
    EXPECT_EQ(sourceUnitOf("/src/v1.2/Makefile"), "Makefile");
}

TEST(LoggerSlots, AddFindsTheLowestFreeSlotAndKeepsDuplicates) {
    CLogger logger("test");
    RecordingHandler a, b, c;
    EXPECT_EQ(logger.addHandler(&a), 0);
    EXPECT_EQ(logger.addHandler(&b), 1);
    EXPECT_EQ(logger.addHandler(&a), 0);
    EXPECT_EQ(logger.removeHandler(0), &a);
    EXPECT_EQ(logger.removeHandler(0), nullptr);
    EXPECT_EQ(logger.addHandler(&c), 0);
    EXPECT_EQ(logger.addHandler(&b), 1);
    EXPECT_EQ(logger.getHandler(1), &b);
}

TEST(LoggerSlots, FullTableRefusesTheNextHandler) {
    CLogger logger("test");
    std::vector<std::unique_ptr<RecordingHandler>> handlers;
    for (int i = 0; i < CLogger::SLOTS; ++i) {
        handlers.push_back(std::make_unique<RecordingHandler>());
        ASSERT_EQ(logger.addHandler(handlers.back().get()), i);
    }
    RecordingHandler extra;
    EXPECT_EQ(logger.addHandler(&extra), CLogger::SLOTS);
    EXPECT_EQ(logger.addHandler(handlers[5].get()), 5);
    EXPECT_EQ(logger.removeHandler(CLogger::SLOTS), nullptr);
    EXPECT_EQ(logger.getHandler(CLogger::SLOTS), nullptr);
    for (int i = 0; i < CLogger::SLOTS; ++i)
        EXPECT_EQ(logger.getHandler(i), handlers[i].get());
    logger.log(LOG_INFO, "unit", 1, "text");
    EXPECT_EQ(extra.records.size(), 0u);
    EXPECT_EQ(handlers[127]->records.size(), 1u);
}

TEST(LoggerLog, OneRecordForEveryHandlerWhateverTheyAnswer) {
    CLogger logger("named logger");
    RecordingHandler failing(false), second;
    logger.addHandler(&failing);
    logger.addHandler(&second);
    // The clock the records are stamped by: time() reads a coarser one,
    // which may still show the last second.
    const auto secondsNow = [] {
        return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    };
    const int64_t before = secondsNow();
    logger.log(LOG_WARNING, "CTraxDBPath", 77, "CTraxDBPath::CTraxDBPath()");
    const int64_t after = secondsNow();

    ASSERT_EQ(failing.records.size(), 1u);
    ASSERT_EQ(second.records.size(), 1u);
    const LogRecord &record = second.records[0];
    EXPECT_EQ(record.level, LOG_WARNING);
    EXPECT_EQ(record.loggerName, "named logger");
    EXPECT_EQ(record.sourceFile, "CTraxDBPath");
    EXPECT_EQ(record.sourceLine, 77);
    EXPECT_EQ(record.message, "CTraxDBPath::CTraxDBPath()");
    EXPECT_GE(record.seconds, before);
    EXPECT_LE(record.seconds, after);
    EXPECT_LT(record.milliseconds, 1000);
    EXPECT_EQ(record.threadId, static_cast<uint32_t>(gettid()));
    EXPECT_EQ(record.processId, static_cast<uint32_t>(getpid()));
}

// Publishes one record of `level` through `handler`.
bool publishAt(CFileLogHandler &handler, LogLevel level, const std::string &message) {
    LogRecord record;
    record.level = level;
    record.message = message;
    return handler.publish(record);
}

TEST(FileHandler, ThresholdFiltersAndOnlyWrittenRecordsTakeSequenceNumbers) {
    TempDir dir;
    CFileLogHandler handler(LOG_FINE, dir.base());
    for (LogLevel level : {LOG_FINEST, LOG_FINE, LOG_FINER, LOG_INFO, LOG_SEVERE})
        EXPECT_TRUE(publishAt(handler, level, CLogger::levelName(level)));
    const std::string log = readFile(todaysLogFile(dir.base(), 0));
    EXPECT_EQ(fieldValues(log, "Message: "), (std::vector<std::string>{"FINE", "INFO", "SEVERE"}));
    EXPECT_EQ(fieldValues(log, "Level: "), (std::vector<std::string>{"FINE", "INFO", "SEVERE"}));
    EXPECT_EQ(fieldValues(log, "Sequence: "), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(log.compare(0, 14, "\nLogger name: "), 0);
}

TEST(FileHandler, OffAndUnknownThresholdsWriteNothing) {
    TempDir dir;
    CFileLogHandler off(LOG_OFF, dir.base());
    CFileLogHandler unknown(LOG_UNKNOWN, dir.base());
    for (LogLevel level = LOG_ALL; level <= LOG_OFF; ++level) {
        EXPECT_TRUE(publishAt(off, level, "x"));
        EXPECT_TRUE(publishAt(unknown, level, "x"));
    }
    EXPECT_TRUE(dir.files().empty());
}

TEST(FileHandler, FileIsForItsOwnerOnlyAndAnUnopenableOneFailsQuietly) {
    TempDir dir;
    CFileLogHandler handler(LOG_ALL, dir.base());
    ASSERT_TRUE(publishAt(handler, LOG_INFO, "x"));
    struct stat info {};
    ASSERT_EQ(stat(todaysLogFile(dir.base(), 0).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    CFileLogHandler unopenable(LOG_ALL, (dir.path / "missing" / "txdb").string());
    EXPECT_FALSE(publishAt(unopenable, LOG_SEVERE, "x"));
    CLogger logger("test");
    logger.addHandler(&unopenable);
    logger.log(LOG_SEVERE, "unit", 1, "not written");
    EXPECT_EQ(dir.files().size(), 1u);
}

TEST(FileHandler, LinksAndOtherUsersFilesInTheLogsPlaceAreNotWritten) {
    TempDir dir;
    const std::string log = todaysLogFile(dir.base(), 0);
    const std::string target = (dir.path / "target").string();
    std::ofstream(target) << "kept";
    fs::create_symlink(target, log);
    CFileLogHandler linked(LOG_ALL, dir.base());
    EXPECT_FALSE(publishAt(linked, LOG_SEVERE, "x"));
    EXPECT_EQ(readFile(target), "kept");

    // Only root can give a file away to another user.
    fs::remove(log);
    std::ofstream(log) << "theirs";
    if (chown(log.c_str(), geteuid() + 1, static_cast<gid_t>(-1)) == 0) {
        CFileLogHandler foreign(LOG_ALL, dir.base());
        EXPECT_FALSE(publishAt(foreign, LOG_SEVERE, "x"));
        EXPECT_EQ(readFile(log), "theirs");
    }
}

TEST(FileHandler, FullFileMovesOnAndARecordCrossingTheLimitIsWrittenWhole) {
    for (size_t size : {CFileLogHandler::MAX_FILE_SIZE, CFileLogHandler::MAX_FILE_SIZE - 1}) {
        const bool full = size == CFileLogHandler::MAX_FILE_SIZE;
        TempDir dir;
        std::ofstream(todaysLogFile(dir.base(), 0), std::ios::binary) << std::string(size, 'x');
        CFileLogHandler handler(LOG_ALL, dir.base());
        LogRecord record;
        record.level = LOG_INFO;
        record.message = "first";
        ASSERT_TRUE(handler.publish(record));
        ASSERT_TRUE(publishAt(handler, LOG_INFO, "second"));
        EXPECT_EQ(fs::file_size(todaysLogFile(dir.base(), 0)),
                  full ? size : size + CFileLogHandler::formatRecord(record).size());
        EXPECT_EQ(fieldValues(readFile(todaysLogFile(dir.base(), 1)), "Message: "),
                  full ? (std::vector<std::string>{"first", "second"}) : std::vector<std::string>{"second"})
            << size;
        EXPECT_EQ(handler.getFileIndex(), 1);
        EXPECT_EQ(dir.files().size(), 2u);
    }
}

// Runs the load and unload steps in a temporary current folder with
// TXDBLOGGER as given, restoring the process-wide state afterwards.
class ModuleStartUp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(theLogger.getHandler(0), nullptr);
        savedDir = fs::current_path();
        fs::current_path(dir.path);
    }
    void TearDown() override {
        loggingEnabled = false;
        fs::current_path(savedDir);
    }
    // Attach and detach with TXDBLOGGER set to `value` (unset for nullptr).
    void loadAndUnload(const char *value) {
        variable.set(value);
        EXPECT_TRUE(processAttach());
        enabledAfterLoad = loggingEnabled;
        EXPECT_TRUE(processDetach());
        EXPECT_EQ(theLogger.getHandler(0), nullptr);
    }
    std::string log() const { return readFile(todaysLogFile((dir.path / "txdb").string(), 0)); }

    TempDir dir;
    fs::path savedDir;
    txdbtest::ScopedVariable variable{"TXDBLOGGER", nullptr};
    bool enabledAfterLoad = false;
};

TEST_F(ModuleStartUp, LevelNameSwitchesLoggingOnWithAFileInTheCurrentFolder) {
    loadAndUnload("INFO");
    EXPECT_TRUE(enabledAfterLoad);
    const std::string text = log();
    EXPECT_EQ(fieldValues(text, "Message: "),
              (std::vector<std::string>{"CTraxDBPartLib.DLL Initialized", "CTraxDBPartLib.DLL Terminating!"}));
    for (const auto &[label, value] : {std::pair{"Level: ", "INFO"}, std::pair{"Source file: ", "dllmain"},
                                       std::pair{"Logger name: ", "TRAXEL Database Part Library logger"}})
        EXPECT_EQ(fieldValues(text, label), (std::vector<std::string>{value, value})) << label;
}

TEST_F(ModuleStartUp, UnknownNameOffUnsetOrEmptyWriteNothing) {
    // An unknown name switches logging on, with nothing written; unset or
    // empty leaves it off.
    const std::pair<const char *, int> cases[] = {{"fine", 1}, {"OFF", -1}, {nullptr, 0}, {"", 0}};
    for (const auto &[value, enabled] : cases) {
        loggingEnabled = false;
        loadAndUnload(value);
        if (enabled >= 0) {
            EXPECT_EQ(enabledAfterLoad, enabled == 1) << (value ? value : "unset");
        }
        EXPECT_TRUE(dir.files().empty()) << (value ? value : "unset");
    }
}

} // namespace
