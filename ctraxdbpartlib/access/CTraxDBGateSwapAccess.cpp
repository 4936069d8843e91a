#include "ctraxdbpartlib/access/CTraxDBGateSwapAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBGateSwapAccess"};

} // namespace

CTraxDBGateSwapAccess::CTraxDBGateSwapAccess(pathHandle_t path, const GateSwapAccessor &row, int index)
    : CTraxDBNamedMemberRecord(std::move(path), row, traced.name, index) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,GateSwapAccessor &,int)"));
}

std::shared_ptr<Reader<GateSwapGateAccess>> CTraxDBGateSwapAccess::getGateSwapGateReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateSwapGateReader"));
    return std::make_shared<CTraxDBGateSwapGateReader>(path, *this);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
