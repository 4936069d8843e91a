#pragma once

// The raw tables of a part-library SQLite file with every key replaced by
// what it stands for, so that two databases written with other IDs compare
// equal when they hold the same library data:
//
//   EXPECT_EQ(txdbtest::naturalTables(copy), txdbtest::naturalTables(original));
//
// A row names its library by name, its part definition by name, a folder by
// its path, and a pin, gate, swap group, swap gate, equivalence group or
// link row by its library, definition and its place among its siblings in
// ID order (the order the readers deliver). Every column value is written
// as SQLite's quote() gives it, so NULL, '' and every byte are told apart.

#include <map>
#include <string>
#include <vector>

namespace txdbtest {

// Table name -> its rows, sorted.
using NaturalTables = std::map<std::string, std::vector<std::string>>;

NaturalTables naturalTables(const std::string &sqliteFile);

// Runs SQL statements on a SQLite file, expecting them to succeed.
void runSql(const std::string &sqliteFile, const std::string &sql);

// The raw tables of a database of any engine, read from a SQLite copy of it
// that partlib makes (expected to succeed).
NaturalTables naturalTablesOf(const std::string &database);

// A new target for partlib on the engine: a SQLite file name (the file is not
// created), or a fresh server database.
std::string newTarget(const std::string &engine);

// A new part-library SQLite file with the rows that `sql` inserts.
std::string partLibraryWith(const std::string &sql);

// Copies `first` with partlib to every server the test run offers and back
// into a new SQLite file, expecting each copy to succeed without a word on
// standard error; the tables of that last file (none when a copy failed).
NaturalTables copiedThroughEveryEngine(const std::string &first);

} // namespace txdbtest
