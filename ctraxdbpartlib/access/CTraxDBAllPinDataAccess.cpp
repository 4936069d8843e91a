#include "ctraxdbpartlib/access/CTraxDBAllPinDataAccess.h"

#include "ctraxdbpartlib/TraceName.h"
namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBAllPinDataAccess"};

} // namespace

CTraxDBAllPinDataAccess::CTraxDBAllPinDataAccess(pathHandle_t path, const AllPinDataAccessor &row)
    : CTraxDBPinRecord(row, traced.name, row.partDefId), path(std::move(path)) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,AllPinDataAccessor &)"));
    equivGroup.assign(row.equivGroup, row.equivGroupStatus);
}

void CTraxDBAllPinDataAccess::getPinEquivGroupID(bool &isNull, int &groupID) {
    TXDB_TRACE(LOG_FINE, traced("getPinEquivGroupID(bool &, int &)"));
    getter::value(equivGroup, isNull, groupID, OnNull::KeepValue);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
