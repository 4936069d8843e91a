#include "ctraxdbpartlib/readers/CTraxDBGateSwapPinDataReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBGateSwapGateAccess.h"
#include "ctraxdbpartlib/access/CTraxDBGateSwapPinDataAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *SELECT_SWAP_PINS =
    "SELECT [Pin_Data].[Pin_identifier] FROM [Gate_Equiv_has_Pin_Data],[Pin_Data] WHERE "
    "[Gate_Equiv_has_Pin_Data].[Pin_data_ID]=[Pin_Data].[ID] AND [Gate_Equiv_has_Pin_Data].[Gate_equiv_gate_ID] "
    "= ? ORDER BY([Gate_Equiv_has_Pin_Data].[ID]);";
static_assert(selectAgrees<GateSwapPinDataReadAccessor>(SELECT_SWAP_PINS));

} // namespace

CTraxDBGateSwapPinDataReader::CTraxDBGateSwapPinDataReader(pathHandle_t path, CTraxDBGateSwapGateAccess &swapGate)
    : DBDetailReader(std::move(path), "CTraxDBGateSwapPinDataReader") {
    TXDB_TRACE(LOG_FINER,
               "CTraxDBGateSwapPinDataReader::CTraxDBGateSwapPinDataReader(pathHandle_t,CTraxDBGateSwapGateAccess &)");
    openFor(swapGate.getID(), SELECT_SWAP_PINS,
            "SELECT Count(*) FROM [Gate_Equiv_has_Pin_Data] WHERE [Gate_equiv_gate_ID] = ?;");
}

std::shared_ptr<GateSwapPinDataAccess> CTraxDBGateSwapPinDataReader::makeRecord() {
    return newRecord<CTraxDBGateSwapPinDataAccess>(command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
