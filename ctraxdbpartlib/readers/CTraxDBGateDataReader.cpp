#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBGateAccess.h"
#include "ctraxdbpartlib/access/CTraxDBGateDataAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBGateDataReader"};

constexpr const char *SELECT_GATE_PINS =
    "SELECT [Pin_Data].[Pin_identifier] FROM [Gate_has_Pin_Data],[Pin_Data] WHERE "
    "[Gate_has_Pin_Data].[Pin_data_ID]=[Pin_Data].[ID] AND [Gate_has_Pin_Data].[Gate_ID] = ? "
    "ORDER BY([Gate_has_Pin_Data].[ID]);";
static_assert(selectAgrees<GateDataReadAccessor>(SELECT_GATE_PINS));
const char *const COUNT_GATE_PINS = "SELECT Count(*) FROM [Gate_has_Pin_Data] WHERE [Gate_ID] = ?";

} // namespace

CTraxDBGateDataReader::CTraxDBGateDataReader(pathHandle_t path, CTraxDBGateAccess &gate)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBGateAccess &)"));
    openFor(gate.getID(), SELECT_GATE_PINS, COUNT_GATE_PINS);
}

CTraxDBGateDataReader::CTraxDBGateDataReader(pathHandle_t path, int32_t gateId)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,int)"));
    openFor(gateId, SELECT_GATE_PINS, COUNT_GATE_PINS);
}

std::shared_ptr<GateDataAccess> CTraxDBGateDataReader::makeRecord() {
    return newRecord<CTraxDBGateDataAccess>(command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
