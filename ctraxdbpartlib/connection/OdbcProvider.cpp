#include "ctraxdbpartlib/connection/OdbcProvider.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

HRESULT openOdbcProvider(const InitString &, std::unique_ptr<ProviderConnection> &) {
    CDBErrorInfo::add("The ODBC provider is not available in this build");
    return E_FAIL;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
