#include "ctraxdbpartlib/connection/CTraxDBSource.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBSource::CTraxDBSource(CWnd *parent) {
    TXDB_TRACE(LOG_FINER, "CTraxDBPath(CWnd *)");
    checkResult(dataSource.Open(parent));
    TXDB_TRACE(LOG_FINEST, "Initialised data source OK");
    // The dialog gives no quoting characters of its own: take them from the
    // kind of database that was chosen, as for an initialisation string.
    std::string chosen;
    if (SUCCEEDED(dataSource.GetInitializationString(chosen, false)))
        getDatabaseEncloseChars(chosen.c_str(), &encloseOpen, &encloseClose, 1);
    openSession();
}

CTraxDBSource::CTraxDBSource(const TCHAR *initialisationString, MissingFile missing) {
    TXDB_TRACE(LOG_FINER, "CTraxDBPath(TCHAR *)");
    if (!initialisationString)
        TXDB_RAISE(IDS_NULL_PATH_STRING);
    std::string copy(initialisationString);
    getDatabaseEncloseChars(copy.c_str(), &encloseOpen, &encloseClose, 1);
    const char *decrypted = decryptConnectionStringPassword(copy.c_str());
    copy = decrypted ? decrypted : "";
    checkResult(dataSource.OpenFromInitializationString(copy, missing));
    TXDB_TRACE(LOG_FINEST, "Initialised data source OK");
    openSession();
}

CTraxDBSource::~CTraxDBSource() {
    TXDB_TRACE(LOG_FINEST, "~CTraxDBSource()");
    session.Close();
    dataSource.Close();
}

void CTraxDBSource::openSession() {
    checkResult(session.Open(dataSource));
    TXDB_TRACE(LOG_FINEST, "Initialised session OK");
}

CSession &CTraxDBSource::getSession() {
    TXDB_TRACE(LOG_FINEST, "getSession");
    return session;
}

const CDataSource &CTraxDBSource::getSource() {
    TXDB_TRACE(LOG_FINEST, "getSource");
    return dataSource;
}

std::string CTraxDBSource::fixTcEnc(const std::string &sql) const {
    TXDB_TRACE(LOG_FINEST, "fixTcEnc");
    const bool keep = sql.size() <= FIXED_TEXT_LENGTH;
    if (keep) {
        const auto known = fixedTexts.find(sql);
        if (known != fixedTexts.end())
            return known->second;
    }
    char *fixed = fixDatabaseCommandEncloseTC(sql.c_str(), encloseOpen, encloseClose);
    if (!fixed)
        return std::string();
    std::string result(fixed);
    freeMem(fixed);
    if (keep) {
        if (fixedTexts.size() >= FIXED_TEXTS)
            fixedTexts.clear();
        fixedTexts.emplace(sql, result);
    }
    return result;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
