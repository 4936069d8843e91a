#include "ctraxdbpartlib/connection/AccessProvider.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/AccessFile.h"
#include "ctraxdbpartlib/connection/AccessLoader.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/SQLiteProvider.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

bool startsWithNoCase(const std::string &text, const std::string &start) {
    return text.size() >= start.size() && equalsNoCase(text.substr(0, start.size()), start);
}

bool endsWithNoCase(const std::string &text, const std::string &end) {
    return text.size() > end.size() && equalsNoCase(text.substr(text.size() - end.size()), end);
}

// Statements that only read: the readers' SELECTs.
bool onlyReads(const std::string &sql) {
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    return !tokens.empty() && tokens.front().is("SELECT");
}

// The Access file's tables in an in-memory SQLite database, served as they
// are for reading; every change is refused.
class AccessConnection : public ProviderConnection {
public:
    AccessConnection(std::unique_ptr<ProviderConnection> memory, std::string file, int major, int minor)
        : memory(std::move(memory)), file(std::move(file)), major(major), minor(minor) {}

    HRESULT execute(const std::string &) override { return refuseWrite(); }
    HRESULT prepare(const std::string &sql, std::unique_ptr<ProviderStatement> &statement) override {
        if (!onlyReads(sql))
            return refuseWrite();
        return memory->prepare(sql, statement);
    }

    HRESULT begin() override { return memory->begin(); }
    HRESULT beginWrite() override { return refuseWrite(); }
    HRESULT commit() override { return memory->commit(); }
    HRESULT rollback() override { return memory->rollback(); }
    bool inTransaction() const override { return memory->inTransaction(); }

    HRESULT tables(std::vector<std::string> &names) override { return memory->tables(names); }
    // The file is the one catalog, as for a SQLite file.
    HRESULT catalogs(std::vector<std::string> &names) override {
        names.assign(1, file);
        return S_OK;
    }
    HRESULT primaryKey(const std::string &table, std::vector<std::string> &columns) override {
        return memory->primaryKey(table, columns);
    }

    HRESULT property(DBPropSet set, DBPROPID id, DBVariant &value) override {
        if (set == DBPropSet::DATASOURCEINFO && id == DBPROP_DATASOURCENAME) {
            value = DBVariant::fromString(file);
            return S_OK;
        }
        if (set == DBPropSet::DATASOURCEINFO && id == DBPROP_DATASOURCEREADONLY) {
            value = DBVariant::fromBool(true);
            return S_OK;
        }
        return DB_E_NOTSUPPORTED;
    }
    const Dialect &dialect() const override { return memory->dialect(); }

    bool storedVersion(int &storedMajor, int &storedMinor) const override {
        storedMajor = major;
        storedMinor = minor;
        return true;
    }

private:
    HRESULT refuseWrite() const {
        CDBErrorInfo::add(accessWriteRefusal(file));
        return E_FAIL;
    }

    std::unique_ptr<ProviderConnection> memory;
    std::string file;
    int major, minor;
};

} // namespace

bool isAccessProvider(const std::string &provider) {
    return startsWithNoCase(provider, "Microsoft.Jet.OLEDB.") || startsWithNoCase(provider, "Microsoft.ACE.OLEDB.");
}

std::string accessProviderFor(const std::string &fileName) {
    if (endsWithNoCase(fileName, ".accdb"))
        return "Microsoft.ACE.OLEDB.12.0";
    if (endsWithNoCase(fileName, ".mdb"))
        return "Microsoft.Jet.OLEDB.4.0";
    return std::string();
}

std::string accessWriteRefusal(const std::string &fileName) {
    return "The Access file " + fileName +
           " is only read, never written: copy the library into a SQLite file or a server database and work on it "
           "there";
}

HRESULT openAccessProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection) {
    const std::string file = init.get("Data Source");
    if (file.empty()) {
        CDBErrorInfo::add("The initialisation string names no Data Source (the Access file)");
        return E_INVALIDARG;
    }
    std::string error;
    std::unique_ptr<AccessFile> access = AccessFile::open(file, error);
    if (!access) {
        CDBErrorInfo::add(error);
        return E_FAIL;
    }
    std::unique_ptr<ProviderConnection> memory;
    HRESULT result = openSQLiteProvider(InitString{{{"Data Source", ":memory:"}}}, memory);
    if (FAILED(result))
        return result;
    int major = 0, minor = 0;
    if (FAILED(result = AccessLoader(*access, *memory, file).load(major, minor)))
        return result;
    connection.reset(new AccessConnection(std::move(memory), file, major, minor));
    return S_OK;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
