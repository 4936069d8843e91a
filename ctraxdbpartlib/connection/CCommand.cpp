#include "ctraxdbpartlib/connection/CCommand.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/LibraryPrefetch.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

std::string firstWord(const std::string &sql) {
    const size_t start = sql.find_first_not_of(" \t\r\n");
    if (start == std::string::npos)
        return std::string();
    const size_t end = sql.find_first_of(" \t\r\n(", start);
    return sql.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace

HRESULT CCommand<CNoAccessor>::Open(const CSession &session, const std::string &sql, const CDBPropSet *) {
    CDBErrorInfo::clear();
    if (!session.isOpen()) {
        CDBErrorInfo::add("The session is not open");
        return E_UNEXPECTED;
    }
    // Keys read before a change of the schema may be gone after it.
    const std::string verb = firstWord(sql);
    if (equalsNoCase(verb, "CREATE") || equalsNoCase(verb, "ALTER") || equalsNoCase(verb, "DROP"))
        session.getConnection()->forgetPrimaryKeys();
    // Rows read ahead may not be what the database holds after it.
    if (LibraryPrefetch *prefetch = session.getConnection()->getPrefetch())
        prefetch->forgetAll();
    return session.getConnection()->execute(sql);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
