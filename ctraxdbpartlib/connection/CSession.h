#pragma once

#include "ctraxdbpartlib/connection/CDataSource.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The one session of a data source.
class CSession {
public:
    HRESULT Open(const CDataSource &dataSource);
    HRESULT StartTransaction(int32_t isolationLevel = ISOLATIONLEVEL_READCOMMITTED);
    // A transaction that is going to write (see ProviderConnection::beginWrite).
    HRESULT StartWriteTransaction();
    HRESULT Commit(bool retaining = false);
    HRESULT Abort(bool retaining = false);
    void Close();

    bool isOpen() const { return connection != nullptr; }
    ProviderConnection *getConnection() const { return connection; }

private:
    ProviderConnection *connection = nullptr; // owned by the data source
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
