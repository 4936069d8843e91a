#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBPartRecord.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/readers/CTraxDBAttribReader.h"
#include "ctraxdbpartlib/readers/CTraxDBGateReader.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinDataReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinEquivReader.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPartDefAccess"};

constexpr const char *DEFINITION_BY_ID =
    "SELECT [Name],[PCB_component_name],[PCB_alternate_name],[Part_def_value], "
    "[Component_name_stem],[PSpice_data],[Max_connector_pins],[Gate_swapping], "
    "[Pin_num_name],[Is_FPGA],[Library_ID],[ID] from [Part_Definition] WHERE [ID] = ?;";
static_assert(selectAgrees<PartDefAccessor>(DEFINITION_BY_ID));

} // namespace

std::shared_ptr<PartDefAccess> lookupPartDefinition(const pathHandle_t &path, int32_t partDefId) {
    CCommand<CAccessor<PartDefAccessor>> command;
    command.parentId = partDefId;
    dbPath(path).open(command, DEFINITION_BY_ID);
    HRESULT result = command.MoveFirst();
    checkResult(result);
    if (result == DB_S_ENDOFROWSET) {
        TXDB_TRACE(LOG_FINER, "End of record set");
        return nullptr;
    }
    return std::make_shared<CTraxDBPartDefAccess>(path, command);
}

CTraxDBPartDefAccess::CTraxDBPartDefAccess(pathHandle_t path, const PartDefAccessor &row)
    : CTraxDBPartDefRecord(std::move(path), row, traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,PartDefAccessor &)"));
    storedMaxConnectorPins.assign(row.maxConnectorPins, row.maxConnectorPinsStatus);
}

bool CTraxDBPartDefAccess::getStoredFlags(int &gateSwapping, int &pinNumName, int &isFPGA) {
    gateSwapping = this->gateSwapping;
    pinNumName = this->pinNumName;
    isFPGA = this->isFPGA;
    return true;
}

bool CTraxDBPartDefAccess::getStoredMaxConnectorPins(bool &isNull, int &value) {
    getter::value(storedMaxConnectorPins, isNull, value, OnNull::Zero);
    return true;
}

std::shared_ptr<Reader<PinDataAccess>> CTraxDBPartDefAccess::getPinDataReader() {
    TXDB_TRACE(LOG_FINE, traced("getPinDataReader"));
    return std::make_shared<CTraxDBPinDataReader>(path, *this);
}

std::shared_ptr<Reader<PinEquivAccess>> CTraxDBPartDefAccess::getPinEquivReader() {
    TXDB_TRACE(LOG_FINE, traced("getPinEquivReader"));
    return std::make_shared<CTraxDBPinEquivReader>(path, *this);
}

std::shared_ptr<Reader<GateSwapAccess>> CTraxDBPartDefAccess::getGateSwapReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateSwapReader"));
    return std::make_shared<CTraxDBGateSwapReader>(path, *this);
}

std::shared_ptr<Reader<AttributeAccess>> CTraxDBPartDefAccess::getAttributesReader() {
    TXDB_TRACE(LOG_FINE, traced("getAttributesReader"));
    return std::make_shared<CTraxDBAttribReader>(path, *this);
}

std::shared_ptr<Reader<GateAccess>> CTraxDBPartDefAccess::getGateReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateReader"));
    return std::make_shared<CTraxDBGateReader>(path, *this);
}

std::shared_ptr<Reader<PartAccess>> CTraxDBPartDefAccess::getPartReader(partFilterCompHandle_t filter) {
    TXDB_TRACE(LOG_FINE, traced("getPartReader(partFilterCompHandle_t)"));
    return std::make_shared<CTraxDBPartReader>(path, *this, filter);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
