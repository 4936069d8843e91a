#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"

#include "ctraxdbpartlib/access/CTraxDBGateSwapAccess.h"
#include "ctraxdbpartlib/access/CTraxDBGateSwapGateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

const char *const SELECT_SWAP_GATES = "SELECT [ID],[Gate_equiv_ID],[Equiv_type] FROM [Gate_Equiv_Gate] WHERE "
                                      "[Gate_equiv_ID] = ? ORDER BY([ID]);";
const char *const COUNT_SWAP_GATES = "SELECT Count(*) FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ?;";

} // namespace

CTraxDBGateSwapGateReader::CTraxDBGateSwapGateReader(pathHandle_t path, CTraxDBGateSwapAccess &group)
    : DBDetailReader(std::move(path), "CTraxDBGateSwapGateReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateSwapGateReader::CTraxDBGateSwapGateReader(pathHandle_t,CTraxDBGateSwapAccess &)");
    openFor(group.getID(), SELECT_SWAP_GATES, COUNT_SWAP_GATES);
}

CTraxDBGateSwapGateReader::CTraxDBGateSwapGateReader(pathHandle_t path, int32_t gateSwapId)
    : DBDetailReader(std::move(path), "CTraxDBGateSwapGateReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateSwapGateReader::CTraxDBGateSwapGateReader(pathHandle_t,int)");
    openFor(gateSwapId, SELECT_SWAP_GATES, COUNT_SWAP_GATES);
}

std::shared_ptr<GateSwapGateAccess> CTraxDBGateSwapGateReader::makeRecord() {
    return std::make_shared<CTraxDBGateSwapGateAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
