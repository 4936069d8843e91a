#include "ctraxdbpartlib/access/CTraxDBAllAttribAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAllAttribAccess::CTraxDBAllAttribAccess(const AllAttributeAccessor &row)
    : CTraxDBAttribRecord(row, "CTraxDBAllAttribAccess", row.partDefId) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAllAttribAccess::CTraxDBAllAttribAccess(AllAttributeAccessor &)");
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
