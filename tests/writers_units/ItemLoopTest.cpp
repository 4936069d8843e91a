// The item loop of every writer, seen through a writable that records what
// it is asked to do: the handler of each write state, the events before each
// item, the loop variants, cancellation at every level and readers that
// deliver nothing.

#include "ctraxdbpartlib/writers/CTraxDBWriter.h"
#include "tests/support/TestUtil.h"
#include "tools/hostmodel/HostRecords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using txdbtest::ScopedVariable;
using txdbtest::thrownMessage;

namespace {

// An item of the test writers: a name, a state and children, which a second
// writer one level down writes.
struct Item {
    std::string name;
    int state;
    std::vector<Item> children;
    int getState() const { return state; }
};

using Items = std::vector<Item>;
using Trace = std::vector<std::string>;

// The reader over items as a host's reader answers, counting its getNext calls.
class ItemReader : public hostmodel::VectorReader<Item> {
public:
    explicit ItemReader(const Items &items) : VectorReader(records(items)) {}
    std::shared_ptr<Item> getNext() override {
        ++nextCalls;
        return VectorReader::getNext();
    }
    int nextCalls = 0;

private:
    static std::vector<std::shared_ptr<Item>> records(const Items &items) {
        std::vector<std::shared_ptr<Item>> all;
        for (const Item &item : items)
            all.push_back(std::make_shared<Item>(item));
        return all;
    }
};

// The cancel callback is a plain function: it answers from this text, the
// name of the item whose event turns it on.
std::string cancelAtEventOf;
bool cancelNow = false;
bool cancelWhenAsked() {
    return cancelNow;
}

class TraceWriter;

// Records each call in the shared trace; the items in `stored` are found.
class TraceWritable : public Writable<Item> {
public:
    TraceWritable(Trace &trace, const std::set<std::string> &stored, int level)
        : trace(trace), stored(stored), level(level) {}
    void flush() override { trace.push_back("flush " + std::to_string(level)); }
    bool find(std::shared_ptr<Item> item) override {
        trace.push_back("find " + item->name);
        return stored.count(item->name) > 0;
    }
    void insert(std::shared_ptr<Item> item) override { trace.push_back("insert " + item->name); }
    void update(std::shared_ptr<Item> item) override { trace.push_back("update " + item->name); }
    void del(std::shared_ptr<Item> item) override { trace.push_back("del " + item->name); }
    void writeSubItems(DBWriter<Item> &writer, std::shared_ptr<Item> item, CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<Item> &, std::shared_ptr<Item> item, CANCEL_CALLBACK) override {
        trace.push_back("purge " + item->name);
    }

private:
    Trace &trace;
    const std::set<std::string> &stored;
    int level;
};

class TraceWriter : public DBWriter<Item> {
public:
    TraceWriter(Trace &trace, const std::set<std::string> &stored, int level = 0)
        : writable(trace, stored, level), level(level) {}
    Writable<Item> &getWritable() override { return writable; }
    std::string getWriteItem(std::shared_ptr<Item> item) override { return item->name; }
    int getWriteType() override { return WRITE_TYPE_GATE + level; }

private:
    TraceWritable writable;
    int level;
};

void TraceWritable::writeSubItems(DBWriter<Item> &writer, std::shared_ptr<Item> item, CANCEL_CALLBACK cancel) {
    trace.push_back("sub " + item->name);
    if (item->children.empty())
        return;
    TraceWriter children(trace, stored, level + 1);
    children.attachAll(writer);
    children.write(std::make_shared<ItemReader>(item->children), cancel);
}

// Puts every event into the trace as "event <type> <text> <index>/<total>",
// and turns the cancel on at the event of the item named in cancelAtEventOf.
struct EventTrace : Observer<WriterEvent> {
    explicit EventTrace(Trace &trace) : trace(trace) {}
    void update(const WriterEvent &event) override {
        trace.push_back("event " + std::to_string(event.writeType) + " " + event.text + " " +
                        std::to_string(event.index) + "/" + std::to_string(event.total));
        if (event.text == cancelAtEventOf)
            cancelNow = true;
    }
    Trace &trace;
};

enum class Variant { Write, NoDelete, Deletions, PurgeFound, PurgeAll };

class ItemLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        cancelNow = false;
        cancelAtEventOf.clear();
    }

    // Runs the loop over `items` and gives the trace, events included (when
    // `events`), and the message of what it raised last in `raised`.
    Trace run(Variant kind, const Items &items, bool events = false) {
        Trace trace;
        TraceWriter writer(trace, stored);
        if (events)
            writer.attach(std::make_shared<EventTrace>(trace));
        reader = std::make_shared<ItemReader>(items);
        raised = thrownMessage([&] { runOn(writer, kind, reader); });
        return trace;
    }
    static void runOn(TraceWriter &writer, Variant kind, std::shared_ptr<Reader<Item>> source) {
        switch (kind) {
        case Variant::Write:
            return writer.write(source, cancelWhenAsked);
        case Variant::NoDelete:
            return writer.writeNoDelete(source, cancelWhenAsked);
        case Variant::Deletions:
            return writer.writeDeletions(source, cancelWhenAsked);
        case Variant::PurgeFound:
            return writer.purgeFound(source, cancelWhenAsked);
        case Variant::PurgeAll:
            return writer.purgeAll(source, cancelWhenAsked);
        }
    }

    std::set<std::string> stored;
    std::shared_ptr<ItemReader> reader;
    std::string raised;
};

const char *const NOT_FOUND = "Failed to find item a  in the database";
const char *const EXISTS = "Insert Failed. Item a already exists in the database";

TEST_F(ItemLoopTest, EachStateRunsItsHandlerThenTheChildrenAndOneFinalFlush) {
    const struct {
        int state;
        bool isStored;
        bool devChecks;
        Trace trace;
        std::string raised;
    } cases[] = {
        {STATE_UNCHANGED, true, false, {"find a", "sub a", "flush 0"}, ""},
        {STATE_UNCHANGED, false, false, {"find a"}, NOT_FOUND},
        // Without the developer switch a new item is inserted unseen.
        {STATE_NEW, true, false, {"insert a", "flush 0", "sub a", "flush 0"}, ""},
        {STATE_NEW, true, true, {"find a"}, EXISTS},
        {STATE_NEW, false, true, {"find a", "insert a", "flush 0", "sub a", "flush 0"}, ""},
        {STATE_MODIFIED, true, false, {"find a", "update a", "flush 0", "sub a", "flush 0"}, ""},
        {STATE_MODIFIED, false, false, {"find a"}, NOT_FOUND},
        {STATE_DELETED, true, false, {"find a", "del a", "sub a", "flush 0"}, ""},
        {STATE_DELETED, false, false, {"find a"}, NOT_FOUND},
        {STATE_WRITE, true, false, {"find a", "update a", "sub a", "flush 0"}, ""},
        {STATE_WRITE, false, false, {"find a", "insert a", "sub a", "flush 0"}, ""},
        {7, true, false, {"sub a", "flush 0"}, ""},
        {-1, true, false, {"sub a", "flush 0"}, ""},
    };
    for (const auto &c : cases) {
        ScopedVariable devChecks("TXDB_DEVCHECKS", c.devChecks ? "1" : nullptr);
        stored = c.isStored ? std::set<std::string>{"a"} : std::set<std::string>{};
        const Trace trace = run(Variant::Write, {{"a", c.state, {}}});
        const std::string what = "state " + std::to_string(c.state) + (c.isStored ? " stored" : " missing") +
                                 (c.devChecks ? " with developer checks" : "");
        EXPECT_EQ(trace, c.trace) << what;
        EXPECT_EQ(raised, c.raised.empty() ? "<no exception>" : c.raised) << what;
    }
}

TEST_F(ItemLoopTest, TheDeveloperSwitchCountsOnlyWhenSetToSomethingOtherThanZero) {
    stored = {"a"};
    for (const char *value : {"0", ""}) {
        ScopedVariable devChecks("TXDB_DEVCHECKS", value);
        EXPECT_EQ(run(Variant::Write, {{"a", STATE_NEW, {}}}), (Trace{"insert a", "flush 0", "sub a", "flush 0"}))
            << "TXDB_DEVCHECKS=" << value;
    }
    ScopedVariable devChecks("TXDB_DEVCHECKS", "yes");
    run(Variant::Write, {{"a", STATE_NEW, {}}});
    EXPECT_EQ(raised, EXISTS);
}

TEST_F(ItemLoopTest, EveryItemIsAnnouncedBeforeItIsWrittenWithTheReadersCountAsTotal) {
    stored = {"b"};
    const Trace trace = run(Variant::Write, {{"a", STATE_NEW, {}}, {"b", STATE_MODIFIED, {}}, {"c", 9, {}}}, true);
    EXPECT_EQ(trace, (Trace{"event 4 a 0/3", "insert a", "flush 0", "sub a", "event 4 b 1/3", "find b", "update b",
                            "flush 0", "sub b", "event 4 c 2/3", "sub c", "flush 0"}));
}

TEST_F(ItemLoopTest, TheVariantsActOnExactlyTheirItems) {
    stored = {"u", "m", "d", "w"};
    const Items items = {{"u", STATE_UNCHANGED, {}}, {"n", STATE_NEW, {}},   {"m", STATE_MODIFIED, {}},
                         {"d", STATE_DELETED, {}},   {"w", STATE_WRITE, {}}, {"x", STATE_WRITE, {}}};
    const struct {
        Variant kind;
        const char *name;
        Trace trace;
    } cases[] = {
        {Variant::Write,
         "write",
         {"find u", "sub u", "insert n", "flush 0", "sub n", "find m", "update m", "flush 0", "sub m", "find d",
          "del d", "sub d", "find w", "update w", "sub w", "find x", "insert x", "sub x", "flush 0"}},
        // A deleted item is left alone, but its children are written.
        {Variant::NoDelete,
         "writeNoDelete",
         {"find u", "sub u", "insert n", "flush 0", "sub n", "find m", "update m", "flush 0", "sub m", "sub d",
          "find w", "update w", "sub w", "find x", "insert x", "sub x", "flush 0"}},
        {Variant::Deletions, "writeDeletions", {"find d", "del d", "sub d", "flush 0"}},
        // Whatever the state, what is found is purged; nothing else runs.
        {Variant::PurgeFound,
         "purgeFound",
         {"find u", "purge u", "find n", "find m", "purge m", "find d", "purge d", "find w", "purge w", "find x",
          "flush 0"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.kind, items), c.trace) << c.name;
        EXPECT_EQ(raised, "<no exception>") << c.name;
    }
}

TEST_F(ItemLoopTest, WriteDeletionsStillAnnouncesTheItemsItPassesOver) {
    stored = {"d"};
    const Trace trace = run(Variant::Deletions, {{"n", STATE_NEW, {}}, {"d", STATE_DELETED, {}}}, true);
    EXPECT_EQ(trace, (Trace{"event 4 n 0/2", "event 4 d 1/2", "find d", "del d", "sub d", "flush 0"}));
}

TEST_F(ItemLoopTest, PurgeAllReadsEverythingFirstAndRaisesForAnItemNotFound) {
    stored = {"a", "b"};
    const Items items = {{"a", STATE_WRITE, {}}, {"b", STATE_NEW, {}}};
    EXPECT_EQ(run(Variant::PurgeAll, items, true), (Trace{"event 4 a 0/2", "event 4 b 1/2", "event 4 a 0/2", "find a",
                                                          "purge a", "event 4 b 1/2", "find b", "purge b", "flush 0"}));
    EXPECT_EQ(raised, "<no exception>");

    stored = {"b"};
    EXPECT_EQ(run(Variant::PurgeAll, items), (Trace{"find a"}));
    EXPECT_EQ(raised, NOT_FOUND);

    // A cancel seen during the first pass purges nothing; one seen during
    // the second stops after the item it was seen at.
    stored = {"a", "b"};
    cancelAtEventOf = "b";
    EXPECT_EQ(run(Variant::PurgeAll, items, true), (Trace{"event 4 a 0/2", "event 4 b 1/2", "flush 0"}));
    cancelNow = false;
    cancelAtEventOf.clear();
    struct CancelAtThirdEvent : Observer<WriterEvent> {
        void update(const WriterEvent &) override { cancelNow = ++events == 3; }
        int events = 0;
    };
    Trace trace;
    TraceWriter writer(trace, stored);
    writer.attach(std::make_shared<EventTrace>(trace));
    writer.attach(std::make_shared<CancelAtThirdEvent>());
    writer.purgeAll(std::make_shared<ItemReader>(items), cancelWhenAsked);
    EXPECT_EQ(trace, (Trace{"event 4 a 0/2", "event 4 b 1/2", "event 4 a 0/2", "find a", "purge a", "flush 0"}));
}

TEST_F(ItemLoopTest, ACancelStopsTheInnermostLoopAtOnceAndTheOuterOnesAtTheirNextPoll) {
    stored = {};
    const Items items = {
        {"p1", STATE_WRITE, {{"c1", STATE_WRITE, {}}, {"c2", STATE_WRITE, {{"g1", STATE_WRITE, {}}}}, {"c3", 4, {}}}},
        {"p2", STATE_WRITE, {{"c4", STATE_WRITE, {}}}}};
    cancelAtEventOf = "g1";
    const Trace trace = run(Variant::Write, items, true);
    // g1 was read before the cancel: it is written, and each loop then ends
    // with its flush, c3 and p2 are never read.
    EXPECT_EQ(trace, (Trace{"event 4 p1 0/2", "find p1", "insert p1", "sub p1", "event 5 c1 0/3", "find c1",
                            "insert c1", "sub c1", "event 5 c2 1/3", "find c2", "insert c2", "sub c2", "event 6 g1 0/1",
                            "find g1", "insert g1", "sub g1", "flush 2", "flush 1", "flush 0"}));
    EXPECT_EQ(reader->nextCalls, 1);
}

TEST_F(ItemLoopTest, ACancelFromTheStartReadsNothingAndOnlyFlushes) {
    stored = {"a"};
    cancelNow = true;
    const Items items = {{"a", STATE_WRITE, {}}};
    for (Variant kind : {Variant::Write, Variant::NoDelete, Variant::Deletions, Variant::PurgeFound}) {
        cancelNow = true;
        EXPECT_EQ(run(kind, items, true), (Trace{"flush 0"}));
        EXPECT_EQ(reader->nextCalls, 0);
    }
}

TEST_F(ItemLoopTest, AnEmptyReaderOrAnEmptyHandleHasNoItems) {
    for (Variant kind :
         {Variant::Write, Variant::NoDelete, Variant::Deletions, Variant::PurgeFound, Variant::PurgeAll}) {
        EXPECT_EQ(run(kind, {}, true), (Trace{"flush 0"}));
        Trace trace;
        TraceWriter writer(trace, stored);
        writer.attach(std::make_shared<EventTrace>(trace));
        EXPECT_EQ(thrownMessage([&] { runOn(writer, kind, nullptr); }), "<no exception>");
        EXPECT_EQ(trace, (Trace{"flush 0"}));
    }
}

TEST_F(ItemLoopTest, RaiseErrorOfAnotherKindCarriesNoText) {
    Trace trace;
    TraceWriter writer(trace, stored);
    auto item = std::make_shared<Item>(Item{"a", STATE_WRITE, {}});
    EXPECT_EQ(thrownMessage([&] { writer.raiseError(0, item); }), EXISTS);
    EXPECT_EQ(thrownMessage([&] { writer.raiseError(1, item); }), NOT_FOUND);
    EXPECT_EQ(thrownMessage([&] { writer.raiseError(2, item); }), "");
}

} // namespace
