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
// The buffers are process-wide: one library write at a time. A write holds
// a StatementBufferLease for its whole run; a second write that starts
// while one runs is refused instead of sharing them.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "ctraxdbpartlib/readers/GateSwapGateAccessor.h"
#include "ctraxdbpartlib/readers/HierarchyAccessor.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"

#include <cstdint>
#include <string>
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

// Resets every buffer, counter, pin list and key map; multiRow sets 1000
// rows per statement, else 1.
void initStatementBuffers(bool multiRow);
// Releases everything and goes back to the start state (one row per statement).
void freeStatementBuffers();

int32_t bufferHierarchyRow(CTraxDBPath &path, const HierarchyAccessor &row, int position);
int32_t bufferPartDefRow(CTraxDBPath &path, const PartDefAccessor &row, int position);
int32_t bufferPinRow(CTraxDBPath &path, const PinDataAccessor &row);
void bufferAttributeRow(CTraxDBPath &path, const AttributeAccessor &row);
int32_t bufferGateRow(CTraxDBPath &path, const GateAccessor &row);
int32_t bufferGatePinRow(CTraxDBPath &path, int32_t gateId, int32_t pinDataId);
int32_t bufferGateSwapRow(CTraxDBPath &path, const GateSwapAccessor &row);
int32_t bufferGateSwapGateRow(CTraxDBPath &path, const GateSwapGateAccessor &row);
int32_t bufferGateSwapPinRow(CTraxDBPath &path, int32_t swapGateId, int32_t pinDataId);
int32_t bufferPinEquivRow(CTraxDBPath &path, int32_t partDefId);
int32_t bufferPartRow(CTraxDBPath &path, const PartAccessor &row);

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
int32_t folderKey(int position);
int32_t partDefKey(int position);
void setPartDefKey(int position, int32_t key);
// The new keys of the source's own folder and definition keys, for sources
// that report no positions but keys of their own (the database's records):
// the folder and definition writables note the key of every item they
// find or insert, so that parts need no look-up by name. -1 for none; keys
// that are not positive are not kept. The definitions' keys are kept for
// the whole write (a StatementBufferLease), the folders' for one library.
int32_t sourceFolderKey(int sourceId);
void setSourceFolderKey(int sourceId, int32_t key);
int32_t sourcePartDefKey(int sourceId);
void setSourcePartDefKey(int sourceId, int32_t key);
// The pins attached to a new gate, and the rows of a new swap gate, in order.
const std::vector<int32_t> &gatePins(int32_t gateId);
const std::vector<int32_t> &swapGatePins(int32_t swapGateId);

// True for a key that this library write handed out: its row is not in
// the database before the buffers are written, and nothing stored can
// refer to it.
bool isNewKey(WriteTable table, int32_t key);

// True when the database takes an INSERT of several rows; leaves no row.
bool probeMultiRowInsert(CTraxDBPath &path);

// Holds the buffers for one write: refuses a second write in the process
// while it lives, and frees the buffers when it goes, however the write ends.
class StatementBufferLease {
public:
    StatementBufferLease();
    ~StatementBufferLease();
    StatementBufferLease(const StatementBufferLease &) = delete;
    StatementBufferLease &operator=(const StatementBufferLease &) = delete;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
