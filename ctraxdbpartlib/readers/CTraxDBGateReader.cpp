#include "ctraxdbpartlib/readers/CTraxDBGateReader.h"

#include "ctraxdbpartlib/access/CTraxDBGateAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateReader::CTraxDBGateReader(pathHandle_t path, CTraxDBPartDefAccess &definition)
    : DBDetailReader(std::move(path), "CTraxDBGateReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateReader::CTraxDBGateReader(pathHandle_t,CTraxDBPartDefAccess &)");
    openFor(definition.getID(),
            "SELECT [ID],[Name],[Alt_name],[Part_def_ID] FROM [Gate] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
            "SELECT Count(*) FROM [Gate] WHERE [Part_def_ID] = ?");
}

std::shared_ptr<GateAccess> CTraxDBGateReader::makeRecord() {
    return std::make_shared<CTraxDBGateAccess>(path, command, nextIndex());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
