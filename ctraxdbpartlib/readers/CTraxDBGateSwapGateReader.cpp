#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBGateSwapAccess.h"
#include "ctraxdbpartlib/access/CTraxDBGateSwapGateAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBGateSwapGateReader"};

constexpr const char *SELECT_SWAP_GATES = "SELECT [ID],[Gate_equiv_ID],[Equiv_type] FROM [Gate_Equiv_Gate] WHERE "
                                          "[Gate_equiv_ID] = ? ORDER BY([ID]);";
static_assert(selectAgrees<GateSwapGateAccessor>(SELECT_SWAP_GATES));
const char *const COUNT_SWAP_GATES = "SELECT Count(*) FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ?;";

} // namespace

CTraxDBGateSwapGateReader::CTraxDBGateSwapGateReader(pathHandle_t path, CTraxDBGateSwapAccess &group)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBGateSwapAccess &)"));
    openFor(group.getID(), SELECT_SWAP_GATES, COUNT_SWAP_GATES);
}

CTraxDBGateSwapGateReader::CTraxDBGateSwapGateReader(pathHandle_t path, int32_t gateSwapId)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,int)"));
    openFor(gateSwapId, SELECT_SWAP_GATES, COUNT_SWAP_GATES);
}

std::shared_ptr<GateSwapGateAccess> CTraxDBGateSwapGateReader::makeRecord() {
    return newRecord<CTraxDBGateSwapGateAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
