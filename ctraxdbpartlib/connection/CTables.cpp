#include "ctraxdbpartlib/connection/CTables.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

#include <algorithm>
#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// Opens a name list from the session's connection with one of its listings.
template <class List> HRESULT openList(const CSession &session, std::vector<std::string> &names, List list) {
    CDBErrorInfo::clear();
    names.clear();
    if (!session.isOpen()) {
        CDBErrorInfo::add("The session is not open");
        return E_UNEXPECTED;
    }
    return (session.getConnection()->*list)(names);
}

} // namespace

HRESULT CTables::Open(const CSession &session) {
    HRESULT result = openList(session, names, &ProviderConnection::tables);
    position = 0;
    open = SUCCEEDED(result);
    return result;
}

HRESULT CTables::MoveFirst() {
    position = 0;
    return MoveNext();
}

HRESULT CTables::MoveNext() {
    CDBErrorInfo::clear();
    if (!open) {
        CDBErrorInfo::add("The schema rowset is not open");
        return E_UNEXPECTED;
    }
    if (position >= names.size()) {
        m_szName[0] = '\0';
        return DB_S_ENDOFROWSET;
    }
    const std::string &name = names[position++];
    const size_t length = std::min(name.size(), sizeof m_szName - 1);
    std::memcpy(m_szName, name.data(), length);
    m_szName[length] = '\0';
    return S_OK;
}

void CTables::Close() {
    names.clear();
    position = 0;
    open = false;
    m_szName[0] = '\0';
}

HRESULT CCatalogs::Open(const CSession &session) {
    HRESULT result = openList(session, names, &ProviderConnection::catalogs);
    position = 0;
    open = SUCCEEDED(result);
    return result;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
