#include "tools/hostmodel/Snapshot.h"

#include "ctraxdbpartlib/readers/TextWidths.h"
#include "interface/PartLibInterface.h"

#include <algorithm>
#include <utility>

namespace hostmodel {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
namespace textWidth = DBIMPL::textWidth;

PartDefinition definitionFields(PartDefAccess &record) {
    PartDefinition definition;
    definition.name = text<DBIMPL::bufferWidth("Part_Definition", "Name")>(record, &PartDefAccess::getName);
    definition.pcbComponentName =
        text<DBIMPL::bufferWidth("Part_Definition", "PCB_component_name")>(record, &PartDefAccess::getPCBCompName);
    definition.pcbAlternateName = nullableText<DBIMPL::bufferWidth("Part_Definition", "PCB_alternate_name")>(
        record, &PartDefAccess::getPCBCompAltName);
    definition.value =
        nullableText<DBIMPL::bufferWidth("Part_Definition", "Part_def_value")>(record, &PartDefAccess::getValue);
    definition.componentNameStem = nullableText<DBIMPL::bufferWidth("Part_Definition", "Component_name_stem")>(
        record, &PartDefAccess::getCompNameStem);
    definition.pspice = nullableText<textWidth::DEFINITION_PSPICE>(record, &PartDefAccess::getPSpice);
    definition.maxConnectorPins = number(record, &PartDefAccess::getMaxConnectorPins);
    definition.gateSwapping = flag(record, &PartDefAccess::getGateSwapping);
    definition.pinNumName = flag(record, &PartDefAccess::getPinNumName);
    definition.isFPGA = flag(record, &PartDefAccess::getIsFPGA);
    return definition;
}

Part partFields(PartAccess &record) {
    Part part;
    part.name = text<DBIMPL::bufferWidth("Parts", "Name")>(record, &PartAccess::getName);
    part.number = nullableText<DBIMPL::bufferWidth("Parts", "Part_number")>(record, &PartAccess::getNumber);
    part.description = nullableText<DBIMPL::bufferWidth("Parts", "Description")>(record, &PartAccess::getDescription);
    part.pspice = nullableText<DBIMPL::bufferWidth("Parts", "PSpice_data")>(record, &PartAccess::getPSpice);
    part.version = nullableNumber(record, &PartAccess::getVersion);
    // Wider than the column: the plug-in hands it out in 256 (TextWidths.h asserts it holds the column).
    part.acceptance = nullableText<textWidth::PART_ACCEPTANCE_BUFFER>(record, &PartAccess::getPartAcceptance);
    part.type = nullableNumber(record, &PartAccess::getPartType);
    return part;
}

namespace {

// The items `read` makes of the reader's records, each with the state the
// reader reports for its record.
template <class T, class F> auto listOf(const std::shared_ptr<Reader<T>> &reader, F read) {
    std::vector<decltype(read(std::declval<T &>()))> items;
    if (!reader)
        return items;
    while (std::shared_ptr<T> record = reader->getNext()) {
        items.push_back(read(*record));
        items.back().state = reader->getItemState(record);
    }
    return items;
}

std::vector<Folder> foldersOf(const std::shared_ptr<Reader<HierarchyAccess>> &reader) {
    return listOf(reader, [](HierarchyAccess &folder) {
        return Folder{text<DBIMPL::bufferWidth("Hierarchy", "Name")>(folder, &HierarchyAccess::getName),
                      foldersOf(folder.getHierarchyChildReader())};
    });
}

template <class T> PinRef pinRefOf(T &pin) {
    return {nullableText<DBIMPL::bufferWidth("Pin_Data", "Pin_identifier")>(pin, &T::getPinIdentifier)};
}

PartDefinition definitionOf(PartDefAccess &record) {
    PartDefinition definition = definitionFields(record);
    definition.pins = listOf(record.getPinDataReader(), [](PinDataAccess &pin) {
        return Pin{
            nullableText<DBIMPL::bufferWidth("Pin_Data", "Pin_identifier")>(pin, &PinDataAccess::getPinIdentifier),
            nullableText<DBIMPL::bufferWidth("Pin_Data", "Name")>(pin, &PinDataAccess::getName),
            nullableText<DBIMPL::bufferWidth("Pin_Data", "Label")>(pin, &PinDataAccess::getLabel),
            nullableNumber(pin, &PinDataAccess::getPosition),
            nullableNumber(pin, &PinDataAccess::getType),
            nullableNumber(pin, &PinDataAccess::getLoading),
            nullableText<textWidth::PIN_SIGNAL>(pin, &PinDataAccess::getSignal)};
    });
    definition.pinEquivalences = listOf(record.getPinEquivReader(), [](PinEquivAccess &group) {
        return PinEquivalence{listOf(group.getEquivilentPins(), pinRefOf<PinEquivDataAccess>)};
    });
    definition.gates = listOf(record.getGateReader(), [](GateAccess &gate) {
        return Gate{text<DBIMPL::bufferWidth("Gate", "Name")>(gate, &GateAccess::getName),
                    nullableText<DBIMPL::bufferWidth("Gate", "Alt_name")>(gate, &GateAccess::getAltName),
                    listOf(gate.getGateDataReader(), [](GateDataAccess &pin) {
                        GatePin read;
                        WholeText<DBIMPL::bufferWidth("Pin_Data", "Pin_identifier")> identifier = "";
                        bool isNull = false;
                        pin.getPinIdentifier(isNull, identifier, sizeof identifier, read.create);
                        if (!isNull)
                            read.identifier = fromBuffer(identifier, sizeof identifier);
                        return read;
                    })};
    });
    definition.gateSwaps = listOf(record.getGateSwapReader(), [](GateSwapAccess &swap) {
        return GateSwap{text<DBIMPL::bufferWidth("Gate_Equiv", "Name")>(swap, &GateSwapAccess::getName),
                        listOf(swap.getGateSwapGateReader(), [](GateSwapGateAccess &member) {
                            return SwapGate{number(member, &GateSwapGateAccess::getEquivType),
                                            listOf(member.getGateSwapPinDataReader(), pinRefOf<GateSwapPinDataAccess>)};
                        })};
    });
    definition.attributes = listOf(record.getAttributesReader(), [](AttributeAccess &attribute) {
        return Attribute{
            text<textWidth::ATTRIBUTE_NAME>(attribute, &AttributeAccess::getName),
            text<DBIMPL::bufferWidth("Attributes", "Attribute_value")>(attribute, &AttributeAccess::getValue),
            number(attribute, &AttributeAccess::getType), number(attribute, &AttributeAccess::getReadOnly)};
    });
    return definition;
}

// The names of the folder and the folders above it, from the top down.
std::vector<std::string> pathOf(hierarchyAccessHandle_t folder) {
    std::vector<std::string> path;
    for (; folder; folder = folder->getParent())
        path.push_back(text<DBIMPL::bufferWidth("Hierarchy", "Name")>(*folder, &HierarchyAccess::getName));
    std::reverse(path.begin(), path.end());
    return path;
}

Part partOf(PartAccess &record) {
    Part part = partFields(record);
    part.folder = pathOf(record.getPartHierarchy());
    if (std::shared_ptr<PartDefAccess> definition = record.getPartPartDefn())
        part.definition = text<DBIMPL::bufferWidth("Part_Definition", "Name")>(*definition, &PartDefAccess::getName);
    return part;
}

} // namespace

Library snapshot(LibraryAccess &record) {
    Library library;
    library.name = text<DBIMPL::bufferWidth("Library", "Name")>(record, &LibraryAccess::getName);
    library.enabled = flag(record, &LibraryAccess::getEnabled);
    library.comment = nullableText<DBIMPL::bufferWidth("Library", "Comment")>(record, &LibraryAccess::getComment);
    library.state = record.getState();
    library.folders = foldersOf(record.getHierarchyReader());
    library.definitions = listOf(record.getPartDefReader(0), definitionOf);
    library.parts = listOf(record.getPartReader("", 0), partOf);
    return library;
}

} // namespace hostmodel
