#include "tools/kicad/KicadMapping.h"

#include <algorithm>

namespace kicad {
namespace mapping {

namespace {

const char *const RULE_FOOTPRINT_SHORTENED =
    "footprint name longer than 50 characters: shortened with a hash (whole ID in attribute Footprint)";
const char *const RULE_DESCRIPTION_CUT =
    "description longer than 255 characters: cut in Description, whole in attribute ki_description";
const char *const RULE_STEM_CUT = "reference longer than 20 characters: cut, whole in attribute Reference";
const char *const RULE_VALUE_SPLIT = "attribute value longer than 255 characters: continued in 'NAME (2)', ...";

int partType(const Symbol &symbol, const std::string &stem) {
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

} // namespace

void Attributes::add(const std::string &name, std::string_view value) {
    const std::string key = unique(name);
    if (characterCount(value) <= TEXT_WIDTH) {
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

std::string Attributes::numbered(const std::string &name, int n) {
    const std::string suffix = " (" + std::to_string(n) + ")";
    return fitted(name, TEXT_WIDTH - characterCount(suffix)) + suffix;
}

std::string Attributes::unique(const std::string &name) {
    std::string key = fitted(name, TEXT_WIDTH);
    for (int n = 2; !names.insert(key).second; ++n)
        key = numbered(name, n);
    return key;
}

bool onlyValueAndDescription(const Symbol &symbol, const Symbol &parent) {
    const auto own = [](const Symbol &s) {
        std::vector<std::pair<std::string_view, std::string_view>> kept;
        for (const Property &property : s.properties)
            if (property.key != "Value" && property.key != "ki_description")
                kept.emplace_back(property.key, property.value);
        std::sort(kept.begin(), kept.end());
        return kept;
    };
    return symbol.power == parent.power && characterCount(symbol.property("ki_description")) <= TEXT_WIDTH &&
           own(symbol) == own(parent);
}

void mapFields(hostmodel::PartDefinition &definition, const Symbol &symbol, const std::string &stem,
               Attributes &attributes, Counter count) {
    const std::string_view footprint = symbol.property("Footprint");
    const std::string_view footprintName =
        footprint.find(':') == std::string_view::npos ? footprint : footprint.substr(footprint.find(':') + 1);
    if (characterCount(footprintName) > NAME_WIDTH) {
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
    if (characterCount(reference) > STEM_WIDTH) {
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
            if (characterCount(property.value) > TEXT_WIDTH)
                attributes.add("ki_description", property.value);
            continue;
        }
        if (property.key == "Datasheet" && (property.value.empty() || property.value == "~"))
            continue;
        attributes.add(str(property.key), property.value);
    }
}

hostmodel::Part mapPart(const Symbol &symbol, const std::string &name, const std::string &stem,
                        const std::string &definition, Counter count) {
    hostmodel::Part part = hostmodel::part(name, {stem}, definition);
    if (symbol.hasProperty("ki_description")) {
        const std::string_view description = symbol.property("ki_description");
        if (characterCount(description) > TEXT_WIDTH)
            count(RULE_DESCRIPTION_CUT);
        part.description = fitted(description, TEXT_WIDTH);
    }
    part.type = partType(symbol, stem);
    return part;
}

} // namespace mapping
} // namespace kicad
