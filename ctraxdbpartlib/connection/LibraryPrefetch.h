#pragma once

// The stored rows of one library, read ahead for a write that goes through
// them definition by definition. While a prefetch runs on a connection,
// every query over the rows of one parent (ParentQuery.h) that is opened
// again and again is run once for the whole library instead, and each
// later execution for a parent of the library is answered from those rows
// (its count too); nothing else changes for the callers.
//
// The rows stay true to the database as long as nothing changes what they
// show. A rowset that applies changes through a query over one parent marks
// that table of the parent's part definition as changed: every query that
// reads the table is asked of the database again for the definition from
// then on. Any other change
// of a table that a prefetch reads, and any statement run without a result
// (the INSERTs of a library write, a savepoint's rollback, DDL), drop what
// was read; it is read again when it is asked for again.

#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/ParentQuery.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

struct PrefetchedRows;
class ParallelReads;

class LibraryPrefetch : public std::enable_shared_from_this<LibraryPrefetch> {
public:
    // How often a query is opened before it is read for the whole library:
    // a write of a few definitions does not read a large library whole. A
    // library of at most SMALL_LIBRARY definitions is read at the first open.
    static constexpr int READ_AHEAD_AFTER = 8;
    static constexpr size_t SMALL_LIBRARY = 1000;

    // The queries a prefetch read for the whole library, in the order it
    // first read them. A write of several libraries hands them from one
    // library's prefetch on a connection to the next: where the engine
    // offers a second connection (ProviderConnection::openReader), the next
    // library's rows of those queries are read on it, on another thread,
    // while the write goes on; elsewhere a small library's are read at once,
    // side by side with that thread's reads of the other database.
    struct ReadOrder {
        struct Read {
            std::string sql; // the final text of the query
            ParentQuery query;
        };
        std::vector<Read> reads;
        uint64_t connection = 0; // the serial of the connection they were read on
    };

    // Runs a prefetch of the library on the connection for its life. With
    // `order`, the prefetch reads the queries it holds ahead as above, and
    // leaves there those it read itself.
    class Scope {
    public:
        Scope(ProviderConnection &connection, int32_t libraryId, ReadOrder *order = nullptr);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
        LibraryPrefetch &prefetch() { return *running; }

    private:
        ProviderConnection &connection;
        std::shared_ptr<LibraryPrefetch> running;
        ReadOrder *order;
    };

    LibraryPrefetch(ProviderConnection &connection, int32_t libraryId);
    ~LibraryPrefetch();

    // Prepares `sql` (the final text of a query) on the connection, or
    // answers it from what was read ahead.
    HRESULT prepare(const std::string &sql, std::unique_ptr<ProviderStatement> &statement);
    // A rowset over `statement` is about to apply changes to rows of `table`
    // with these keys.
    void changing(ProviderStatement &statement, const std::string &table,
                  const std::vector<std::vector<DBParam>> &keys);
    // Drops everything read ahead.
    void forgetAll();
    // Whether an execution of `sql` (the final text of a query) for the
    // parent would be answered from what is read ahead now.
    bool holds(const std::string &sql, ParentKind kind, int32_t parent);

    // The count that the count query of final text `sql` gives for the
    // parent, when the rows read ahead hold it; false when it has to run.
    bool counted(const std::string &sql, int32_t parent, int32_t &count);

    // For a statement made by this prefetch: whether its rows of generation
    // `generation` answer for the parent, and then the parent's range in them.
    bool answers(ParentKind kind, int32_t parent, int generation, const PrefetchedRows &rows, size_t &first,
                 size_t &end);
    ProviderConnection &getConnection() { return connection; }

    // The statements run to read ahead, and the executions answered.
    long readsRun() const { return reads; }
    long executionsAnswered() const { return answered; }
    // Of the reads, those that ran on the second connection.
    long readsInParallel() const { return readsAside; }

private:
    struct Plan {
        bool parsed = false;
        bool isParentQuery = false;
        ParentQuery query;
        int opened = 0;
        bool failed = false; // the library-wide form was refused
        std::shared_ptr<const PrefetchedRows> rows;
        // A count's column as the engine names it, once it has run.
        bool named = false;
        std::string countName, countTable;
    };

    // The parents of a kind in the library and their definitions; read
    // once per generation.
    const std::unordered_map<int32_t, int32_t> &ownersOf(ParentKind kind);
    bool ownerOf(ParentKind kind, int32_t parent, int32_t &definition);
    // Whether rows read ahead of the parent's kind still show the parent as
    // the database holds it.
    bool current(ParentKind kind, int32_t parent, const PrefetchedRows &rows);
    // As answers, without counting an execution answered.
    bool rangeOf(ParentKind kind, int32_t parent, int generation, const PrefetchedRows &rows, size_t &first,
                 size_t &end);
    void noteChanged(int32_t definition, const std::string &table);
    // Reads the library-wide form of the query of final text `sql` (or takes
    // what the second connection read of it); null when the engine refuses it.
    std::shared_ptr<const PrefetchedRows> read(const ParentQuery &query, const std::string &sql);
    // The counts per parent of the rows read ahead for a query of the rows
    // that the count counts; null when none are read, or the count has not
    // run on the engine yet (its column is named as the engine names it).
    std::shared_ptr<const PrefetchedRows> countedRows(const Plan &count) const;
    bool runRead(const std::string &sql, std::unique_ptr<ProviderStatement> &statement);
    // Reads the queries of the last library on a second connection, or
    // else at once.
    void readAhead(const std::vector<ReadOrder::Read> &order);
    // Reads the queries now, for a library of at most SMALL_LIBRARY definitions.
    void readAtOnce(const std::vector<ReadOrder::Read> &order);

    ProviderConnection &connection;
    int32_t libraryId;
    bool running = true;
    int generation = 0;
    std::unordered_map<std::string, Plan> plans;
    std::unordered_map<int32_t, int32_t> owners[PARENT_KINDS];
    bool ownersRead[PARENT_KINDS] = {};
    // Per part definition, the tables whose rows of it a rowset changed ("*":
    // every table, the definition itself went).
    std::unordered_map<int32_t, std::vector<std::string>> changedTables;
    long reads = 0;
    long answered = 0;
    long readsAside = 0;

    std::vector<ReadOrder::Read> readOrder;
    std::unique_ptr<ParallelReads> parallel;
};

// Reads the library-wide form of the query for the library on the
// connection; null when the engine refuses it, or once `stop` is set.
std::shared_ptr<const PrefetchedRows> readLibraryWide(ProviderConnection &connection, int32_t libraryId,
                                                      const ParentQuery &query,
                                                      const std::atomic<bool> *stop = nullptr);

// Prepares a query on the connection, through its prefetch when one runs.
HRESULT prepareQuery(ProviderConnection &connection, const std::string &sql,
                     std::unique_ptr<ProviderStatement> &statement);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
