#include "fuzz/StorableLibrary.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "fuzz/FuzzSupport.h"
#include "tools/libraryfile/LibraryFile.h"

#include <set>

namespace fuzzsupport {

namespace {

void fits(const std::string &table, const std::string &column, const std::string &text) {
    const size_t width = libraryfile::columnWidth(table, column);
    check(width > 0, "no such text column", table + "." + column);
    check(COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::characterCount(text) <= width,
          "a text over its column's width in characters", table + "." + column + ": " + text);
}

void fits(const std::string &table, const std::string &column, const hostmodel::Text &text) {
    if (text)
        fits(table, column, *text);
}

void foldersFit(const std::vector<hostmodel::Folder> &folders) {
    std::set<std::string> names;
    for (const hostmodel::Folder &folder : folders) {
        fits("Hierarchy", "Name", folder.name);
        check(names.insert(folder.name).second, "two folders of one parent share a name", folder.name);
        foldersFit(folder.children);
    }
}

void definitionFits(const hostmodel::PartDefinition &definition) {
    fits("Part_Definition", "Name", definition.name);
    fits("Part_Definition", "PCB_component_name", definition.pcbComponentName);
    fits("Part_Definition", "PCB_alternate_name", definition.pcbAlternateName);
    fits("Part_Definition", "Part_def_value", definition.value);
    fits("Part_Definition", "Component_name_stem", definition.componentNameStem);
    fits("Part_Definition", "PSpice_data", definition.pspice);
    for (const hostmodel::Pin &pin : definition.pins) {
        fits("Pin_Data", "Pin_identifier", pin.identifier);
        fits("Pin_Data", "Name", pin.name);
        fits("Pin_Data", "Label", pin.label);
        fits("Pin_Data", "Signal", pin.signal);
    }
    for (const hostmodel::Gate &gate : definition.gates) {
        fits("Gate", "Name", gate.name);
        fits("Gate", "Alt_name", gate.altName);
    }
    for (const hostmodel::GateSwap &swap : definition.gateSwaps)
        fits("Gate_Equiv", "Name", swap.name);
    std::set<std::string> attributes;
    for (const hostmodel::Attribute &attribute : definition.attributes) {
        fits("Attributes", "Name", attribute.name);
        fits("Attributes", "Attribute_value", attribute.value);
        check(attributes.insert(attribute.name).second, "two attributes of one definition share a name",
              attribute.name);
    }
}

void partFits(const hostmodel::Part &part) {
    fits("Parts", "Name", part.name);
    fits("Parts", "Part_number", part.number);
    fits("Parts", "Description", part.description);
    fits("Parts", "PSpice_data", part.pspice);
    fits("Parts", "Part_Acceptance", part.acceptance);
}

} // namespace

void checkStorable(const std::vector<hostmodel::Library> &libraries, bool partsNameTheirDefinition) {
    std::set<std::string> libraryNames, definitionNames, partNames;
    for (const hostmodel::Library &library : libraries) {
        fits("Library", "Name", library.name);
        fits("Library", "Comment", library.comment);
        check(libraryNames.insert(library.name).second, "two libraries share a name", library.name);
        foldersFit(library.folders);
        std::set<std::string> ownDefinitions;
        for (const hostmodel::PartDefinition &definition : library.definitions) {
            definitionFits(definition);
            check(definitionNames.insert(definition.name).second, "two part definitions share a name", definition.name);
            ownDefinitions.insert(definition.name);
        }
        for (const hostmodel::Part &part : library.parts) {
            partFits(part);
            check(partNames.insert(part.name).second, "two parts share a name", part.name);
            check(!partsNameTheirDefinition || ownDefinitions.count(part.definition),
                  "a part whose definition is not in its library", part.name + " -> " + part.definition);
        }
    }
}

} // namespace fuzzsupport
