// Whole libraries copied from one database into another through the
// exported library reader and writer: the target's export against the
// source's, row counts, the copy repeated onto itself, the events, cancels
// and failures that must leave the target as it was, the refused
// arguments, and writes started while a write runs.

#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/writers/CTraxDBWriter.h"
#include "interface/Exception.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/partlib/LibraryExport.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

// Every table of the schema but Library_version, parents before children.
const std::vector<std::string> TABLES(CTraxDBSchema::tableNames().begin() + 1, CTraxDBSchema::tableNames().end());

std::string exported(const pathHandle_t &path) {
    std::ostringstream out;
    partlib::exportLibraries(path, out);
    return out.str();
}

std::vector<int> tableCounts(txdbtest::SampleDatabase &db) {
    std::vector<int> counts;
    for (const std::string &table : TABLES)
        counts.push_back(db.ints("SELECT COUNT(*) FROM [" + table + "];").at(0));
    return counts;
}

struct Recorder : Observer<WriterEvent> {
    void update(const WriterEvent &event) override {
        events.push_back(event);
        if (onEvent)
            onEvent(event);
    }
    std::vector<WriterEvent> events;
    std::function<void(const WriterEvent &)> onEvent;
};

// The cancel callback is a plain function: it answers from this flag.
bool cancelRequested = false;
bool cancelWhenRequested() {
    return cancelRequested;
}
bool neverCancel() {
    return false;
}

// Copies every library of `source` into `target` through the exported
// functions, with `observer` attached.
void copyLibraries(const pathHandle_t &source, const pathHandle_t &target, std::shared_ptr<Recorder> observer = nullptr,
                   CANCEL_CALLBACK cancel = neverCancel) {
    std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target);
    if (observer)
        writer->attach(observer);
    writer->write(getLibraryReader(source, nullptr), cancel);
}

// The same copy, where it is expected to succeed: a thrown message is a failure.
void copyOrFail(const pathHandle_t &source, const pathHandle_t &target, std::shared_ptr<Recorder> observer = nullptr) {
    const std::string message = txdbtest::thrownMessage([&] { copyLibraries(source, target, observer); });
    EXPECT_EQ(message, "<no exception>");
}

class LibraryCopyTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { cancelRequested = false; }
    txdbtest::SampleDatabase &source() { return txdbtest::sharedSample(GetParam()); }
};

TEST_P(LibraryCopyTest, CopyIntoAnEmptyDatabaseExportsTheSameBytesAndRepeatingItAddsNothing) {
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    copyOrFail(source().path, target.path);
    const std::string expected = exported(source().path);
    EXPECT_EQ(exported(target.path), expected);
    const std::vector<int> counts = tableCounts(source());
    EXPECT_EQ(tableCounts(target), counts);

    // Every item is found again and updated in place.
    copyOrFail(source().path, target.path);
    EXPECT_EQ(exported(target.path), expected);
    EXPECT_EQ(tableCounts(target), counts);
}

TEST_P(LibraryCopyTest, GatesAndGroupsTheTargetHoldsBeyondTheSourcesAreReplacedWhole) {
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    copyOrFail(source().path, target.path);
    // A definition of the target gains a gate with pins, a swap group and a
    // pin-equivalence group that the source does not have.
    const int definition = target.ints("SELECT MIN([ID]) FROM [Part_Definition];").at(0);
    const int pin =
        target.ints("SELECT MIN([ID]) FROM [Pin_Data] WHERE [Part_def_ID] = " + std::to_string(definition) + ";").at(0);
    const std::string def = std::to_string(definition), pinKey = std::to_string(pin);
    target.exec("INSERT INTO [Gate] VALUES (90000, " + def + ", 'EXTRA', NULL);");
    target.exec("INSERT INTO [Gate_has_Pin_Data] VALUES (90001, 90000, " + pinKey + "), (90002, 90000, " + pinKey +
                ");");
    target.exec("INSERT INTO [Gate_Equiv] VALUES (90003, " + def + ", 'EXTRA');");
    target.exec("INSERT INTO [Pin_Equiv] VALUES (90004, " + def + ");");
    copyOrFail(source().path, target.path);
    EXPECT_TRUE(exported(target.path) == exported(source().path));
    EXPECT_EQ(tableCounts(target), tableCounts(source()));
}

TEST_P(LibraryCopyTest, ACopyIntoTheOtherEngineExportsTheSameBytes) {
    const std::vector<std::string> engines = txdbtest::testEngines();
    if (engines.size() < 2)
        GTEST_SKIP() << "one engine only";
    for (const std::string &other : engines) {
        if (other == GetParam())
            continue;
        txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(other, {"", 0});
        copyOrFail(source().path, target.path);
        EXPECT_EQ(exported(target.path), exported(source().path)) << GetParam() << " to " << other;
    }
}

TEST_P(LibraryCopyTest, TheSourceLibraryIsReadAheadForTheWholeLibraryWhileItIsWritten) {
    // The source's details are read definition by definition: on a server
    // each of those queries would be a round trip of its own.
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    ProviderConnection &source = *this->source().dbPath().getSession().getConnection();
    auto recorder = std::make_shared<Recorder>();
    long reads = -1, answered = -1;
    recorder->onEvent = [&](const WriterEvent &event) {
        if (event.writeType == WRITE_TYPE_PROGRESS && event.text == "Writing Part Definition table..." &&
            source.getPrefetch()) {
            reads = source.getPrefetch()->readsRun();
            answered = source.getPrefetch()->executionsAnswered();
        }
    };
    copyOrFail(this->source().path, target.path, recorder);
    EXPECT_GT(reads, 0);
    EXPECT_GT(answered, 10 * reads) << reads << " reads";
    EXPECT_EQ(source.getPrefetch(), nullptr);
    EXPECT_EQ(exported(target.path), exported(this->source().path));
}

// A write that fills a table by many rows leaves the engine's statistics of
// it gathered, where the engine would gather them only later by itself: the
// next write's lookups then use the indexes at once.
TEST_P(LibraryCopyTest, AWriteThatFillsATableLeavesItsStatisticsGathered) {
    if (GetParam() != "PostgreSQL")
        GTEST_SKIP() << "the engine keeps its statistics up to date itself";
    txdbtest::SampleDatabase big("SQLite", {"Big", 12000, 1, false});
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    const auto analyzed = [&](const std::string &table) {
        return target.ints("SELECT Count(*) FROM pg_stat_user_tables WHERE relname = '" + table +
                           "' AND last_analyze IS NOT NULL;");
    };
    copyOrFail(big.path, target.path);
    EXPECT_EQ(analyzed("Parts"), std::vector<int>{1}) << "12,000 rows added";
    EXPECT_EQ(target.ints("SELECT reltuples::integer FROM pg_class WHERE relname = 'Parts';"),
              target.ints("SELECT Count(*) FROM [Parts];"));
    EXPECT_EQ(analyzed("Library"), std::vector<int>{0}) << "one row added";
}

TEST_P(LibraryCopyTest, EventsAnnounceEveryItemAndTheTablesInOrder) {
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    auto recorder = std::make_shared<Recorder>();
    copyOrFail(source().path, target.path, recorder);

    std::vector<std::string> progress;
    std::map<int, int> itemsByType;
    for (const WriterEvent &event : recorder->events) {
        if (event.writeType == WRITE_TYPE_PROGRESS) {
            EXPECT_EQ(event.total, 10);
            progress.push_back(std::to_string(event.index) + " " + event.text);
        } else {
            ++itemsByType[event.writeType];
        }
    }
    EXPECT_EQ(progress, (std::vector<std::string>{
                            "0 ", "0 Writing Part Definition table...", "1 Writing Pin Data table...",
                            "2 Writing Attribute table...", "3 Writing Gate table...", "4 Writing Gate Data table...",
                            "5 Writing Gate Swap table...", "6 Writing Gate Swap Gate table...",
                            "7 Writing Gate Swap Pin Data table...", "8 Writing Pin Equiv table...",
                            "9 Writing Part table...", "10 Writing Part table..."}));
    const SampleCounts &counts = source().counts;
    EXPECT_EQ(itemsByType[WRITE_TYPE_LIBRARY], 1);
    EXPECT_EQ(itemsByType[WRITE_TYPE_HIERARCHY], counts.folders);
    // The second passes deliver nothing that the first passes wrote.
    EXPECT_EQ(itemsByType[WRITE_TYPE_PART_DEF], counts.partDefinitions);
    EXPECT_EQ(itemsByType[WRITE_TYPE_PART], counts.parts);
    // Pins are announced by the pass that writes them and by the one that
    // looks for deleted ones.
    EXPECT_EQ(itemsByType[WRITE_TYPE_PIN_DATA], 2 * counts.pins);
    EXPECT_EQ(itemsByType[WRITE_TYPE_ATTRIBUTE], counts.attributes);

    // The item events of one level: a library's event comes first, indexed
    // from 0 with the reader's count as total.
    const WriterEvent &first = recorder->events.front();
    EXPECT_EQ(first.writeType, WRITE_TYPE_LIBRARY);
    EXPECT_EQ(first.text, "Demo");
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(first.total, 1);
}

TEST_P(LibraryCopyTest, CancelOrFailureAnywhereLeavesTheTargetAsItWas) {
    // The target already holds a library that the aborted writes must keep.
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"Kept", 40, 1, false});
    const std::string before = exported(target.path);
    const std::vector<int> countsBefore = tableCounts(target);

    auto counting = std::make_shared<Recorder>();
    copyOrFail(source().path, txdbtest::SampleDatabase::other(GetParam(), {"", 0}).path, counting);
    const int eventCount = static_cast<int>(counting->events.size());

    for (int cancelAt : {0, eventCount / 2, eventCount - 1}) {
        cancelRequested = false;
        auto recorder = std::make_shared<Recorder>();
        int seen = 0;
        recorder->onEvent = [&](const WriterEvent &) { cancelRequested = cancelRequested || seen++ >= cancelAt; };
        copyLibraries(source().path, target.path, recorder, cancelWhenRequested);
        EXPECT_EQ(exported(target.path), before) << "cancel at event " << cancelAt;
        EXPECT_EQ(tableCounts(target), countsBefore) << "cancel at event " << cancelAt;
        // The last table event is sent even after a cancel.
        EXPECT_EQ(recorder->events.back().index, 10) << "cancel at event " << cancelAt;
    }

    // A part filed in a folder of another library: its folder cannot be
    // found in the library being written.
    cancelRequested = false;
    txdbtest::SampleDatabase broken = txdbtest::SampleDatabase::other(GetParam(), {"Broken", 30, 1, false});
    broken.exec("INSERT INTO [Library] VALUES (90000, 'Zother', 1, NULL);");
    broken.exec("INSERT INTO [Hierarchy] VALUES (90001, 90000, 'Elsewhere', NULL);");
    const int firstPart = broken.ints("SELECT MIN([ID]) FROM [Parts];").at(0);
    broken.exec("UPDATE [Parts] SET [Hierarchy_ID] = 90001 WHERE [ID] = " + std::to_string(firstPart) + ";");
    EXPECT_EQ(txdbtest::thrownMessage([&] { copyLibraries(broken.path, target.path); }),
              "Failed to find item Elsewhere  in the database");
    EXPECT_EQ(exported(target.path), before);
    EXPECT_EQ(tableCounts(target), countsBefore);
}

TEST_P(LibraryCopyTest, NullArgumentsAreRefusedBeforeAnythingIsWritten) {
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target.path);
    EXPECT_EQ(txdbtest::thrownMessage([&] { writer->write(nullptr, neverCancel); }), "Invalid NULL Reader passed");
    EXPECT_EQ(txdbtest::thrownMessage([&] { writer->write(getLibraryReader(source().path, nullptr), nullptr); }),
              "Invalid NULL CANCEL_CALLBACK passed");
    EXPECT_EQ(txdbtest::thrownMessage([&] { writer->attach(nullptr); }), "Invalid Null observer passed");
    EXPECT_EQ(txdbtest::thrownMessage([&] { writer->detach(nullptr); }), "Invalid Null observer passed");
    EXPECT_EQ(txdbtest::thrownMessage([&] { getLibraryWriter(nullptr); }), "Invalid NULL path handle passed");
    EXPECT_EQ(tableCounts(target), std::vector<int>(TABLES.size(), 0));
}

// Starts one more copy from `source` into `target` at the first part that
// `recorder` is told of, while the write it watches holds buffered rows;
// the message that copy ends with.
void copyAtTheFirstPart(Recorder &recorder, const pathHandle_t &source, const pathHandle_t &target,
                        std::string &message) {
    recorder.onEvent = [source, target, &message](const WriterEvent &event) {
        if (event.writeType == WRITE_TYPE_PART && message.empty())
            message = txdbtest::thrownMessage([&] { copyLibraries(source, target); });
    };
}

TEST_P(LibraryCopyTest, AWriteIntoAnotherDatabaseStartedDuringAWriteCompletesAndSoDoesTheFirst) {
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    txdbtest::SampleDatabase other = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    auto recorder = std::make_shared<Recorder>();
    std::string nested;
    copyAtTheFirstPart(*recorder, source().path, other.path, nested);
    copyOrFail(source().path, target.path, recorder);
    EXPECT_EQ(nested, "<no exception>");
    const std::string expected = exported(source().path);
    EXPECT_EQ(exported(target.path), expected);
    EXPECT_EQ(exported(other.path), expected);
    EXPECT_EQ(tableCounts(other), tableCounts(target));
}

TEST_P(LibraryCopyTest, ASecondWriteIntoTheSameDatabaseDuringAWriteIsRefusedAndTheFirstCompletes) {
    txdbtest::SampleDatabase target = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    auto recorder = std::make_shared<Recorder>();
    std::string nested;
    copyAtTheFirstPart(*recorder, source().path, target.path, nested);
    copyOrFail(source().path, target.path, recorder);
    EXPECT_NE(nested.find("Another library write is running on this database"), std::string::npos) << nested;
    EXPECT_EQ(exported(target.path), exported(source().path));
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryCopyTest, ::testing::ValuesIn(txdbtest::testEngines()));

} // namespace
