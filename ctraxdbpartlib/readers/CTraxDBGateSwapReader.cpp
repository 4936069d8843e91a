#include "ctraxdbpartlib/readers/CTraxDBGateSwapReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBGateSwapAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *SELECT_SWAPS =
    "SELECT [ID],[Name],[Part_def_ID] FROM [Gate_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);";
static_assert(selectAgrees<GateSwapAccessor>(SELECT_SWAPS));

} // namespace

CTraxDBGateSwapReader::CTraxDBGateSwapReader(pathHandle_t path, CTraxDBPartDefAccess &definition)
    : DBDetailReader(std::move(path), "CTraxDBGateSwapReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateSwapReader::CTraxDBGateSwapReader(pathHandle_t,CTraxDBPartDefAccess &)");
    openFor(definition.getID(), SELECT_SWAPS, "SELECT Count(*) FROM [Gate_Equiv] WHERE [Part_def_ID] = ?;");
}

std::shared_ptr<GateSwapAccess> CTraxDBGateSwapReader::makeRecord() {
    return newRecord<CTraxDBGateSwapAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
