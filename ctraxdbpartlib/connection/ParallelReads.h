#pragma once

// Library-wide reads that run on a connection and a thread of their own
// while the caller goes on with its work: a library write reads the stored
// rows of its target on its own connection while the source's rows are read
// here. The connection is the caller's second connection to the source
// (ProviderConnection::openReader); it is used by the thread alone. The
// queries are read in the order given, each result taken once.

#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/ParentQuery.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

struct PrefetchedRows;

class ParallelReads {
public:
    ParallelReads(std::unique_ptr<ProviderConnection> connection, int32_t libraryId, std::vector<ParentQuery> queries);
    // Stops at the next row and waits for the thread.
    ~ParallelReads();
    ParallelReads(const ParallelReads &) = delete;
    ParallelReads &operator=(const ParallelReads &) = delete;

    // The rows of the query of this library-wide text, once they are read;
    // null when it is not one of the queries, was taken already, or its
    // read failed.
    std::shared_ptr<const PrefetchedRows> take(const std::string &libraryWide);

private:
    void run();

    std::unique_ptr<ProviderConnection> connection;
    const int32_t libraryId;
    const std::vector<ParentQuery> queries;
    std::vector<std::shared_ptr<const PrefetchedRows>> results; // of the queries read, in their order
    std::vector<bool> taken;
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    std::condition_variable readOne;
    std::thread reader; // last: it starts once everything else is there
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
