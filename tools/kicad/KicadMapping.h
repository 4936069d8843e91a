#pragma once

// The pieces that map one KiCad symbol onto the host model, shared by the
// units of the mapping: KicadNames.cpp names parts and definitions,
// KicadFields.cpp maps the properties onto fields and attributes,
// KicadPins.cpp the units' pins onto pins, gates, gate swaps and pin
// equivalences, and KicadImport.cpp puts a file's symbols together.

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
constexpr size_t NAME_WIDTH = 50, PIN_ID_WIDTH = 10, PIN_NAME_WIDTH = 10, LABEL_WIDTH = 50, SIGNAL_WIDTH = 50,
                 STEM_WIDTH = 20, TEXT_WIDTH = 255;

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
