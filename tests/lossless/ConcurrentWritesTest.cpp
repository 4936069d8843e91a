// Library writes that run at the same time in one process, each into a
// database of its own: two threads, each in the middle of its parts while
// the other is too, and both targets hold their sources row for row.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/writers/CTraxDBWriter.h"
#include "interface/CTraxDBPartLib.h"
#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string initOf(const std::string &file) {
    return "Provider=SQLite;Data Source=" + file;
}

pathHandle_t open(const std::string &file) {
    std::string init = initOf(file);
    return openPath(init.data());
}

// A part-library file with one sample library.
std::string sampleFile(const std::string &name, int firstId) {
    const std::string file = txdbtest::partLibraryWith("");
    CTraxDBPath path(initOf(file).c_str());
    writeSampleLibrary(path, {name, 300, firstId, true});
    return file;
}

// Lets each of `parties` threads go on only once all of them have arrived,
// or when the wait has lasted too long; says whether all arrived.
class Rendezvous {
public:
    explicit Rendezvous(int parties) : missing(parties) {}
    bool arrive() {
        std::unique_lock<std::mutex> lock(mutex);
        if (--missing == 0)
            met.notify_all();
        return met.wait_for(lock, std::chrono::seconds(30), [this] { return missing == 0; });
    }

private:
    std::mutex mutex;
    std::condition_variable met;
    int missing;
};

// Holds its write at the first part it is told of until the other write has
// reached its parts as well.
struct MeetAtTheParts : Observer<WriterEvent> {
    explicit MeetAtTheParts(Rendezvous &rendezvous) : rendezvous(rendezvous) {}
    void update(const WriterEvent &event) override {
        if (event.writeType == WRITE_TYPE_PART && !arrived) {
            arrived = true;
            metTheOther = rendezvous.arrive();
        }
    }
    Rendezvous &rendezvous;
    bool arrived = false;
    bool metTheOther = false;
};

bool neverCancel() {
    return false;
}

TEST(ConcurrentWrites, TwoThreadsWriteTwoDatabasesAtOnceAndBothArriveWhole) {
    const std::vector<std::string> sources{sampleFile("First", 1), sampleFile("Second", 500)};
    const std::vector<std::string> targets{txdbtest::partLibraryWith(""), txdbtest::partLibraryWith("")};

    Rendezvous rendezvous(2);
    std::vector<std::shared_ptr<MeetAtTheParts>> observers;
    std::vector<std::string> messages(2);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < 2; ++i) {
        observers.push_back(std::make_shared<MeetAtTheParts>(rendezvous));
        threads.emplace_back([&, i] {
            messages[i] = txdbtest::thrownMessage([&] {
                std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(open(targets[i]));
                writer->attach(observers[i]);
                writer->write(getLibraryReader(open(sources[i]), nullptr), neverCancel);
            });
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(messages[i], "<no exception>") << i;
        EXPECT_TRUE(observers[i]->metTheOther) << i << ": the writes did not overlap";
        const txdbtest::NaturalTables written = txdbtest::naturalTables(targets[i]);
        EXPECT_EQ(written, txdbtest::naturalTables(sources[i])) << i;
        EXPECT_FALSE(written.at("Parts").empty()) << i;
    }
}

} // namespace
