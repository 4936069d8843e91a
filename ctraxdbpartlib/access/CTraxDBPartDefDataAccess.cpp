#include "ctraxdbpartlib/access/CTraxDBPartDefDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPartDefDataAccess::CTraxDBPartDefDataAccess(pathHandle_t path, const PartDefDataAccessor &row)
    : CTraxDBPartDefRecord(std::move(path), row, "CTraxDBPartDefDataAccess") {
    TXDB_TRACE(LOG_FINER, "CTraxDBPartDefDataAccess::CTraxDBPartDefDataAccess(pathHandle_t,PartDefDataAccessor &)");
}

void CTraxDBPartDefDataAccess::getPartDefID(int &partDefID) {
    partDefID = id;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
