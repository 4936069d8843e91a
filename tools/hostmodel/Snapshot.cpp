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
    definition.name = text<51>(record, &PartDefAccess::getName);
    definition.pcbComponentName = text<51>(record, &PartDefAccess::getPCBCompName);
    definition.pcbAlternateName = nullableText<51>(record, &PartDefAccess::getPCBCompAltName);
    definition.value = nullableText<256>(record, &PartDefAccess::getValue);
    definition.componentNameStem = nullableText<21>(record, &PartDefAccess::getCompNameStem);
    definition.pspice = nullableText<textWidth::DEFINITION_PSPICE>(record, &PartDefAccess::getPSpice);
    definition.maxConnectorPins = number(record, &PartDefAccess::getMaxConnectorPins);
    definition.gateSwapping = flag(record, &PartDefAccess::getGateSwapping);
    definition.pinNumName = flag(record, &PartDefAccess::getPinNumName);
    definition.isFPGA = flag(record, &PartDefAccess::getIsFPGA);
    return definition;
}

Part partFields(PartAccess &record) {
    Part part;
    part.name = text<51>(record, &PartAccess::getName);
    part.number = nullableText<51>(record, &PartAccess::getNumber);
    part.description = nullableText<256>(record, &PartAccess::getDescription);
    part.pspice = nullableText<81>(record, &PartAccess::getPSpice);
    part.version = nullableNumber(record, &PartAccess::getVersion);
    part.acceptance = nullableText<256>(record, &PartAccess::getPartAcceptance);
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
        return Folder{text<51>(folder, &HierarchyAccess::getName), foldersOf(folder.getHierarchyChildReader())};
    });
}

template <class T> PinRef pinRefOf(T &pin) {
    return {nullableText<11>(pin, &T::getPinIdentifier)};
}

PartDefinition definitionOf(PartDefAccess &record) {
    PartDefinition definition = definitionFields(record);
    definition.pins = listOf(record.getPinDataReader(), [](PinDataAccess &pin) {
        return Pin{nullableText<11>(pin, &PinDataAccess::getPinIdentifier),
                   nullableText<11>(pin, &PinDataAccess::getName),
                   nullableText<51>(pin, &PinDataAccess::getLabel),
                   nullableNumber(pin, &PinDataAccess::getPosition),
                   nullableNumber(pin, &PinDataAccess::getType),
                   nullableNumber(pin, &PinDataAccess::getLoading),
                   nullableText<textWidth::PIN_SIGNAL>(pin, &PinDataAccess::getSignal)};
    });
    definition.pinEquivalences = listOf(record.getPinEquivReader(), [](PinEquivAccess &group) {
        return PinEquivalence{listOf(group.getEquivilentPins(), pinRefOf<PinEquivDataAccess>)};
    });
    definition.gates = listOf(record.getGateReader(), [](GateAccess &gate) {
        return Gate{text<51>(gate, &GateAccess::getName), nullableText<51>(gate, &GateAccess::getAltName),
                    listOf(gate.getGateDataReader(), [](GateDataAccess &pin) {
                        GatePin read;
                        WholeText<11> identifier = "";
                        bool isNull = false;
                        pin.getPinIdentifier(isNull, identifier, sizeof identifier, read.create);
                        if (!isNull)
                            read.identifier = fromBuffer(identifier, sizeof identifier);
                        return read;
                    })};
    });
    definition.gateSwaps = listOf(record.getGateSwapReader(), [](GateSwapAccess &swap) {
        return GateSwap{text<51>(swap, &GateSwapAccess::getName),
                        listOf(swap.getGateSwapGateReader(), [](GateSwapGateAccess &member) {
                            return SwapGate{number(member, &GateSwapGateAccess::getEquivType),
                                            listOf(member.getGateSwapPinDataReader(), pinRefOf<GateSwapPinDataAccess>)};
                        })};
    });
    definition.attributes = listOf(record.getAttributesReader(), [](AttributeAccess &attribute) {
        return Attribute{text<textWidth::ATTRIBUTE_NAME>(attribute, &AttributeAccess::getName),
                         text<256>(attribute, &AttributeAccess::getValue), number(attribute, &AttributeAccess::getType),
                         number(attribute, &AttributeAccess::getReadOnly)};
    });
    return definition;
}

// The names of the folder and the folders above it, from the top down.
std::vector<std::string> pathOf(hierarchyAccessHandle_t folder) {
    std::vector<std::string> path;
    for (; folder; folder = folder->getParent())
        path.push_back(text<51>(*folder, &HierarchyAccess::getName));
    std::reverse(path.begin(), path.end());
    return path;
}

Part partOf(PartAccess &record) {
    Part part = partFields(record);
    part.folder = pathOf(record.getPartHierarchy());
    if (std::shared_ptr<PartDefAccess> definition = record.getPartPartDefn())
        part.definition = text<51>(*definition, &PartDefAccess::getName);
    return part;
}

} // namespace

Library snapshot(LibraryAccess &record) {
    Library library;
    library.name = text<51>(record, &LibraryAccess::getName);
    library.enabled = flag(record, &LibraryAccess::getEnabled);
    library.comment = nullableText<256>(record, &LibraryAccess::getComment);
    library.state = record.getState();
    library.folders = foldersOf(record.getHierarchyReader());
    library.definitions = listOf(record.getPartDefReader(0), definitionOf);
    library.parts = listOf(record.getPartReader("", 0), partOf);
    return library;
}

} // namespace hostmodel
