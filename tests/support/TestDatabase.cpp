#include "tests/support/TestDatabase.h"

#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"
#include "ctraxdbpartlib/connection/CTables.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace txdbtest {

namespace {

// A server engine of the tests: where its test server's string comes from
// and the few statements that differ between the engines.
struct ServerEngine {
    const char *name;
    const char *variable;
    std::string (*createDatabase)(const std::string &quotedName);
    std::string (*dropDatabase)(const std::string &quotedName);
    std::vector<std::string> beforeDrop; // around dropping every table
    std::vector<std::string> afterDrop;
    const char *dropTableSuffix;
    char quote;
};

const ServerEngine serverEngines[] = {
    {"MariaDB",
     "TXDB_MARIADB_INITSTRING",
     [](const std::string &name) { return "CREATE DATABASE IF NOT EXISTS " + name + " CHARACTER SET utf8mb4"; },
     [](const std::string &name) { return "DROP DATABASE IF EXISTS " + name; },
     {"SET FOREIGN_KEY_CHECKS=0"},
     {"SET FOREIGN_KEY_CHECKS=1"},
     "",
     '`'},
    {"PostgreSQL",
     "TXDB_POSTGRES_INITSTRING",
     [](const std::string &name) { return "CREATE DATABASE " + name + " ENCODING 'UTF8'"; },
     [](const std::string &name) { return "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)"; },
     {},
     {},
     " CASCADE",
     '"'},
};

const ServerEngine *serverEngine(const std::string &name) {
    for (const ServerEngine &engine : serverEngines)
        if (name == engine.name)
            return &engine;
    return nullptr;
}

const char *serverString(const ServerEngine &engine) {
    const char *text = std::getenv(engine.variable);
    return text && *text ? text : nullptr;
}

void require(HRESULT result, const std::string &what) {
    if (FAILED(result))
        throw std::runtime_error("cannot prepare the test database: " + what);
}

std::string quoted(const ServerEngine &engine, const std::string &name) {
    return engine.quote + name + engine.quote;
}

// Runs statements on the database the string names.
void runOn(const std::string &init, const std::vector<std::string> &statements) {
    CDataSource dataSource;
    CSession session;
    require(dataSource.OpenFromInitializationString(init), "open");
    require(session.Open(dataSource), "session");
    CCommand<CNoAccessor> command;
    for (const std::string &sql : statements)
        require(command.Open(session, sql), sql);
}

// A database of this test program's own on the test server, so that test
// programs running side by side never share tables; dropped at exit.
struct PrivateDatabase {
    const ServerEngine &engine;
    std::string server;
    std::string init;
    std::string name;
    PrivateDatabase(const ServerEngine &engine, const char *serverInit, const std::string &suffix = "")
        : engine(engine), server(serverInit) {
        InitString parsed;
        require(InitString::parse(server, parsed), std::string("parse ") + engine.variable);
        name = parsed.get("Initial Catalog") + "_p" + std::to_string(getpid()) + suffix;
        // A database left by an earlier program of the same process ID goes first.
        runOn(server, {engine.dropDatabase(quoted(engine, name)), engine.createDatabase(quoted(engine, name))});
        for (auto &pair : parsed.pairs)
            if (pair.first == "Initial Catalog")
                pair.second = name;
        init = parsed.toString(true);
    }
    ~PrivateDatabase() {
        try {
            runOn(server, {engine.dropDatabase(quoted(engine, name))});
        } catch (const std::exception &) {
            // The server may be gone already; the script removes its data.
        }
    }
};

std::unique_ptr<PrivateDatabase> (&privateDatabases())[std::size(serverEngines)] {
    static std::unique_ptr<PrivateDatabase> databases[std::size(serverEngines)];
    return databases;
}

// The further databases that otherDatabase hands out.
std::vector<std::unique_ptr<PrivateDatabase>> &otherDatabases() {
    static std::vector<std::unique_ptr<PrivateDatabase>> databases;
    return databases;
}

// The databases go when the tests are over: at exit a driver's own
// libraries (libpq and its TLS) may be finished already.
struct DropPrivateDatabases : ::testing::Environment {
    void TearDown() override {
        for (auto &database : privateDatabases())
            database.reset();
        otherDatabases().clear();
    }
};
const auto *dropPrivateDatabases = ::testing::AddGlobalTestEnvironment(new DropPrivateDatabases);

// This program's own database of the engine; null without a test server.
const char *privateString(const ServerEngine &engine) {
    std::unique_ptr<PrivateDatabase> &database = privateDatabases()[&engine - serverEngines];
    if (!database && serverString(engine))
        database = std::make_unique<PrivateDatabase>(engine, serverString(engine));
    return database ? database->init.c_str() : nullptr;
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

// Drops every table of the database the string names.
void emptyDatabase(const ServerEngine &engine, const std::string &init) {
    CDataSource dataSource;
    CSession session;
    require(dataSource.OpenFromInitializationString(init), "open");
    require(session.Open(dataSource), "session");
    CTables tables;
    require(tables.Open(session), "tables");
    std::vector<std::string> statements = engine.beforeDrop;
    for (HRESULT result = tables.MoveFirst(); result == S_OK; result = tables.MoveNext())
        statements.push_back("DROP TABLE IF EXISTS " + quoted(engine, tables.m_szName) + engine.dropTableSuffix);
    statements.insert(statements.end(), engine.afterDrop.begin(), engine.afterDrop.end());
    CCommand<CNoAccessor> command;
    for (const std::string &sql : statements)
        require(command.Open(session, sql), sql);
}

} // namespace

std::vector<std::string> testEngines() {
    std::vector<std::string> engines{"SQLite"};
    for (const ServerEngine &engine : serverEngines)
        if (serverString(engine))
            engines.push_back(engine.name);
    return engines;
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
    const ServerEngine *server = serverEngine(engine);
    const char *init = server ? privateString(*server) : nullptr;
    if (!init)
        throw std::invalid_argument("no test database for engine " + engine);
    emptyDatabase(*server, init);
    return init;
}

std::string otherDatabase(const std::string &engine) {
    if (engine == "SQLite")
        return freshDatabase(engine);
    const ServerEngine *server = serverEngine(engine);
    if (!server || !serverString(*server))
        throw std::invalid_argument("no test database for engine " + engine);
    std::vector<std::unique_ptr<PrivateDatabase>> &others = otherDatabases();
    others.push_back(
        std::make_unique<PrivateDatabase>(*server, serverString(*server), "_" + std::to_string(others.size() + 1)));
    return others.back()->init;
}

} // namespace txdbtest
