#include "ctraxdbpartlib/access/CTraxDBGateAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBGateAccess"};

} // namespace

CTraxDBGateAccess::CTraxDBGateAccess(pathHandle_t path, const GateAccessor &row, int index)
    : CTraxDBGateRecord(std::move(path), row, traced.name, index) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,GateAccessor &,int)"));
}

std::shared_ptr<Reader<GateDataAccess>> CTraxDBGateAccess::getGateDataReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateDataReader"));
    return std::make_shared<CTraxDBGateDataReader>(path, *this);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
