#include "ctraxdbpartlib/access/CTraxDBAttribAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAttribAccess::CTraxDBAttribAccess(const AttributeAccessor &row)
    : CTraxDBAttribRecord(row, "CTraxDBAttribAccess") {
    TXDB_TRACE(LOG_FINER, "CTraxDBAttribAccess::CTraxDBAttribAccess(AttributeAccessor &)");
    storedReadOnly.assign(row.readOnly, row.readOnlyStatus);
}

bool CTraxDBAttribAccess::getStoredReadOnly(bool &isNull, int &readOnly) {
    getter::value(storedReadOnly, isNull, readOnly, OnNull::Zero);
    return true;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
