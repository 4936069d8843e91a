#include "ctraxdbpartlib/connection/AccessLoader.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/SQLiteProvider.h"

#include <algorithm>
#include <map>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

const char *const VERSION_TABLE = "Library_version";

void replaceAll(std::string &text, const std::string &from, const std::string &to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string versionText(int major, int minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

// The place of `name` among `names`, compared without regard to case; -1
// when it is not there.
int indexOf(const std::vector<std::string> &names, const std::string &name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (equalsNoCase(names[i], name))
            return static_cast<int>(i);
    return -1;
}

// The loading transaction: rolled back unless it was committed.
class LoadTransaction {
public:
    explicit LoadTransaction(ProviderConnection &connection) : connection(connection) {}
    ~LoadTransaction() {
        if (connection.inTransaction())
            connection.rollback();
    }
    LoadTransaction(const LoadTransaction &) = delete;
    LoadTransaction &operator=(const LoadTransaction &) = delete;

private:
    ProviderConnection &connection;
};

} // namespace

AccessLoader::AccessLoader(AccessFile &file, ProviderConnection &target, std::string fileName)
    : file(file), target(target), fileName(std::move(fileName)) {}

std::vector<std::string> AccessLoader::creationStatements(int major, int minor) {
    std::vector<std::string> statements = CTraxDBSchema::creationStatements();
    // Before 1.2 a pin was named by Pin_number, before 1.1 parts had no type.
    for (std::string &statement : statements) {
        if (major == 1 && minor < 2)
            replaceAll(statement, "[Pin_identifier]", "[Pin_number]");
        if (major == 1 && minor < 1)
            replaceAll(statement, ", [Part_Type] INTEGER", "");
    }
    return statements;
}

HRESULT AccessLoader::nativeSchema(int major, int minor, std::vector<std::string> &statements) {
    static std::map<std::pair<int, int>, std::vector<std::string>> made;
    const auto known = made.find({major, minor});
    if (known != made.end()) {
        statements = known->second;
        return S_OK;
    }
    std::unique_ptr<ProviderConnection> scratch;
    HRESULT result = openSQLiteProvider(InitString{{{"Data Source", ":memory:"}}}, scratch);
    for (const std::string &statement : creationStatements(major, minor))
        if (SUCCEEDED(result))
            result = scratch->execute(statement);
    std::unique_ptr<ProviderStatement> query;
    if (FAILED(result) ||
        FAILED(result = scratch->prepare(
                   "SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY type='index', rowid;", query)) ||
        FAILED(result = query->execute({})))
        return result;
    statements.clear();
    while ((result = query->fetch()) == S_OK) {
        size_t length = 0;
        const char *text = query->getText(1, length);
        statements.emplace_back(text, length);
    }
    if (FAILED(result))
        return result;
    made[{major, minor}] = statements;
    return S_OK;
}

HRESULT AccessLoader::refuse(const std::string &text) {
    CDBErrorInfo::clear();
    CDBErrorInfo::add(text);
    return E_FAIL;
}

HRESULT AccessLoader::refuseStatement(HRESULT result, const std::string &table) {
    const std::string cause = joined(CDBErrorInfo::records(), "; ");
    CDBErrorInfo::clear();
    CDBErrorInfo::add("The Access file " + fileName + " cannot be read as a part library: its table " + table +
                      " does not fit the part-library schema (" + cause + ")");
    return FAILED(result) ? result : E_FAIL;
}

HRESULT AccessLoader::findTables() {
    const std::vector<std::string> &present = file.tableNames();
    std::vector<std::string> missing;
    tables.clear();
    for (const std::string &table : CTraxDBSchema::tableNames()) {
        const int at = indexOf(present, table);
        if (at < 0)
            missing.push_back(table);
        else
            tables.emplace_back(table, present[static_cast<size_t>(at)]);
    }
    if (tables.empty())
        return refuse("The Access file " + fileName +
                      " holds no part library: it has none of the part-library tables (" +
                      CTraxDBSchema::joinNames(CTraxDBSchema::tableNames()) + ")");
    if (!missing.empty())
        return refuse("The Access file " + fileName + " holds an incomplete part library: the tables " +
                      CTraxDBSchema::joinNames(missing) + " are missing");
    return S_OK;
}

HRESULT AccessLoader::readVersion(int &major, int &minor) {
    int majorColumn = -1, minorColumn = -1;
    bool found = false;
    std::string error;
    const bool read = file.readTable(
        tables.front().second,
        [&](const std::vector<std::string> &columns) {
            majorColumn = indexOf(columns, "Major");
            minorColumn = indexOf(columns, "Minor");
            return majorColumn >= 0 && minorColumn >= 0;
        },
        [&](const AccessFile::Row &row) {
            int64_t majorValue = 0, minorValue = 0;
            const AccessFile::Value &majorText = row[static_cast<size_t>(majorColumn)];
            const AccessFile::Value &minorText = row[static_cast<size_t>(minorColumn)];
            found = majorText && minorText && wholeNumber(majorText->data(), majorText->size(), majorValue) &&
                    wholeNumber(minorText->data(), minorText->size(), minorValue) && majorValue >= 0 &&
                    majorValue < 1000 && minorValue >= 0 && minorValue < 1000;
            major = static_cast<int>(majorValue);
            minor = static_cast<int>(minorValue);
            return false; // the first row is the version
        },
        error);
    if (read || !error.empty() || !found)
        return refuse(!error.empty() ? error
                                     : "The Access file " + fileName +
                                           " holds no schema version: its table Library_version has no row with a "
                                           "Major and a Minor number");
    const bool known = major == CTraxDBSchema::CURRENT_MAJOR && minor <= CTraxDBSchema::CURRENT_MINOR;
    if (!known)
        return refuse("The Access file " + fileName + " holds a part library of schema version " +
                      versionText(major, minor) + "; versions 1.0 to " +
                      versionText(CTraxDBSchema::CURRENT_MAJOR, CTraxDBSchema::CURRENT_MINOR) + " are read");
    return S_OK;
}

HRESULT AccessLoader::run(const std::vector<std::string> &statements, const std::string &table) {
    for (const std::string &statement : statements) {
        HRESULT result = target.execute(statement);
        if (FAILED(result))
            return refuseStatement(result, table);
    }
    return S_OK;
}

HRESULT AccessLoader::copyTable(const std::string &table) {
    const auto spelt =
        std::find_if(tables.begin(), tables.end(), [&](const auto &entry) { return entry.first == table; });
    std::unique_ptr<ProviderStatement> insert;
    std::vector<std::string> targetColumns;
    {
        std::unique_ptr<ProviderStatement> shape;
        HRESULT result = target.prepare("SELECT * FROM [" + table + "] LIMIT 0;", shape);
        if (FAILED(result))
            return refuseStatement(result, table);
        for (int i = 1; i <= shape->columnCount(); ++i)
            targetColumns.push_back(shape->columnName(i));
    }
    // For each column of the database, where the file's row holds it.
    std::vector<size_t> source;
    std::vector<DBParam> params(targetColumns.size());
    HRESULT result = S_OK;
    std::string error;
    const bool read = file.readTable(
        spelt->second,
        [&](const std::vector<std::string> &columns) {
            std::string names, markers;
            for (const std::string &column : targetColumns) {
                const int at = indexOf(columns, column);
                if (at < 0) {
                    error = "The Access file " + fileName + " cannot be read as a part library: its table " + table +
                            " has no column " + column;
                    return false;
                }
                source.push_back(static_cast<size_t>(at));
                names += (names.empty() ? "[" : ",[") + column + "]";
                markers += markers.empty() ? "?" : ",?";
            }
            result = target.prepare("INSERT INTO [" + table + "] (" + names + ") VALUES (" + markers + ");", insert);
            return SUCCEEDED(result);
        },
        [&](const AccessFile::Row &row) {
            for (size_t i = 0; i < source.size(); ++i) {
                const AccessFile::Value &value = row[source[i]];
                params[i] = value ? DBParam::fromText(*value) : DBParam();
            }
            result = insert->execute(params);
            return SUCCEEDED(result);
        },
        error);
    if (read)
        return S_OK;
    if (!error.empty())
        return refuse(error);
    return refuseStatement(result, table);
}

HRESULT AccessLoader::load(int &major, int &minor) {
    HRESULT result = findTables();
    if (FAILED(result) || FAILED(result = readVersion(major, minor)))
        return result;
    LoadTransaction transaction(target);
    if (FAILED(result = target.begin()) || FAILED(result = target.execute("PRAGMA defer_foreign_keys=ON;")))
        return result;
    std::vector<std::string> schema;
    if (FAILED(result = nativeSchema(major, minor, schema)))
        return result;
    if (FAILED(result = run(schema, VERSION_TABLE)) ||
        FAILED(result = run({"INSERT INTO [Library_version] ([Major],[Minor]) VALUES (" + std::to_string(major) + "," +
                             std::to_string(minor) + ");"},
                            VERSION_TABLE)))
        return result;
    for (const std::string &table : CTraxDBSchema::tableNames())
        if (table != VERSION_TABLE && FAILED(result = copyTable(table)))
            return result;
    if (minor < 1 && FAILED(result = run(CTraxDBSchema::upgrade10To11Statements(), "Parts")))
        return result;
    if (minor < 2 && FAILED(result = run(CTraxDBSchema::upgrade11To12Statements(), "Pin_Data")))
        return result;
    result = target.commit();
    if (FAILED(result)) {
        const std::string cause = joined(CDBErrorInfo::records(), "; ");
        return refuse("The Access file " + fileName +
                      " cannot be read as a part library: its rows do not hold together (" + cause + ")");
    }
    return S_OK;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
