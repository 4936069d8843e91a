#pragma once

#include "ctraxdbpartlib/connection/DBProvider.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Opens a SQLite file for "Provider=SQLite;Data Source=<file>[;Mode=Read]":
// foreign keys enforced, double-quoted strings never taken as literals,
// and the ALTER TABLE forms of the part-library schema carried out. A file
// that does not exist is created (and with MissingFile::CreateIfWritten
// removed again at the close when it is still empty), or with
// MissingFile::Refuse left uncreated and named in the error record.
HRESULT openSQLiteProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection,
                           MissingFile missing = MissingFile::Create);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
