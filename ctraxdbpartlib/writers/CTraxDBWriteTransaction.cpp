#include "ctraxdbpartlib/writers/CTraxDBWriteTransaction.h"

#include "interface/Exception.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBWriteTransaction::CTraxDBWriteTransaction(CTraxDBPath &path) : path(path) {
    path.startWriteTransaction();
    open = true;
    try {
        path.execute("UPDATE [Library_version] SET [Major] = [Major];");
    } catch (...) {
        abortQuietly();
        throw;
    }
}

CTraxDBWriteTransaction::~CTraxDBWriteTransaction() {
    abortQuietly();
}

void CTraxDBWriteTransaction::commit() {
    path.commitTransation();
    open = false;
}

void CTraxDBWriteTransaction::abort() {
    open = false;
    path.abortTransaction();
}

void CTraxDBWriteTransaction::abortQuietly() noexcept {
    if (!open)
        return;
    open = false;
    try {
        path.abortTransaction();
    } catch (Exception *e) {
        delete e;
    } catch (...) {
    }
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
