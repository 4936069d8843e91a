#pragma once

// Fresh, empty databases for tests, one call each.
//
//   for (const std::string &engine : testEngines()) {
//       std::string init = freshDatabase(engine); // an initialisation string
//       ...open it with CDataSource::OpenFromInitializationString(init)
//   }
//
// "SQLite" is always offered: a new file in a temporary directory that is
// removed when the test program ends. "MariaDB" is offered when the
// environment variable TXDB_MARIADB_INITSTRING holds an initialisation
// string (scripts/mariadb-server.sh prints one): a database of the test
// program's own next to the one the string names, with every table
// dropped before the string is handed back.

#include <string>
#include <vector>

namespace txdbtest {

// The engines to run engine-independent tests on.
std::vector<std::string> testEngines();

// A fresh empty database of the engine; its initialisation string.
std::string freshDatabase(const std::string &engine);

// A fresh empty database of the engine that is not the one freshDatabase
// hands out: on a server a further database of the test program's own (each
// call a new one, dropped at exit), so that two databases can be open at once.
std::string otherDatabase(const std::string &engine);

// The initialisation string of this test program's own MariaDB database
// (created on first use, dropped at exit); empty without a test server.
std::string mariaDbInitString();

// The temporary directory of this test program (created on first use).
std::string tempDirectory();

// A new file name in the temporary directory (the file is not created).
std::string tempFile(const std::string &suffix = ".db");

} // namespace txdbtest
