#include "ctraxdbpartlib/access/CTraxDBAttribAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAttribAccess::CTraxDBAttribAccess(const AttributeAccessor &row)
    : CTraxDBDetailRecord("CTraxDBAttribAccess"), usageType(row.usageType) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAttribAccess::CTraxDBAttribAccess(AttributeAccessor &)");
    name.assign(row.name);
    value.assign(row.value);
    readOnly.assign(row.readOnly, row.readOnlyStatus);
}

void CTraxDBAttribAccess::getName(TCHAR *buffer, size_t size, bool) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAttribAccess::getName(TCHAR *,size_t,bool)");
    getter::text(name, buffer, size);
}

void CTraxDBAttribAccess::getValue(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAttribAccess::getValue(TCHAR *,size_t)");
    getter::text(value, buffer, size);
}

void CTraxDBAttribAccess::getType(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAttribAccess::getType(int &)");
    out = usageType;
}

void CTraxDBAttribAccess::getReadOnly(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAttribAccess::getReadOnly(int &)");
    out = readOnly.value;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
