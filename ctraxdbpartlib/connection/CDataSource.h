#pragma once

#include "ctraxdbpartlib/connection/CDBPropSet.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <memory>
#include <string>

class CWnd; // the host's window, opaque here

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One initialised data source. Copies share the same connection.
class CDataSource {
public:
    // Asks the host for an initialisation string (the data-link dialog) and
    // opens it; a cancelled dialog fails with no error record.
    HRESULT Open(CWnd *parent);
    // A database file that does not exist is created unless `missing` is
    // MissingFile::Refuse.
    HRESULT OpenFromInitializationString(const std::string &initialisationString,
                                         MissingFile missing = MissingFile::Create);
    HRESULT GetInitializationString(std::string &out, bool includePassword) const;
    HRESULT GetProperty(DBPropSet set, DBPROPID id, DBVariant &value) const;
    // Reads every property of one set the provider answers for.
    HRESULT GetProperties(DBPropSet set, CDBPropSet &out) const;
    void Close();

    bool isOpen() const { return connection != nullptr; }
    ProviderConnection *getConnection() const { return connection.get(); }

private:
    std::shared_ptr<ProviderConnection> connection;
    InitString init;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
