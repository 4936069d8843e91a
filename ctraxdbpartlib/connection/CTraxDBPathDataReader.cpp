#include "ctraxdbpartlib/connection/CTraxDBPathDataReader.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/connection/CTraxDBPathData.h"
#include "ctraxdbpartlib/connection/CTraxDBSource.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPathDataReader"};

} // namespace

CTraxDBPathDataReader::CTraxDBPathDataReader(std::shared_ptr<Source> source) : source(source) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(sourceHandle_t)"));
    if (!source)
        TXDB_RAISE(IDS_NULL_SOURCE_HANDLE);
    CTraxDBSource *dbSource = dynamic_cast<CTraxDBSource *>(source.get());
    if (!dbSource)
        TXDB_RAISE(IDS_INVALID_SOURCE_HANDLE);
    checkResult(catalogs.Open(dbSource->getSession()));
}

CTraxDBPathDataReader::~CTraxDBPathDataReader() {
    TXDB_TRACE(LOG_FINEST, traced.destructor("()"));
}

std::shared_ptr<PathData> CTraxDBPathDataReader::getNext() {
    TXDB_TRACE(LOG_FINE, traced("getNext"));
    HRESULT result;
    if (!started) {
        TXDB_TRACE(LOG_FINER, "Getting first record");
        result = catalogs.MoveFirst();
        started = true;
    } else {
        TXDB_TRACE(LOG_FINEST, "Getting next record");
        result = catalogs.MoveNext();
    }
    checkResult(result);
    if (result == DB_S_ENDOFROWSET) {
        TXDB_TRACE(LOG_FINER, "End of record set");
        return nullptr;
    }
    return std::shared_ptr<PathData>(new CTraxDBPathData(source, catalogs.catalogName()));
}

int CTraxDBPathDataReader::getCount() {
    TXDB_TRACE(LOG_SEVERE, traced("getCount unsupported"));
    return 0;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
