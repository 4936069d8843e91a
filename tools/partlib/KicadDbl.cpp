#include "tools/partlib/KicadDbl.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <regex>
#include <set>

namespace partlib {

const char *const KICAD_SYMBOL_ATTRIBUTE = "KiCad symbol";
const char *const KICAD_VIEW_PREFIX = "partlib_kicad_";

namespace {

// Letters, digits and '_' only: a name that needs no quoting rules of any
// engine, whatever the library's name holds.
std::string safeName(const std::string &text) {
    std::string out;
    for (unsigned char c : text)
        out += std::isalnum(c) && c < 0x80 ? char(c) : '_';
    return out;
}

// The view of a library: its name when that is safe; otherwise the safe
// form and a hash of the name, so that "A-B" and "A_B" get views of their own.
std::string viewName(const std::string &library) {
    const std::string safe = safeName(library);
    if (safe == library)
        return KICAD_VIEW_PREFIX + safe;
    uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : library)
        hash = (hash ^ c) * 16777619u;
    char suffix[10];
    std::snprintf(suffix, sizeof suffix, "_%08x", hash);
    return KICAD_VIEW_PREFIX + safe + suffix;
}

std::string folded(const std::string &text) {
    std::string out;
    for (unsigned char c : text)
        out += char(std::tolower(c));
    return out;
}

// A text literal of the plug-in's SQL.
std::string literal(const std::string &text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

// The attributes import-kicad keeps a pin's or the symbol's details in:
// no field of a part.
bool isPinDetail(const std::string &name) {
    static const std::regex pin("Pin .+ (name|number|signal|conflict|alternates)");
    return name == "Hidden pins" || name == "Pin shapes" || std::regex_match(name, pin);
}

bool unsafeName(const std::string &name) {
    return name.find('\\') != std::string::npos ||
           std::any_of(name.begin(), name.end(), [](unsigned char c) { return c < 0x20; });
}

} // namespace

const std::vector<KicadColumn> &fixedKicadColumns() {
    static const std::vector<KicadColumn> columns = {{"Part", "Part", "", false},
                                                     {"Symbol", "Symbol", KICAD_SYMBOL_ATTRIBUTE, false},
                                                     {"Footprint", "Footprint", "Footprint", false},
                                                     {"Value", "Value", "", true},
                                                     {"Description", "Description", "", false},
                                                     {"Datasheet", "Datasheet", "Datasheet", false},
                                                     {"Keywords", "Keywords", "ki_keywords", false}};
    return columns;
}

bool getsOwnColumn(const std::string &attribute) {
    for (const KicadColumn &column : fixedKicadColumns())
        if (column.attribute == attribute)
            return false;
    return !isPinDetail(attribute) && !unsafeName(attribute);
}

std::string KicadView::dropStatement() const {
    return "DROP VIEW IF EXISTS [" + view + "]";
}

std::string KicadView::createStatement() const {
    std::string sql = "CREATE VIEW [" + view + "] AS SELECT ";
    for (size_t i = 0; i < columns.size(); ++i) {
        const KicadColumn &column = columns[i];
        if (i > 0)
            sql += ", ";
        if (!column.attribute.empty())
            // A subquery that selects the column itself, so that every engine
            // types the view's column as the attribute value's VARCHAR; the
            // key of definition and name makes it one row at most.
            sql += "(SELECT a.[Attribute_value] FROM [Attributes] a WHERE a.[Part_def_ID] = p.[Part_def_ID] AND "
                   "a.[Name] = " +
                   literal(column.attribute) + ")";
        else if (column.field == "Value")
            sql += "d.[Part_def_value]";
        else
            sql += "p.[" + std::string(column.field == "Description" ? "Description" : "Name") + "]";
        sql += " AS [" + column.column + "]";
    }
    return sql + " FROM [Parts] p LEFT JOIN [Part_Definition] d ON d.[ID] = p.[Part_def_ID] WHERE p.[Library_ID] = " +
           std::to_string(libraryId);
}

KicadView kicadView(const hostmodel::Library &library, int libraryId) {
    KicadView view;
    view.library = library.name;
    view.view = viewName(library.name);
    view.libraryId = libraryId;
    view.columns = fixedKicadColumns();
    std::set<std::string> taken;
    for (const KicadColumn &column : view.columns)
        taken.insert(folded(column.column));
    std::set<std::string> names;
    for (const hostmodel::PartDefinition &definition : library.definitions)
        for (const hostmodel::Attribute &attribute : definition.attributes) {
            names.insert(attribute.name);
            view.withSymbol += attribute.name == KICAD_SYMBOL_ATTRIBUTE;
        }
    for (const std::string &name : names) {
        if (!getsOwnColumn(name)) {
            if (unsafeName(name))
                view.leftOut.push_back(name + " (a backslash or control character in the name)");
            continue;
        }
        std::string column = safeName(name);
        for (int n = 2; taken.count(folded(column)); ++n)
            column = safeName(name) + "_" + std::to_string(n);
        taken.insert(folded(column));
        view.columns.push_back({column, name, name, false});
    }
    return view;
}

nlohmann::ordered_json dblDocument(const std::string &name, const std::vector<KicadView> &views,
                                   const KicadSource &source) {
    nlohmann::ordered_json libraries = nlohmann::ordered_json::array();
    for (const KicadView &view : views) {
        nlohmann::ordered_json fields = nlohmann::ordered_json::array();
        bool filters = false;
        for (const KicadColumn &column : view.columns) {
            if (column.column == "Part" || column.column == "Symbol" || column.column == "Footprint" ||
                column.column == "Description" || column.column == "Keywords")
                continue; // the key, the references and the symbol's own properties
            if (column.attribute == "ki_fp_filters") {
                filters = true;
                continue;
            }
            fields.push_back({{"column", column.column},
                              {"name", column.field},
                              {"visible_on_add", column.visibleOnAdd},
                              {"visible_in_chooser", column.visibleOnAdd},
                              {"show_name", false},
                              {"inherit_properties", false}});
        }
        nlohmann::ordered_json properties = {{"description", "Description"}, {"keywords", "Keywords"}};
        if (filters)
            properties["footprint_filters"] = std::find_if(view.columns.begin(), view.columns.end(), [](const auto &c) {
                                                  return c.attribute == "ki_fp_filters";
                                              })->column;
        libraries.push_back({{"name", view.library},
                             {"table", view.view},
                             {"key", "Part"},
                             {"symbols", "Symbol"},
                             {"footprints", "Footprint"},
                             {"fields", fields},
                             {"properties", properties}});
    }
    return {{"meta", {{"version", 0}}},
            {"name", name},
            {"description", "The part libraries of " + name + ", made by partlib kicad-dbl"},
            {"source",
             {{"type", "odbc"},
              {"dsn", source.dsn},
              {"username", source.username},
              {"password", source.password},
              {"timeout_seconds", 2},
              {"connection_string", source.connectionString}}},
            {"libraries", libraries}};
}

} // namespace partlib
