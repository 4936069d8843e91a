#include "tools/partlib/StoredLibrary.h"

#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/hostmodel/Snapshot.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryExport.h"
#include "tools/partlib/LibraryFolders.h"

#include <unordered_map>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::flag;
using hostmodel::nullableText;
using hostmodel::number;
using hostmodel::text;

std::vector<hostmodel::PinRef> pinRefs(std::vector<Text> &identifiers) {
    std::vector<hostmodel::PinRef> refs;
    refs.reserve(identifiers.size());
    for (Text &identifier : identifiers)
        refs.push_back({std::move(identifier)});
    return refs;
}

// The details as the model holds them; a pin's group is its membership.
void addDetails(hostmodel::PartDefinition &definition, DefinitionDetails &details) {
    definition.pins.reserve(details.pins.size());
    for (PinRecord &pin : details.pins)
        definition.pins.push_back({std::move(pin.identifier), std::move(pin.name), std::move(pin.label), pin.position,
                                   pin.type, pin.loading, std::move(pin.signal)});
    for (PinEquivRecord &group : details.pinEquivalences)
        definition.pinEquivalences.push_back({pinRefs(group.pins)});
    for (GateRecord &gate : details.gates) {
        hostmodel::Gate made{std::move(gate.name), std::move(gate.altName), {}};
        for (Text &identifier : gate.pins)
            made.pins.push_back({std::move(identifier)});
        definition.gates.push_back(std::move(made));
    }
    for (GateSwapRecord &swap : details.gateSwaps) {
        hostmodel::GateSwap made{std::move(swap.name), {}};
        for (SwapGateRecord &member : swap.gates)
            made.gates.push_back({member.equivType, pinRefs(member.pins)});
        definition.gateSwaps.push_back(std::move(made));
    }
    for (AttributeRecord &attribute : details.attributes)
        definition.attributes.push_back(
            {std::move(attribute.name), std::move(attribute.value), attribute.usageType, attribute.readOnly});
}

// The folder tree in the host model's form.
std::vector<hostmodel::Folder> hostFolders(const std::vector<Folder> &level) {
    std::vector<hostmodel::Folder> out;
    out.reserve(level.size());
    for (const Folder &folder : level)
        out.push_back(hostmodel::Folder{folder.name, hostFolders(folder.folders)});
    return out;
}

} // namespace

hostmodel::Library readStoredLibrary(LibraryAccess &record) {
    hostmodel::Library library;
    library.name = text<DBIMPL::bufferWidth("Library", "Name")>(record, &LibraryAccess::getName);
    library.enabled = flag(record, &LibraryAccess::getEnabled);
    library.comment = nullableText<DBIMPL::bufferWidth("Library", "Comment")>(record, &LibraryAccess::getComment);
    const LibraryFolders folders(record, library.name);
    library.folders = hostFolders(folders.tree());

    std::unordered_map<int, size_t> definitionAt; // definition ID -> position
    {
        std::shared_ptr<Reader<PartDefAccess>> definitions = opened(record.getPartDefReader(0), "part definitions");
        std::unique_ptr<DetailSource> details = libraryWideDetails(record);
        while (std::shared_ptr<PartDefAccess> definition = definitions->getNext()) {
            definitionAt.emplace(definition->getID(), library.definitions.size());
            library.definitions.push_back(hostmodel::definitionFields(*definition));
            DefinitionDetails content;
            details->read(*definition, content);
            addDetails(library.definitions.back(), content);
        }
        details->finish();
    }

    std::shared_ptr<Reader<PartAccess>> parts = opened(record.getPartReader(partFilterCompHandle_t(), 0), "parts");
    while (std::shared_ptr<PartAccess> row = parts->getNext()) {
        hostmodel::Part part = hostmodel::partFields(*row);
        part.folder = folders.pathOf(folders.folderOfPart(part.name));
        auto definition = definitionAt.find(number(*row, &PartAccess::getPartDefID));
        if (definition == definitionAt.end())
            fail("Part " + part.name + " of library " + library.name +
                 " is built on a part definition of another library");
        part.definition = library.definitions[definition->second].name;
        library.parts.push_back(std::move(part));
    }
    return library;
}

} // namespace partlib
