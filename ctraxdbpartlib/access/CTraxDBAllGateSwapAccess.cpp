#include "ctraxdbpartlib/access/CTraxDBAllGateSwapAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBAllGateSwapAccess"};

} // namespace

CTraxDBAllGateSwapAccess::CTraxDBAllGateSwapAccess(pathHandle_t path, const AllGateSwapAccessor &row, int index)
    : CTraxDBNamedMemberRecord(std::move(path), row, traced.name, row.partDefId, index), equivType(row.equivType),
      gateEquivGateId(row.gateEquivGateId) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,AllGateSwapAccessor &,int)"));
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBAllGateSwapAccess::getEquivType(int &value) {
    TXDB_TRACE(LOG_FINE, traced("getEquivType(int &)"));
    value = equivType;
}

void CTraxDBAllGateSwapAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPinIdentifier(bool &, TCHAR *, size_t)"));
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

void CTraxDBAllGateSwapAccess::getGateEquivGateID(int &value) {
    TXDB_TRACE(LOG_FINE, traced("getGateEquivGateID(int &)"));
    value = gateEquivGateId;
}

std::shared_ptr<Reader<GateSwapGateAccess>> CTraxDBAllGateSwapAccess::getGateSwapGateReader() {
    TXDB_TRACE(LOG_FINE, traced("getGateSwapGateReader"));
    return std::make_shared<CTraxDBGateSwapGateReader>(path, id);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
