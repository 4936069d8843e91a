#include "ctraxdbpartlib/writers/CTraxDBWriteTransaction.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBWriteTransaction::CTraxDBWriteTransaction(CTraxDBPath &path)
    : transaction(path, CTraxDBTransaction::Kind::Write) {
    path.execute("UPDATE [Library_version] SET [Major] = [Major];");
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
