#include "interface/Subject.h"
#include "interface/WriterEvent.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

namespace {

// Records every event it receives, tagged with its own name, into a log
// shared by all observers of a test so that the calling order is visible.
class RecordingObserver : public Observer<WriterEvent> {
public:
    RecordingObserver(std::string name, std::vector<std::string> &log) : name(std::move(name)), log(log) {}
    void update(const WriterEvent &event) override { log.push_back(name + ":" + event.text); }

private:
    std::string name;
    std::vector<std::string> &log;
};

using ObserverPtr = std::shared_ptr<Observer<WriterEvent>>;

// The observers of a subject in their order, through getObserver.
std::vector<ObserverPtr> observersOf(Subject<WriterEvent> &subject) {
    std::vector<ObserverPtr> all;
    for (size_t i = 0; i < subject.getObserverCount(); ++i)
        all.push_back(subject.getObserver(i));
    return all;
}

class SubjectTest : public ::testing::Test {
protected:
    ObserverPtr observer(const std::string &name) { return std::make_shared<RecordingObserver>(name, log); }

    Subject<WriterEvent> subject;
    std::vector<std::string> log;
};

TEST_F(SubjectTest, AttachKeepsOrderAndDuplicatesDetachRemovesTheFirst) {
    auto a = observer("a");
    auto b = observer("b");
    subject.attach(a);
    subject.attach(b);
    subject.attach(a);
    EXPECT_EQ(observersOf(subject), (std::vector<ObserverPtr>{a, b, a}));
    subject.notify(WriterEvent(1, "R1", 0, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"a:R1", "b:R1", "a:R1"}));

    // An observer not in the list, even an equal one, changes nothing.
    subject.detach(observer("a"));
    subject.detach(nullptr);
    EXPECT_EQ(observersOf(subject), (std::vector<ObserverPtr>{a, b, a}));
    subject.detach(a);
    EXPECT_EQ(observersOf(subject), (std::vector<ObserverPtr>{b, a}));
    subject.detach(a);
    EXPECT_EQ(observersOf(subject), (std::vector<ObserverPtr>{b}));
}

TEST_F(SubjectTest, NotifyProgressPassesOnlyTableProgress) {
    subject.attach(observer("a"));
    for (int writeType = 0; writeType <= 9; ++writeType)
        subject.notifyProgress(WriterEvent(writeType, "item", 0, 1));
    EXPECT_TRUE(log.empty());

    subject.notifyProgress(WriterEvent(10, "Writing Part table...", 3, 7));
    EXPECT_EQ(log, (std::vector<std::string>{"a:Writing Part table..."}));
}

TEST_F(SubjectTest, NotifyHandsOnTheWholeEvent) {
    struct Capture : Observer<WriterEvent> {
        WriterEvent last;
        void update(const WriterEvent &event) override { last = event; }
    };
    auto capture = std::make_shared<Capture>();
    subject.attach(capture);
    subject.notify(WriterEvent(4, "Lib", 2, 9));
    EXPECT_EQ(capture->last.writeType, 4);
    EXPECT_EQ(capture->last.text, "Lib");
    EXPECT_EQ(capture->last.index, 2);
    EXPECT_EQ(capture->last.total, 9);
}

TEST_F(SubjectTest, GetObserverAtOrPastTheEndThrows) {
    try {
        subject.getObserver(0);
        FAIL() << "no exception for an empty list";
    } catch (const std::out_of_range &error) {
        EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
    }
    subject.attach(observer("a"));
    subject.attach(observer("b"));
    EXPECT_THROW(subject.getObserver(subject.getObserverCount()), std::out_of_range);
    EXPECT_THROW(subject.getObserver(static_cast<size_t>(-1)), std::out_of_range);
    EXPECT_NO_THROW(subject.getObserver(1));
}

TEST_F(SubjectTest, AttachAllAppendsTheOtherListInOrder) {
    auto a = observer("a");
    auto b = observer("b");
    auto c = observer("c");
    Subject<WriterEvent> other;
    other.attach(b);
    other.attach(c);
    other.attach(b);
    subject.attach(a);

    subject.attachAll(other);
    EXPECT_EQ(observersOf(subject), (std::vector<ObserverPtr>{a, b, c, b}));
    // The copies are shared, not moved: detaching from one list leaves the other.
    subject.detach(c);
    EXPECT_EQ(observersOf(other), (std::vector<ObserverPtr>{b, c, b}));
}

TEST_F(SubjectTest, ObserversAreReleasedWithTheSubject) {
    std::weak_ptr<Observer<WriterEvent>> watched;
    {
        Subject<WriterEvent> owner;
        auto a = observer("a");
        watched = a;
        owner.attach(a);
        owner.attach(a);
        a.reset();
        EXPECT_FALSE(watched.expired()) << "the subject shares ownership";
    }
    EXPECT_TRUE(watched.expired());
}

TEST_F(SubjectTest, DetachReleasesTheObserver) {
    std::weak_ptr<Observer<WriterEvent>> watched;
    {
        auto a = observer("a");
        watched = a;
        subject.attach(a);
        subject.detach(a);
    }
    EXPECT_TRUE(watched.expired());
}

} // namespace
