#include "ctraxdbpartlib/connection/ParallelReads.h"

#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/connection/PrefetchedStatement.h"

#include <algorithm>
#include <functional>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// Room for every result: the thread adds them without allocating.
std::vector<std::shared_ptr<const PrefetchedRows>> reserved(size_t count) {
    std::vector<std::shared_ptr<const PrefetchedRows>> results;
    results.reserve(count);
    return results;
}

} // namespace

ParallelReads::ParallelReads(std::unique_ptr<ProviderConnection> connection, int32_t libraryId,
                             std::vector<ParentQuery> queries)
    : connection(std::move(connection)), libraryId(libraryId), queries(std::move(queries)),
      results(reserved(this->queries.size())), taken(this->queries.size(), false),
      // Through a std::function: a thread of a type of the plug-in's own
      // would be exported with the standard library's thread types.
      reader(std::function<void()>([this] { run(); })) {}

ParallelReads::~ParallelReads() {
    {
        // A statement that waits for a lock or sorts gives no row to stop at.
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        if (connection)
            connection->interrupt();
    }
    reader.join();
}

void ParallelReads::run() {
    for (const ParentQuery &query : queries) {
        if (stopping)
            break;
        std::shared_ptr<const PrefetchedRows> rows;
        try {
            rows = readLibraryWide(*connection, libraryId, query, &stopping);
        } catch (...) {
            // Out of memory here: the read runs again where it is taken.
        }
        std::lock_guard<std::mutex> lock(mutex);
        results.push_back(std::move(rows));
        readOne.notify_all();
    }
    // The connection is closed on this thread too: nothing else uses it.
    std::lock_guard<std::mutex> lock(mutex);
    connection.reset();
    stopping = true;
    readOne.notify_all();
}

std::shared_ptr<const PrefetchedRows> ParallelReads::take(const std::string &libraryWide) {
    const auto query = std::find_if(queries.begin(), queries.end(),
                                    [&](const ParentQuery &each) { return each.libraryWide == libraryWide; });
    const size_t index = static_cast<size_t>(query - queries.begin());
    if (query == queries.end() || taken[index])
        return nullptr;
    std::unique_lock<std::mutex> lock(mutex);
    readOne.wait(lock, [&] { return results.size() > index || stopping; });
    if (results.size() <= index)
        return nullptr;
    taken[index] = true;
    return std::move(results[index]);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
