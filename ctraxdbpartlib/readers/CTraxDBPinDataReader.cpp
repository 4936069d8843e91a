#include "ctraxdbpartlib/readers/CTraxDBPinDataReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPinDataAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPinDataReader"};

static_assert(selectAgrees<PinDataAccessor>(SELECT_DEFINITION_PINS));
const char *const COUNT_PINS = "SELECT Count(*) FROM [Pin_Data] WHERE [Part_def_ID] = ?;";

} // namespace

CTraxDBPinDataReader::CTraxDBPinDataReader(pathHandle_t path, CTraxDBPartDefAccess &definition)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBPartDefAccess &)"));
    openFor(definition.getID(), SELECT_DEFINITION_PINS, COUNT_PINS);
}

CTraxDBPinDataReader::CTraxDBPinDataReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part)
    : DBDetailReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBCompletePartAndPartDefAccess &)"));
    openFor(part.getPartDefID(), SELECT_DEFINITION_PINS, COUNT_PINS);
}

std::shared_ptr<PinDataAccess> CTraxDBPinDataReader::makeRecord() {
    return newRecord<CTraxDBPinDataAccess>(command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
