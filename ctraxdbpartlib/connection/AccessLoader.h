#pragma once

#include "ctraxdbpartlib/connection/AccessFile.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Reads the part-library tables of an Access file into an empty SQLite
// database, which then holds them at the current schema version. A file of
// version 1.0 or 1.1 gets its tables made as that version had them, its
// rows as they are, and then the schema's own upgrade statements run there:
// what an upgrade of the file would give, while the file is only read.
class AccessLoader {
public:
    AccessLoader(AccessFile &file, ProviderConnection &target, std::string fileName);

    // Fills the database in one transaction; the version the file holds in
    // `major` and `minor`. A failure leaves one error record that names the
    // file and what in it cannot be read as a part library.
    HRESULT load(int &major, int &minor);

    // The creation statements of the schema as version major.minor (1.0,
    // 1.1 or 1.2) had them.
    static std::vector<std::string> creationStatements(int major, int minor);

private:
    // The creation statements as SQLite holds them once run (constraints in
    // the tables, unique indexes): made once per process and version in a
    // scratch database, so that a load runs no table rebuilds.
    static HRESULT nativeSchema(int major, int minor, std::vector<std::string> &statements);
    HRESULT refuse(const std::string &text);
    // Turns the failure of a statement on the database into a refusal
    // naming the table of the file being read.
    HRESULT refuseStatement(HRESULT result, const std::string &table);
    HRESULT findTables();
    HRESULT readVersion(int &major, int &minor);
    HRESULT copyTable(const std::string &table);
    HRESULT run(const std::vector<std::string> &statements, const std::string &table);

    AccessFile &file;
    ProviderConnection &target;
    std::string fileName;
    // The file's spelling of each part-library table, by the schema's name.
    std::vector<std::pair<std::string, std::string>> tables;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
