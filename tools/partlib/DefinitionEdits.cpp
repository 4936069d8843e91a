// partlib definition set and remove: one part definition of a library
// changed through the library writer (LibraryEdit).

#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryEdit.h"
#include "tools/partlib/Output.h"

#include <algorithm>

namespace partlib {

namespace {

class DefinitionSet : public LibraryEdit {
public:
    std::string name;
    std::optional<std::string> pcbComponentName, pcbAlternateName, value, stem, pspice, maxPins;
    std::optional<bool> gateSwapping, pinNumName, isFPGA;
    std::vector<std::string> attributes, removedAttributes;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        hostmodel::PartDefinition &definition = findDefinition(edited, name);
        if (!pcbComponentName && !pcbAlternateName && !value && !stem && !pspice && !maxPins && !gateSwapping &&
            !pinNumName && !isFPGA && attributes.empty() && removedAttributes.empty())
            fail("partlib definition set changes what its options name: give at least one, e.g. --value TEXT or "
                 "--attribute NAME=VALUE (partlib definition set --help lists them)");
        if (pcbComponentName) {
            if (pcbComponentName->empty())
                fail("--pcb-component cannot be empty: every part definition names its PCB component");
            definition.pcbComponentName =
                checkedText(*pcbComponentName, "Part_Definition", "PCB_component_name", "--pcb-component");
        }
        if (pcbAlternateName)
            definition.pcbAlternateName =
                optionText(*pcbAlternateName, "Part_Definition", "PCB_alternate_name", "--pcb-alternate");
        if (value)
            definition.value = optionText(*value, "Part_Definition", "Part_def_value", "--value");
        if (stem)
            definition.componentNameStem = optionText(*stem, "Part_Definition", "Component_name_stem", "--stem");
        if (pspice)
            definition.pspice = optionText(*pspice, "Part_Definition", "PSpice_data", "--pspice");
        if (maxPins)
            definition.maxConnectorPins = optionNumber(*maxPins, "--max-connector-pins").value_or(0);
        if (gateSwapping)
            definition.gateSwapping = *gateSwapping;
        if (pinNumName)
            definition.pinNumName = *pinNumName;
        if (isFPGA)
            definition.isFPGA = *isFPGA;
        for (const std::string &removed : removedAttributes)
            removeAttribute(definition, removed);
        for (const std::string &attribute : attributes)
            setAttribute(definition, attribute);
    }

    void removeAttribute(hostmodel::PartDefinition &definition, const std::string &attribute) const {
        auto found = std::find_if(definition.attributes.begin(), definition.attributes.end(),
                                  [&](const hostmodel::Attribute &a) { return a.name == attribute; });
        if (found == definition.attributes.end())
            fail("Part definition " + printable(name) + " has no attribute named \"" + printable(attribute) +
                 "\" to remove (partlib show on one of its parts lists them)");
        definition.attributes.erase(found);
    }

    // NAME=VALUE: the attribute's value, or a new attribute (usage type 0,
    // not read-only) kept in the name order the library file uses.
    void setAttribute(hostmodel::PartDefinition &definition, const std::string &assignment) const {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0)
            fail("--attribute \"" + printable(assignment) +
                 "\" is not NAME=VALUE: write e.g. --attribute "
                 "Tolerance=1%");
        const std::string attribute = checkedText(assignment.substr(0, equals), "Attributes", "Name", "--attribute");
        const std::string text =
            checkedText(assignment.substr(equals + 1), "Attributes", "Attribute_value", "--attribute");
        auto found = std::find_if(definition.attributes.begin(), definition.attributes.end(),
                                  [&](const hostmodel::Attribute &a) { return a.name >= attribute; });
        if (found != definition.attributes.end() && found->name == attribute)
            found->value = text;
        else
            definition.attributes.insert(found, hostmodel::Attribute{attribute, text});
    }

    std::string what() const override { return "part definition " + printable(name) + " changed"; }
};

class DefinitionRemove : public LibraryEdit {
public:
    std::string name;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &names) override {
        const hostmodel::PartDefinition &definition = findDefinition(edited, name);
        std::vector<std::string> users;
        for (const auto &[part, holder] : names.parts)
            if (holder.definition == name)
                users.push_back(holder.library == libraryName() ? part : part + " (library " + holder.library + ")");
        if (!users.empty()) {
            std::sort(users.begin(), users.end());
            std::string listed;
            for (size_t i = 0; i < users.size() && i < 3; ++i)
                listed += (i ? ", " : "") + printable(users[i]);
            fail("Part definition " + printable(name) + " is used by " + std::to_string(users.size()) +
                 (users.size() == 1 ? " part: " : " parts: ") + listed + (users.size() > 3 ? ", ..." : "") +
                 ". Give them another definition (partlib part set ... --definition OTHER) or remove them first");
        }
        edited.definitions.erase(edited.definitions.begin() + (&definition - edited.definitions.data()));
    }
    std::string what() const override { return "part definition " + printable(name) + " removed"; }
};

} // namespace

void addDefinitionCommands(CLI::App &app) {
    CLI::App *group =
        LibraryEdit::addGroup(app, "definition", "Change or remove one part definition of a library",
                              "New definitions, and their pins and gates, come with a library file: partlib import "
                              "(docs/library-format.md).");

    auto set = std::make_shared<DefinitionSet>();
    CLI::App *command = LibraryEdit::add(*group, "set", "Change fields and attributes of a part definition", set);
    command->add_option("NAME", set->name, "The part definition")->required();
    command->add_option("--pcb-component", set->pcbComponentName, "PCB component name");
    command->add_option("--pcb-alternate", set->pcbAlternateName, "PCB alternate name");
    command->add_option("--value", set->value, "Value");
    command->add_option("--stem", set->stem, "Component name stem (reference prefix)");
    command->add_option("--pspice", set->pspice, "PSpice data");
    command->add_option("--max-connector-pins", set->maxPins, "Maximum connector pins, a whole number");
    command->add_option("--gate-swapping", set->gateSwapping, "Gate swapping (true or false)");
    command->add_option("--pin-num-name", set->pinNumName, "Pin numbers as names (true or false)");
    command->add_option("--fpga", set->isFPGA, "Is an FPGA (true or false)");
    command->add_option("--attribute", set->attributes,
                        "NAME=VALUE: set an attribute's value, or add the attribute (repeatable)");
    command->add_option("--remove-attribute", set->removedAttributes, "Remove the attribute NAME (repeatable)");

    auto remove = std::make_shared<DefinitionRemove>();
    command = LibraryEdit::add(*group, "remove", "Remove a part definition that no part uses", remove);
    command->add_option("NAME", remove->name, "The part definition")->required();
}

} // namespace partlib
