#include "ctraxdbpartlib/connection/CCommand.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

HRESULT CCommand<CNoAccessor>::Open(const CSession &session, const std::string &sql, const CDBPropSet *) {
    CDBErrorInfo::clear();
    if (!session.isOpen()) {
        CDBErrorInfo::add("The session is not open");
        return E_UNEXPECTED;
    }
    return session.getConnection()->execute(sql);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
