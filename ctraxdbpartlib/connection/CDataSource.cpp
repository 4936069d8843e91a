#include "ctraxdbpartlib/connection/CDataSource.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

HRESULT notOpen() {
    CDBErrorInfo::add("The data source is not open");
    return E_UNEXPECTED;
}

} // namespace

HRESULT CDataSource::Open(CWnd *parent) {
    CDBErrorInfo::clear();
    std::string chosen;
    // A cancelled dialog leaves no error record: the user knows already.
    if (!promptDataLink(parent, chosen))
        return DB_E_CANCELED;
    return OpenFromInitializationString(chosen);
}

HRESULT CDataSource::OpenFromInitializationString(const std::string &initialisationString, MissingFile missing) {
    CDBErrorInfo::clear();
    Close();
    InitString parsed;
    HRESULT result = InitString::parse(initialisationString, parsed);
    if (FAILED(result))
        return result;
    std::unique_ptr<ProviderConnection> opened;
    result = openProvider(parsed, opened, missing);
    if (FAILED(result))
        return result;
    connection = std::move(opened);
    init = std::move(parsed);
    return S_OK;
}

HRESULT CDataSource::GetInitializationString(std::string &out, bool includePassword) const {
    CDBErrorInfo::clear();
    if (!connection)
        return notOpen();
    out = init.toString(includePassword);
    return S_OK;
}

HRESULT CDataSource::GetProperty(DBPropSet set, DBPROPID id, DBVariant &value) const {
    CDBErrorInfo::clear();
    if (!connection)
        return notOpen();
    return connection->property(set, id, value);
}

HRESULT CDataSource::GetProperties(DBPropSet set, CDBPropSet &out) const {
    CDBErrorInfo::clear();
    if (!connection)
        return notOpen();
    static const DBPROPID known[] = {DBPROP_DATASOURCENAME, DBPROP_DATASOURCEREADONLY, DBPROP_INIT_CATALOG};
    out = CDBPropSet(set);
    for (DBPROPID id : known) {
        DBVariant value;
        if (FAILED(connection->property(set, id, value)))
            continue;
        if (value.type == DBVariant::STRING)
            out.AddProperty(id, value.str);
        else if (value.type == DBVariant::BOOL)
            out.AddProperty(id, value.boolVal);
        else if (value.type == DBVariant::I4)
            out.AddProperty(id, value.intVal);
    }
    // Properties the provider has no answer for are simply absent.
    CDBErrorInfo::clear();
    return S_OK;
}

void CDataSource::Close() {
    connection.reset();
    init = InitString();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
