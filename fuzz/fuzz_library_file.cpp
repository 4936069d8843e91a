// Library files from the fuzzer's bytes: the reader never throws, names
// every problem with a message, and a file it takes without problems holds
// only what a database can store (StorableLibrary.h). The items built
// straight into the model give the same file as the items read as trees,
// and a text read without its indentation the same as one read as it stands.
// The check against a database's names runs on it as well.

#include "fuzz/FuzzSupport.h"
#include "fuzz/StorableLibrary.h"
#include "tools/libraryfile/LibraryFile.h"

using namespace fuzzsupport;

namespace {

// The text as a source that cannot be read again.
class OnlyOnce : public libraryfile::TextSource {
public:
    explicit OnlyOnce(std::string_view text) : text(text) {}
    size_t read(char *buffer, size_t size) override { return memory.read(buffer, size); }

private:
    std::string_view text;
    libraryfile::TextInMemory memory{text};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(bytes), size);
    libraryfile::LibraryFile file = libraryfile::readLibraryFile(text);
    const libraryfile::LibraryFile trees = libraryfile::readLibraryFile(text, libraryfile::ItemReading::TREES);
    check(file.problems.size() == trees.problems.size(), "the readings find different numbers of problems",
          libraryfile::summary(file.problems) + " / " + libraryfile::summary(trees.problems));
    for (size_t i = 0; i < file.problems.size(); ++i)
        check(file.problems[i].place == trees.problems[i].place &&
                  file.problems[i].message == trees.problems[i].message,
              "the readings name different problems", file.problems[i].place + ": " + file.problems[i].message);
    check(file.libraries == trees.libraries, "the readings give different libraries", "");
    // A source that cannot be read twice is read as it stands, indentation
    // and all: the same file.
    OnlyOnce once(text);
    const libraryfile::LibraryFile plain = libraryfile::readLibraryFile(once);
    check(libraryfile::summary(plain.problems) == libraryfile::summary(file.problems),
          "the unindented reading finds other problems",
          libraryfile::summary(file.problems) + " / " + libraryfile::summary(plain.problems));
    check(plain.libraries == file.libraries, "the unindented reading gives other libraries", "");
    for (const libraryfile::Problem &problem : file.problems)
        check(!problem.message.empty(), "a problem without a message", problem.place);
    if (!file.problems.empty())
        return 0;
    checkStorable(file.libraries, false);
    libraryfile::StoredNames stored;
    stored.definitions["D-stored"] = "Elsewhere";
    stored.parts["P-stored"] = {"Elsewhere", "D-stored"};
    libraryfile::checkAgainstDatabase(file, stored, {}, false);
    return 0;
}
