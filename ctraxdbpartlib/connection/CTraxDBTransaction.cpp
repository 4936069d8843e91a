#include "ctraxdbpartlib/connection/CTraxDBTransaction.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "interface/Exception.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBTransaction::CTraxDBTransaction(CTraxDBPath &path, Kind kind) : path(path), kind(kind) {
    switch (kind) {
    case Kind::Read:
        path.startTransaction();
        break;
    case Kind::Write:
        path.startWriteTransaction();
        break;
    case Kind::IfPossible:
        open = SUCCEEDED(path.getSession().StartWriteTransaction());
        return;
    }
    open = true;
}

CTraxDBTransaction::~CTraxDBTransaction() {
    abortQuietly();
}

void CTraxDBTransaction::abortQuietly() noexcept {
    if (!open)
        return;
    open = false;
    if (kind == Kind::IfPossible) {
        path.getSession().Abort(false);
        return;
    }
    try {
        path.abortTransaction();
    } catch (Exception *e) {
        delete e;
    } catch (...) {
    }
}

void CTraxDBTransaction::commit() {
    if (kind == Kind::IfPossible) {
        const HRESULT result = path.getSession().Commit(false);
        if (open)
            checkResult(result);
    } else {
        path.commitTransation();
    }
    open = false;
}

void CTraxDBTransaction::abort() {
    if (!open)
        return;
    open = false;
    path.abortTransaction();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
