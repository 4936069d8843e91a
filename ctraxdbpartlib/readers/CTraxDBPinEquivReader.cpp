#include "ctraxdbpartlib/readers/CTraxDBPinEquivReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPinEquivAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *SELECT_GROUPS =
    "SELECT [ID],[Part_def_ID] FROM [Pin_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);";
static_assert(selectAgrees<PinEquivAccessor>(SELECT_GROUPS));

} // namespace

CTraxDBPinEquivReader::CTraxDBPinEquivReader(pathHandle_t path, CTraxDBPartDefAccess &definition)
    : DBDetailReader(std::move(path), "CTraxDBPinEquivReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBPinEquivReader::CTraxDBPinEquivReader(pathHandle_t,CTraxDBPartDefAccess &)");
    openFor(definition.getID(), SELECT_GROUPS, "SELECT Count(*) FROM [Pin_Equiv] WHERE [Part_def_ID] = ?;");
}

std::shared_ptr<PinEquivAccess> CTraxDBPinEquivReader::makeRecord() {
    return newRecord<CTraxDBPinEquivAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
