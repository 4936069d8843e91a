#include "ctraxdbpartlib/access/CTraxDBAllGateAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBAllGateAccess"};

} // namespace

CTraxDBAllGateAccess::CTraxDBAllGateAccess(pathHandle_t path, const AllGateAccessor &row, int index)
    : CTraxDBGateRecord(std::move(path), row, traced.name, row.partDefId, index) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,AllGateAccessor &,int)"));
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBAllGateAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPinIdentifier(bool &, TCHAR *, size_t)"));
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

std::shared_ptr<Reader<GateDataAccess>> CTraxDBAllGateAccess::getGateDataReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateDataReader"));
    return std::make_shared<CTraxDBGateDataReader>(path, id);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
