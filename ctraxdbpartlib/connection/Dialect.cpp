#include "ctraxdbpartlib/connection/Dialect.h"

#include "ctraxdbpartlib/CTraxDBError.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

int Dialect::upgradeScriptHeading() const {
    return IDS_SCRIPT_HEADING_OTHER;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
