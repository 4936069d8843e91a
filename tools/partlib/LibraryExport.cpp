// The exporter: each chosen library with its fields, folder tree, part
// definitions and parts, written through the JSON writer.

#include "tools/partlib/LibraryExport.h"

#include "tools/hostmodel/RecordFields.h"
#include "tools/libraryfile/LibraryFile.h"
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

// A text column of the library file, with its width in characters.
struct ExportColumn {
    const char *table, *column;
    size_t width;
};

ExportColumn column(const char *table, const char *name) {
    return {table, name, libraryfile::columnWidth(table, name)};
}

const ExportColumn LIBRARY_NAME = column("Library", "Name"), LIBRARY_COMMENT = column("Library", "Comment"),
                   FOLDER_NAME = column("Hierarchy", "Name"), DEFINITION_NAME = column("Part_Definition", "Name"),
                   DEFINITION_PCB = column("Part_Definition", "PCB_component_name"),
                   DEFINITION_ALTERNATE = column("Part_Definition", "PCB_alternate_name"),
                   DEFINITION_VALUE = column("Part_Definition", "Part_def_value"),
                   DEFINITION_STEM = column("Part_Definition", "Component_name_stem"),
                   DEFINITION_PSPICE = column("Part_Definition", "PSpice_data"),
                   PIN_IDENTIFIER = column("Pin_Data", "Pin_identifier"), PIN_NAME = column("Pin_Data", "Name"),
                   PIN_LABEL = column("Pin_Data", "Label"), PIN_SIGNAL = column("Pin_Data", "Signal"),
                   GATE_NAME = column("Gate", "Name"), GATE_ALTERNATE = column("Gate", "Alt_name"),
                   SWAP_NAME = column("Gate_Equiv", "Name"), ATTRIBUTE_NAME = column("Attributes", "Name"),
                   ATTRIBUTE_VALUE = column("Attributes", "Attribute_value"), PART_NAME = column("Parts", "Name"),
                   PART_NUMBER = column("Parts", "Part_number"), PART_DESCRIPTION = column("Parts", "Description"),
                   PART_PSPICE = column("Parts", "PSpice_data"), PART_ACCEPTANCE = column("Parts", "Part_Acceptance");

// Writes one library: its fields, folder tree, definitions and parts.
class LibraryExporter {
public:
    LibraryExporter(JsonWriter &json, LibraryAccess &library, const ExportOptions &options)
        : json(json), library(library), options(options),
          name(text<DBIMPL::bufferWidth("Library", "Name")>(library, &LibraryAccess::getName)) {}

    void write() {
        json.setContext([this] { return context(); });
        json.beginObject();
        field("name", name, LIBRARY_NAME);
        json.field("enabled", flag(library, &LibraryAccess::getEnabled));
        field("comment", nullableText<DBIMPL::bufferWidth("Library", "Comment")>(library, &LibraryAccess::getComment),
              LIBRARY_COMMENT);

        LibraryFolders folders(library, name);
        json.key("folders");
        writeFolders(folders.tree());

        std::shared_ptr<Reader<PartDefAccess>> definitions = opened(library.getPartDefReader(0), "part definitions");
        std::shared_ptr<Reader<PartAccess>> parts = opened(library.getPartReader(partFilterCompHandle_t(), 0), "parts");
        total = static_cast<long>(definitions->getCount()) + parts->getCount();
        writeDefinitions(*definitions);
        writeParts(*parts, folders);
        json.endObject();
        json.setContext(nullptr);
    }

private:
    // The item the export is at, named in messages; the name lives as long
    // as the item is written.
    void at(const char *kind, const std::string *itemName) {
        itemKind = kind;
        item = itemName;
    }
    std::string context() const {
        return "library " + name + (itemKind ? std::string(", ") + itemKind + " " + *item : std::string());
    }

    // A text field, told to options.longText when it is longer than its column.
    void field(const char *key, const std::string &value, const ExportColumn &column) {
        checkWidth(value, column);
        json.field(key, value);
    }
    void field(const char *key, const Text &value, const ExportColumn &column) {
        if (value)
            checkWidth(*value, column);
        json.field(key, value);
    }
    void checkWidth(const std::string &value, const ExportColumn &column) {
        // A text within the width in bytes is within it in characters.
        if (value.size() <= column.width || !options.longText)
            return;
        const size_t characters = DBIMPL::characterCount(value);
        if (characters > column.width)
            options.longText(context() + ": " + column.column + " of table " + column.table + " holds " +
                             std::to_string(characters) + " characters, more than the " + std::to_string(column.width) +
                             " of its column");
    }

    void writeFolders(const std::vector<Folder> &folders) {
        json.beginArray();
        for (const Folder &folder : folders) {
            json.beginObject();
            field("name", folder.name, FOLDER_NAME);
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
        DefinitionDetails content;
        while (std::shared_ptr<PartDefAccess> definition = definitions.getNext()) {
            const DefinitionFields fields = definitionFields(*definition);
            definitionNames.emplace(fields.id, fields.name);
            content.clear();
            details->read(*definition, content);
            at("part definition", &fields.name);
            writeDefinition(fields, content);
            at(nullptr, nullptr);
            progress();
        }
        details->finish();
        json.endArray();
    }

    void writeDefinition(const DefinitionFields &fields, const DefinitionDetails &content) {
        json.beginObject();
        field("name", fields.name, DEFINITION_NAME);
        field("pcbComponentName", fields.pcbComponentName, DEFINITION_PCB);
        field("pcbAlternateName", fields.pcbAlternateName, DEFINITION_ALTERNATE);
        field("value", fields.value, DEFINITION_VALUE);
        field("componentNameStem", fields.componentNameStem, DEFINITION_STEM);
        field("pspiceData", fields.pspiceData, DEFINITION_PSPICE);
        json.field("maxConnectorPins", fields.maxConnectorPins);
        json.field("gateSwapping", fields.gateSwapping);
        json.field("pinNumName", fields.pinNumName);
        json.field("isFPGA", fields.isFPGA);

        refuseUnnamedPins(fields, content.pins);
        const std::string where = "part definition " + fields.name + " in library " + name;
        json.key("pins");
        json.beginArray();
        for (const PinRecord &pin : content.pins) {
            json.beginObject();
            field("identifier", pin.identifier, PIN_IDENTIFIER);
            field("name", pin.name, PIN_NAME);
            field("label", pin.label, PIN_LABEL);
            json.field("position", pin.position);
            json.field("type", pin.type);
            json.field("loading", pin.loading);
            field("signal", pin.signal, PIN_SIGNAL);
            json.field("equivGroup", groupIndexOf(pin, content, where));
            json.endObject();
        }
        json.endArray();

        json.key("gates");
        json.beginArray();
        for (const GateRecord &gate : content.gates) {
            json.beginObject();
            field("name", gate.name, GATE_NAME);
            field("altName", gate.altName, GATE_ALTERNATE);
            writePins(gate.pins);
            json.endObject();
        }
        json.endArray();

        json.key("gateSwaps");
        json.beginArray();
        for (const GateSwapRecord &swap : content.gateSwaps) {
            json.beginObject();
            field("name", swap.name, SWAP_NAME);
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
            field("name", attribute.name, ATTRIBUTE_NAME);
            field("value", attribute.value, ATTRIBUTE_VALUE);
            json.field("usageType", attribute.usageType);
            json.field("readOnly", attribute.readOnly);
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }

    // A library file names a pin by its identifier, told apart regardless of
    // case as the writers link gates and groups to pins; pins it cannot name
    // would make a file that the import refuses.
    void refuseUnnamedPins(const DefinitionFields &fields, const std::vector<PinRecord> &pins) {
        const auto where = [&] { return "Part definition " + fields.name + " of library " + name; };
        // Sorted keys in the pins' order: fewer allocations than a hash set,
        // for the handful of pins a definition has.
        std::vector<std::pair<std::string, size_t>> keys;
        keys.reserve(pins.size());
        for (size_t i = 0; i < pins.size(); ++i) {
            const PinRecord &pin = pins[i];
            if (!pin.identifier)
                fail(where() + " has a pin without identifier (pin name " +
                     (pin.name ? "\"" + *pin.name + "\"" : std::string("NULL")) +
                     "); a library file names every pin by its identifier");
            keys.emplace_back(libraryfile::pinKey(*pin.identifier), i);
        }
        std::sort(keys.begin(), keys.end());
        for (size_t k = 1; k < keys.size(); ++k)
            if (keys[k].first == keys[k - 1].first)
                fail(where() + " has the pins \"" + *pins[keys[k - 1].second].identifier + "\" and \"" +
                     *pins[keys[k].second].identifier +
                     "\", whose identifiers differ only in case; a library file tells pins apart regardless of case");
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
        PartFields fields;
        while (std::shared_ptr<PartAccess> part = parts.getNext()) {
            readPartFields(*part, fields);
            at("part", &fields.name);
            json.beginObject();
            field("name", fields.name, PART_NAME);
            field("number", fields.number, PART_NUMBER);
            field("description", fields.description, PART_DESCRIPTION);
            field("pspiceData", fields.pspiceData, PART_PSPICE);
            json.field("version", fields.version);
            field("acceptance", fields.acceptance, PART_ACCEPTANCE);
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
            at(nullptr, nullptr);
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
    const char *itemKind = nullptr;
    const std::string *item = nullptr;
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
        std::string libraryName = text<DBIMPL::bufferWidth("Library", "Name")>(*library, &LibraryAccess::getName);
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
