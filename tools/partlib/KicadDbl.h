#pragma once

// KiCad database libraries over a part-library database: one view per
// library that KiCad reads through ODBC (a row per part, keyed by the part's
// name, with its KiCad symbol and footprint references and its fields), and
// the .kicad_dbl file that names those views and the connection.
//
//   KicadView view = kicadView(storedLibrary, libraryId);
//   path.execute(view.dropStatement()); path.execute(view.createStatement());
//   out << dblDocument({view}, source).dump(2);

#include "tools/hostmodel/HostLibrary.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace partlib {

// The definition attribute that names the KiCad symbol a part is drawn
// with, as "Library:Name" (import-kicad writes it).
extern const char *const KICAD_SYMBOL_ATTRIBUTE;

struct KicadColumn {
    std::string column;    // the view's column
    std::string field;     // the KiCad field it fills
    std::string attribute; // the definition attribute it shows; empty for a column of the tables
    bool visibleOnAdd = false;
};

struct KicadView {
    std::string library; // the library's name
    std::string view;    // the view's name, made of safe characters only
    int libraryId = 0;
    std::vector<KicadColumn> columns; // the key, symbol and footprint columns first
    std::vector<std::string> leftOut; // attribute names that got no column, with the reason
    size_t withSymbol = 0;            // definitions that name their KiCad symbol

    // In square brackets, as the plug-in's SQL is written.
    std::string dropStatement() const;
    std::string createStatement() const;
};

// The prefix of every view's name.
extern const char *const KICAD_VIEW_PREFIX;

// The columns every view has, in their order: the key, the symbol and
// footprint references and the symbol's own properties.
const std::vector<KicadColumn> &fixedKicadColumns();

// Whether an attribute of that name gets a column of its own in a view:
// not one of the fixed columns' attributes, not a pin detail of
// import-kicad, and no backslash or control character in the name.
bool getsOwnColumn(const std::string &attribute);

// The view of a library: the fixed columns and one per attribute name its
// definitions use (other than the pin details that import-kicad keeps in
// attributes), in name order.
KicadView kicadView(const hostmodel::Library &library, int libraryId);

// How KiCad connects to the database.
struct KicadSource {
    std::string dsn, username, password, connectionString;
};

// The .kicad_dbl document.
nlohmann::ordered_json dblDocument(const std::string &name, const std::vector<KicadView> &views,
                                   const KicadSource &source);

} // namespace partlib
