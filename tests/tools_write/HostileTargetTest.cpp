// partlib copy and import against targets that stand in their way: another
// program's lock on the file, a file-size limit, a full disk, a read-only
// file system and another program's database. Each ends in a message that
// says what happened, status 1, and the target exactly as it was: an
// existing file with its old bytes and no journal beside it, a new one gone.

#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// A SQLite file with the part library and, when `parts` is above 0, a
// sample library of that many parts.
std::string sampleLibrary(int parts, const std::string &file = txdbtest::tempFile()) {
    EXPECT_EQ(runPartlib({"init", file, "--yes"}).status, 0);
    if (parts == 0)
        return file;
    ProgramRun written = txdbtest::runShell(txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") +
                                            " " + txdbtest::shellQuoted(file) + " --parts " + std::to_string(parts));
    EXPECT_EQ(written.status, 0) << written.all();
    return file;
}

// The file's bytes with what SQLite keeps beside it: a journal left behind
// shows as a difference.
std::string fileState(const std::string &file) {
    std::string state = std::filesystem::exists(file) ? txdbtest::readFile(file) : "<none>";
    for (const char *suffix : {"-journal", "-wal"})
        if (std::filesystem::exists(file + suffix))
            state += std::string("<") + suffix + ">";
    return state;
}

// Runs partlib in a shell whose processes may write no file beyond `kilobytes`
// (RLIMIT_FSIZE), with SIGXFSZ ignored so that a write past it fails instead.
ProgramRun runWithSizeLimit(int kilobytes, const std::vector<std::string> &arguments) {
    return txdbtest::runShell("trap '' XFSZ; ulimit -f " + std::to_string(kilobytes) + "; " +
                              txdbtest::partlibCommand(arguments));
}

// Another program's write on a SQLite file that holds the exclusive lock,
// as a writer does while it commits or once its cache spills into the file:
// readers are shut out until it commits, `milliseconds` after construction.
class ForeignWriteLock {
public:
    ForeignWriteLock(const std::string &file, int milliseconds) {
        EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(
            sqlite3_exec(db, "BEGIN EXCLUSIVE; UPDATE Library_version SET Major = Major;", nullptr, nullptr, nullptr),
            SQLITE_OK)
            << sqlite3_errmsg(db);
        releaser = std::thread([this, milliseconds] {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
        });
    }
    ~ForeignWriteLock() {
        releaser.join();
        sqlite3_close(db);
    }
    ForeignWriteLock(const ForeignWriteLock &) = delete;
    ForeignWriteLock &operator=(const ForeignWriteLock &) = delete;

private:
    sqlite3 *db = nullptr;
    std::thread releaser;
};

// A tmpfs of `size` mounted on a fresh folder while it lives, for root
// only; mounted() tells whether the system let the test mount it.
class ScratchFileSystem {
public:
    explicit ScratchFileSystem(const std::string &size) : folder(txdbtest::tempFile("")) {
        std::filesystem::create_directory(folder);
        isMounted = ::geteuid() == 0 && ::mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~ScratchFileSystem() {
        if (isMounted)
            ::umount2(folder.c_str(), MNT_DETACH);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchFileSystem(const ScratchFileSystem &) = delete;
    ScratchFileSystem &operator=(const ScratchFileSystem &) = delete;

    bool mounted() const { return isMounted; }
    std::string path(const std::string &name) const { return folder + "/" + name; }
    bool makeReadOnly() { return ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::string folder;
    bool isMounted = false;
};

#define SKIP_UNLESS_MOUNTED(fs)                                                                                        \
    if (!(fs).mounted())                                                                                               \
    GTEST_SKIP() << "mounting a tmpfs needs root (CAP_SYS_ADMIN); this run may not mount"

TEST(HostileTargets, ImportAndCopyWaitForAnotherProgramsWriteOnTheFile) {
    const std::string source = sampleLibrary(50);
    const std::string file = txdbtest::tempFile(".json");
    ASSERT_EQ(runPartlib({"export", source, "-o", file}).status, 0);

    const std::string imported = sampleLibrary(0);
    {
        ForeignWriteLock lock(imported, 1500);
        ProgramRun run = runPartlib({"import", imported, file});
        EXPECT_EQ(run.status, 0) << run.all();
        EXPECT_NE(run.output.find("Imported 1 library (Demo)"), std::string::npos) << run.output;
    }
    const std::string copied = sampleLibrary(0);
    {
        ForeignWriteLock lock(copied, 1500);
        ProgramRun run = runPartlib({"copy", source, copied});
        EXPECT_EQ(run.status, 0) << run.all();
    }
    EXPECT_EQ(runPartlib({"export", imported}).output, runPartlib({"export", source}).output);
    EXPECT_EQ(runPartlib({"export", copied}).output, runPartlib({"export", source}).output);
}

TEST(HostileTargets, AFileSizeLimitIsNamedAndLeavesTheTargetAsItWas) {
    // The empty schema takes 164 KiB; the library needs several times that.
    const std::string source = sampleLibrary(3000);
    const std::string existing = sampleLibrary(0);
    const std::string before = fileState(existing);
    const std::string fresh = txdbtest::tempFile();
    for (const std::string &target : {existing, fresh}) {
        ProgramRun run = runWithSizeLimit(400, {"copy", source, target, "--yes"});
        EXPECT_EQ(run.status, 1) << target << ": " << run.all();
        EXPECT_NE(run.errors.find("Writing " + target +
                                  " failed: the file would grow past the size limit of this "
                                  "process"),
                  std::string::npos)
            << run.errors;
        EXPECT_EQ(run.errors.find("disk I/O error"), std::string::npos) << run.errors;
    }
    EXPECT_TRUE(fileState(existing) == before) << "the old bytes, no journal";
    EXPECT_EQ(fileState(fresh), "<none>") << "a file created for the copy goes again";

    // An import is written by the same writer, and told the same.
    const std::string file = txdbtest::tempFile(".json");
    ASSERT_EQ(runPartlib({"export", source, "-o", file}).status, 0);
    ProgramRun import = runWithSizeLimit(400, {"import", fresh, file, "--yes"});
    EXPECT_EQ(import.status, 1) << import.all();
    EXPECT_NE(import.errors.find("the file would grow past the size limit"), std::string::npos) << import.errors;
    EXPECT_EQ(fileState(fresh), "<none>");
}

TEST(HostileTargets, AFullDiskIsNamedAndLeavesTheDiskAsItWas) {
    // Room for the empty schema (164 KiB), not for the library as well.
    ScratchFileSystem disk("600k");
    SKIP_UNLESS_MOUNTED(disk);
    const std::string source = sampleLibrary(3000);
    const std::string existing = sampleLibrary(0, disk.path("parts.db"));
    const std::string before = fileState(existing);

    for (const std::string &target : {existing, disk.path("new.db")}) {
        ProgramRun run = runPartlib({"copy", source, target, "--yes"});
        EXPECT_EQ(run.status, 1) << target << ": " << run.all();
        EXPECT_NE(run.errors.find("Writing " + target + " failed: the disk is full"), std::string::npos) << run.errors;
        EXPECT_EQ(disk.names(), std::vector<std::string>{"parts.db"}) << "no journal, no new file";
    }
    EXPECT_TRUE(fileState(existing) == before);
    EXPECT_EQ(runPartlib({"info", existing}).status, 0);
}

TEST(HostileTargets, AReadOnlyFileSystemIsNamedAndNothingIsCreated) {
    ScratchFileSystem disk("1m");
    SKIP_UNLESS_MOUNTED(disk);
    const std::string source = sampleLibrary(20);
    const std::string existing = sampleLibrary(0, disk.path("parts.db"));
    ASSERT_TRUE(disk.makeReadOnly());
    const std::string before = fileState(existing);

    // Into a new file, by copy and by import: the file cannot be made.
    const std::string fresh = disk.path("new.db");
    const std::string file = txdbtest::tempFile(".json");
    ASSERT_EQ(runPartlib({"export", source, "-o", file}).status, 0);
    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"copy", source, fresh, "--yes"}, {"import", fresh, file, "--yes"}}) {
        ProgramRun run = runPartlib(arguments);
        EXPECT_EQ(run.status, 1) << arguments[0] << ": " << run.all();
        EXPECT_EQ(run.errors, "Cannot create " + fresh + ": Read-only file system\n") << arguments[0];
        EXPECT_EQ(run.output, "");
    }

    // Onto the file that is there: SQLite opens it read-only and refuses the write.
    ProgramRun onto = runPartlib({"copy", source, existing});
    EXPECT_EQ(onto.status, 1) << onto.all();
    EXPECT_NE(onto.errors.find("readonly"), std::string::npos) << onto.errors;
    EXPECT_TRUE(fileState(existing) == before);
    EXPECT_EQ(disk.names(), std::vector<std::string>{"parts.db"});
}

TEST(HostileTargets, AnotherProgramsDatabaseIsNotTakenForADamagedLibrary) {
    const std::string source = sampleLibrary(20);
    const std::string foreign = txdbtest::tempFile();
    ASSERT_EQ(txdbtest::runShell("sqlite3 " + txdbtest::shellQuoted(foreign) +
                                 " \"CREATE TABLE Parts (sku TEXT, qty INTEGER); INSERT INTO Parts VALUES ('A1', 3);\"")
                  .status,
              0);
    const std::string before = fileState(foreign);

    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"copy", source, foreign, "--yes"}, {"init", foreign, "--yes"}}) {
        ProgramRun run = runPartlib(arguments);
        EXPECT_EQ(run.status, 1) << arguments[0] << ": " << run.all();
        EXPECT_NE(run.all().find("it holds the data of another program"), std::string::npos) << run.all();
        EXPECT_EQ(run.all().find("incomplete"), std::string::npos) << run.all();
        EXPECT_EQ(run.all().find("Remove the tables"), std::string::npos) << run.all();
    }
    EXPECT_TRUE(fileState(foreign) == before);
    ProgramRun info = runPartlib({"info", foreign});
    EXPECT_NE(info.output.find("Foreign:        Parts (tables of another program"), std::string::npos) << info.output;

    // A part-library table as a failed creation leaves it is still told as such.
    const std::string halfBuilt = txdbtest::tempFile();
    ASSERT_EQ(txdbtest::runShell("sqlite3 " + txdbtest::shellQuoted(halfBuilt) +
                                 " 'CREATE TABLE Library (ID INTEGER NOT NULL PRIMARY KEY, Name VARCHAR(50) NOT NULL, "
                                 "Enabled SMALLINT NOT NULL, Comment VARCHAR(255));'")
                  .status,
              0);
    ProgramRun half = runPartlib({"copy", source, halfBuilt, "--yes"});
    EXPECT_EQ(half.status, 1);
    EXPECT_NE(half.errors.find("holds an incomplete TRAXEL Part Library"), std::string::npos) << half.errors;
}

} // namespace
