#include "ctraxdbpartlib/access/CTraxDBAllPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAllPinDataAccess::CTraxDBAllPinDataAccess(pathHandle_t path, const AllPinDataAccessor &row)
    : CTraxDBPinRecord(row, "CTraxDBAllPinDataAccess", row.partDefId), path(std::move(path)) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAllPinDataAccess::CTraxDBAllPinDataAccess(pathHandle_t,AllPinDataAccessor &)");
    equivGroup.assign(row.equivGroup, row.equivGroupStatus);
}

void CTraxDBAllPinDataAccess::getPinEquivGroupID(bool &isNull, int &groupID) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getPinEquivGroupID(bool &, int &)");
    getter::value(equivGroup, isNull, groupID, OnNull::KeepValue);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
