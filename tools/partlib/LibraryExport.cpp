// The exporter: each chosen library with its fields, folder tree, part
// definitions and parts, written through the JSON writer.

#include "tools/partlib/LibraryExport.h"

#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/JsonWriter.h"
#include "tools/partlib/LibraryFolders.h"
#include "tools/partlib/ReadTransaction.h"
#include "tools/partlib/Suggestions.h"

#include "interface/CTraxDBPartLib.h"
#include "interface/PartLibInterface.h"

#include <algorithm>
#include <unordered_map>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::flag;
using hostmodel::nullableText;
using hostmodel::text;

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

        LibraryFolders folders(library, name);
        json.key("folders");
        writeFolders(folders.tree());

        std::shared_ptr<Reader<PartDefAccess>> definitions = opened(library.getPartDefReader(0), "part definitions");
        std::shared_ptr<Reader<PartAccess>> parts = opened(library.getPartReader(partFilterCompHandle_t(), 0), "parts");
        total = static_cast<long>(definitions->getCount()) + parts->getCount();
        writeDefinitions(*definitions);
        writeParts(*parts, folders);
        json.endObject();
    }

private:
    void writeFolders(const std::vector<Folder> &folders) {
        json.beginArray();
        for (const Folder &folder : folders) {
            json.beginObject();
            json.field("name", folder.name);
            json.key("folders");
            writeFolders(folder.folders);
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
            const DefinitionFields fields = definitionFields(*definition);
            definitionNames.emplace(fields.id, fields.name);
            DefinitionDetails content;
            details->read(*definition, content);
            json.setContext("library " + name + ", part definition " + fields.name);
            writeDefinition(fields, content);
            progress();
        }
        details->finish();
        json.endArray();
    }

    void writeDefinition(const DefinitionFields &fields, const DefinitionDetails &content) {
        json.beginObject();
        json.field("name", fields.name);
        json.field("pcbComponentName", fields.pcbComponentName);
        json.field("pcbAlternateName", fields.pcbAlternateName);
        json.field("value", fields.value);
        json.field("componentNameStem", fields.componentNameStem);
        json.field("pspiceData", fields.pspiceData);
        json.field("maxConnectorPins", fields.maxConnectorPins);
        json.field("gateSwapping", fields.gateSwapping);
        json.field("pinNumName", fields.pinNumName);
        json.field("isFPGA", fields.isFPGA);

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
            json.field("equivGroup",
                       groupIndexOf(pin, content, "part definition " + fields.name + " in library " + name));
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

    void writePins(const std::vector<Text> &pins) {
        json.key("pins");
        json.beginArray();
        for (const Text &pin : pins)
            json.value(pin);
        json.endArray();
    }

    void writeParts(Reader<PartAccess> &parts, const LibraryFolders &folders) {
        json.key("parts");
        json.beginArray();
        while (std::shared_ptr<PartAccess> part = parts.getNext()) {
            const PartFields fields = partFields(*part);
            json.setContext("library " + name + ", part " + fields.name);
            json.beginObject();
            json.field("name", fields.name);
            json.field("number", fields.number);
            json.field("description", fields.description);
            json.field("pspiceData", fields.pspiceData);
            json.field("version", fields.version);
            json.field("acceptance", fields.acceptance);
            json.field("type", fields.type);

            json.key("folder");
            json.beginArray();
            for (const std::string &folderName : folders.pathOf(folders.folderOfPart(fields.name)))
                json.value(std::string_view(folderName));
            json.endArray();
            auto definition = definitionNames.find(fields.definitionID);
            if (definition == definitionNames.end())
                fail("Part " + fields.name + " of library " + name +
                     " is built on a part definition of another library");
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
    std::unordered_map<int, std::string> definitionNames;
    long done = 0;
    long total = 0;
};

} // namespace

void refuseMissingReader(const char *what) {
    fail(std::string("The database offers no reader of ") + what);
}

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
            fail("No library named \"" + wanted + "\" in the database" + didYouMean(wanted, seen));
    return chosen;
}

void exportLibraries(const pathHandle_t &path, std::ostream &out, const ExportOptions &options) {
    ReadTransaction transaction(path);
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
}

} // namespace partlib
