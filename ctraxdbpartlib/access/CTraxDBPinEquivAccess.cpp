#include "ctraxdbpartlib/access/CTraxDBPinEquivAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBPinEquivDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPinEquivAccess"};

} // namespace

CTraxDBPinEquivAccess::CTraxDBPinEquivAccess(pathHandle_t path, const PinEquivAccessor &row, int index)
    : CTraxDBDetailRecord(traced.name, index), path(std::move(path)), id(row.id) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,PinEquivAccessor &,int)"));
}

void CTraxDBPinEquivAccess::getEquivIndex(int &out) {
    TXDB_TRACE(LOG_FINE, traced("getEquivIndex(int &)"));
    out = index;
}

std::shared_ptr<Reader<PinEquivDataAccess>> CTraxDBPinEquivAccess::getEquivilentPins() {
    TXDB_TRACE(LOG_FINE, traced("getEquivilentPins"));
    return std::make_shared<CTraxDBPinEquivDataReader>(path, *this);
}

int CTraxDBPinEquivAccess::getID() {
    return id;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
