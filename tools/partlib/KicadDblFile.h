#pragma once

// A .kicad_dbl file as KiCad reads it: the ODBC source and, per library,
// its table, key, symbol and footprint columns and the columns of its
// fields and properties. Malformed files are refused with a message that
// names the file and the entry (libraries[2].table: "must be a text").

#include <map>
#include <string>
#include <vector>

namespace partlib {

struct DblField {
    std::string column, name;
};

struct DblLibrary {
    std::string name, table, key, symbols, footprints;
    std::vector<DblField> fields;
    std::map<std::string, std::string> properties; // "description" -> its column
};

struct DblFile {
    std::string path, name;
    std::string dsn, username, password, connectionString; // ${CWD} expanded
    std::vector<DblLibrary> libraries;

    // The columns the file names for a library: key, symbols, footprints,
    // the fields' and the properties' columns, each once.
    static std::vector<std::string> namedColumns(const DblLibrary &library);
};

// Reads and checks the file; ${CWD} in the connection string is the folder
// the file is in, as KiCad has it.
DblFile readDblFile(const std::string &path);
DblFile parseDblFile(const std::string &text, const std::string &path);

} // namespace partlib
