#include "ctraxdbpartlib/access/CTraxDBGateSwapGateAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapPinDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBGateSwapGateAccess"};

} // namespace

CTraxDBGateSwapGateAccess::CTraxDBGateSwapGateAccess(pathHandle_t path, const GateSwapGateAccessor &row, int index)
    : CTraxDBDetailRecord(traced.name, index), path(std::move(path)), id(row.id), equivType(row.equivType) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,GateSwapGateAccessor &,int)"));
}

void CTraxDBGateSwapGateAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, traced("getIndex(int &)"));
    out = index;
}

void CTraxDBGateSwapGateAccess::getEquivType(int &out) {
    TXDB_TRACE(LOG_FINE, traced("getEquivType(int &)"));
    out = equivType;
}

std::shared_ptr<Reader<GateSwapPinDataAccess>> CTraxDBGateSwapGateAccess::getGateSwapPinDataReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateSwapPinDataReader"));
    return std::make_shared<CTraxDBGateSwapPinDataReader>(path, *this);
}

int CTraxDBGateSwapGateAccess::getID() {
    TXDB_TRACE(LOG_FINEST, traced("getID"));
    return id;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
