#pragma once

// The pieces that map one KiCad symbol onto the host model, shared by the
// units of the mapping: KicadNames.cpp names parts and definitions,
// KicadFields.cpp maps the properties onto fields and attributes,
// KicadPins.cpp the units' pins onto pins, gates, gate swaps and pin
// equivalences, and KicadImport.cpp puts a file's symbols together.

#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "tools/kicad/KicadImport.h"

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kicad {
namespace mapping {

// Column widths in characters.
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::columnWidth;
constexpr size_t PIN_ID_WIDTH = columnWidth("Pin_Data", "Pin_identifier"),
                 PIN_NAME_WIDTH = columnWidth("Pin_Data", "Name"), LABEL_WIDTH = columnWidth("Pin_Data", "Label"),
                 SIGNAL_WIDTH = columnWidth("Pin_Data", "Signal"),
                 STEM_WIDTH = columnWidth("Part_Definition", "Component_name_stem");
// One width for the names of libraries, folders, definitions, footprints,
// parts, gates and swap groups, and one for the long texts: values,
// descriptions and attributes.
constexpr size_t NAME_WIDTH = columnWidth("Part_Definition", "Name"),
                 TEXT_WIDTH = columnWidth("Attributes", "Attribute_value");
static_assert(NAME_WIDTH == columnWidth("Library", "Name") && NAME_WIDTH == columnWidth("Hierarchy", "Name") &&
                  NAME_WIDTH == columnWidth("Part_Definition", "PCB_component_name") &&
                  NAME_WIDTH == columnWidth("Parts", "Name") && NAME_WIDTH == columnWidth("Gate", "Name") &&
                  NAME_WIDTH == columnWidth("Gate", "Alt_name") && NAME_WIDTH == columnWidth("Gate_Equiv", "Name"),
              "the name columns the mapping fills differ in width");
static_assert(TEXT_WIDTH == columnWidth("Attributes", "Name") &&
                  TEXT_WIDTH == columnWidth("Part_Definition", "Part_def_value") &&
                  TEXT_WIDTH == columnWidth("Parts", "Description"),
              "the long texts the mapping fills differ in width");

inline std::string str(std::string_view view) {
    return std::string(view);
}

// Counts applied rules by their text's address: every rule is a constant
// of the unit that applies it, and the summary gets them by text at the end.
struct Counter {
    std::unordered_map<const char *, long> &counts;
    void operator()(const char *rule, long count = 1) const { counts[rule] += count; }
};

// The attributes of one definition: names kept unique, values longer than
// the column continued in numbered attributes.
class Attributes {
public:
    Attributes(std::vector<hostmodel::Attribute> &list, Counter count) : list(list), count(count) {}

    void add(const std::string &name, std::string_view value);

private:
    // "NAME (n)" within the column.
    static std::string numbered(const std::string &name, int n);
    // The name, or the first "NAME (n)" the definition does not hold yet.
    std::string unique(const std::string &name);

    std::vector<hostmodel::Attribute> &list;
    Counter count;
    std::unordered_set<std::string> names;
};

// Naming (KicadNames.cpp).

// A stable short form of a name: its start and a hash of the whole.
std::string shortened(std::string_view text, size_t width);

// How many of the files hold each symbol name.
using NameCounts = std::unordered_map<std::string_view, int>;
NameCounts countNames(const std::vector<SymbolLibrary> &files);

// Refuses a library or folder name that does not fit its column.
void checkName(const std::string &name, const char *what);

// The database names of the symbols of the files being imported.
class SymbolNames {
public:
    SymbolNames(const NameCounts &filesHolding, const std::multimap<std::string, std::string> &storedNames,
                Counter count)
        : filesHolding(filesHolding), storedNames(storedNames), count(count) {}

    // The database name of a symbol: FILE:NAME when another imported file
    // or another stored library holds the name too.
    std::string of(std::string_view symbolName, const std::string &stem, const std::string &libraryName);

private:
    const NameCounts &filesHolding;
    const std::multimap<std::string, std::string> &storedNames;
    Counter count;
};

// Fields and attributes (KicadFields.cpp).

// True when a derived symbol differs from its parent only in value and
// description (and the description fits its column).
bool onlyValueAndDescription(const Symbol &symbol, const Symbol &parent);

// The definition's fields from the symbol's properties, and the
// properties that no field holds (or holds whole) as attributes.
void mapFields(hostmodel::PartDefinition &definition, const Symbol &symbol, const std::string &stem,
               Attributes &attributes, Counter count);

// The part of a symbol, filed in the folder `stem`.
hostmodel::Part mapPart(const Symbol &symbol, const std::string &name, const std::string &stem,
                        const std::string &definition, Counter count);

// Pins (KicadPins.cpp).

// The definition's pins, gates, pin equivalences and gate swaps from the
// units of a symbol whose root symbol is `rootName`; what a column could
// not hold goes to `attributes`. Counted in `summary`.
void mapPins(hostmodel::PartDefinition &definition, const std::string &rootName, const std::vector<Unit> &units,
             Attributes &attributes, Counter count, ImportSummary &summary);

} // namespace mapping
} // namespace kicad
