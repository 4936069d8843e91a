#pragma once

#include "ctraxdbpartlib/connection/DBProvider.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Opens a connection through unixODBC for "Provider=ODBC;..." strings.
HRESULT openOdbcProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
