#include "ctraxdbpartlib/access/CTraxDBAllAttribAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAllAttribAccess::CTraxDBAllAttribAccess(const AllAttributeAccessor &row)
    : CTraxDBAllRecord("CTraxDBAllAttribAccess", row.partDefId), usageType(row.usageType), readOnly(row.readOnly) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAllAttribAccess::CTraxDBAllAttribAccess(AllAttributeAccessor &)");
    name.assign(row.name);
    value.assign(row.value);
}

void CTraxDBAllAttribAccess::getName(TCHAR *buffer, size_t size, bool) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllAttribAccess::getName(TCHAR *, size_t, bool)");
    getter::text(name, buffer, size);
}

void CTraxDBAllAttribAccess::getValue(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllAttribAccess::getValue(TCHAR *, size_t)");
    getter::text(value, buffer, size);
}

void CTraxDBAllAttribAccess::getType(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllAttribAccess::getType(int &)");
    out = usageType;
}

void CTraxDBAllAttribAccess::getReadOnly(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllAttribAccess::getReadOnly(int &)");
    out = readOnly;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
