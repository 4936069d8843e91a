#pragma once

// Fresh, empty databases for tests, one call each.
//
//   for (const std::string &engine : testEngines()) {
//       std::string init = freshDatabase(engine); // an initialisation string
//       ...open it with CDataSource::OpenFromInitializationString(init)
//   }
//
// "SQLite" is always offered: a new file in a temporary directory that is
// removed when the test program ends. "MariaDB" and "PostgreSQL" are offered
// when the environment variables TXDB_MARIADB_INITSTRING and
// TXDB_POSTGRES_INITSTRING hold an initialisation string of a test server
// (scripts/mariadb-server.sh and scripts/postgres-server.sh print one): a
// database of the test program's own next to the one the string names,
// created on first use and dropped at exit, with every table dropped
// before the string is handed back.

#include <string>
#include <vector>

namespace txdbtest {

// The engines to run engine-independent tests on.
std::vector<std::string> testEngines();

// A fresh empty database of the engine that is not the one freshDatabase
// hands out: on a server a further database of the test program's own (each
// call a new one, dropped when the tests end), so that two databases can be
// open at once.
std::string otherDatabase(const std::string &engine);

// A fresh empty database of the engine; its initialisation string.
std::string freshDatabase(const std::string &engine);

// The temporary directory of this test program (created on first use).
std::string tempDirectory();

// A new file name in the temporary directory (the file is not created).
std::string tempFile(const std::string &suffix = ".db");

} // namespace txdbtest
