#pragma once

// The INSERT statements of a library write. New rows are not sent one by
// one: each row builder formats its row as SQL value text, appends it to
// its table's statement buffer (up to 1000 rows a statement when the
// database takes multi-row INSERTs) and returns the row's new key, counted
// on from the table's MAX([ID]) read once per library write. The library
// writer hands the statements out table by table at the end. Pin rows wait
// in per-definition lists, so that later steps can still find them and set
// their equivalence group in the text. Folder and definition positions of
// the source map to their new keys; the pins attached to each new gate and
// swap gate are listed.
//
// A library write owns one set of buffers for its whole run. The set binds
// itself to the write's path while it lives, and the writables of that
// write reach it through the path (CTraxDBStatementBuffers::of); a second
// set on a path that has one is refused. Writes on two paths have two sets
// and do not meet; two writes into one database are kept apart by the
// database's write lock (CTraxDBWriteTransaction).

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "ctraxdbpartlib/readers/GateSwapGateAccessor.h"
#include "ctraxdbpartlib/readers/HierarchyAccessor.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The buffered tables.
enum class WriteTable {
    Hierarchy,
    PartDefinition,
    PinData,
    Attributes,
    Gate,
    GateHasPinData,
    GateEquiv,
    GateEquivGate,
    GateEquivHasPinData,
    PinEquiv,
    Parts,
};

// What a statement source hands out after its last statement.
extern const char *const NO_MORE_TO_WRITE;

// How the writers treat the details of a stored definition that the source
// delivers unchanged: their loops run for the observers' events only. First
// the stored rows are purged without being deleted (Purge), then the
// source's rows are written without being buffered or found (Rewrite), as
// if the purge had removed them.
enum class Replay { Off, Purge, Rewrite };

// True when the database takes an INSERT of several rows; leaves no row.
bool probeMultiRowInsert(CTraxDBPath &path);

class CTraxDBStatementBuffers {
public:
    // Binds the buffers to the path until they go; refused when the path
    // already has a write running. Starts with one row per statement.
    explicit CTraxDBStatementBuffers(CTraxDBPath &path);
    ~CTraxDBStatementBuffers();
    CTraxDBStatementBuffers(const CTraxDBStatementBuffers &) = delete;
    CTraxDBStatementBuffers &operator=(const CTraxDBStatementBuffers &) = delete;

    // The buffers of the library write running on the path; raises when
    // none runs.
    static CTraxDBStatementBuffers &of(CTraxDBPath &path);

    // Resets every buffer, counter, pin list and key map of one library;
    // multiRow sets 1000 rows per statement, else 1.
    void initStatementBuffers(bool multiRow);
    // Releases everything and goes back to the start state (one row per statement).
    void freeStatementBuffers();

    // Refuses a row whose texts the target engine would refuse or cut,
    // naming the library, the record and the column; every row checked here
    // is checked the same way whether it is inserted or changed in place.
    void checkTexts(const HierarchyAccessor &row) const;
    void checkTexts(const PartDefAccessor &row) const;
    void checkTexts(const PinDataAccessor &row) const;
    void checkTexts(const AttributeAccessor &row) const;
    void checkTexts(const GateAccessor &row) const;
    void checkTexts(const GateSwapAccessor &row) const;
    void checkTexts(const PartAccessor &row) const;

    int32_t bufferHierarchyRow(const HierarchyAccessor &row, int position);
    int32_t bufferPartDefRow(const PartDefAccessor &row, int position);
    int32_t bufferPinRow(const PinDataAccessor &row);
    void bufferAttributeRow(const AttributeAccessor &row);
    int32_t bufferGateRow(const GateAccessor &row);
    int32_t bufferGatePinRow(int32_t gateId, int32_t pinDataId);
    int32_t bufferGateSwapRow(const GateSwapAccessor &row);
    int32_t bufferGateSwapGateRow(const GateSwapGateAccessor &row);
    int32_t bufferGateSwapPinRow(int32_t swapGateId, int32_t pinDataId);
    int32_t bufferPinEquivRow(int32_t partDefId);
    int32_t bufferPartRow(const PartAccessor &row);

    // The next statement of a table ("...;"), or NO_MORE_TO_WRITE. Pin_Data
    // statements are built from the pending pin lists as they are asked for.
    std::string nextStatement(WriteTable table);

    // The key of the pending pin of the definition with this identifier (case
    // ignored), or -1.
    int32_t findPendingPinID(int32_t partDefId, const std::string &identifier);
    // Puts a pending pin that is in no group yet into the group; false when the
    // definition has no such pin waiting.
    bool setPendingPinEquivGroup(int32_t partDefId, const std::string &identifier, int32_t groupId);

    // The new keys of a source's folder and definition positions; -1 for none.
    int32_t folderKey(int position) const;
    int32_t partDefKey(int position) const;
    void setPartDefKey(int position, int32_t key);
    // The new keys of the source's own folder and definition keys, for sources
    // that report no positions but keys of their own (the database's records):
    // the folder and definition writables note the key of every item they
    // find or insert, so that parts need no look-up by name. -1 for none; keys
    // that are not positive are not kept. The definitions' keys are kept for
    // the whole write (the life of the object), the folders' for one library.
    int32_t sourceFolderKey(int sourceId) const;
    void setSourceFolderKey(int sourceId, int32_t key);
    int32_t sourcePartDefKey(int sourceId) const;
    void setSourcePartDefKey(int sourceId, int32_t key);
    // The pins attached to a new gate, and the rows of a new swap gate, in order.
    const std::vector<int32_t> &gatePins(int32_t gateId) const;
    const std::vector<int32_t> &swapGatePins(int32_t swapGateId) const;

    // True for a key that this library write handed out: its row is not in
    // the database before the buffers are written, and nothing stored can
    // refer to it.
    bool isNewKey(WriteTable table, int32_t key) const;

    // The library whose rows are written now, named in the messages of rows
    // that do not fit their columns.
    void setLibraryName(const std::string &name) { libraryName = name; }
    const std::string &getLibraryName() const { return libraryName; }

    Replay replay() const { return replaying; }

    // The queries whose rowsets were found to take changes in this write: a
    // rowset of one of them takes them too.
    bool changeable(const std::string &select) const { return changeableSelects.count(select) != 0; }
    void setChangeable(const std::string &select) { changeableSelects.insert(select); }

    // Sets the replay mode for its life, then restores the one before.
    class ReplayScope {
    public:
        ReplayScope(CTraxDBStatementBuffers &buffers, Replay mode) : buffers(buffers), before(buffers.replaying) {
            buffers.replaying = mode;
        }
        ~ReplayScope() { buffers.replaying = before; }
        ReplayScope(const ReplayScope &) = delete;
        ReplayScope &operator=(const ReplayScope &) = delete;

    private:
        CTraxDBStatementBuffers &buffers;
        Replay before;
    };

private:
    class Tuple;
    Replay replaying = Replay::Off;
    std::unordered_set<std::string> changeableSelects;

    struct StatementBuffer {
        int32_t nextId = -1;
        int32_t firstNewId = -1; // the first key this write handed out
        std::vector<std::string> statements;
        int rowsInCurrent = 0;
        size_t cursor = 0;
    };

    // A pin row waiting for its statement: its tuple up to the equivalence
    // group, which is added when the statement is built.
    struct PendingPin {
        int32_t id;
        std::string identifier;
        std::string tuple;
        int32_t equivGroup = -1;
    };

    struct PinList {
        std::vector<PendingPin> pins;
        std::unordered_map<std::string, size_t> firstByName; // upper-case identifier -> first pin
    };

    // What one library's content leaves in the buffers.
    struct Buffers {
        int rowsPerStatement = 1;
        StatementBuffer tables[static_cast<size_t>(WriteTable::Parts) + 1];
        // Pin lists in the order their definitions were first written.
        std::vector<PinList> pinLists;
        std::unordered_map<int32_t, size_t> pinListOf;
        size_t pinReadList = 0;
        size_t pinReadEntry = 0;
        std::unordered_map<int, int32_t> folderMap;
        std::unordered_map<int, int32_t> partDefMap;
        std::unordered_map<int, int32_t> sourceFolderMap;
        std::unordered_map<int32_t, std::vector<int32_t>> gatePinLists;
        std::unordered_map<int32_t, std::vector<int32_t>> swapGatePinLists;
        std::unordered_map<int32_t, std::string> definitionNames; // of the definitions this write inserts
    };

    StatementBuffer &bufferOf(WriteTable table) { return buffers.tables[static_cast<size_t>(table)]; }
    int32_t nextKey(WriteTable table);
    void tallyRow(WriteTable table);
    void addRow(WriteTable table, const std::string &tuple);
    // A row with a new key first in its tuple.
    int32_t addKeyedRow(WriteTable table, const Tuple &rest);
    // The name of a definition this write inserts, for messages; null for one
    // that was stored before.
    const std::string *definitionName(int32_t partDefId) const;
    PendingPin *findPending(int32_t partDefId, const std::string &identifier);
    std::string nextPinDataStatement();

    CTraxDBPath &path;
    Buffers buffers;
    // The source's definition keys are those of its whole database: a part may
    // use a definition of a library written before its own in the same write.
    std::unordered_map<int, int32_t> sourcePartDefMap;
    std::string libraryName;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
