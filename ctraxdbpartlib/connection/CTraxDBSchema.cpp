#include "ctraxdbpartlib/connection/CTraxDBSchema.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CTables.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBTransaction.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/ForeignKeyIndex.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/Exception.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBSchema"};

} // namespace

namespace {

// Message box styles for a plain notice (the values of the host's message box).
constexpr unsigned MB_OK_STYLE = 0x0;
constexpr unsigned MB_ICONWARNING_STYLE = 0x30;

const char *const VERSION_INSERT = "INSERT INTO [Library_version] ([Major],[Minor]) VALUES (%d,%d);";

struct VersionAccessor {
    int32_t major = 0;
    int32_t minor = 0;
    DBSTATUS majorStatus = DBSTATUS_S_OK;
    DBSTATUS minorStatus = DBSTATUS_S_OK;

    void bind(ColumnMap &map) {
        map.column(1, major, &majorStatus);
        map.column(2, minor, &minorStatus);
    }
};

// Calls `visit` with each table name until it answers true; true when one did.
bool anyTable(const CSession &session, const std::function<bool(const char *)> &visit) {
    CTables tables;
    checkResult(tables.Open(session));
    HRESULT result = tables.MoveFirst();
    checkResult(result);
    while (result != DB_S_ENDOFROWSET) {
        if (visit(tables.m_szName))
            return true;
        result = tables.MoveNext();
        checkResult(result);
    }
    return false;
}

// The dialect of the engine the path is connected to.
const Dialect &dialectOf(CTraxDBPath &path) {
    return path.getSession().getConnection()->dialect();
}

// The statements with, where the engine does not index the columns of a
// foreign key itself, that index after each key.
std::vector<std::string> withForeignKeyIndexes(const std::vector<std::string> &statements, const Dialect &dialect) {
    if (dialect.indexesForeignKeys())
        return statements;
    std::vector<std::string> all;
    for (const std::string &statement : statements) {
        all.push_back(statement);
        std::string index = ForeignKeyIndex::statementFor(statement, '[', ']');
        if (!index.empty())
            all.push_back(std::move(index));
    }
    return all;
}

void executeAll(CTraxDBPath &path, const std::vector<std::string> &statements) {
    for (const std::string &statement : withForeignKeyIndexes(statements, dialectOf(path)))
        path.execute(statement);
}

std::string withoutSemicolon(std::string statement) {
    while (!statement.empty() && (statement.back() == ';' || statement.back() == ' '))
        statement.pop_back();
    return statement;
}

// The statements of a script, each as fixTcEnc gives it, in the form the
// engine's shell runs, and ended by one ';'.
std::string scriptLines(CTraxDBPath &path, const std::vector<std::string> &statements, const Dialect &dialect) {
    std::string text;
    for (const std::string &each : statements)
        text += withoutSemicolon(dialect.scriptStatement(path.fixTcEnc(withoutSemicolon(each)))) + ";\n";
    return text;
}

// A heading of the message table, "{...}", as an SQL comment.
std::string scriptHeading(int number) {
    std::string text;
    for (char c : loadMessage(number))
        text += c == '{' ? std::string("-- ") : c == '}' ? std::string() : std::string(1, c);
    return text;
}

// Writes the text to the file (as written: percent signs stay) and shows it.
void writeScriptFile(const std::string &fileName, const std::string &text) {
    TEXTFILE file = nullptr;
    if (openTextFile(fileName.c_str(), &file, 1, 1)) {
        asciiTextFile(file);
        printTextFile(file, text.c_str());
        closeTextFile(file);
    }
    ReportRequest request{1, 0, 0, fileName.c_str()};
    processReport(fileName.c_str(), &request);
}

// After a failed creation or upgrade: offers the script and, on Yes, writes
// it into a temporary .sql file that is shown and then removed.
void offerScript(int messageNumber, const std::function<void(const std::string &)> &writeScript) {
    std::string text = loadMessage(messageNumber);
    if (messageBoxHook(getMainWindow(), text.c_str(), "Error", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    char fileName[4096] = {};
    if (!makeTempFile(fileName))
        return;
    const std::string script = std::string(fileName) + ".sql";
    writeScript(script);
    deleteFile(script.c_str());
    deleteFile(fileName);
}

// Where the database commits table creation at once, an aborted creation
// leaves tables behind: the user is told which ones.
void reportLeftTables(CTraxDBPath &path) {
    std::vector<std::string> left;
    try {
        left = CTraxDBSchema::presentTables(path.getSession());
    } catch (Exception *e) {
        delete e;
        return;
    }
    if (left.empty())
        return;
    std::string text = "Creation of the TRAXEL Parts Database could not be undone: the tables " +
                       CTraxDBSchema::joinNames(left) +
                       " were left in the database. Remove them before the TRAXEL Part Library is created again.";
    TXDB_TRACE(LOG_WARNING, text);
    messageBoxHook(getMainWindow(), text.c_str(), "Warning", MB_OK_STYLE | MB_ICONWARNING_STYLE);
}

// Runs `work` in a read-committed transaction. A failure aborts it, offers
// the script and ends in an empty-message Exception.
void runInTransaction(CTraxDBPath &path, const std::function<void()> &work, const std::function<void()> &onFailure) {
    CTraxDBTransaction transaction(path, CTraxDBTransaction::Kind::IfPossible);
    try {
        work();
        transaction.commit();
    } catch (Exception *e) {
        // The cause is told before the script is offered; the Exception
        // stays empty, as the user has been told.
        const std::string cause = e->getMessage();
        delete e;
        transaction.abortQuietly();
        TXDB_TRACE(LOG_SEVERE, cause);
        messageBoxHook(getMainWindow(), cause.c_str(), "Error", MB_OK_STYLE);
        onFailure();
        throw new Exception("");
    }
}

// 1.1 to 1.2: the constraint is dropped by name where the database can; the
// MySQL form of the step runs when the database refuses that statement (it
// lacks the form, or the index serves a foreign key). A lost connection or a
// busy database is no refusal: it ends the upgrade.
void upgrade11To12(CTraxDBPath &path) {
    const std::vector<std::string> &statements = CTraxDBSchema::upgrade11To12Statements();
    try {
        path.execute(statements.front());
    } catch (DBException *e) {
        if (e->failure() == DBFailure::Busy || e->failure() == DBFailure::Connection)
            throw;
        delete e;
        executeAll(path, CTraxDBSchema::upgrade11To12MySqlStatements());
        return;
    }
    executeAll(path, std::vector<std::string>(statements.begin() + 1, statements.end()));
}

} // namespace

const std::vector<std::string> &CTraxDBSchema::tableNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> tables;
        for (const CatalogueColumn &column : COLUMN_CATALOGUE)
            if (tables.empty() || tables.back() != column.table)
                tables.emplace_back(column.table);
        return tables;
    }();
    return names;
}

const std::vector<std::string> &CTraxDBSchema::creationStatements() {
    static const std::vector<std::string> statements = {
        "CREATE TABLE [Library_version] ( [Major] INTEGER, [Minor] INTEGER);",
        "CREATE TABLE [Library] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Name] VARCHAR(50) NOT NULL, [Enabled] SMALLINT "
        "NOT NULL, [Comment] VARCHAR(255));",
        "ALTER TABLE [Library] ADD CONSTRAINT [LibraryUnique] UNIQUE ([Name]);",
        "CREATE TABLE [Hierarchy] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Library_ID] INTEGER NOT NULL, [Name] "
        "VARCHAR(50) NOT NULL, [Parent_ID] INTEGER);",
        "ALTER TABLE [Hierarchy] ADD CONSTRAINT [HierarchyParent] FOREIGN KEY([Parent_ID]) REFERENCES "
        "[Hierarchy]([ID]);",
        "ALTER TABLE [Hierarchy] ADD CONSTRAINT [HierarchyLibrary] FOREIGN KEY([Library_ID]) REFERENCES "
        "[Library]([ID]);",
        "ALTER TABLE [Hierarchy] ADD CONSTRAINT [HierarchyUnique] UNIQUE ([Library_ID],[Name],[Parent_ID]);",
        "CREATE TABLE [Part_Definition] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Library_ID] INTEGER NOT NULL, [Name] "
        "VARCHAR(50) NOT NULL, [PCB_component_name] VARCHAR(50) NOT NULL, [PCB_alternate_name] VARCHAR(50), "
        "[Part_def_value] VARCHAR(255), [Component_name_stem] VARCHAR(20), [PSpice_data] VARCHAR(255), "
        "[Max_connector_pins] INTEGER, [Gate_swapping] SMALLINT NOT NULL, [Pin_num_name] SMALLINT NOT NULL, [Is_FPGA] "
        "SMALLINT NOT NULL);",
        "ALTER TABLE [Part_Definition] ADD CONSTRAINT [PartDefLibrary] FOREIGN KEY([Library_ID]) REFERENCES "
        "[Library]([ID]);",
        "ALTER TABLE [Part_Definition] ADD CONSTRAINT [PartDefinitionUnique] UNIQUE ([Name]);",
        "CREATE TABLE [Pin_Data] ( [ID] INTEGER PRIMARY KEY, [Part_def_ID] INTEGER NOT NULL, [Pin_identifier] "
        "VARCHAR(10), [Name] VARCHAR(10), [Label] VARCHAR(50), [Pin_position] INTEGER, [Pin_type] INTEGER, [Loading] "
        "INTEGER, [Signal] VARCHAR(50), [Equiv_group] INTEGER);",
        "ALTER TABLE [Pin_Data] ADD CONSTRAINT [PinDataPartDef] FOREIGN KEY([Part_def_ID]) REFERENCES "
        "[Part_Definition]([ID]);",
        "ALTER TABLE [Pin_Data] ADD CONSTRAINT [PinDataUnique] UNIQUE ([Part_def_ID],[Pin_identifier]);",
        "CREATE TABLE [Pin_Equiv] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Part_def_ID] INTEGER NOT NULL);",
        "ALTER TABLE [Pin_Equiv] ADD CONSTRAINT [PinEquivPartDef] FOREIGN KEY([Part_def_ID]) REFERENCES "
        "[Part_Definition]([ID]);",
        "CREATE TABLE [Gate_Equiv] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Part_def_ID] INTEGER NOT NULL, [Name] "
        "VARCHAR(50) NOT NULL);",
        "ALTER TABLE [Gate_Equiv] ADD CONSTRAINT [GateEquivPartDef] FOREIGN KEY([Part_def_ID]) REFERENCES "
        "[Part_Definition]([ID]);",
        "CREATE TABLE [Gate_Equiv_Gate] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Gate_equiv_ID] INTEGER NOT NULL, "
        "[Equiv_type] INTEGER NOT NULL);",
        "ALTER TABLE [Gate_Equiv_Gate] ADD CONSTRAINT [GateEquivGateGateEquiv] FOREIGN KEY([Gate_equiv_ID]) REFERENCES "
        "[Gate_Equiv]([ID]);",
        "CREATE TABLE [Gate_Equiv_has_Pin_Data] ( [ID] INTEGER NOT NULL, [Gate_equiv_gate_ID] INTEGER NOT NULL, "
        "[Pin_data_ID] INTEGER NOT NULL);",
        "ALTER TABLE [Gate_Equiv_has_Pin_Data] ADD CONSTRAINT [GateEquivHasPinsGateEquiv] FOREIGN "
        "KEY([Gate_equiv_gate_ID]) REFERENCES [Gate_Equiv_Gate]([ID]);",
        "ALTER TABLE [Gate_Equiv_has_Pin_Data] ADD CONSTRAINT [GateEquivHasPinsPinData] FOREIGN KEY([Pin_data_ID]) "
        "REFERENCES [Pin_Data]([ID]);",
        "ALTER TABLE [Gate_Equiv_has_Pin_Data] ADD CONSTRAINT [GateEquivHasPinsPK] PRIMARY "
        "KEY([ID],[Gate_equiv_gate_ID],[Pin_data_ID]);",
        "CREATE TABLE [Gate] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Part_def_ID] INTEGER NOT NULL, [Name] VARCHAR(50) "
        "NOT NULL, [Alt_name] VARCHAR(50));",
        "ALTER TABLE [Gate] ADD CONSTRAINT [GatePartDef] FOREIGN KEY([Part_def_ID]) REFERENCES "
        "[Part_Definition]([ID]);",
        "CREATE TABLE [Gate_has_Pin_Data] ( [ID] INTEGER NOT NULL, [Gate_ID] INTEGER NOT NULL, [Pin_data_ID] INTEGER "
        "NOT NULL);",
        "ALTER TABLE [Gate_has_Pin_Data] ADD CONSTRAINT [GateHasPinsGate] FOREIGN KEY([Gate_ID]) REFERENCES "
        "[Gate]([ID]);",
        "ALTER TABLE [Gate_has_Pin_Data] ADD CONSTRAINT [GateHasPinsPinData] FOREIGN KEY([Pin_data_ID]) REFERENCES "
        "[Pin_Data]([ID]);",
        "ALTER TABLE [Gate_has_Pin_Data] ADD CONSTRAINT [GateHasPinsPK] PRIMARY KEY([ID],[Gate_ID],[Pin_data_ID]);",
        "CREATE TABLE [Attributes] ( [Part_def_ID] INTEGER NOT NULL, [Name] VARCHAR(255) NOT NULL, [Attribute_value] "
        "VARCHAR(255) NOT NULL, [Usage_type] INTEGER NOT NULL, [Read_Only] INTEGER NULL);",
        "ALTER TABLE [Attributes] ADD CONSTRAINT [AttributesPartDef] FOREIGN KEY([Part_def_ID]) REFERENCES "
        "[Part_Definition]([ID]);",
        "ALTER TABLE [Attributes] ADD CONSTRAINT [AttributesPK] PRIMARY KEY([Part_def_ID],[Name]);",
        "CREATE TABLE [Parts] ( [ID] INTEGER NOT NULL PRIMARY KEY, [Library_ID] INTEGER NOT NULL, [Part_def_ID] "
        "INTEGER NOT NULL, [Hierarchy_ID] INTEGER NOT NULL, [Name] VARCHAR(50) NOT NULL, [Part_number] VARCHAR(50), "
        "[Description] VARCHAR(255), [PSpice_data] VARCHAR(80), [Part_version] INTEGER, [Part_Acceptance] VARCHAR "
        "(100), [Part_Type] INTEGER);",
        "ALTER TABLE [Parts] ADD CONSTRAINT [PartsLibrary] FOREIGN KEY([Library_ID]) REFERENCES [Library]([ID]);",
        "ALTER TABLE [Parts] ADD CONSTRAINT [PartsPartDef] FOREIGN KEY([Part_def_ID]) REFERENCES "
        "[Part_Definition]([ID]);",
        "ALTER TABLE [Parts] ADD CONSTRAINT [PartsHierarchy] FOREIGN KEY([Hierarchy_ID]) REFERENCES [Hierarchy]([ID]);",
        "ALTER TABLE [Parts] ADD CONSTRAINT [PartsUnique] UNIQUE ([Name]);",
        // The pins of an equivalence group are looked up by their group: no
        // key leads with it, so without this index every look-up reads the
        // whole table.
        "CREATE INDEX [PinDataEquivGroup] ON [Pin_Data] ([Equiv_group]);",
    };
    return statements;
}

const std::vector<std::string> &CTraxDBSchema::upgrade10To11Statements() {
    // Part classification; later statements override earlier ones.
    static const std::vector<std::string> statements = {
        "ALTER TABLE [Parts] ADD [Part_Type] INTEGER;",
        "UPDATE [Parts] SET [Part_Type]=2 WHERE [Parts].[Part_def_ID] IN (SELECT [Gate].[Part_def_ID] FROM [Gate] "
        "WHERE [Gate].[Name]='CONNECTOR');",
        "UPDATE [Parts] SET [Part_Type]=4 WHERE [Parts].[Part_def_ID] IN (SELECT [Part_Definition].[ID] FROM "
        "[Part_Definition] WHERE [Part_Definition].[PCB_component_name]='TESTPOINT');",
        "UPDATE [Parts] SET [Part_Type]=16 WHERE [Parts].[Part_def_ID] IN (SELECT [Part_Definition].[ID] FROM "
        "[Part_Definition] WHERE [Part_Definition].[PCB_component_name] LIKE'STARPOINTNF%');",
        "UPDATE [Parts] SET [Part_Type]=4 WHERE [Parts].[Part_def_ID] IN (SELECT [Gate].[Part_def_ID] FROM [Gate] "
        "WHERE [Gate].[Name]='TESTPOINT');",
        "UPDATE [Parts] SET [Part_Type]=16 WHERE [Parts].[Part_def_ID] IN (SELECT [Gate].[Part_def_ID] FROM [Gate] "
        "WHERE [Gate].[Name] LIKE 'STARPOINTNF%');",
        "UPDATE [Parts] SET [Part_Type]=8 WHERE [Parts].[Part_def_ID] IN (SELECT [Part_Definition].[ID] FROM "
        "[Part_Definition] WHERE [Part_Definition].[PCB_component_name] LIKE'JUMPERNF%');",
        "UPDATE [Parts] SET [Part_Type]=1 WHERE [Parts].[Part_Type] IS NULL;",
        "UPDATE [Library_version] SET [Minor]=1;",
    };
    return statements;
}

const std::vector<std::string> &CTraxDBSchema::upgrade11To12Statements() {
    static const std::vector<std::string> statements = {
        "ALTER TABLE [Pin_Data] DROP CONSTRAINT [PinDataUnique];",
        "ALTER TABLE [Pin_Data] ADD [Pin_identifier] VARCHAR(10);",
        "UPDATE [Pin_Data] SET [Pin_identifier]=[Pin_number];",
        "ALTER TABLE [Pin_Data] ADD CONSTRAINT [PinDataUnique] UNIQUE ([Part_def_ID],[Pin_identifier]);",
        "ALTER TABLE [Pin_Data] DROP COLUMN [Pin_number];",
        "UPDATE [Library_version] SET [Minor]=2;",
    };
    return statements;
}

const std::vector<std::string> &CTraxDBSchema::upgrade11To12MySqlStatements() {
    static const std::vector<std::string> statements = {
        "ALTER TABLE [Pin_Data] DROP FOREIGN KEY [PinDataPartDef];",
        "ALTER TABLE [Pin_Data] DROP INDEX [PinDataUnique];",
        "ALTER TABLE [Pin_Data] ADD [Pin_identifier] VARCHAR(10);",
        "UPDATE [Pin_Data] SET [Pin_identifier]=[Pin_number];",
        "ALTER TABLE [Pin_Data] ADD CONSTRAINT [PinDataUnique] UNIQUE ([Part_def_ID],[Pin_identifier]);",
        "ALTER TABLE [Pin_Data] DROP COLUMN [Pin_number];",
        "ALTER TABLE [Pin_Data] ADD CONSTRAINT [PinDataPartDef] FOREIGN KEY([Part_def_ID]) REFERENCES "
        "[Part_Definition]([ID]);",
        "UPDATE [Library_version] SET [Minor]=2;",
    };
    return statements;
}

size_t CTraxDBSchema::textColumnWidth(const std::string &table, const std::string &column) {
    const CatalogueColumn *found = findColumn(table, column);
    return found != nullptr && found->type == ColumnType::Varchar ? found->width : 0;
}

bool CTraxDBSchema::isValidPartLibrary(const CSession &session) {
    TXDB_TRACE(LOG_FINEST, traced("isValidPartLibrary(const CSession &)"));
    return anyTable(session, [](const char *name) { return equalsNoCase(name, "Library_version"); });
}

std::vector<std::string> CTraxDBSchema::presentTables(const CSession &session) {
    std::vector<bool> found(tableNames().size(), false);
    anyTable(session, [&found](const char *name) {
        for (size_t i = 0; i < found.size(); ++i)
            if (equalsNoCase(name, tableNames()[i]))
                found[i] = true;
        return false;
    });
    std::vector<std::string> present;
    for (size_t i = 0; i < found.size(); ++i)
        if (found[i])
            present.push_back(tableNames()[i]);
    return present;
}

void CTraxDBSchema::createSchema(CTraxDBPath &path) {
    TXDB_TRACE(LOG_FINEST, traced("createSchema(const CSession &)"));
    runInTransaction(
        path,
        [&path] {
            executeAll(path, creationStatements());
            char insert[128];
            std::snprintf(insert, sizeof insert, VERSION_INSERT, CURRENT_MAJOR, CURRENT_MINOR);
            path.execute(insert);
        },
        [&path] {
            reportLeftTables(path);
            offerScript(IDS_CREATE_FAILED_SCRIPT, [&path](const std::string &file) { writeCreateScript(path, file); });
        });
}

void CTraxDBSchema::getVersionInfo(CTraxDBPath &path, int &major, int &minor) {
    TXDB_TRACE(LOG_FINEST, traced("getVersionInfo(const CSession &,int &,int &)"));
    major = 0;
    minor = 0;
    CCommand<CAccessor<VersionAccessor>> command;
    path.open(command, "SELECT [Major],[Minor] FROM [Library_version];");
    HRESULT result = command.MoveFirst();
    checkResult(result);
    if (result == DB_S_ENDOFROWSET)
        return;
    major = command.majorStatus == DBSTATUS_S_ISNULL ? 0 : command.major;
    minor = command.minorStatus == DBSTATUS_S_ISNULL ? 0 : command.minor;
}

void CTraxDBSchema::upgrade(CTraxDBPath &path, int major, int minor) {
    if (major < 1)
        TXDB_RAISE(IDS_DATABASE_TOO_OLD);
    runInTransaction(
        path,
        [&path, major, minor] {
            if (major >= 2)
                return;
            if (minor < 1)
                executeAll(path, upgrade10To11Statements());
            if (minor < 2)
                upgrade11To12(path);
            for (const std::string &statement : missingIndexes(path))
                path.execute(statement);
        },
        [&path, major, minor] {
            offerScript(IDS_UPDATE_FAILED_SCRIPT, [&path, major, minor](const std::string &file) {
                writeUpgradeScript(path, file, major, minor);
            });
        });
}

std::string CTraxDBSchema::createScript(CTraxDBPath &path) {
    const Dialect &dialect = dialectOf(path);
    char insert[128];
    std::snprintf(insert, sizeof insert, VERSION_INSERT, CURRENT_MAJOR, CURRENT_MINOR);
    std::vector<std::string> statements =
        dialect.scriptCreationStatements(withForeignKeyIndexes(creationStatements(), dialect));
    statements.push_back(insert);
    return scriptLines(path, statements, dialect);
}

std::string CTraxDBSchema::upgradeScript(CTraxDBPath &path, int major, int minor) {
    const Dialect &dialect = dialectOf(path);
    std::string text;
    if (major < 2) {
        if (minor < 1)
            text +=
                scriptHeading(IDS_SCRIPT_HEADING_10_11) + scriptLines(path, upgrade10To11Statements(), dialect) + "\n";
        if (minor < 2) {
            const int heading = dialect.upgradeScriptHeading();
            text += scriptHeading(IDS_SCRIPT_HEADING_11_12) + (heading ? scriptHeading(heading) : "\n") +
                    scriptLines(path,
                                dialect.upgradeScriptUsesMySqlForm() ? upgrade11To12MySqlStatements()
                                                                     : upgrade11To12Statements(),
                                dialect);
        }
        // The indexes that the upgrade itself adds, as it does.
        if (const std::string indexes = indexScript(path); !indexes.empty())
            text += "\n" + indexes;
    }
    return text;
}

std::string CTraxDBSchema::indexScript(CTraxDBPath &path) {
    const std::vector<std::string> statements = missingIndexes(path);
    return statements.empty() ? std::string() : scriptLines(path, statements, dialectOf(path));
}

void CTraxDBSchema::writeCreateScript(CTraxDBPath &path, const std::string &fileName) {
    writeScriptFile(fileName, createScript(path));
}

void CTraxDBSchema::writeUpgradeScript(CTraxDBPath &path, const std::string &fileName, int major, int minor) {
    writeScriptFile(fileName, upgradeScript(path, major, minor));
}

std::string CTraxDBSchema::joinNames(const std::vector<std::string> &names) {
    return joined(names, ", ");
}

namespace {

// The first column of a query, an integer in every part-library table.
struct FirstColumnAccessor {
    int32_t first = 0;
    void bind(ColumnMap &map) { map.column(1, first); }
};

// The columns of each table that every version of the schema has: those
// that no upgrade added.
const std::map<std::string, std::vector<std::string>> &lastingColumns() {
    static const std::map<std::string, std::vector<std::string>> columns = [] {
        std::map<std::string, std::vector<std::string>> found;
        for (const CatalogueColumn &column : COLUMN_CATALOGUE)
            if (column.addedIn == 0)
                found[std::string(column.table)].emplace_back(column.name);
        return found;
    }();
    return columns;
}

// One text column of a catalog query.
struct NameAccessor {
    char name[256] = "";
    void bind(ColumnMap &map) { map.column(1, name); }
};

} // namespace

std::vector<std::string> CTraxDBSchema::missingIndexes(CTraxDBPath &path, std::vector<std::string> *names) {
    const Dialect &dialect = dialectOf(path);
    const std::string query = dialect.indexNamesQuery();
    if (dialect.indexesForeignKeys() || query.empty())
        return {};
    std::vector<std::string> present;
    CCommand<CAccessor<NameAccessor>> command;
    path.open(command, query);
    for (HRESULT result = command.MoveFirst(); checkResult(result), result == S_OK; result = command.MoveNext())
        present.emplace_back(command.name);
    std::vector<std::string> statements;
    for (const std::string &sql : creationStatements()) {
        std::string name;
        std::string statement = ForeignKeyIndex::statementFor(sql, '[', ']', &name);
        if (statement.empty() ||
            std::any_of(present.begin(), present.end(), [&](const std::string &p) { return equalsNoCase(p, name); }))
            continue;
        statements.push_back(std::move(statement));
        if (names)
            names->push_back(name);
    }
    return statements;
}

std::vector<std::string> CTraxDBSchema::foreignTables(CTraxDBPath &path, const std::vector<std::string> &present) {
    std::vector<std::string> foreign;
    for (const std::string &table : present) {
        std::string sql;
        for (const std::string &column : lastingColumns().at(table))
            sql += (sql.empty() ? "SELECT [" : ",[") + column + "]";
        sql += " FROM [" + table + "] WHERE 1=0;";
        CCommand<CAccessor<FirstColumnAccessor>> query;
        if (FAILED(path.tryOpen(query, sql)))
            foreign.push_back(table);
    }
    // A refused query is the answer here, not a failure to report.
    CDBErrorInfo::clear();
    return foreign;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
