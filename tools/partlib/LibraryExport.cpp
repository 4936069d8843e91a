// The exporter: each chosen library with its fields, folder tree, part
// definitions and parts, written through the JSON writer.

#include "tools/partlib/LibraryExport.h"

#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/JsonWriter.h"
#include "tools/partlib/LibraryFolders.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/readers/TextWidths.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/PartLibInterface.h"

#include <algorithm>
#include <unordered_map>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::flag;
using hostmodel::nullableNumber;
using hostmodel::nullableText;
using hostmodel::number;
using hostmodel::text;

namespace textWidth = DBIMPL::textWidth;

// Writes one library: its fields, folder tree, definitions and parts.
class LibraryExporter {
public:
    LibraryExporter(JsonWriter &json, LibraryAccess &library, const ExportOptions &options)
        : json(json), library(library), options(options), name(text<51>(library, &LibraryAccess::getName)) {}

    void write() {
        json.setContext("library " + name);
        json.beginObject();
        json.field("name", name);
        json.field("enabled", flag(library, &LibraryAccess::getEnabled));
        json.field("comment", nullableText<256>(library, &LibraryAccess::getComment));

        json.key("folders");
        writeFolders(folders.tree);

        std::shared_ptr<Reader<PartDefAccess>> definitions = opened(library.getPartDefReader(0), "part definitions");
        std::shared_ptr<Reader<PartAccess>> parts = opened(library.getPartReader(partFilterCompHandle_t(), 0), "parts");
        total = static_cast<long>(definitions->getCount()) + parts->getCount();
        writeDefinitions(*definitions);
        writeParts(*parts);
        json.endObject();
    }

private:
    void writeFolders(const std::vector<hostmodel::Folder> &level) {
        json.beginArray();
        for (const hostmodel::Folder &folder : level) {
            json.beginObject();
            json.field("name", folder.name);
            json.key("folders");
            writeFolders(folder.children);
            json.endObject();
        }
        json.endArray();
    }

    void writeDefinitions(Reader<PartDefAccess> &definitions) {
        std::unique_ptr<DetailSource> details =
            options.details ? options.details(library) : libraryWideDetails(library);
        json.key("partDefinitions");
        json.beginArray();
        while (std::shared_ptr<PartDefAccess> definition = definitions.getNext()) {
            const std::string definitionName = text<51>(*definition, &PartDefAccess::getName);
            definitionNames.emplace(definition->getID(), definitionName);
            DefinitionDetails content;
            details->read(*definition, content);
            json.setContext("library " + name + ", part definition " + definitionName);
            writeDefinition(*definition, definitionName, content);
            progress();
        }
        details->finish();
        json.endArray();
    }

    void writeDefinition(PartDefAccess &definition, const std::string &definitionName,
                         const DefinitionDetails &content) {
        json.beginObject();
        json.field("name", definitionName);
        json.field("pcbComponentName", text<51>(definition, &PartDefAccess::getPCBCompName));
        json.field("pcbAlternateName", nullableText<51>(definition, &PartDefAccess::getPCBCompAltName));
        json.field("value", nullableText<256>(definition, &PartDefAccess::getValue));
        json.field("componentNameStem", nullableText<21>(definition, &PartDefAccess::getCompNameStem));
        json.field("pspiceData", nullableText<textWidth::DEFINITION_PSPICE>(definition, &PartDefAccess::getPSpice));
        json.field("maxConnectorPins", number(definition, &PartDefAccess::getMaxConnectorPins));
        json.field("gateSwapping", flag(definition, &PartDefAccess::getGateSwapping));
        json.field("pinNumName", flag(definition, &PartDefAccess::getPinNumName));
        json.field("isFPGA", flag(definition, &PartDefAccess::getIsFPGA));

        json.key("pins");
        json.beginArray();
        for (const PinRecord &pin : content.pins) {
            json.beginObject();
            json.field("identifier", pin.identifier);
            json.field("name", pin.name);
            json.field("label", pin.label);
            json.field("position", pin.position);
            json.field("type", pin.type);
            json.field("loading", pin.loading);
            json.field("signal", pin.signal);
            json.field("equivGroup", groupIndex(pin, content, definitionName));
            json.endObject();
        }
        json.endArray();

        json.key("gates");
        json.beginArray();
        for (const GateRecord &gate : content.gates) {
            json.beginObject();
            json.field("name", gate.name);
            json.field("altName", gate.altName);
            writePins(gate.pins);
            json.endObject();
        }
        json.endArray();

        json.key("gateSwaps");
        json.beginArray();
        for (const GateSwapRecord &swap : content.gateSwaps) {
            json.beginObject();
            json.field("name", swap.name);
            json.key("gates");
            json.beginArray();
            for (const SwapGateRecord &member : swap.gates) {
                json.beginObject();
                json.field("equivType", member.equivType);
                writePins(member.pins);
                json.endObject();
            }
            json.endArray();
            json.endObject();
        }
        json.endArray();

        json.key("pinEquivalences");
        json.beginArray();
        for (const PinEquivRecord &group : content.pinEquivalences) {
            json.beginObject();
            writePins(group.pins);
            json.endObject();
        }
        json.endArray();

        json.key("attributes");
        json.beginArray();
        for (const AttributeRecord &attribute : content.attributes) {
            json.beginObject();
            json.field("name", attribute.name);
            json.field("value", attribute.value);
            json.field("usageType", attribute.usageType);
            json.field("readOnly", attribute.readOnly);
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }

    // The position of the pin's equivalence group in the definition's list.
    Number groupIndex(const PinRecord &pin, const DefinitionDetails &content, const std::string &definitionName) {
        if (!pin.equivGroupID)
            return std::nullopt;
        for (size_t i = 0; i < content.pinEquivalences.size(); ++i)
            if (content.pinEquivalences[i].id == *pin.equivGroupID)
                return static_cast<int>(i);
        fail("Pin " + pin.identifier.value_or("(no identifier)") + " of part definition " + definitionName +
             " in library " + name + " belongs to pin-equivalence group " + std::to_string(*pin.equivGroupID) +
             ", which is not a group of that definition");
    }

    void writePins(const std::vector<Text> &pins) {
        json.key("pins");
        json.beginArray();
        for (const Text &pin : pins)
            json.value(pin);
        json.endArray();
    }

    void writeParts(Reader<PartAccess> &parts) {
        json.key("parts");
        json.beginArray();
        while (std::shared_ptr<PartAccess> part = parts.getNext()) {
            const std::string partName = text<51>(*part, &PartAccess::getName);
            json.setContext("library " + name + ", part " + partName);
            json.beginObject();
            json.field("name", partName);
            json.field("number", nullableText<51>(*part, &PartAccess::getNumber));
            json.field("description", nullableText<256>(*part, &PartAccess::getDescription));
            json.field("pspiceData", nullableText<81>(*part, &PartAccess::getPSpice));
            json.field("version", nullableNumber(*part, &PartAccess::getVersion));
            json.field("acceptance", nullableText<256>(*part, &PartAccess::getPartAcceptance));
            json.field("type", nullableNumber(*part, &PartAccess::getPartType));

            json.key("folder");
            json.beginArray();
            for (const std::string &folderName : folders.pathOf(partName))
                json.value(std::string_view(folderName));
            json.endArray();
            auto definition = definitionNames.find(number(*part, &PartAccess::getPartDefID));
            if (definition == definitionNames.end())
                fail("Part " + partName + " of library " + name + " is built on a part definition of another library");
            json.field("definition", definition->second);
            json.endObject();
            progress();
        }
        json.endArray();
    }

    void progress() {
        if (options.progress)
            options.progress(name, ++done, total);
    }

    JsonWriter &json;
    LibraryAccess &library;
    const ExportOptions &options;
    const std::string name;
    const LibraryFolders folders{library, name};
    std::unordered_map<int, std::string> definitionNames;
    long done = 0;
    long total = 0;
};

// The libraries to export, in the reader's order; unknown names refused.
std::vector<std::shared_ptr<LibraryAccess>> chosenLibraries(const pathHandle_t &path,
                                                            const std::vector<std::string> &names) {
    libraryReaderHandle_t reader = opened(getLibraryReader(path, nullptr), "libraries");
    std::vector<std::shared_ptr<LibraryAccess>> chosen;
    std::vector<std::string> seen;
    while (std::shared_ptr<LibraryAccess> library = reader->getNext()) {
        std::string libraryName = text<51>(*library, &LibraryAccess::getName);
        if (names.empty() || std::find(names.begin(), names.end(), libraryName) != names.end())
            chosen.push_back(library);
        seen.push_back(std::move(libraryName));
    }
    for (const std::string &wanted : names)
        if (std::find(seen.begin(), seen.end(), wanted) == seen.end())
            fail("No library named \"" + wanted + "\" in the database");
    return chosen;
}

} // namespace

void refuseMissingReader(const char *what) {
    fail(std::string("The database offers no reader of ") + what);
}

void exportLibraries(const pathHandle_t &path, std::ostream &out, const ExportOptions &options) {
    // One transaction, so that every query sees the same database; nothing
    // is changed, so it is rolled back.
    path->startTransaction();
    try {
        std::vector<std::shared_ptr<LibraryAccess>> libraries = chosenLibraries(path, options.libraries);
        JsonWriter json(out);
        json.beginObject();
        json.field("format", LIBRARY_FORMAT_VERSION);
        json.key("libraries");
        json.beginArray();
        for (const std::shared_ptr<LibraryAccess> &library : libraries)
            LibraryExporter(json, *library, options).write();
        json.endArray();
        json.endObject();
        json.finish();
    } catch (...) {
        path->abortTransaction();
        throw;
    }
    path->abortTransaction();
}

} // namespace partlib
