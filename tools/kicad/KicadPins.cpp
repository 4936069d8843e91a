#include "tools/kicad/KicadMapping.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace kicad {
namespace mapping {

namespace {

const char *const RULE_PIN_NAME_CUT = "pin name longer than 10 characters: cut in Name, whole in Label";
const char *const RULE_PIN_LABEL_CUT =
    "pin name longer than 50 characters: cut in Label, whole in attribute 'Pin N name'";
const char *const RULE_SIGNAL_CUT =
    "net name longer than 50 characters: cut in Signal, whole in attribute 'Pin N signal'";
const char *const RULE_UNNUMBERED = "pin without a number: identifier #POSITION";
const char *const RULE_NUMBER_CUT = "pin number longer than 10 characters: cut, whole in attribute 'Pin N number'";
const char *const RULE_SHARED_PIN = "pin number drawn in several units: one pin, in each unit's gate";
const char *const RULE_CONFLICT =
    "pin number repeated with another name or type: first kept, others in attribute 'Pin N conflict'";
const char *const RULE_ALTERNATES = "alternate pin functions: attribute 'Pin N alternates'";
const char *const RULE_HIDDEN = "hidden pins: listed in attribute 'Hidden pins'";
const char *const RULE_SHAPES = "pin shapes other than line: listed in attribute 'Pin shapes'";
const char *const RULE_DE_MORGAN = "De Morgan body: the unit's second symbol in the gate's Alt_name";
const char *const RULE_BODY_ONLY_PIN = "pin drawn only in the De Morgan body: added after the others";

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

// The pins of one definition, counted in the file's summary.
class PinMapping {
public:
    PinMapping(Counter count, ImportSummary &summary) : count(count), summary(summary) {}

    void map(hostmodel::PartDefinition &definition, const std::string &rootName, const std::vector<Unit> &units,
             Attributes &attributes) {
        const PinRows pins = pinRows(rootName, units, attributes);
        mapPins(definition, pins.rows, attributes);
        mapGates(definition, rootName, units, pins.rows);
        mapEquivalences(definition, units, pins);
        mapSwaps(definition, units, pins);
        definition.maxConnectorPins = static_cast<int>(pins.rows.size());
    }

private:
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
                    } else if (characterCount(pin.number) > PIN_ID_WIDTH) {
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

    void mapPins(hostmodel::PartDefinition &definition, const std::vector<PinRow> &rows, Attributes &attributes) {
        std::string hidden, shapes;
        definition.pins.reserve(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const PinRow &row = rows[i];
            const Pin &pin = *row.pin;
            hostmodel::Pin mapped;
            mapped.identifier = row.identifier;
            if (!pin.name.empty()) {
                if (characterCount(pin.name) > PIN_NAME_WIDTH)
                    count(RULE_PIN_NAME_CUT);
                mapped.name = fitted(pin.name, PIN_NAME_WIDTH);
                mapped.label = fitted(pin.name, LABEL_WIDTH);
                if (characterCount(pin.name) > LABEL_WIDTH) {
                    count(RULE_PIN_LABEL_CUT);
                    attributes.add("Pin " + row.identifier + " name", pin.name);
                }
            }
            mapped.position = static_cast<int>(i + 1);
            mapped.type = pinTypeCode(pin.type);
            if (pin.hidden && pin.type == PinType::PowerIn && !pin.name.empty()) {
                mapped.signal = fitted(pin.name, SIGNAL_WIDTH);
                if (characterCount(pin.name) > SIGNAL_WIDTH) {
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

    Counter count;
    ImportSummary &summary;
};

} // namespace

void mapPins(hostmodel::PartDefinition &definition, const std::string &rootName, const std::vector<Unit> &units,
             Attributes &attributes, Counter count, ImportSummary &summary) {
    PinMapping(count, summary).map(definition, rootName, units, attributes);
}

} // namespace mapping
} // namespace kicad
