#include "ctraxdbpartlib/connection/CTraxDBPathData.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "ctraxdbpartlib/connection/DBField.h"

#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPathData"};

} // namespace

CTraxDBPathData::CTraxDBPathData(std::shared_ptr<Source> source, const char *catalogName)
    : dataSource(static_cast<CTraxDBSource &>(*source).getSource()) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(sourceHandle_t,TCHAR *)"));
    std::strncpy(name, catalogName ? catalogName : "", NAME_SIZE - 1);
}

CTraxDBPathData::~CTraxDBPathData() {
    TXDB_TRACE(LOG_FINEST, traced.destructor("()"));
}

void CTraxDBPathData::getPathStr(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPathStr(TCHAR *,size_t)"));
    getter::copyText(name, NAME_SIZE, buffer, size);
}

void CTraxDBPathData::getPathInitialisationStr(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPathInitialisationStr(TCHAR *,size_t)"));
    getter::checkBuffer(buffer, size, 0);
    // The initialisation properties are read as a check that the source
    // still answers; the string itself comes from the data source.
    CDBPropSet initProperties(DBPropSet::DBINIT);
    checkResult(dataSource.GetProperties(DBPropSet::DBINIT, initProperties));
    std::string initialisation;
    checkResult(dataSource.GetInitializationString(initialisation, true));
    getter::copyText(initialisation.c_str(), initialisation.size() + 1, buffer, size);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
