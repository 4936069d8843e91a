// The fields of part definitions and parts, read from their records.

#include "tools/partlib/LibraryExport.h"

#include "ctraxdbpartlib/readers/TextWidths.h"
#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::flag;
using hostmodel::nullableNumber;
using hostmodel::nullableText;
using hostmodel::number;
using hostmodel::text;

DefinitionFields definitionFields(PartDefAccess &definition) {
    DefinitionFields fields;
    fields.id = definition.getID();
    fields.name = text<51>(definition, &PartDefAccess::getName);
    fields.pcbComponentName = text<51>(definition, &PartDefAccess::getPCBCompName);
    fields.pcbAlternateName = nullableText<51>(definition, &PartDefAccess::getPCBCompAltName);
    fields.value = nullableText<256>(definition, &PartDefAccess::getValue);
    fields.componentNameStem = nullableText<21>(definition, &PartDefAccess::getCompNameStem);
    fields.pspiceData = nullableText<DBIMPL::textWidth::DEFINITION_PSPICE>(definition, &PartDefAccess::getPSpice);
    fields.maxConnectorPins = number(definition, &PartDefAccess::getMaxConnectorPins);
    fields.gateSwapping = flag(definition, &PartDefAccess::getGateSwapping);
    fields.pinNumName = flag(definition, &PartDefAccess::getPinNumName);
    fields.isFPGA = flag(definition, &PartDefAccess::getIsFPGA);
    return fields;
}

PartFields partFields(PartAccess &part) {
    PartFields fields;
    fields.name = text<51>(part, &PartAccess::getName);
    fields.number = nullableText<51>(part, &PartAccess::getNumber);
    fields.description = nullableText<256>(part, &PartAccess::getDescription);
    fields.pspiceData = nullableText<81>(part, &PartAccess::getPSpice);
    fields.version = nullableNumber(part, &PartAccess::getVersion);
    fields.acceptance = nullableText<256>(part, &PartAccess::getPartAcceptance);
    fields.type = nullableNumber(part, &PartAccess::getPartType);
    fields.definitionID = number(part, &PartAccess::getPartDefID);
    return fields;
}

} // namespace partlib
