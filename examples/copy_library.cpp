// A small host of the part-library plug-in: opens (or creates) a target
// database, lists the libraries of a source database whose names match a
// pattern, with the parts of each that match a second pattern, and copies
// those libraries into the target with a progress observer and a cancel.
//
//   copy_library SOURCE TARGET [LIBRARY-PATTERN [PART-PATTERN]] [--cancel-after N]
//
// SOURCE and TARGET are OLE DB initialisation strings
// ("Provider=SQLite;Data Source=parts.db", or an ODBC one); the patterns are
// SQL LIKE patterns (default "%"). --cancel-after N cancels the copy after
// N progress events: the target is left as it was.

#include "hostservices/HostCallbacks.h"
#include "interface/PartLibInterface.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <memory>
#include <string>

namespace api = COM_ORVEL_TRAX_PLDAIO_INTERFACE;

namespace {

// [filter-node]
// A node of a filter tree: the host implements Component<T>.
template <class T> class FilterNode : public api::Component<T> {
public:
    explicit FilterNode(std::shared_ptr<T> filter) : data(std::move(filter)) {}
    std::shared_ptr<T> getData() override { return data; }
    typename api::Component<T>::ChildList *getChildren() override { return &children; }
    void accept(api::Visitor<T> *visitor) override { visitor->visitComposite(this); }

    typename api::Component<T>::ChildList children;

private:
    std::shared_ptr<T> data;
};

// Library name LIKE pattern, as a one-node tree.
api::libraryFilterCompHandle_t libraryNameLike(const std::string &pattern) {
    return std::make_shared<FilterNode<api::LibFilter>>(std::make_shared<api::LibFilter>(8, pattern));
}

// Part name LIKE pattern AND a part definition (table 2) whose component name
// is not NULL, as a group over two comparisons.
api::partFilterCompHandle_t partNameLike(const std::string &pattern) {
    auto root = std::make_shared<FilterNode<api::PartFilter>>(std::make_shared<api::PartFilter>(0, "", "", 0));
    root->children.push_back(
        std::make_shared<FilterNode<api::PartFilter>>(std::make_shared<api::PartFilter>(8, pattern, "Part Name", 0)));
    root->children.push_back(
        std::make_shared<FilterNode<api::PartFilter>>(std::make_shared<api::PartFilter>(3, "", "Component", 2)));
    return root;
}
// [/filter-node]

// [progress-observer]
// Prints the writer's events: one line per library (write type 0) and per
// table written (write type 10); counts every event for --cancel-after.
class Progress : public api::Observer<api::WriterEvent> {
public:
    void update(const api::WriterEvent &event) override {
        ++events;
        if (event.writeType == 0)
            std::printf("copying library %d of %d: %s\n", event.index + 1, event.total, event.text.c_str());
        else if (event.writeType == 10 && !event.text.empty())
            std::printf("  %s\n", event.text.c_str());
    }
    int events = 0;
};
// [/progress-observer]

// [cancel]
// The cancel callback is a plain function: it reads process-wide state.
volatile std::sig_atomic_t interrupted = 0;
std::shared_ptr<Progress> progress;
int cancelAfter = -1;
bool cancelled = false;

bool cancelCopy() {
    if (interrupted || (cancelAfter >= 0 && progress->events >= cancelAfter))
        cancelled = true; // write() returns normally after a cancel: remember it
    return cancelled;
}
// [/cancel]

// [open-or-create]
// Answers the plug-in's one question of interest, whether to create the
// part-library tables in a database that has none, with Yes; any other
// question (an upgrade, an SQL script) with No.
int answer(const char *text, const char * /*caption*/, unsigned /*style*/) {
    return std::strstr(text, "Do you wish to create the TRAXEL Part Library") ? IDYES : IDNO;
}

api::pathHandle_t openOrCreate(const std::string &initialisation) {
    hostCallbacks().messageBox = answer;
    api::doPromptValidationMsg(true); // read by openPath: allows the question
    std::string copy = initialisation;
    api::pathHandle_t path = api::openPath(copy.data());
    api::doPromptValidationMsg(false);
    return path;
}
// [/open-or-create]

// [list]
std::string nameOf(api::LibraryAccess &library) {
    char name[256];
    library.getName(name, sizeof name, false);
    return name;
}

void listParts(api::LibraryAccess &library, const std::string &partPattern) {
    std::shared_ptr<api::Reader<api::PartAccess>> parts = library.getPartReader(partNameLike(partPattern), 0);
    std::printf("library %s: %d matching parts\n", nameOf(library).c_str(), parts->getCount());
    while (std::shared_ptr<api::PartAccess> part = parts->getNext()) {
        char name[256], description[1024];
        bool noDescription = false;
        part->getName(name, sizeof name, false);
        part->getDescription(noDescription, description, sizeof description);
        std::printf("  %s%s%s\n", name, noDescription ? "" : ": ", noDescription ? "" : description);
    }
}
// [/list]

int run(int argc, char **argv) {
    std::string patterns[2] = {"%", "%"};
    std::string databases[2];
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--cancel-after") && i + 1 < argc)
            cancelAfter = std::atoi(argv[++i]);
        else if (positional < 2)
            databases[positional++] = argv[i];
        else if (positional < 4)
            patterns[positional++ - 2] = argv[i];
        else
            positional = 5;
    }
    if (positional < 2 || positional > 4) {
        std::fprintf(stderr, "usage: copy_library SOURCE TARGET [LIBRARY-PATTERN [PART-PATTERN]] "
                             "[--cancel-after N]\n");
        return 2;
    }
    std::signal(SIGINT, [](int) { interrupted = 1; });

    // [copy]
    std::string sourceString = databases[0];
    api::pathHandle_t source = api::openPath(sourceString.data()); // must hold a part library
    api::pathHandle_t target = openOrCreate(databases[1]);

    api::libraryReaderHandle_t libraries = api::getLibraryReader(source, libraryNameLike(patterns[0]));
    while (std::shared_ptr<api::LibraryAccess> library = libraries->getNext())
        listParts(*library, patterns[1]);

    // A reader is single-pass: the writer gets a new one over the same libraries.
    std::shared_ptr<api::Writer<api::LibraryAccess>> writer = api::getLibraryWriter(target);
    progress = std::make_shared<Progress>();
    writer->attach(progress);
    writer->write(api::getLibraryReader(source, libraryNameLike(patterns[0])), cancelCopy);
    // [/copy]
    if (cancelled) {
        std::printf("cancelled: the target is unchanged\n");
        return 130;
    }
    std::printf("copied\n");
    return 0;
}

} // namespace

// [errors]
int main(int argc, char **argv) {
    try {
        return run(argc, argv);
    } catch (api::Exception *failure) { // thrown as a pointer: the catcher deletes it
        // An empty message: the user was told already, or answered No.
        if (!failure->getMessage().empty())
            std::fprintf(stderr, "copy_library: %s\n", failure->getMessage().c_str());
        delete failure;
        return 1;
    }
}
// [/errors]
