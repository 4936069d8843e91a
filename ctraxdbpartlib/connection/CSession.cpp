#include "ctraxdbpartlib/connection/CSession.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

HRESULT notOpen() {
    CDBErrorInfo::add("The session is not open");
    return E_UNEXPECTED;
}

} // namespace

HRESULT CSession::Open(const CDataSource &dataSource) {
    CDBErrorInfo::clear();
    if (!dataSource.isOpen()) {
        CDBErrorInfo::add("The data source is not open");
        return E_UNEXPECTED;
    }
    connection = dataSource.getConnection();
    return S_OK;
}

// Every engine runs at least at read committed; the level is not passed on.
HRESULT CSession::StartTransaction(int32_t) {
    CDBErrorInfo::clear();
    if (!connection)
        return notOpen();
    return connection->begin();
}

HRESULT CSession::StartWriteTransaction() {
    CDBErrorInfo::clear();
    if (!connection)
        return notOpen();
    return connection->beginWrite();
}

HRESULT CSession::Commit(bool retaining) {
    CDBErrorInfo::clear();
    if (!connection)
        return notOpen();
    HRESULT result = connection->commit();
    if (SUCCEEDED(result) && retaining)
        result = connection->begin();
    return result;
}

HRESULT CSession::Abort(bool retaining) {
    CDBErrorInfo::clear();
    if (!connection)
        return notOpen();
    HRESULT result = connection->rollback();
    if (SUCCEEDED(result) && retaining)
        result = connection->begin();
    return result;
}

void CSession::Close() {
    connection = nullptr;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
