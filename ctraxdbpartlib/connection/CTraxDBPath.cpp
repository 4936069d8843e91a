#include "ctraxdbpartlib/connection/CTraxDBPath.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/DBField.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/Exception.h"

#include <algorithm>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

bool promptValidationMsg = false;

namespace {

// Whether the connection is on the catalog already. A connection opens the
// catalog of its initialisation string, and some engines (PostgreSQL) can
// open no other one: USE is for the connections that are elsewhere.
bool connectedTo(const CDataSource &dataSource, const std::string &catalog) {
    DBVariant current;
    return SUCCEEDED(dataSource.GetProperty(DBPropSet::DATASOURCEINFO, DBPROP_CURRENTCATALOG, current)) &&
           current.str == catalog;
}

// A database file that is not there is made when nothing is checked (the
// tools' inspection), and when the schema may be created in it (prompting
// on), then to be removed again if the user declines. Refused outright, it
// would be left behind empty.
MissingFile missingFileFor(CTraxDBPath::SchemaCheck check) {
    if (check == CTraxDBPath::SchemaCheck::Skip)
        return MissingFile::Create;
    return promptValidationMsg ? MissingFile::CreateIfWritten : MissingFile::Refuse;
}

} // namespace

CTraxDBPath::CTraxDBPath(CWnd *parent) : source(parent) {
    openDatabase(SchemaCheck::Validate, promptValidationMsg);
}

CTraxDBPath::CTraxDBPath(const TCHAR *initialisationString, SchemaCheck check)
    : source(initialisationString, missingFileFor(check)) {
    openDatabase(check, promptValidationMsg);
}

CTraxDBPath::~CTraxDBPath() {
    TXDB_TRACE(LOG_FINER, "~CTraxDBPath");
}

void CTraxDBPath::openDatabase(SchemaCheck check, bool prompt) {
    rowsetProperties.AddProperty(DBPROP_IRowsetChange, true);
    rowsetProperties.AddProperty(DBPROP_IRowsetFind, true);
    rowsetProperties.AddProperty(DBPROP_IRowsetUpdate, true);
    rowsetProperties.AddProperty(DBPROP_UPDATABILITY,
                                 static_cast<int32_t>(DBPROPVAL_UP_CHANGE | DBPROPVAL_UP_DELETE | DBPROPVAL_UP_INSERT));

    const CDataSource &dataSource = source.getSource();
    DBVariant value;
    if (SUCCEEDED(dataSource.GetProperty(DBPropSet::DATASOURCEINFO, DBPROP_DATASOURCENAME, value)))
        dataSourceName = value.str;
    value = DBVariant();
    if (SUCCEEDED(dataSource.GetProperty(DBPropSet::DBINIT, DBPROP_INIT_CATALOG, value))) {
        catalog = value.str;
        if (value.type != DBVariant::EMPTY && !catalog.empty() && !connectedTo(dataSource, catalog))
            execute("USE [" + catalog + "];");
    }
    if (check == SchemaCheck::Validate)
        validateSchema(prompt);
}

void CTraxDBPath::validateSchema(bool prompt) {
    if (!CTraxDBSchema::isValidPartLibrary(getSession()))
        createSchemaIfWanted(prompt);
    try {
        CTraxDBSchema::getVersionInfo(*this, major, minor);
    } catch (Exception *failure) {
        // A Library_version table of another program has no version columns.
        if (CTraxDBSchema::foreignTables(*this, {"Library_version"}).empty())
            throw;
        delete failure;
        refuseForeignTables(CTraxDBSchema::foreignTables(*this, CTraxDBSchema::presentTables(getSession())));
    }
    TXDB_TRACE(LOG_FINEST, "Accessed version info OK");

    if (major == CTraxDBSchema::CURRENT_MAJOR && minor == CTraxDBSchema::CURRENT_MINOR)
        return;
    if (major > CTraxDBSchema::CURRENT_MAJOR ||
        (major == CTraxDBSchema::CURRENT_MAJOR && minor > CTraxDBSchema::CURRENT_MINOR))
        TXDB_RAISE(IDS_DATABASE_TOO_NEW);
    // No version row: either the creation script was run by hand (all
    // tables there) or a creation failed part way on a database that
    // commits table creation at once.
    if (prompt && major == 0 && minor == 0 &&
        CTraxDBSchema::presentTables(getSession()).size() < CTraxDBSchema::tableNames().size())
        refuseIncompleteLibrary(true);
    upgradeIfWanted(prompt);
}

bool CTraxDBPath::askUser(int messageNumber) {
    std::string text = formatPrintf(loadMessage(messageNumber), getDisplayName());
    return messageBoxHook(getMainWindow(), text.c_str(), "Warning", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CTraxDBPath::createSchemaIfWanted(bool prompt) {
    // Creating the tables over some that are already there would fail on
    // the first of them: a half-built library, or another program's
    // database, is named as such instead.
    if (prompt && !CTraxDBSchema::presentTables(getSession()).empty())
        refuseIncompleteLibrary(false);
    if (prompt && askUser(IDS_CREATE_PROMPT)) {
        TXDB_TRACE(LOG_FINEST, "Not valid part library:creating schema");
        CTraxDBSchema::createSchema(*this);
        TXDB_TRACE(LOG_FINEST, "Created schema OK");
        return;
    }
    TXDB_TRACE(LOG_FINEST, "Not valid part library:user cancelled");
    throw new Exception("");
}

void CTraxDBPath::upgradeIfWanted(bool prompt) {
    if (isAutotestEnabled()) {
        CTraxDBSchema::upgrade(*this, major, minor);
        return;
    }
    if (prompt && askUser(IDS_UPDATE_PROMPT)) {
        CTraxDBSchema::upgrade(*this, major, minor);
        return;
    }
    TXDB_TRACE(LOG_SEVERE, "");
    throw new Exception("");
}

void CTraxDBPath::refuseIncompleteLibrary(bool versionTablePresent) {
    const std::vector<std::string> &all = CTraxDBSchema::tableNames();
    std::vector<std::string> present = CTraxDBSchema::presentTables(getSession());
    if (const std::vector<std::string> foreign = CTraxDBSchema::foreignTables(*this, present); !foreign.empty())
        refuseForeignTables(foreign);
    std::vector<std::string> missing;
    for (const std::string &name : all)
        if (std::find(present.begin(), present.end(), name) == present.end())
            missing.push_back(name);
    std::string text = "The database \"" + getDisplayName() +
                       "\" holds an incomplete TRAXEL Part Library, as a failed creation leaves it.\n\n";
    text += "Tables present: " + CTraxDBSchema::joinNames(present) + "\n";
    if (!missing.empty())
        text += "Tables missing: " + CTraxDBSchema::joinNames(missing) + "\n";
    if (versionTablePresent)
        text += "The Library_version table holds no version row.\n";
    text += "\nRemove the tables that are present before the TRAXEL Part Library is created in this database.";
    TXDB_RAISE_TEXT(text);
}

void CTraxDBPath::refuseForeignTables(const std::vector<std::string> &foreign) {
    const bool one = foreign.size() == 1;
    TXDB_RAISE_TEXT("The database \"" + getDisplayName() +
                    "\" is not a TRAXEL Part Library: it holds the data of another program. Its " +
                    (one ? "table " : "tables ") + CTraxDBSchema::joinNames(foreign) +
                    (one ? " has the name of a part-library table" : " have the names of part-library tables") +
                    " but other columns, so the TRAXEL Part Library cannot be "
                    "created beside " +
                    (one ? "it" : "them") +
                    ". Leave this database to its program and use another one (or a new file) for the part library.");
}

std::string CTraxDBPath::getDisplayName() const {
    return catalog.empty() ? dataSourceName : dataSourceName + "\\" + catalog;
}

void CTraxDBPath::getPathStr(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "getPathStr(TCHAR *,size_t)");
    getter::checkBuffer(buffer, size, 0);
    std::string initialisation;
    checkResult(source.getSource().GetInitializationString(initialisation, false));
    getter::copyText(initialisation.c_str(), initialisation.size() + 1, buffer, size);
}

void CTraxDBPath::startTransaction() {
    TXDB_TRACE(LOG_FINER, "startTransaction");
    checkResult(getSession().StartTransaction(ISOLATIONLEVEL_READCOMMITTED));
}

void CTraxDBPath::startWriteTransaction() {
    TXDB_TRACE(LOG_FINER, "startWriteTransaction");
    checkResult(getSession().StartWriteTransaction());
}

void CTraxDBPath::commitTransation() {
    TXDB_TRACE(LOG_FINER, "commitTransation");
    checkResult(getSession().Commit(false));
}

void CTraxDBPath::abortTransaction() {
    TXDB_TRACE(LOG_FINER, "abortTransaction");
    checkResult(getSession().Abort(false));
}

bool CTraxDBPath::isReadOnly() {
    TXDB_TRACE(LOG_FINEST, "isReadOnly");
    DBVariant value;
    if (FAILED(source.getSource().GetProperty(DBPropSet::DATASOURCEINFO, DBPROP_DATASOURCEREADONLY, value)))
        return true;
    return value.type != DBVariant::BOOL || value.boolVal;
}

CSession &CTraxDBPath::getSession() {
    TXDB_TRACE(LOG_FINEST, "getSession");
    return source.getSession();
}

const CDBPropSet &CTraxDBPath::getProperties() {
    TXDB_TRACE(LOG_FINEST, "getProperties");
    return rowsetProperties;
}

void CTraxDBPath::execute(const std::string &sql) {
    TXDB_TRACE(LOG_FINEST, "execute: " + sql);
    CCommand<CNoAccessor> command;
    checkResult(command.Open(getSession(), fixTcEnc(sql), &rowsetProperties));
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
