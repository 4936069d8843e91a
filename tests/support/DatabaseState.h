#pragma once

// The state of a database that a refused or interrupted write must not
// change: on a SQLite file its bytes, on MariaDB every table's CHECKSUM
// TABLE, on PostgreSQL every table's rows as the export and the row counts
// show them.
//
//   const std::string before = txdbtest::databaseState(engine, database);
//   ... a write that must be refused ...
//   EXPECT_TRUE(txdbtest::databaseState(engine, database) == before);

#include <string>

namespace txdbtest {

std::string databaseState(const std::string &engine, const std::string &database);

} // namespace txdbtest
