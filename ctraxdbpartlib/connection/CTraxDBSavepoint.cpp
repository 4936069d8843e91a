#include "ctraxdbpartlib/connection/CTraxDBSavepoint.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "interface/Exception.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBSavepoint::CTraxDBSavepoint(CTraxDBPath &path, std::string name) : path(path), name(std::move(name)) {
    ProviderConnection *connection = path.getSession().getConnection();
    if (!connection->inTransaction())
        return;
    const std::string statement = connection->dialect().savepointStatement(this->name);
    open = !statement.empty() && SUCCEEDED(run(statement));
}

CTraxDBSavepoint::~CTraxDBSavepoint() {
    if (!open)
        return;
    try {
        rollBack();
    } catch (Exception *e) {
        delete e;
    }
}

HRESULT CTraxDBSavepoint::run(const std::string &sql) {
    // An engine that ends its savepoints with the transaction has no
    // statement for their release.
    if (sql.empty())
        return S_OK;
    CCommand<CNoAccessor> command;
    return command.Open(path.getSession(), path.fixTcEnc(sql), &path.getProperties());
}

void CTraxDBSavepoint::rollBack() {
    if (!open)
        return;
    open = false;
    const Dialect &dialect = path.getSession().getConnection()->dialect();
    checkResult(run(dialect.rollbackToSavepointStatement(name)));
    checkResult(run(dialect.releaseSavepointStatement(name)));
}

void CTraxDBSavepoint::release() {
    if (!open)
        return;
    open = false;
    checkResult(run(path.getSession().getConnection()->dialect().releaseSavepointStatement(name)));
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
