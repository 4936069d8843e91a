#pragma once

// Whether two names lead to one database. Commands that read one database
// and write another (export -o, upgrade --script, copy, import) refuse a
// target that is the database itself, however it is spelt.

#include <string>

namespace partlib {

// The database file a DB argument names (a path, or an initialisation
// string of the SQLite or an Access provider); empty for a server database.
std::string databaseFileOf(const std::string &database);

// True when both paths name one existing file: device and inode compared,
// so links, "./" and other spellings are seen through.
bool sameFile(const std::string &a, const std::string &b);

// True when two DB arguments name the same database: the same SQLite file,
// or the same server, port, data source and catalog.
bool sameDatabase(const std::string &a, const std::string &b);

} // namespace partlib
