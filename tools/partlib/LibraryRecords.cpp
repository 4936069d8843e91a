// The fields of part definitions and parts, read from their records.

#include "tools/partlib/LibraryExport.h"

#include "ctraxdbpartlib/readers/TextWidths.h"
#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::assignNullableText;
using hostmodel::assignText;
using hostmodel::flag;
using hostmodel::nullableNumber;
using hostmodel::nullableText;
using hostmodel::number;
using hostmodel::text;

DefinitionFields definitionFields(PartDefAccess &definition) {
    DefinitionFields fields;
    fields.id = definition.getID();
    fields.name = text<DBIMPL::bufferWidth("Part_Definition", "Name")>(definition, &PartDefAccess::getName);
    fields.pcbComponentName =
        text<DBIMPL::bufferWidth("Part_Definition", "PCB_component_name")>(definition, &PartDefAccess::getPCBCompName);
    fields.pcbAlternateName = nullableText<DBIMPL::bufferWidth("Part_Definition", "PCB_alternate_name")>(
        definition, &PartDefAccess::getPCBCompAltName);
    fields.value =
        nullableText<DBIMPL::bufferWidth("Part_Definition", "Part_def_value")>(definition, &PartDefAccess::getValue);
    fields.componentNameStem = nullableText<DBIMPL::bufferWidth("Part_Definition", "Component_name_stem")>(
        definition, &PartDefAccess::getCompNameStem);
    fields.pspiceData = nullableText<DBIMPL::textWidth::DEFINITION_PSPICE>(definition, &PartDefAccess::getPSpice);
    fields.maxConnectorPins = number(definition, &PartDefAccess::getMaxConnectorPins);
    fields.gateSwapping = flag(definition, &PartDefAccess::getGateSwapping);
    fields.pinNumName = flag(definition, &PartDefAccess::getPinNumName);
    fields.isFPGA = flag(definition, &PartDefAccess::getIsFPGA);
    return fields;
}

void readPartFields(PartAccess &part, PartFields &fields) {
    assignText<DBIMPL::bufferWidth("Parts", "Name")>(fields.name, part, &PartAccess::getName);
    assignNullableText<DBIMPL::bufferWidth("Parts", "Part_number")>(fields.number, part, &PartAccess::getNumber);
    assignNullableText<DBIMPL::bufferWidth("Parts", "Description")>(fields.description, part,
                                                                    &PartAccess::getDescription);
    assignNullableText<DBIMPL::bufferWidth("Parts", "PSpice_data")>(fields.pspiceData, part, &PartAccess::getPSpice);
    fields.version = nullableNumber(part, &PartAccess::getVersion);
    // Wider than the column: the plug-in hands it out in 256 (TextWidths.h asserts it holds the column).
    assignNullableText<DBIMPL::textWidth::PART_ACCEPTANCE_BUFFER>(fields.acceptance, part,
                                                                  &PartAccess::getPartAcceptance);
    fields.type = nullableNumber(part, &PartAccess::getPartType);
    fields.definitionID = number(part, &PartAccess::getPartDefID);
}

PartFields partFields(PartAccess &part) {
    PartFields fields;
    readPartFields(part, fields);
    return fields;
}

} // namespace partlib
