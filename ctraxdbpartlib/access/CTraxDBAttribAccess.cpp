#include "ctraxdbpartlib/access/CTraxDBAttribAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAttribAccess::CTraxDBAttribAccess(const AttributeAccessor &row)
    : CTraxDBAttribRecord(row, "CTraxDBAttribAccess") {
    TXDB_TRACE(LOG_FINER, "CTraxDBAttribAccess::CTraxDBAttribAccess(AttributeAccessor &)");
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
