// Library files from the fuzzer's bytes: the reader never throws, names
// every problem with a message, and a file it takes without problems holds
// only what a database can store (StorableLibrary.h). The check against a
// database's names runs on it as well.

#include "fuzz/FuzzSupport.h"
#include "fuzz/StorableLibrary.h"
#include "tools/libraryfile/LibraryFile.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    libraryfile::LibraryFile file =
        libraryfile::readLibraryFile(std::string_view(reinterpret_cast<const char *>(bytes), size));
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
