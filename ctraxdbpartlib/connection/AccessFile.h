#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// An Access file (Jet .mdb, ACE .accdb) opened read-only through mdbtools'
// libmdb: its tables and their rows, every value as text. libmdb never
// opens the file for writing here. What libmdb prints about a damaged file
// is kept out of the terminal and ends up in the error text.
class AccessFile {
public:
    // One column value: NULL, or its text (numbers in decimal, Yes/No as 1
    // or 0, texts in UTF-8).
    using Value = std::optional<std::string>;
    using Row = std::vector<Value>;

    // Opens `path`; on failure a null pointer, and `error` says why: the
    // file is missing or unreadable, is no Access file, or its catalog of
    // tables cannot be read (a damaged or cut file).
    static std::unique_ptr<AccessFile> open(const std::string &path, std::string &error);
    ~AccessFile();
    AccessFile(const AccessFile &) = delete;
    AccessFile &operator=(const AccessFile &) = delete;

    // The file's own tables (no system tables), in catalog order.
    const std::vector<std::string> &tableNames() const { return tables; }

    // Reads the table `name` (as tableNames spells it): its column names to
    // `onColumns`, then every row in stored order to `onRow`. Returns false
    // when a callback answers false, or with `error` set when the table
    // cannot be read whole.
    bool readTable(const std::string &name, const std::function<bool(const std::vector<std::string> &)> &onColumns,
                   const std::function<bool(const Row &)> &onRow, std::string &error);

private:
    struct Handle;
    AccessFile(std::unique_ptr<Handle> handle, std::vector<std::string> tables);

    std::unique_ptr<Handle> handle;
    std::vector<std::string> tables;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
