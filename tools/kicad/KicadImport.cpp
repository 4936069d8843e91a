#include "tools/kicad/KicadImport.h"

#include "tools/kicad/Parallel.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <numeric>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace kicad {

namespace {

// Column widths in bytes.
constexpr size_t NAME_WIDTH = 50, PIN_ID_WIDTH = 10, PIN_NAME_WIDTH = 10, LABEL_WIDTH = 50, SIGNAL_WIDTH = 50,
                 STEM_WIDTH = 20, TEXT_WIDTH = 255;

// The rules, as the summary names them.
const char *const RULE_PREFIXED = "symbol name held by another library: stored as FILE:NAME";
const char *const RULE_NAME_SHORTENED = "name longer than 50 bytes: shortened with a hash";
const char *const RULE_SHARED_DEFINITION =
    "derived symbol changing only value and description: part on its parent's definition";
const char *const RULE_FOOTPRINT_SHORTENED =
    "footprint name longer than 50 bytes: shortened with a hash (whole ID in attribute Footprint)";
const char *const RULE_PIN_NAME_CUT = "pin name longer than 10 bytes: cut in Name, whole in Label";
const char *const RULE_PIN_LABEL_CUT = "pin name longer than 50 bytes: cut in Label, whole in attribute 'Pin N name'";
const char *const RULE_SIGNAL_CUT = "net name longer than 50 bytes: cut in Signal, whole in attribute 'Pin N signal'";
const char *const RULE_UNNUMBERED = "pin without a number: identifier #POSITION";
const char *const RULE_NUMBER_CUT = "pin number longer than 10 bytes: cut, whole in attribute 'Pin N number'";
const char *const RULE_SHARED_PIN = "pin number drawn in several units: one pin, in each unit's gate";
const char *const RULE_CONFLICT =
    "pin number repeated with another name or type: first kept, others in attribute 'Pin N conflict'";
const char *const RULE_DESCRIPTION_CUT =
    "description longer than 255 bytes: cut in Description, whole in attribute ki_description";
const char *const RULE_VALUE_SPLIT = "attribute value longer than 255 bytes: continued in 'NAME (2)', ...";
const char *const RULE_STEM_CUT = "reference longer than 20 bytes: cut, whole in attribute Reference";
const char *const RULE_ALTERNATES = "alternate pin functions: attribute 'Pin N alternates'";
const char *const RULE_HIDDEN = "hidden pins: listed in attribute 'Hidden pins'";
const char *const RULE_SHAPES = "pin shapes other than line: listed in attribute 'Pin shapes'";
const char *const RULE_DE_MORGAN = "De Morgan body: the unit's second symbol in the gate's Alt_name";
const char *const RULE_BODY_ONLY_PIN = "pin drawn only in the De Morgan body: added after the others";

std::string str(std::string_view view) {
    return std::string(view);
}

// A stable short form of a name: its start and a hash of the whole.
std::string shortened(std::string_view text, size_t width) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : text)
        hash = (hash ^ c) * 16777619u;
    char tail[16];
    std::snprintf(tail, sizeof tail, "~%08x", hash);
    return fitted(text, width - 9) + tail;
}

// Counts applied rules by their text's address (every rule is one of the
// constants above); the summary gets them by text at the end.
struct Counter {
    std::unordered_map<const char *, long> &counts;
    void operator()(const char *rule, long count = 1) const { counts[rule] += count; }
};

// The attributes of one definition: names kept unique, values longer than
// the column continued in numbered attributes.
class Attributes {
public:
    Attributes(std::vector<hostmodel::Attribute> &list, Counter count) : list(list), count(count) {}

    void add(const std::string &name, std::string_view value) {
        const std::string key = unique(name);
        if (value.size() <= TEXT_WIDTH) {
            list.push_back({key, str(value)});
            return;
        }
        count(RULE_VALUE_SPLIT);
        for (int n = 1; !value.empty(); ++n) {
            const std::string piece = fitted(value, TEXT_WIDTH);
            list.push_back({n == 1 ? key : unique(numbered(key, n)), piece});
            value.remove_prefix(piece.size());
        }
    }

private:
    // "NAME (n)" within the column.
    static std::string numbered(const std::string &name, int n) {
        const std::string suffix = " (" + std::to_string(n) + ")";
        return fitted(name, TEXT_WIDTH - suffix.size()) + suffix;
    }

    // The name, or the first "NAME (n)" the definition does not hold yet.
    std::string unique(const std::string &name) {
        std::string key = fitted(name, TEXT_WIDTH);
        for (int n = 2; !names.insert(key).second; ++n)
            key = numbered(name, n);
        return key;
    }

    std::vector<hostmodel::Attribute> &list;
    Counter count;
    std::unordered_set<std::string> names;
};

// One row of Pin_Data while a symbol is mapped: the first pin drawn with
// its number and every unit that draws it.
struct PinRow {
    std::string identifier;
    const Pin *pin;
    std::vector<int> units;
};

// The pin rows of a symbol, and for every pin of every unit the row whose
// identifier is exactly the pin's number (-1: none, as for a pin without a
// number or with one cut to fit).
struct PinRows {
    std::vector<PinRow> rows;
    std::vector<std::vector<int>> rowOfPin; // [unit][pin]
};

// Disjoint sets of pin rows.
struct Groups {
    std::vector<int> parent;
    explicit Groups(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
    int find(int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    }
    void join(int a, int b) {
        a = find(a), b = find(b);
        if (a != b)
            parent[std::max(a, b)] = std::min(a, b);
    }
};

std::string unitList(const std::vector<int> &units) {
    std::string text;
    for (size_t i = 0; i < units.size();) {
        size_t j = i;
        while (j + 1 < units.size() && units[j + 1] == units[j] + 1)
            ++j;
        text += (text.empty() ? "" : ",") + std::to_string(units[i]);
        if (j > i)
            text += (j == i + 1 ? "," : "-") + std::to_string(units[j]);
        i = j + 1;
    }
    return text;
}

// How many of the files hold each symbol name.
using NameCounts = std::unordered_map<std::string_view, int>;

NameCounts countNames(const std::vector<SymbolLibrary> &files) {
    NameCounts filesHolding;
    for (const SymbolLibrary &file : files) {
        std::unordered_set<std::string_view> seen;
        for (const Symbol &symbol : file.symbols)
            if (seen.insert(symbol.name).second)
                ++filesHolding[symbol.name];
    }
    return filesHolding;
}

void checkName(const std::string &name, const char *what) {
    if (name.empty() || name.size() > NAME_WIDTH)
        throw std::runtime_error(std::string("the ") + what + " name \"" + name +
                                 "\" does not fit the database's 50 bytes (pass --library NAME, or rename the file)");
}

// Maps one file onto the definitions and parts of its library, counting
// in a summary of its own: the files are mapped side by side.
class Mapper {
public:
    Mapper(const NameCounts &filesHolding, const ImportOptions &options)
        : filesHolding(filesHolding), options(options), count{ruleCounts} {}

    // The file's definitions and parts, appended to `library`, and the summary.
    ImportSummary run(const SymbolLibrary &file, const std::string &stem, hostmodel::Library &library) {
        mapFile(file, stem, library);
        summary.files = 1;
        for (const auto &rule : ruleCounts)
            summary.rules[rule.first] += rule.second;
        return summary;
    }

private:
    // The database name of a symbol: FILE:NAME when another imported file
    // or another stored library holds the name too.
    std::string nameOf(std::string_view symbolName, const std::string &stem, const std::string &libraryName) {
        const std::string name = str(symbolName);
        const auto holding = filesHolding.find(symbolName);
        bool shared = holding != filesHolding.end() && holding->second > 1;
        const auto stored = options.storedNames.equal_range(name);
        for (auto it = stored.first; it != stored.second && !shared; ++it)
            shared = it->second != libraryName;
        std::string result = shared ? stem + ":" + name : name;
        if (shared)
            count(RULE_PREFIXED);
        if (result.size() > NAME_WIDTH) {
            count(RULE_NAME_SHORTENED);
            result = shortened(result, NAME_WIDTH);
        }
        return result;
    }

    // True when a derived symbol differs from its parent only in value and
    // description (and the description fits its column).
    static bool onlyValueAndDescription(const Symbol &symbol, const Symbol &parent) {
        const auto own = [](const Symbol &s) {
            std::vector<std::pair<std::string_view, std::string_view>> kept;
            for (const Property &property : s.properties)
                if (property.key != "Value" && property.key != "ki_description")
                    kept.emplace_back(property.key, property.value);
            std::sort(kept.begin(), kept.end());
            return kept;
        };
        return symbol.power == parent.power && symbol.property("ki_description").size() <= TEXT_WIDTH &&
               own(symbol) == own(parent);
    }

    void mapFile(const SymbolLibrary &file, const std::string &stem, hostmodel::Library &library) {
        std::vector<std::string> definitionOf(file.symbols.size());
        for (size_t i = 0; i < file.symbols.size(); ++i) {
            const Symbol &symbol = file.symbols[i];
            ++summary.symbols;
            summary.derived += symbol.parent >= 0;
            summary.power += symbol.power;
            const std::string name = nameOf(symbol.name, stem, library.name);
            // Parents come first in the libraries; one that follows its
            // derived symbol gets a definition of its own there.
            const Symbol *parent = symbol.parent >= 0 ? &file.symbols[static_cast<size_t>(symbol.parent)] : nullptr;
            std::string definition;
            if (parent && parent->parent < 0 && !definitionOf[static_cast<size_t>(symbol.parent)].empty() &&
                onlyValueAndDescription(symbol, *parent)) {
                count(RULE_SHARED_DEFINITION);
                definition = definitionOf[static_cast<size_t>(symbol.parent)];
            } else {
                library.definitions.push_back(mapDefinition(file, symbol, name, stem));
                definition = name;
                ++summary.definitions;
            }
            definitionOf[i] = symbol.parent < 0 ? definition : std::string();
            library.parts.push_back(mapPart(symbol, name, stem, definition));
            ++summary.parts;
        }
    }

    hostmodel::Part mapPart(const Symbol &symbol, const std::string &name, const std::string &stem,
                            const std::string &definition) {
        hostmodel::Part part = hostmodel::part(name, {stem}, definition);
        if (symbol.hasProperty("ki_description")) {
            const std::string_view description = symbol.property("ki_description");
            if (description.size() > TEXT_WIDTH)
                count(RULE_DESCRIPTION_CUT);
            part.description = fitted(description, TEXT_WIDTH);
        }
        part.type = partType(symbol, stem);
        return part;
    }

    static int partType(const Symbol &symbol, const std::string &stem) {
        const std::string_view reference = symbol.property("Reference");
        if (stem.rfind("Connector", 0) == 0)
            return 2;
        if (reference == "TP")
            return 4;
        if (reference == "JP")
            return 8;
        if (reference == "NT" || stem == "NetTie")
            return 16;
        return 1;
    }

    // The pin rows of a symbol: one per number, in the order the file
    // draws them (common and normal bodies first, then pins only the De
    // Morgan body draws).
    PinRows pinRows(const std::string &symbolName, const std::vector<Unit> &units, Attributes &attributes) {
        PinRows result;
        std::vector<PinRow> &rows = result.rows;
        size_t pinCount = 0;
        result.rowOfPin.resize(units.size());
        for (size_t u = 0; u < units.size(); ++u) {
            result.rowOfPin[u].assign(units[u].pins.size(), -1);
            pinCount += units[u].pins.size();
        }
        rows.reserve(pinCount);
        // Identifiers compared without case: the writers look gate pins up
        // that way.
        std::unordered_map<std::string, size_t> byIdentifier;
        byIdentifier.reserve(pinCount);
        std::string identifier;
        for (int pass = 0; pass < 2; ++pass)
            for (size_t u = 0; u < units.size(); ++u) {
                const Unit &unit = units[u];
                if ((pass == 0) != (unit.body <= 1))
                    continue;
                for (size_t p = 0; p < unit.pins.size(); ++p) {
                    const Pin &pin = unit.pins[p];
                    bool whole = false;
                    if (pin.number.empty()) {
                        count(RULE_UNNUMBERED);
                        identifier = "#" + std::to_string(rows.size() + 1);
                    } else if (pin.number.size() > PIN_ID_WIDTH) {
                        count(RULE_NUMBER_CUT);
                        identifier = fitted(pin.number, PIN_ID_WIDTH);
                        attributes.add("Pin " + identifier + " number", pin.number);
                    } else {
                        identifier.assign(pin.number);
                        whole = true;
                    }
                    const auto found = byIdentifier.emplace(
                        COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::lowerCase(identifier), rows.size());
                    if (found.second) {
                        if (pass == 1)
                            count(RULE_BODY_ONLY_PIN);
                        if (whole)
                            result.rowOfPin[u][p] = static_cast<int>(rows.size());
                        rows.push_back({identifier, &pin, {unit.unit}});
                        continue;
                    }
                    PinRow &row = rows[found.first->second];
                    if (whole && row.identifier == identifier)
                        result.rowOfPin[u][p] = static_cast<int>(found.first->second);
                    if (row.identifier == identifier && row.pin->name == pin.name && row.pin->type == pin.type) {
                        if (std::find(row.units.begin(), row.units.end(), unit.unit) == row.units.end()) {
                            if (pass == 0)
                                count(RULE_SHARED_PIN);
                            row.units.push_back(unit.unit);
                        }
                    } else if (pass == 0) {
                        count(RULE_CONFLICT);
                        attributes.add("Pin " + identifier + " conflict",
                                       str(pin.name) + " " + pinTypeName(pin.type) + " in " + symbolName + "_" +
                                           std::to_string(unit.unit) + "_" + std::to_string(unit.body));
                    }
                }
            }
        return result;
    }

    hostmodel::PartDefinition mapDefinition(const SymbolLibrary &file, const Symbol &symbol, const std::string &name,
                                            const std::string &stem) {
        hostmodel::PartDefinition definition;
        definition.name = name;
        Attributes attributes(definition.attributes, count);

        const std::string_view footprint = symbol.property("Footprint");
        const std::string_view footprintName =
            footprint.find(':') == std::string_view::npos ? footprint : footprint.substr(footprint.find(':') + 1);
        if (footprintName.size() > NAME_WIDTH) {
            count(RULE_FOOTPRINT_SHORTENED);
            definition.pcbComponentName = shortened(footprintName, NAME_WIDTH);
        } else {
            definition.pcbComponentName = str(footprintName);
        }
        if (!footprint.empty())
            attributes.add("Footprint", footprint);
        definition.value = fitted(symbol.property("Value"), TEXT_WIDTH);
        if (symbol.property("Value").size() > TEXT_WIDTH)
            attributes.add("Value", symbol.property("Value"));
        const std::string_view reference = symbol.property("Reference");
        definition.componentNameStem = fitted(reference, STEM_WIDTH);
        if (reference.size() > STEM_WIDTH) {
            count(RULE_STEM_CUT);
            attributes.add("Reference", reference);
        }
        definition.isFPGA = stem.rfind("FPGA", 0) == 0;
        if (symbol.power)
            attributes.add("power", "");
        for (const Property &property : symbol.properties) {
            if (property.key == "Reference" || property.key == "Value" || property.key == "Footprint")
                continue;
            if (property.key == "ki_description") {
                if (property.value.size() > TEXT_WIDTH)
                    attributes.add("ki_description", property.value);
                continue;
            }
            if (property.key == "Datasheet" && (property.value.empty() || property.value == "~"))
                continue;
            attributes.add(str(property.key), property.value);
        }

        const Symbol *root = &symbol;
        while (root->parent >= 0)
            root = &file.symbols[static_cast<size_t>(root->parent)];
        const std::vector<Unit> &units = file.unitsOf(symbol);
        const PinRows pins = pinRows(str(root->name), units, attributes);
        mapPins(definition, pins.rows, attributes);
        mapGates(definition, str(root->name), units, pins.rows);
        mapEquivalences(definition, units, pins);
        mapSwaps(definition, units, pins);
        definition.maxConnectorPins = static_cast<int>(pins.rows.size());

        summary.pins += static_cast<long>(definition.pins.size());
        summary.attributes += static_cast<long>(definition.attributes.size());
        return definition;
    }

    void mapPins(hostmodel::PartDefinition &definition, const std::vector<PinRow> &rows, Attributes &attributes) {
        std::string hidden, shapes;
        definition.pins.reserve(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const PinRow &row = rows[i];
            const Pin &pin = *row.pin;
            hostmodel::Pin mapped;
            mapped.identifier = row.identifier;
            if (!pin.name.empty()) {
                if (pin.name.size() > PIN_NAME_WIDTH)
                    count(RULE_PIN_NAME_CUT);
                mapped.name = fitted(pin.name, PIN_NAME_WIDTH);
                mapped.label = fitted(pin.name, LABEL_WIDTH);
                if (pin.name.size() > LABEL_WIDTH) {
                    count(RULE_PIN_LABEL_CUT);
                    attributes.add("Pin " + row.identifier + " name", pin.name);
                }
            }
            mapped.position = static_cast<int>(i + 1);
            mapped.type = pinTypeCode(pin.type);
            if (pin.hidden && pin.type == PinType::PowerIn && !pin.name.empty()) {
                mapped.signal = fitted(pin.name, SIGNAL_WIDTH);
                if (pin.name.size() > SIGNAL_WIDTH) {
                    count(RULE_SIGNAL_CUT);
                    attributes.add("Pin " + row.identifier + " signal", pin.name);
                }
            }
            if (pin.hidden)
                hidden += (hidden.empty() ? "" : " ") + row.identifier;
            if (pin.shape != "line")
                shapes += (shapes.empty() ? "" : ", ") + row.identifier + " " + str(pin.shape);
            if (!pin.alternates.empty()) {
                count(RULE_ALTERNATES);
                std::string list;
                for (const Alternate &alternate : pin.alternates)
                    list += (list.empty() ? "" : ", ") + str(alternate.name) + " " + pinTypeName(alternate.type) +
                            (alternate.shape == "line" ? "" : " " + str(alternate.shape));
                attributes.add("Pin " + row.identifier + " alternates", list);
            }
            definition.pins.push_back(std::move(mapped));
        }
        if (!hidden.empty()) {
            count(RULE_HIDDEN);
            attributes.add("Hidden pins", hidden);
        }
        if (!shapes.empty()) {
            count(RULE_SHAPES);
            attributes.add("Pin shapes", shapes);
        }
    }

    static int unitCount(const std::vector<Unit> &units) {
        int count = 1;
        for (const Unit &unit : units)
            count = std::max(count, unit.unit);
        return count;
    }

    void mapGates(hostmodel::PartDefinition &definition, const std::string &rootName, const std::vector<Unit> &units,
                  const std::vector<PinRow> &rows) {
        const int gates = unitCount(units);
        // Each row in the gates of its units, every gate for unit 0.
        std::vector<std::vector<hostmodel::GatePin>> gatePins(static_cast<size_t>(gates));
        for (const PinRow &row : rows) {
            if (std::find(row.units.begin(), row.units.end(), 0) != row.units.end()) {
                for (std::vector<hostmodel::GatePin> &pins : gatePins)
                    pins.push_back({row.identifier});
                continue;
            }
            for (const int unit : row.units)
                gatePins[static_cast<size_t>(unit - 1)].push_back({row.identifier});
        }
        for (int u = 1; u <= gates; ++u) {
            hostmodel::Gate gate;
            gate.name = fitted(rootName + "_" + std::to_string(u) + "_1", NAME_WIDTH);
            const bool deMorgan = std::any_of(units.begin(), units.end(), [&](const Unit &unit) {
                return unit.body == 2 && (unit.unit == u || unit.unit == 0);
            });
            if (deMorgan) {
                count(RULE_DE_MORGAN);
                gate.altName = fitted(rootName + "_" + std::to_string(u) + "_2", NAME_WIDTH);
            }
            gate.pins = std::move(gatePins[static_cast<size_t>(u - 1)]);
            summary.gatePins += static_cast<long>(gate.pins.size());
            definition.gates.push_back(std::move(gate));
        }
        summary.gates += gates;
    }

    // Pins KiCad ties together: pins stacked at one place of one unit's
    // body, and hidden power inputs of one name (they join its net).
    void mapEquivalences(hostmodel::PartDefinition &definition, const std::vector<Unit> &units, const PinRows &pins) {
        const std::vector<PinRow> &rows = pins.rows;
        Groups groups(rows.size());
        struct Placed {
            int unit, body;
            double x, y;
            int row;
            bool operator<(const Placed &o) const {
                return std::tie(unit, body, x, y, row) < std::tie(o.unit, o.body, o.x, o.y, o.row);
            }
        };
        std::vector<Placed> placed;
        placed.reserve(rows.size());
        std::unordered_map<std::string_view, int> powerNets;
        for (size_t u = 0; u < units.size(); ++u) {
            const Unit &unit = units[u];
            for (size_t p = 0; p < unit.pins.size(); ++p) {
                const Pin &pin = unit.pins[p];
                const int row = pins.rowOfPin[u][p];
                if (row < 0 || rows[static_cast<size_t>(row)].pin->type != pin.type)
                    continue;
                placed.push_back({unit.unit, unit.body, pin.x, pin.y, row});
                if (pin.hidden && pin.type == PinType::PowerIn && !pin.name.empty()) {
                    const auto net = powerNets.emplace(pin.name, row);
                    if (!net.second)
                        groups.join(net.first->second, row);
                }
            }
        }
        std::sort(placed.begin(), placed.end());
        for (size_t i = 1; i < placed.size(); ++i) {
            const Placed &a = placed[i - 1], &b = placed[i];
            if (a.unit == b.unit && a.body == b.body && a.x == b.x && a.y == b.y)
                groups.join(a.row, b.row);
        }
        // A group's root is its first row: groups come in the order of
        // their first pin, each pin in row order.
        std::vector<int> size(rows.size()), slot(rows.size(), -1);
        for (size_t i = 0; i < rows.size(); ++i)
            ++size[static_cast<size_t>(groups.find(static_cast<int>(i)))];
        const size_t before = definition.pinEquivalences.size();
        for (size_t i = 0; i < rows.size(); ++i) {
            const size_t root = static_cast<size_t>(groups.find(static_cast<int>(i)));
            if (size[root] < 2)
                continue;
            if (slot[root] < 0) {
                slot[root] = static_cast<int>(definition.pinEquivalences.size());
                definition.pinEquivalences.emplace_back();
                definition.pinEquivalences.back().pins.reserve(static_cast<size_t>(size[root]));
            }
            definition.pinEquivalences[static_cast<size_t>(slot[root])].pins.push_back({rows[i].identifier});
        }
        summary.equivalenceGroups += static_cast<long>(definition.pinEquivalences.size() - before);
    }

    // Units whose own pins match in place, name and type form a swap group;
    // their pins are listed in matching order.
    void mapSwaps(hostmodel::PartDefinition &definition, const std::vector<Unit> &units, const PinRows &pins) {
        const std::vector<PinRow> &rows = pins.rows;
        using Key = std::tuple<double, double, std::string_view, int>;
        std::map<std::vector<Key>, std::vector<std::pair<int, std::vector<int>>>> bySignature;
        const int gates = unitCount(units);
        if (gates < 2)
            return;
        std::vector<std::pair<Key, int>> placed;
        for (int u = 1; u <= gates; ++u) {
            placed.clear();
            for (size_t i = 0; i < units.size(); ++i)
                if (units[i].unit == u && units[i].body <= 1)
                    for (size_t p = 0; p < units[i].pins.size(); ++p)
                        if (const int row = pins.rowOfPin[i][p]; row >= 0) {
                            const Pin &pin = units[i].pins[p];
                            placed.push_back({Key(pin.x, pin.y, pin.name, static_cast<int>(pin.type)), row});
                        }
            if (placed.empty())
                continue;
            // Pins at one place in identifier order.
            std::sort(placed.begin(), placed.end(), [&](const auto &a, const auto &b) {
                return a.first < b.first || (a.first == b.first && rows[static_cast<size_t>(a.second)].identifier <
                                                                       rows[static_cast<size_t>(b.second)].identifier);
            });
            std::vector<Key> signature;
            std::vector<int> members;
            signature.reserve(placed.size());
            members.reserve(placed.size());
            for (const auto &pin : placed) {
                signature.push_back(pin.first);
                members.push_back(pin.second);
            }
            bySignature[std::move(signature)].push_back({u, std::move(members)});
        }
        // In the order of their first unit.
        std::map<int, hostmodel::GateSwap> swaps;
        for (const auto &group : bySignature) {
            if (group.second.size() < 2)
                continue;
            hostmodel::GateSwap swap;
            std::vector<int> members;
            for (const auto &unit : group.second) {
                members.push_back(unit.first);
                hostmodel::SwapGate gate;
                gate.pins.reserve(unit.second.size());
                for (const int row : unit.second)
                    gate.pins.push_back({rows[static_cast<size_t>(row)].identifier});
                swap.gates.push_back(std::move(gate));
            }
            swap.name = fitted("Units " + unitList(members), NAME_WIDTH);
            swaps.emplace(members.front(), std::move(swap));
        }
        definition.gateSwapping = !swaps.empty();
        summary.swapGroups += static_cast<long>(swaps.size());
        for (auto &swap : swaps)
            definition.gateSwaps.push_back(std::move(swap.second));
    }

    const NameCounts &filesHolding;
    const ImportOptions &options;
    ImportSummary summary;
    std::unordered_map<const char *, long> ruleCounts;
    Counter count;
};

hostmodel::Library &libraryNamed(std::vector<hostmodel::Library> &libraries, const std::string &name) {
    for (hostmodel::Library &library : libraries)
        if (library.name == name)
            return library;
    libraries.push_back({name});
    libraries.back().comment = "KiCad symbol library";
    return libraries.back();
}

} // namespace

ImportSummary &ImportSummary::operator+=(const ImportSummary &other) {
    std::apply(
        [&](auto &...mine) { std::apply([&](const auto &...theirs) { ((mine += theirs), ...); }, other.counts()); },
        countsOf(*this));
    for (const auto &rule : other.rules)
        rules[rule.first] += rule.second;
    return *this;
}

int pinTypeCode(PinType type) {
    return static_cast<int>(type);
}

std::string libraryNameOf(const std::string &file) {
    const size_t slash = file.find_last_of('/');
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    const size_t dot = name.rfind(".kicad_sym");
    if (dot != std::string::npos && dot + 10 == name.size())
        name.erase(dot);
    return name;
}

Import mapLibraries(const std::vector<SymbolLibrary> &files, const ImportOptions &options) {
    std::vector<std::string> stems;
    for (const SymbolLibrary &file : files) {
        stems.push_back(libraryNameOf(file.file));
        checkName(options.library.empty() ? stems.back() : options.library, "library");
        checkName(stems.back(), "folder");
    }
    const NameCounts filesHolding = countNames(files);
    // Each file on its own, then joined in the files' order: the result
    // does not depend on the number of threads.
    struct Mapped {
        hostmodel::Library library;
        ImportSummary summary;
    };
    std::vector<Mapped> mapped(files.size());
    forEachIndex(files.size(), options.threads, [&](size_t i) {
        mapped[i].library.name = options.library.empty() ? stems[i] : options.library;
        mapped[i].summary = Mapper(filesHolding, options).run(files[i], stems[i], mapped[i].library);
    });
    Import result;
    for (size_t i = 0; i < files.size(); ++i) {
        hostmodel::Library &library = libraryNamed(result.libraries, mapped[i].library.name);
        hostmodel::addFolder(library, {stems[i]});
        std::move(mapped[i].library.definitions.begin(), mapped[i].library.definitions.end(),
                  std::back_inserter(library.definitions));
        std::move(mapped[i].library.parts.begin(), mapped[i].library.parts.end(), std::back_inserter(library.parts));
        result.summary += mapped[i].summary;
    }
    return result;
}

} // namespace kicad
