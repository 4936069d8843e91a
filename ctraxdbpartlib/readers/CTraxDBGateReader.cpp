#include "ctraxdbpartlib/readers/CTraxDBGateReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBGateAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *SELECT_GATES =
    "SELECT [ID],[Name],[Alt_name],[Part_def_ID] FROM [Gate] WHERE [Part_def_ID] = ? ORDER BY([ID]);";
static_assert(selectAgrees<GateAccessor>(SELECT_GATES));

} // namespace

CTraxDBGateReader::CTraxDBGateReader(pathHandle_t path, CTraxDBPartDefAccess &definition)
    : DBDetailReader(std::move(path), "CTraxDBGateReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateReader::CTraxDBGateReader(pathHandle_t,CTraxDBPartDefAccess &)");
    openFor(definition.getID(), SELECT_GATES, "SELECT Count(*) FROM [Gate] WHERE [Part_def_ID] = ?");
}

std::shared_ptr<GateAccess> CTraxDBGateReader::makeRecord() {
    return newRecord<CTraxDBGateAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
