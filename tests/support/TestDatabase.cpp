#include "tests/support/TestDatabase.h"

#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"
#include "ctraxdbpartlib/connection/CTables.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace txdbtest {

namespace {

const char *serverString() {
    const char *text = std::getenv("TXDB_MARIADB_INITSTRING");
    return text && *text ? text : nullptr;
}

void require(HRESULT result, const char *what);

// Runs statements on the database the string names.
void runOn(const std::string &init, const std::vector<std::string> &statements) {
    CDataSource dataSource;
    CSession session;
    require(dataSource.OpenFromInitializationString(init), "open");
    require(session.Open(dataSource), "session");
    CCommand<CNoAccessor> command;
    for (const std::string &sql : statements)
        require(command.Open(session, sql), sql.c_str());
}

// A database of this test program's own on the test server, so that test
// programs running side by side never share tables; dropped at exit.
struct PrivateDatabase {
    std::string server;
    std::string init;
    std::string name;
    PrivateDatabase(const char *serverInit, const std::string &suffix) : server(serverInit) {
        InitString parsed;
        require(InitString::parse(server, parsed), "parse TXDB_MARIADB_INITSTRING");
        name = parsed.get("Initial Catalog") + "_p" + std::to_string(getpid()) + suffix;
        runOn(server, {"CREATE DATABASE IF NOT EXISTS `" + name + "` CHARACTER SET utf8mb4"});
        for (auto &pair : parsed.pairs)
            if (pair.first == "Initial Catalog")
                pair.second = name;
        init = parsed.toString(true);
    }
    ~PrivateDatabase() {
        try {
            runOn(server, {"DROP DATABASE IF EXISTS `" + name + "`"});
        } catch (const std::exception &) {
            // The server may be gone already; the script removes its data.
        }
    }
};

const char *mariaDbString() {
    if (!serverString())
        return nullptr;
    static PrivateDatabase database(serverString(), "");
    return database.init.c_str();
}

struct TempDirectory {
    std::string path;
    TempDirectory() {
        char pattern[] = "/tmp/txdb-test-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("cannot create a temporary directory");
        path = pattern;
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

void require(HRESULT result, const char *what) {
    if (FAILED(result))
        throw std::runtime_error(std::string("cannot empty the MariaDB test database: ") + what);
}

// Drops every table of the database the string names.
void emptyDatabase(const std::string &init) {
    CDataSource dataSource;
    CSession session;
    require(dataSource.OpenFromInitializationString(init), "open");
    require(session.Open(dataSource), "session");
    CTables tables;
    require(tables.Open(session), "tables");
    std::vector<std::string> names;
    for (HRESULT result = tables.MoveFirst(); result == S_OK; result = tables.MoveNext())
        names.push_back(tables.m_szName);
    CCommand<CNoAccessor> command;
    require(command.Open(session, "SET FOREIGN_KEY_CHECKS=0"), "foreign key checks off");
    for (const std::string &name : names)
        require(command.Open(session, "DROP TABLE `" + name + "`"), name.c_str());
    require(command.Open(session, "SET FOREIGN_KEY_CHECKS=1"), "foreign key checks on");
}

} // namespace

std::vector<std::string> testEngines() {
    std::vector<std::string> engines{"SQLite"};
    if (serverString())
        engines.push_back("MariaDB");
    return engines;
}

std::string mariaDbInitString() {
    const char *init = mariaDbString();
    return init ? init : "";
}

std::string tempDirectory() {
    static TempDirectory directory;
    return directory.path;
}

std::string tempFile(const std::string &suffix) {
    static int counter = 0;
    return tempDirectory() + "/file" + std::to_string(++counter) + suffix;
}

std::string freshDatabase(const std::string &engine) {
    if (engine == "SQLite")
        return "Provider=SQLite;Data Source=" + tempFile(".db");
    if (engine == "MariaDB" && mariaDbString()) {
        emptyDatabase(mariaDbString());
        return mariaDbString();
    }
    throw std::invalid_argument("no test database for engine " + engine);
}

std::string otherDatabase(const std::string &engine) {
    if (engine == "SQLite")
        return freshDatabase(engine);
    if (engine == "MariaDB" && serverString()) {
        static std::vector<std::unique_ptr<PrivateDatabase>> others;
        others.push_back(std::make_unique<PrivateDatabase>(serverString(), "_" + std::to_string(others.size() + 1)));
        return others.back()->init;
    }
    throw std::invalid_argument("no test database for engine " + engine);
}

} // namespace txdbtest
