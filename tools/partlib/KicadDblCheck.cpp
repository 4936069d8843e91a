#include "tools/partlib/KicadDblCheck.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "tools/kicad/KicadSymbols.h"
#include "tools/partlib/KicadDbl.h"
#include "tools/partlib/OdbcClient.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/Signals.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace partlib {

namespace {

namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

std::string shown(const std::optional<std::string> &value) {
    return value ? "\"" + printable(*value) + "\"" : "NULL";
}

bool fixedWidthText(const OdbcColumn &column) {
    const bool text = column.type == SQL_CHAR || column.type == SQL_VARCHAR || column.type == SQL_WCHAR ||
                      column.type == SQL_WVARCHAR;
    // Drivers give a text without a declared width the largest they allow.
    return text && column.size > 0 && column.size < 65536;
}

std::vector<std::string> split(const std::string &text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

// A symbol reference of a row, to be looked up once the symbol libraries
// are read.
struct SymbolUse {
    std::string library, name, key, table;
};

class Checker {
public:
    Checker(const DblFile &file, std::ostream &out)
        : file(file), out(out), odbc(file.connectionString, file.dsn, file.username, file.password) {
        for (const std::string &table : odbc.tables())
            tables.insert(table);
    }

    void checkLibrary(const DblLibrary &library) {
        const size_t before = result.problems.size();
        const size_t parts = listAndFetch(library);
        checkAttributes(library);
        out << "Library " << printable(library.name) << " (table " << printable(library.table) << "): " << parts
            << " parts\n";
        showSince(before);
    }

    // The part-library views in the database that the file does not name.
    void checkUnnamedViews() {
        const size_t before = result.problems.size();
        for (const std::string &table : tables) {
            if (table.rfind(KICAD_VIEW_PREFIX, 0) != 0)
                continue;
            if (std::none_of(file.libraries.begin(), file.libraries.end(),
                             [&](const DblLibrary &library) { return library.table == table; }))
                problem("the database has the view " + printable(table) +
                        " of a library that the file does not name: the file is stale");
        }
        showSince(before);
    }

    void checkSymbols(const std::string &folder) {
        std::map<std::string, std::vector<const SymbolUse *>> byLibrary;
        for (const SymbolUse &use : uses)
            byLibrary[use.library].push_back(&use);
        std::vector<std::string> paths, names;
        const size_t before = result.problems.size();
        for (const auto &entry : byLibrary) {
            const std::string path = (std::filesystem::path(folder) / (entry.first + ".kicad_sym")).string();
            std::error_code error;
            if (std::filesystem::is_regular_file(path, error)) {
                paths.push_back(path);
                names.push_back(entry.first);
            } else {
                problem("no symbol library " + printable(entry.first) + " in " + printable(folder) + " (" +
                        std::to_string(entry.second.size()) + " parts use it, the first " +
                        printable(entry.second.front()->key) + ")");
            }
        }
        const std::vector<kicad::SymbolLibrary> read =
            kicad::readSymbolLibraries(paths, 0, [] { return caughtSignal() != 0; });
        throwIfCancelled();
        for (size_t i = 0; i < read.size(); ++i) {
            std::set<std::string_view> symbols;
            for (const kicad::Symbol &symbol : read[i].symbols)
                symbols.insert(symbol.name);
            for (const SymbolUse *use : byLibrary[names[i]]) {
                if (symbols.count(use->name))
                    ++result.symbolsFound;
                else
                    problem("part " + printable(use->key) + " of table " + printable(use->table) + ": no symbol " +
                            printable(use->name) + " in " + printable(paths[i]));
            }
        }
        showSince(before);
    }

    DblCheckResult result;

private:
    void problem(const std::string &text) { result.problems.push_back(text); }

    void showSince(size_t before) {
        const size_t count = result.problems.size() - before;
        for (size_t i = before; i < result.problems.size() && i < before + MAX_SHOWN; ++i)
            out << "  " << result.problems[i] << "\n";
        if (count > MAX_SHOWN)
            out << "  ... and " << count - MAX_SHOWN << " more\n";
    }

    // The table listed whole, as KiCad's chooser lists it, and each row
    // fetched by its key, as KiCad fetches a part it places. Returns the
    // number of rows.
    size_t listAndFetch(const DblLibrary &library) {
        if (!tables.count(library.table)) {
            problem("the database has no table or view " + printable(library.table) + ": the file is stale");
            return 0;
        }
        OdbcQuery listing(odbc, "SELECT * FROM " + odbc.quoted(library.table));
        const OdbcResult all = listing.run();
        std::map<std::string, size_t> index;
        for (size_t i = 0; i < all.columns.size(); ++i)
            index[all.columns[i].name] = i;
        for (const std::string &column : DblFile::namedColumns(library)) {
            const auto found = index.find(column);
            if (found == index.end()) {
                problem("table " + printable(library.table) + " has no column " + printable(column) +
                        ": the file is stale");
            } else if (!fixedWidthText(all.columns[found->second])) {
                problem("column " + printable(column) + " of " + printable(library.table) +
                        " is not typed as text of a fixed width by the driver (SQL type " +
                        std::to_string(all.columns[found->second].type) + ", size " +
                        std::to_string(all.columns[found->second].size) + ")");
            }
        }
        if (!index.count(library.key) || !index.count(library.symbols))
            return all.rows.size();
        const size_t key = index.at(library.key), symbol = index.at(library.symbols);
        const size_t footprint = index.count(library.footprints) ? index.at(library.footprints) : all.columns.size();
        OdbcQuery byKey(odbc,
                        "SELECT * FROM " + odbc.quoted(library.table) + " WHERE " + odbc.quoted(library.key) + " = ?");
        std::set<std::string> keys;
        for (const OdbcRow &row : all.rows) {
            throwIfCancelled();
            result.parts += 1;
            if (!row[key] || row[key]->empty()) {
                problem("a part of table " + printable(library.table) + " has an empty key (" + shown(row[key]) + ")");
                continue;
            }
            const std::string &name = *row[key];
            if (!keys.insert(name).second) {
                problem("the key " + shown(row[key]) + " is repeated in table " + printable(library.table));
                continue;
            }
            const OdbcResult fetched = byKey.run({name});
            if (fetched.rows.size() != 1 || fetched.rows[0] != row)
                problem("fetching the key " + shown(row[key]) + " from " + printable(library.table) + " gives " +
                        (fetched.rows.size() == 1 ? std::string("another row than the listing")
                                                  : std::to_string(fetched.rows.size()) + " rows"));
            checkReferences(library, row, key, symbol, footprint);
        }
        return all.rows.size();
    }

    void checkReferences(const DblLibrary &library, const OdbcRow &row, size_t key, size_t symbol, size_t footprint) {
        const std::string part = printable(*row[key]);
        const std::optional<std::string> &reference = row[symbol];
        if (!reference || !wellFormedReference(*reference)) {
            problem("part " + part + " of " + printable(library.table) + ": the symbol " + shown(reference) +
                    " is not Library:Name");
        } else {
            const size_t colon = reference->find(':');
            uses.push_back({reference->substr(0, colon), reference->substr(colon + 1), *row[key], library.table});
        }
        if (footprint < row.size() && row[footprint] && !row[footprint]->empty())
            for (const std::string &one : split(*row[footprint], ';'))
                if (!wellFormedReference(one))
                    problem("part " + part + " of " + printable(library.table) + ": the footprint " +
                            shown(row[footprint]) + " is not Library:Name (alternatives joined by ';')");
    }

    // The attribute names of the library's definitions that would get a
    // column of their own and have no field in the file: added since the
    // file was made.
    void checkAttributes(const DblLibrary &library) {
        if (!tables.count("Library") || !tables.count("Attributes") || !tables.count("Part_Definition"))
            return; // not a part-library database: only what KiCad sees is checked
        OdbcQuery known(odbc, "SELECT " + odbc.quoted("ID") + " FROM " + odbc.quoted("Library") + " WHERE " +
                                  odbc.quoted("Name") + " = ?");
        if (known.run({library.name}).rows.empty()) {
            problem("the database has no library " + printable(library.name) +
                    " (renamed or removed): the file is stale");
            return;
        }
        OdbcQuery names(odbc, "SELECT DISTINCT a." + odbc.quoted("Name") + " FROM " + odbc.quoted("Attributes") +
                                  " a JOIN " + odbc.quoted("Part_Definition") + " d ON d." + odbc.quoted("ID") +
                                  " = a." + odbc.quoted("Part_def_ID") + " JOIN " + odbc.quoted("Library") +
                                  " l ON l." + odbc.quoted("ID") + " = d." + odbc.quoted("Library_ID") + " WHERE l." +
                                  odbc.quoted("Name") + " = ?");
        std::set<std::string> covered;
        for (const DblField &field : library.fields)
            covered.insert(field.name);
        for (const auto &property : library.properties)
            covered.insert(property.first == "footprint_filters" ? "ki_fp_filters" : property.first);
        for (const OdbcRow &row : names.run({library.name}).rows)
            if (row[0] && getsOwnColumn(*row[0]) && !covered.count(*row[0]))
                problem("the attribute " + printable(*row[0]) + " of library " + printable(library.name) +
                        " has no field in the file: the file is stale");
    }

    const DblFile &file;
    std::ostream &out;
    OdbcClient odbc;
    std::set<std::string> tables;
    std::vector<SymbolUse> uses;
};

} // namespace

bool wellFormedReference(const std::string &reference) {
    const size_t colon = reference.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == reference.size() ||
        reference.find(':', colon + 1) != std::string::npos)
        return false;
    if (std::any_of(reference.begin(), reference.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; }))
        return false;
    return DBIMPL::trimmed(reference) == reference;
}

DblCheckResult checkDblFile(const DblFile &file, const std::string &symbolFolder, std::ostream &out) {
    Checker checker(file, out);
    for (const DblLibrary &library : file.libraries)
        checker.checkLibrary(library);
    checker.checkUnnamedViews();
    checker.checkSymbols(symbolFolder);
    return checker.result;
}

} // namespace partlib
