#include "ctraxdbpartlib/access/CTraxDBGateSwapAccess.h"

#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapAccess::CTraxDBGateSwapAccess(pathHandle_t path, const GateSwapAccessor &row, int index)
    : CTraxDBNamedMemberRecord(std::move(path), row, "CTraxDBGateSwapAccess", index) {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateSwapAccess::CTraxDBGateSwapAccess(pathHandle_t,GateSwapAccessor &,int)");
}

std::shared_ptr<Reader<GateSwapGateAccess>> CTraxDBGateSwapAccess::getGateSwapGateReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapAccess::getGateSwapGateReader");
    return std::make_shared<CTraxDBGateSwapGateReader>(path, *this);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
