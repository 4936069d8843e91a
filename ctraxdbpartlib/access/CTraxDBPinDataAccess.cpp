#include "ctraxdbpartlib/access/CTraxDBPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinDataAccess::CTraxDBPinDataAccess(const PinDataAccessor &row) : CTraxDBPinRecord(row, "CTraxDBPinDataAccess") {
    TXDB_TRACE(LOG_FINER, "CTraxDBPinDataAccess::CTraxDBPinDataAccess(PinDataAccessor &)");
}

void CTraxDBPinDataAccess::getPinNumber(bool &isNull, TCHAR *buffer, size_t size) {
    getPinIdentifier(isNull, buffer, size);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
