#include "ctraxdbpartlib/access/CTraxDBGateSwapGateAccess.h"

#include "ctraxdbpartlib/readers/CTraxDBGateSwapPinDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapGateAccess::CTraxDBGateSwapGateAccess(pathHandle_t path, const GateSwapGateAccessor &row, int index)
    : CTraxDBDetailRecord("CTraxDBGateSwapGateAccess", index), path(std::move(path)), id(row.id),
      equivType(row.equivType) {
    TXDB_TRACE(LOG_FINER,
               "CTraxDBGateSwapGateAccess::CTraxDBGateSwapGateAccess(pathHandle_t,GateSwapGateAccessor &,int)");
}

void CTraxDBGateSwapGateAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapGateAccess::getIndex(int &)");
    out = index;
}

void CTraxDBGateSwapGateAccess::getEquivType(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapGateAccess::getEquivType(int &)");
    out = equivType;
}

std::shared_ptr<Reader<GateSwapPinDataAccess>> CTraxDBGateSwapGateAccess::getGateSwapPinDataReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapGateAccess::getGateSwapPinDataReader");
    return std::make_shared<CTraxDBGateSwapPinDataReader>(path, *this);
}

int CTraxDBGateSwapGateAccess::getID() {
    TXDB_TRACE(LOG_FINEST, "CTraxDBGateSwapGateAccess::getID");
    return id;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
