#pragma once

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDBPropSet.h"
#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "interface/Path.h"

#include <string>

class CWnd;

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBStatementBuffers;

// The prompting flag set by doPromptValidationMsg; read once by each path
// constructor.
extern bool promptValidationMsg;

// One opened part-library database. Constructing it opens the data source,
// selects the catalog, makes sure the part-library schema is there at the
// current version (creating or upgrading it when the user agrees) and
// builds the rowset properties every later command is opened with.
class CTraxDBPath : public Path {
public:
    // Validate: the opening checks of the plug-in (schema present and
    // current, created or upgraded with the user's consent). Skip: the
    // database is opened and its catalog selected, nothing more; for tools
    // that inspect a database in whatever state it is (partlib info).
    enum class SchemaCheck { Validate, Skip };

    explicit CTraxDBPath(CWnd *parent);
    explicit CTraxDBPath(const TCHAR *initialisationString, SchemaCheck check = SchemaCheck::Validate);
    ~CTraxDBPath() override;

    // The initialisation string without its password.
    void getPathStr(TCHAR *buffer, size_t size) override;
    void startTransaction() override;
    // A transaction for a library write: on engines that lock the whole
    // database the write lock is taken at once.
    void startWriteTransaction();
    void commitTransation() override;
    void abortTransaction() override;
    // True unless the provider says the data source is writable.
    bool isReadOnly() override;

    CSession &getSession();
    const CDBPropSet &getProperties();
    std::string fixTcEnc(const std::string &sql) const { return source.fixTcEnc(sql); }

    // The name that prompts give the database: the data source name, and
    // "\catalog" when there is a catalog.
    std::string getDisplayName() const;
    const std::string &getCatalog() const { return catalog; }

    // The statement buffers of the library write that runs on this path;
    // null while none runs. The buffers set and clear this themselves.
    CTraxDBStatementBuffers *getStatementBuffers() const { return statementBuffers; }
    void setStatementBuffers(CTraxDBStatementBuffers *buffers) { statementBuffers = buffers; }

    // Runs one statement that returns no rows (DDL, INSERT, UPDATE, DELETE,
    // USE): the text goes through fixTcEnc and opens a command without
    // accessor on the session with the rowset properties. A failure raises
    // the provider's text.
    void execute(const std::string &sql);

    // Opens a query on `command` the same way (fixTcEnc, session, rowset
    // properties) and returns the provider's result unchecked, for callers
    // that retry a refused statement. Parameters must already be in the
    // accessor record.
    template <class T> HRESULT tryOpen(CCommand<CAccessor<T>> &command, const std::string &sql) {
        const CDBPropSet &properties = getProperties();
        return command.Open(getSession(), fixTcEnc(sql), &properties);
    }
    // tryOpen, with the result checked: the one way a query is opened.
    template <class T> void open(CCommand<CAccessor<T>> &command, const std::string &sql) {
        checkResult(tryOpen(command, sql));
    }

private:
    void openDatabase(SchemaCheck check, bool prompt);
    void validateSchema(bool prompt);
    void createSchemaIfWanted(bool prompt);
    void upgradeIfWanted(bool prompt);
    // Raises a clear message for a database that holds only part of the
    // part-library tables or no version row (left by a failed creation on a
    // database that cannot roll back table creation).
    void refuseIncompleteLibrary(bool versionTablePresent);
    // Raises the message for a database of another program: `foreign` are
    // its tables under part-library names.
    [[noreturn]] void refuseForeignTables(const std::vector<std::string> &foreign);
    // Yes/No question with caption "Warning"; true for Yes.
    bool askUser(int messageNumber);

    CTraxDBSource source;
    CDBPropSet rowsetProperties;
    int major = 0;
    int minor = 0;
    std::string catalog;
    std::string dataSourceName;
    CTraxDBStatementBuffers *statementBuffers = nullptr;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
