#include "tools/partlib/CatalogueData.h"

#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryExport.h"

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using Json = nlohmann::json;

Json nullable(const Text &text) {
    return text ? Json(*text) : Json();
}
Json nullable(const Number &number) {
    return number ? Json(*number) : Json();
}

Json identifiers(const std::vector<Text> &pins) {
    Json list = Json::array();
    for (const Text &pin : pins)
        list.push_back(nullable(pin));
    return list;
}

Json definitionJson(const DefinitionFields &fields, const DefinitionDetails &content, const std::string &where) {
    Json pins = Json::array();
    for (const PinRecord &pin : content.pins)
        pins.push_back({nullable(pin.identifier), nullable(pin.name), nullable(pin.label), nullable(pin.position),
                        nullable(pin.type), nullable(pin.loading), nullable(pin.signal),
                        nullable(groupIndexOf(pin, content, where))});
    Json gates = Json::array();
    for (const GateRecord &gate : content.gates)
        gates.push_back({gate.name, nullable(gate.altName), identifiers(gate.pins)});
    Json swaps = Json::array();
    for (const GateSwapRecord &swap : content.gateSwaps) {
        Json members = Json::array();
        for (const SwapGateRecord &member : swap.gates)
            members.push_back({member.equivType, identifiers(member.pins)});
        swaps.push_back({swap.name, std::move(members)});
    }
    Json equivalences = Json::array();
    for (const PinEquivRecord &group : content.pinEquivalences)
        equivalences.push_back(identifiers(group.pins));
    Json attributes = Json::array();
    for (const AttributeRecord &attribute : content.attributes)
        attributes.push_back({attribute.name, attribute.value, attribute.usageType, attribute.readOnly});

    Json definition = Json::object();
    definition["name"] = fields.name;
    definition["pcbComponentName"] = fields.pcbComponentName;
    definition["pcbAlternateName"] = nullable(fields.pcbAlternateName);
    definition["value"] = nullable(fields.value);
    definition["componentNameStem"] = nullable(fields.componentNameStem);
    definition["pspiceData"] = nullable(fields.pspiceData);
    definition["maxConnectorPins"] = fields.maxConnectorPins;
    definition["gateSwapping"] = fields.gateSwapping;
    definition["pinNumName"] = fields.pinNumName;
    definition["isFPGA"] = fields.isFPGA;
    definition["pins"] = std::move(pins);
    definition["gates"] = std::move(gates);
    definition["gateSwaps"] = std::move(swaps);
    definition["pinEquivalences"] = std::move(equivalences);
    definition["attributes"] = std::move(attributes);
    return definition;
}

} // namespace

std::string scriptSafeJson(const Json &value) {
    const std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    std::string safe;
    safe.reserve(text.size());
    // '<' stands only inside strings, where \u003c means the same.
    for (char c : text)
        if (c == '<')
            safe += "\\u003c";
        else
            safe += c;
    return safe;
}

CatalogueData::CatalogueData(std::ostream &out, LibraryAccess &library, const LibraryFolders &folders,
                             std::function<void()> progress)
    : out(out), library(library), folders(folders), progress(std::move(progress)),
      name(hostmodel::text<DBIMPL::bufferWidth("Library", "Name")>(library, &LibraryAccess::getName)) {}

void CatalogueData::write() {
    out << "{\"name\":" << scriptSafeJson(name)
        << ",\"enabled\":" << (hostmodel::flag(library, &LibraryAccess::getEnabled) ? "true" : "false")
        << ",\"comment\":"
        << scriptSafeJson(nullable(hostmodel::nullableText<DBIMPL::bufferWidth("Library", "Comment")>(
               library, &LibraryAccess::getComment)));
    writeFolders();
    writeDefinitions();
    writeParts();
    out << "}";
}

void CatalogueData::writeFolders() {
    Json list = Json::array();
    const std::function<void(const std::vector<Folder> &, int)> add = [&](const std::vector<Folder> &level,
                                                                          int parent) {
        for (const Folder &folder : level) {
            const int index = static_cast<int>(list.size());
            folderIndex.emplace(folder.id, index);
            list.push_back({folder.name, parent});
            add(folder.folders, index);
        }
    };
    add(folders.tree(), -1);
    out << ",\"folders\":" << scriptSafeJson(list);
}

void CatalogueData::writeDefinitions() {
    std::shared_ptr<Reader<PartDefAccess>> definitions = opened(library.getPartDefReader(0), "part definitions");
    std::unique_ptr<DetailSource> details = libraryWideDetails(library);
    out << ",\"definitions\":[";
    while (std::shared_ptr<PartDefAccess> definition = definitions->getNext()) {
        const DefinitionFields fields = definitionFields(*definition);
        DefinitionDetails content;
        details->read(*definition, content);
        const int index = static_cast<int>(definitionIndex.size());
        definitionIndex.emplace(fields.id, index);
        out << (index ? "," : "")
            << scriptSafeJson(
                   definitionJson(fields, content, "part definition " + fields.name + " in library " + name));
        if (progress)
            progress();
    }
    details->finish();
    out << "]";
}

void CatalogueData::writeParts() {
    std::shared_ptr<Reader<PartAccess>> parts = opened(library.getPartReader(partFilterCompHandle_t(), 0), "parts");
    out << ",\"parts\":[";
    bool first = true;
    while (std::shared_ptr<PartAccess> part = parts->getNext()) {
        const PartFields fields = partFields(*part);
        auto definition = definitionIndex.find(fields.definitionID);
        if (definition == definitionIndex.end())
            fail("Part " + fields.name + " of library " + name + " is built on a part definition of another library");
        const Json row = {fields.name,
                          nullable(fields.number),
                          nullable(fields.description),
                          nullable(fields.pspiceData),
                          nullable(fields.version),
                          nullable(fields.acceptance),
                          nullable(fields.type),
                          folderIndex.at(folders.folderOfPart(fields.name)),
                          definition->second};
        out << (first ? "" : ",") << scriptSafeJson(row);
        first = false;
        if (progress)
            progress();
    }
    out << "]";
}

} // namespace partlib
