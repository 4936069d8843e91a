#pragma once

// A part library as a host application holds it in memory: plain structs
// with public fields, NULL-able columns as empty optionals. Records over it
// (HostRecords.h) let the plug-in's writers copy it into a database;
// snapshot (Snapshot.h) reads any library into it.
//
//   hostmodel::Library library{"Demo"};
//   hostmodel::addFolder(library, {"Resistors", "SMD"});
//   hostmodel::PartDefinition r = hostmodel::definition("R0805", "RES0805", {"1", "2"});
//   r.gates.push_back(hostmodel::gate("A", {"1", "2"}));
//   library.definitions.push_back(r);
//   library.parts.push_back(hostmodel::part("R1", {"Resistors", "SMD"}, "R0805"));
//
// Every field has a default, so the leading fields alone make an item
// (Library{"Demo"}, Attribute{"Value", "10k"}). Every item carries the write state a writer treats it with. The states,
// the second-pass flags and the selection mode tell a writer what to do;
// they are no content, so == leaves them out, as it leaves out the gate
// pins' create flag (a database never reports it).

#include "tools/hostmodel/RecordFields.h"

#include <string>
#include <tuple>
#include <vector>

namespace hostmodel {

// The write states of an item.
enum WriteState : int { UNCHANGED = 0, NEW = 1, MODIFIED = 2, DELETED = 3, WRITE = 4 };

struct Folder {
    std::string name{};
    std::vector<Folder> children{};
    int state = WRITE;
    auto fields() const { return std::tie(name, children); }
};

struct Pin {
    Text identifier{}, name{}, label{};
    Number position{}, type{}, loading{};
    Text signal{};
    int state = WRITE;
    auto fields() const { return std::tie(identifier, name, label, position, type, loading, signal); }
};

// A pin named by its identifier: a member of an equivalence group or of a
// swap gate.
struct PinRef {
    Text identifier{};
    int state = WRITE;
    auto fields() const { return std::tie(identifier); }
};

// A pin of a gate; `create` asks the writer to make a pin of that
// identifier (every other column NULL) instead of looking for one.
struct GatePin {
    Text identifier{};
    bool create = false;
    int state = WRITE;
    auto fields() const { return std::tie(identifier); }
};

struct PinEquivalence {
    std::vector<PinRef> pins{};
    int state = WRITE;
    auto fields() const { return std::tie(pins); }
};

struct Gate {
    std::string name{};
    Text altName{};
    std::vector<GatePin> pins{};
    int state = WRITE;
    auto fields() const { return std::tie(name, altName, pins); }
};

struct SwapGate {
    int equivType = 0;
    std::vector<PinRef> pins{};
    int state = WRITE;
    auto fields() const { return std::tie(equivType, pins); }
};

struct GateSwap {
    std::string name{};
    std::vector<SwapGate> gates{};
    int state = WRITE;
    auto fields() const { return std::tie(name, gates); }
};

struct Attribute {
    std::string name{}, value{};
    int usageType = 0;
    int readOnly = 0;
    int state = WRITE;
    auto fields() const { return std::tie(name, value, usageType, readOnly); }
};

struct PartDefinition {
    std::string name{}, pcbComponentName{};
    Text pcbAlternateName{}, value{}, componentNameStem{}, pspice{};
    int maxConnectorPins = 0;
    bool gateSwapping = false, pinNumName = false, isFPGA = false;
    std::vector<Pin> pins{};
    std::vector<PinEquivalence> pinEquivalences{};
    std::vector<Gate> gates{};
    std::vector<GateSwap> gateSwaps{};
    std::vector<Attribute> attributes{};
    bool secondPass = false; // delivered in the writer's second pass (SelectionMode::Split)
    // False: the record offers no readers of pins, groups, gates, swaps and
    // attributes, so that a stored definition keeps its own.
    bool details = true;
    int state = WRITE;
    auto fields() const {
        return std::tie(name, pcbComponentName, pcbAlternateName, value, componentNameStem, pspice, maxConnectorPins,
                        gateSwapping, pinNumName, isFPGA, pins, pinEquivalences, gates, gateSwaps, attributes);
    }
};

struct Part {
    std::string name{};
    Text number{}, description{}, pspice{};
    Number version{};
    Text acceptance{};
    Number type{};
    std::vector<std::string> folder{}; // folder names from the top level down
    std::string definition{};          // the part definition's name
    bool secondPass = false;           // delivered in the writer's second pass (SelectionMode::Split)
    int state = WRITE;
    auto fields() const {
        return std::tie(name, number, description, pspice, version, acceptance, type, folder, definition);
    }
};

// How the library's records answer the selection values the library writer
// passes to getPartDefReader (3, then 252) and getPartReader (82, then 173).
enum class SelectionMode {
    Ignore, // every call delivers everything, as the database's records do
    Split   // 3 and 82 deliver the items without secondPass, 252 and 173 those with it
};

struct Library {
    std::string name{};
    bool enabled = true;
    Text comment{};
    std::vector<Folder> folders{};
    std::vector<PartDefinition> definitions{};
    std::vector<Part> parts{};
    SelectionMode selection = SelectionMode::Ignore;
    int state = WRITE;
    auto fields() const { return std::tie(name, enabled, comment, folders, definitions, parts); }
};

// Equal content: the fields that fields() names.
template <class T> auto operator==(const T &a, const T &b) -> decltype(a.fields() == b.fields()) {
    return a.fields() == b.fields();
}
template <class T> auto operator!=(const T &a, const T &b) -> decltype(a.fields() == b.fields()) {
    return !(a == b);
}

// Builders for the items a test writes most; every other field as defaulted.

// A definition with one pin per identifier (the pins' other columns NULL).
PartDefinition definition(const std::string &name, const std::string &pcbComponentName,
                          const std::vector<std::string> &pinIdentifiers = {});
Gate gate(const std::string &name, const std::vector<std::string> &pinIdentifiers);
PinEquivalence pinEquivalence(const std::vector<std::string> &pinIdentifiers);
// A swap group with one gate (equivalence type 0) per list of identifiers.
GateSwap gateSwap(const std::string &name, const std::vector<std::vector<std::string>> &gatePins);
Part part(const std::string &name, const std::vector<std::string> &folder, const std::string &definition);
// The folder at `path`, made with every folder on the way that is missing.
Folder &addFolder(Library &library, const std::vector<std::string> &path);

} // namespace hostmodel
