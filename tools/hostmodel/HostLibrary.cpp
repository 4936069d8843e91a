#include "tools/hostmodel/HostLibrary.h"

#include <algorithm>
#include <stdexcept>

namespace hostmodel {

namespace {

std::vector<PinRef> pinRefs(const std::vector<std::string> &identifiers) {
    std::vector<PinRef> pins;
    for (const std::string &identifier : identifiers)
        pins.push_back({identifier});
    return pins;
}

} // namespace

PartDefinition definition(const std::string &name, const std::string &pcbComponentName,
                          const std::vector<std::string> &pinIdentifiers) {
    PartDefinition made;
    made.name = name;
    made.pcbComponentName = pcbComponentName;
    for (const std::string &identifier : pinIdentifiers)
        made.pins.push_back({identifier});
    return made;
}

Gate gate(const std::string &name, const std::vector<std::string> &pinIdentifiers) {
    Gate made;
    made.name = name;
    for (const std::string &identifier : pinIdentifiers)
        made.pins.push_back({identifier});
    return made;
}

PinEquivalence pinEquivalence(const std::vector<std::string> &pinIdentifiers) {
    PinEquivalence made;
    made.pins = pinRefs(pinIdentifiers);
    return made;
}

GateSwap gateSwap(const std::string &name, const std::vector<std::vector<std::string>> &gatePins) {
    GateSwap made;
    made.name = name;
    for (const std::vector<std::string> &pins : gatePins) {
        SwapGate member;
        member.pins = pinRefs(pins);
        made.gates.push_back(member);
    }
    return made;
}

Part part(const std::string &name, const std::vector<std::string> &folder, const std::string &definition) {
    Part made;
    made.name = name;
    made.folder = folder;
    made.definition = definition;
    return made;
}

Folder &addFolder(Library &library, const std::vector<std::string> &path) {
    if (path.empty())
        throw std::invalid_argument("addFolder: a folder path names at least one folder");
    std::vector<Folder> *level = &library.folders;
    Folder *folder = nullptr;
    for (const std::string &name : path) {
        auto found = std::find_if(level->begin(), level->end(), [&](const Folder &f) { return f.name == name; });
        if (found == level->end()) {
            level->push_back({name});
            found = level->end() - 1;
        }
        folder = &*found;
        level = &folder->children;
    }
    return *folder;
}

} // namespace hostmodel
