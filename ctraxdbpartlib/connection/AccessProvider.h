#pragma once

#include "ctraxdbpartlib/connection/DBProvider.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Access part libraries, read-only: "Provider=Microsoft.Jet.OLEDB.4.0;Data
// Source=parts.mdb" or "Provider=Microsoft.ACE.OLEDB.12.0;Data
// Source=parts.accdb". The file is read once, through libmdb, into an
// in-memory SQLite database at the current schema version, which the
// SQLite provider then serves: every reader's statement runs as on a SQLite
// file. Nothing is ever written: every write is refused with one message.
HRESULT openAccessProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection);

// Whether a Provider keyword names Access (Microsoft.Jet.OLEDB.*,
// Microsoft.ACE.OLEDB.*).
bool isAccessProvider(const std::string &provider);

// The Provider keyword for a file whose name ends in .mdb (Jet) or .accdb
// (ACE), any case; empty for any other name.
std::string accessProviderFor(const std::string &fileName);

// Why nothing is written into the Access file, and the way on.
std::string accessWriteRefusal(const std::string &fileName);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
