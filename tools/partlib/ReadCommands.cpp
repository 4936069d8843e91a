// partlib libraries, tree, parts, show and report: reading a part-library
// database through the plug-in's readers and records.

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/access/FolderAncestors.h"
#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "interface/AttributeAccess.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "interface/GateAccess.h"
#include "interface/GateDataAccess.h"
#include "interface/GateSwapAccess.h"
#include "interface/GateSwapGateAccess.h"
#include "interface/GateSwapPinDataAccess.h"
#include "interface/HierarchyAccess.h"
#include "interface/PartAccess.h"
#include "interface/PartDefAccess.h"
#include "interface/PartForReportsAccess.h"
#include "interface/PinDataAccess.h"
#include "interface/PinEquivAccess.h"
#include "interface/PinEquivDataAccess.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/CheckedOutput.h"
#include "tools/partlib/CodeNames.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/Filters.h"
#include "tools/partlib/FolderDepths.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"
#include "tools/partlib/Suggestions.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

// Calls visit with every record of the reader; an empty reader has none.
template <class T, class F> void forEach(const std::shared_ptr<Reader<T>> &reader, F visit) {
    if (!reader)
        return;
    while (std::shared_ptr<T> record = reader->getNext())
        visit(*record);
}

// Reading the fields of a record into cells. The buffer is larger than any
// field, so no getter refuses it; NULL values become null cells.
constexpr size_t TEXT_SIZE = 4096;
static_assert(
    [] {
        for (const DBIMPL::CatalogueColumn &column : DBIMPL::COLUMN_CATALOGUE)
            if (DBIMPL::textBytes(column.width + 1) > TEXT_SIZE)
                return false;
        return true;
    }(),
    "a buffer holds every column");

template <class R> Cell textCell(R &record, void (R::*getter)(TCHAR *, size_t, bool)) {
    TCHAR buffer[TEXT_SIZE] = "";
    (record.*getter)(buffer, sizeof buffer, false);
    return buffer;
}

template <class R> Cell textCell(R &record, void (R::*getter)(TCHAR *, size_t)) {
    TCHAR buffer[TEXT_SIZE] = "";
    (record.*getter)(buffer, sizeof buffer);
    return buffer;
}

template <class R> Cell textCell(R &record, void (R::*getter)(bool &, TCHAR *, size_t)) {
    TCHAR buffer[TEXT_SIZE] = "";
    bool isNull = false;
    (record.*getter)(isNull, buffer, sizeof buffer);
    return isNull ? Cell() : Cell(buffer);
}

template <class R> Cell numberCell(R &record, void (R::*getter)(bool &, int &)) {
    int value = 0;
    bool isNull = false;
    (record.*getter)(isNull, value);
    return isNull ? Cell() : Cell(value);
}

template <class R> Cell numberCell(R &record, void (R::*getter)(int &)) {
    int value = 0;
    (record.*getter)(value);
    return value;
}

template <class R> Cell flagCell(R &record, void (R::*getter)(bool &)) {
    bool value = false;
    (record.*getter)(value);
    return value;
}

// The pin identifiers a reader delivers, as one list.
template <class T, class F> Cell listOf(const std::shared_ptr<Reader<T>> &reader, F item) {
    Cell list = Cell::array();
    forEach(reader, [&](T &record) { list.push_back(item(record)); });
    return list;
}

std::shared_ptr<LibraryAccess> findLibrary(const pathHandle_t &path, const std::string &name,
                                           const std::string &database) {
    libraryReaderHandle_t reader = getLibraryReader(path, libraryNameFilter(NODE_EQUAL, name));
    std::shared_ptr<LibraryAccess> library = reader ? reader->getNext() : nullptr;
    if (!library) {
        std::vector<std::string> names;
        forEach(getLibraryReader(path, nullptr),
                [&](LibraryAccess &stored) { names.push_back(cellText(textCell(stored, &LibraryAccess::getName))); });
        fail("No library named \"" + name + "\" in " + databaseName(database) + didYouMean(name, names) +
             " (partlib libraries lists them)");
    }
    return library;
}

// A library's folder tree, read once. A folder's path is written as the
// report shows it: the names from the top down, separated by '\', leaving
// out ancestors named "root".
struct ReportFolder {
    hierarchyAccessHandle_t record;
    int id;
    std::string name;
    std::string path;     // as the report writes it
    std::string fullPath; // every name, "root" included
    std::vector<ReportFolder> children;
};

const char FOLDER_SEPARATOR = '\\';

std::vector<ReportFolder> loadFolders(const std::shared_ptr<Reader<HierarchyAccess>> &reader, const std::string &prefix,
                                      const std::string &fullPrefix) {
    std::vector<ReportFolder> folders;
    while (reader) {
        hierarchyAccessHandle_t record = reader->getNext();
        if (!record)
            break;
        ReportFolder folder{record, record->getID(), cellText(textCell(*record, &HierarchyAccess::getName)), "", "",
                            {}};
        folder.path = prefix + folder.name;
        folder.fullPath = fullPrefix + folder.name;
        folder.children = loadFolders(record->getHierarchyChildReader(),
                                      folder.name == "root" ? prefix : folder.path + FOLDER_SEPARATOR,
                                      folder.fullPath + FOLDER_SEPARATOR);
        folders.push_back(std::move(folder));
    }
    return folders;
}

template <class F> void forEachFolder(const std::vector<ReportFolder> &folders, F visit) {
    for (const ReportFolder &folder : folders) {
        visit(folder);
        forEachFolder(folder.children, visit);
    }
}

// The library's folder tree. Folders that cannot be reached from the top
// (parents in a cycle, or a parent that is gone) would be left out without
// a word, and their parts with them: they are refused instead. The tree is
// measured first, as the load recurses one level per call.
std::vector<ReportFolder> loadFolders(const pathHandle_t &path, LibraryAccess &library) {
    refuseTooDeepFolders(library,
                         hostmodel::text<DBIMPL::bufferWidth("Library", "Name")>(library, &LibraryAccess::getName));
    std::vector<ReportFolder> folders = loadFolders(library.getHierarchyReader(), "", "");
    std::set<int> loaded;
    forEachFolder(folders, [&](const ReportFolder &folder) { loaded.insert(folder.id); });
    const int all = DBIMPL::CTraxDBInspector(path).folderCount(library.getID());
    if (all == static_cast<int>(loaded.size()))
        return folders;
    forEach(library.getHierarchyOnlyReader(), [&](HierarchyAccess &folder) {
        if (loaded.count(folder.getID()))
            return;
        DBIMPL::forEachAncestor(folder, [](HierarchyAccess &) {});
        fail("Folder \"" + cellText(textCell(folder, &HierarchyAccess::getName)) +
             "\" hangs below a folder that is not in the library's folder tree");
    });
    return folders;
}

const ReportFolder *folderWithId(const std::vector<ReportFolder> &folders, int id) {
    const ReportFolder *found = nullptr;
    forEachFolder(folders, [&](const ReportFolder &folder) {
        if (folder.id == id && !found)
            found = &folder;
    });
    return found;
}

// The folder a path names, in the report's form or with every name; '/'
// may stand for '\'.
const ReportFolder &findFolder(const std::vector<ReportFolder> &folders, std::string path, const std::string &library) {
    std::replace(path.begin(), path.end(), '/', FOLDER_SEPARATOR);
    path = DBIMPL::trimmed(path, std::string(1, FOLDER_SEPARATOR));
    std::vector<const ReportFolder *> matches;
    forEachFolder(folders, [&](const ReportFolder &folder) {
        if (folder.path == path || folder.fullPath == path)
            matches.push_back(&folder);
    });
    if (matches.empty()) {
        std::vector<std::string> paths;
        forEachFolder(folders, [&](const ReportFolder &folder) { paths.push_back(folder.path); });
        fail("No folder \"" + path + "\" in library " + library + didYouMean(path, paths) +
             " (partlib tree lists the folders)");
    }
    if (matches.size() > 1)
        fail("The folder path \"" + path + "\" names " + std::to_string(matches.size()) + " folders in library " +
             library + "; give the full path with its \"root\" folders");
    return *matches.front();
}

// The name of a part's definition, read once per definition.
class DefinitionNames {
public:
    Cell of(PartAccess &part) {
        int id = 0;
        part.getPartDefID(id);
        auto known = names.find(id);
        if (known != names.end())
            return known->second;
        std::shared_ptr<PartDefAccess> definition = part.getPartPartDefn();
        Cell name = definition ? textCell(*definition, &PartDefAccess::getName) : Cell();
        names.emplace(id, name);
        return name;
    }

private:
    std::map<int, Cell> names;
};

// The command-line arguments of the read commands.
struct ReadArguments {
    std::string database;
    std::string library;
    std::string part;
    std::string namePattern;
    std::string folder;
    std::vector<std::string> where;
    bool any = false;
    bool all = false;        // parts: every library
    bool ignoreCase = false; // ASCII case left out of = <> like notlike
    bool raw = false;        // codes as numbers in text output
    bool sorted = false;
    Format format = Format::Text;
    std::optional<std::string> output;
};

// Runs a read command with its output going where -o says. Ctrl-C while a
// file is written leaves the file as it was; on standard output it keeps
// its default action.
void withOutput(const ReadArguments &args, void (*run)(const ReadArguments &, std::ostream &)) {
    OutputFile out(outputTarget(args.output, "-o"), {databaseFileOf(args.database)});
    std::optional<SignalGuard> signals;
    if (!out.isStandardOutput())
        signals.emplace();
    out.fill([&](std::ostream &stream) { run(args, stream); });
    out.commit();
}

void runLibraries(const ReadArguments &args, std::ostream &out) {
    pathHandle_t path = openExistingDatabase(args.database);
    libraryFilterCompHandle_t filter =
        args.namePattern.empty() ? nullptr : libraryNameFilter(NODE_LIKE, args.namePattern, args.ignoreCase);
    Table table{{"Name", "ID", "Enabled", "Comment"}, {}};
    forEach(getLibraryReader(path, filter), [&](LibraryAccess &library) {
        table.rows.push_back({textCell(library, &LibraryAccess::getName), library.getID(),
                              flagCell(library, &LibraryAccess::getEnabled),
                              textCell(library, &LibraryAccess::getComment)});
    });
    printTable(out, table, args.format);
}

int partCount(const ReportFolder &folder) {
    std::shared_ptr<Reader<PartAccess>> parts = folder.record->getPartReader(nullptr);
    return parts ? parts->getCount() : 0;
}

nlohmann::ordered_json treeJson(const std::vector<ReportFolder> &folders) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const ReportFolder &folder : folders)
        array.push_back({{"name", folder.name},
                         {"id", folder.id},
                         {"parts", partCount(folder)},
                         {"folders", treeJson(folder.children)}});
    return array;
}

void printTree(std::ostream &out, const std::vector<ReportFolder> &folders, const std::string &indent) {
    for (const ReportFolder &folder : folders) {
        out << indent << printable(folder.name) << " (" << partCount(folder) << ")\n";
        printTree(out, folder.children, indent + "  ");
    }
}

void runTree(const ReadArguments &args, std::ostream &out) {
    pathHandle_t path = openExistingDatabase(args.database);
    std::shared_ptr<LibraryAccess> library = findLibrary(path, args.library, args.database);
    std::vector<ReportFolder> folders = loadFolders(path, *library);
    switch (args.format) {
    case Format::Json:
        printJson(out, treeJson(folders));
        break;
    case Format::Csv: {
        Table table{{"Path", "ID", "Parts"}, {}};
        forEachFolder(folders, [&](const ReportFolder &folder) {
            table.rows.push_back({folder.fullPath, folder.id, partCount(folder)});
        });
        printTable(out, table, args.format);
        break;
    }
    default:
        printTree(out, folders, "");
    }
}

// The libraries a command reads: the one named, or every library of the
// database when none is.
std::vector<std::shared_ptr<LibraryAccess>> librariesOf(const pathHandle_t &path, const ReadArguments &args) {
    if (!args.library.empty())
        return {findLibrary(path, args.library, args.database)};
    std::vector<std::shared_ptr<LibraryAccess>> libraries;
    libraryReaderHandle_t reader = getLibraryReader(path, nullptr);
    while (std::shared_ptr<LibraryAccess> library = reader ? reader->getNext() : nullptr)
        libraries.push_back(library);
    return libraries;
}

// The part names of the libraries, for the suggestions of a search that
// found nothing.
std::vector<std::string> partNames(const std::vector<std::shared_ptr<LibraryAccess>> &libraries) {
    std::vector<std::string> names;
    for (const auto &library : libraries)
        forEach(library->getPartReader(nullptr, 0),
                [&](PartAccess &part) { names.push_back(cellText(textCell(part, &PartAccess::getName))); });
    return names;
}

// A search for a part name that found nothing is answered on standard error
// with the stored names close to it, "FILE:NAME" forms among them.
void suggestPartNames(const ReadArguments &args, const std::vector<std::shared_ptr<LibraryAccess>> &libraries) {
    for (const std::string &text : args.where) {
        const WhereClause clause = parseWhereClause(text);
        if (clause.field != "Part Name" || clause.nodeType != NODE_EQUAL || clause.value.empty())
            continue;
        const std::string hint = didYouMean(clause.value, partNames(libraries));
        if (!hint.empty())
            std::cerr << "partlib: no part is named \"" << printable(clause.value) << "\"" << hint << std::endl;
    }
}

void runParts(const ReadArguments &args, std::ostream &out) {
    if (args.all && !args.library.empty())
        fail("parts takes a LIBRARY or --all, not both (without either it searches every library)");
    if (!args.folder.empty() && args.library.empty())
        fail("--folder needs a LIBRARY: folder paths are a library's own");
    partFilterCompHandle_t filter = partFilterOf(args.where, args.any, args.ignoreCase);
    pathHandle_t path = openExistingDatabase(args.database);
    const std::vector<std::shared_ptr<LibraryAccess>> libraries = librariesOf(path, args);
    const bool everyLibrary = args.library.empty();

    Table table{{"Name", "Number", "Description", "Version", "Folder", "Definition"}, {}};
    if (everyLibrary)
        table.columns.insert(table.columns.begin(), "Library");
    for (const auto &library : libraries) {
        std::vector<ReportFolder> folders = loadFolders(path, *library);
        if (!args.folder.empty())
            folders = {findFolder(folders, args.folder, args.library)};
        const Cell libraryName = textCell(*library, &LibraryAccess::getName);
        DefinitionNames definitions;
        forEachFolder(folders, [&](const ReportFolder &folder) {
            forEach(folder.record->getPartReader(filter), [&](PartAccess &part) {
                std::vector<Cell> row = {textCell(part, &PartAccess::getName),
                                         textCell(part, &PartAccess::getNumber),
                                         textCell(part, &PartAccess::getDescription),
                                         numberCell(part, &PartAccess::getVersion),
                                         folder.path,
                                         definitions.of(part)};
                if (everyLibrary)
                    row.insert(row.begin(), libraryName);
                table.rows.push_back(std::move(row));
            });
        });
    }
    // By name, and across libraries by library first.
    std::stable_sort(table.rows.begin(), table.rows.end(), [everyLibrary](const auto &a, const auto &b) {
        return everyLibrary && a[0] != b[0] ? a[0] < b[0] : a[everyLibrary] < b[everyLibrary];
    });
    if (table.rows.empty())
        suggestPartNames(args, libraries);
    printTable(out, table, args.format);
}

// A code as show prints it: its name in text output unless --raw is given,
// the number in JSON.
class Codes {
public:
    explicit Codes(const ReadArguments &args) : named(args.format == Format::Text && !args.raw) {}

    Cell operator()(CodeKind kind, const Cell &code) const { return named ? codeName(kind, code) : code; }

private:
    bool named;
};

Record partRecord(PartAccess &part, const std::vector<ReportFolder> &folders, DefinitionNames &definitions,
                  const Codes &codes) {
    hierarchyAccessHandle_t folderRecord = part.getPartHierarchy();
    const ReportFolder *folder = folderRecord ? folderWithId(folders, folderRecord->getID()) : nullptr;
    return {{"Name", "name", textCell(part, &PartAccess::getName)},
            {"Number", "number", textCell(part, &PartAccess::getNumber)},
            {"Description", "description", textCell(part, &PartAccess::getDescription)},
            {"Version", "version", numberCell(part, &PartAccess::getVersion)},
            {"Part type", "type", codes(CodeKind::PartType, numberCell(part, &PartAccess::getPartType))},
            {"PSpice", "pspiceData", textCell(part, &PartAccess::getPSpice)},
            {"Acceptance", "acceptance", textCell(part, &PartAccess::getPartAcceptance)},
            {"Folder", "folder", folder ? Cell(folder->path) : Cell()},
            {"Definition", "definition", definitions.of(part)}};
}

Record definitionRecord(PartDefAccess &definition) {
    return {{"Name", "name", textCell(definition, &PartDefAccess::getName)},
            {"PCB component", "pcbComponentName", textCell(definition, &PartDefAccess::getPCBCompName)},
            {"PCB alternate", "pcbAlternateName", textCell(definition, &PartDefAccess::getPCBCompAltName)},
            {"Value", "value", textCell(definition, &PartDefAccess::getValue)},
            {"Name stem", "componentNameStem", textCell(definition, &PartDefAccess::getCompNameStem)},
            {"PSpice", "pspiceData", textCell(definition, &PartDefAccess::getPSpice)},
            {"Max. connector pins", "maxConnectorPins", numberCell(definition, &PartDefAccess::getMaxConnectorPins)},
            {"Gate swapping", "gateSwapping", flagCell(definition, &PartDefAccess::getGateSwapping)},
            {"Pin number is name", "pinNumName", flagCell(definition, &PartDefAccess::getPinNumName)},
            {"FPGA", "isFPGA", flagCell(definition, &PartDefAccess::getIsFPGA)}};
}

// One detail table of a definition: its heading, its JSON key and the JSON
// keys of its columns, as the library file spells them.
struct Detail {
    std::string title;
    std::string key;
    std::vector<std::string> columnKeys;
    Table table;
};

// The detail tables of a definition, in display order.
std::vector<Detail> definitionDetails(PartDefAccess &definition, const Codes &codes) {
    Table pins{{"Identifier", "Name", "Label", "Position", "Type", "Loading", "Signal"}, {}};
    forEach(definition.getPinDataReader(), [&](PinDataAccess &pin) {
        pins.rows.push_back({textCell(pin, &PinDataAccess::getPinIdentifier), textCell(pin, &PinDataAccess::getName),
                             textCell(pin, &PinDataAccess::getLabel), numberCell(pin, &PinDataAccess::getPosition),
                             codes(CodeKind::PinType, numberCell(pin, &PinDataAccess::getType)),
                             numberCell(pin, &PinDataAccess::getLoading), textCell(pin, &PinDataAccess::getSignal)});
    });

    Table equivalences{{"Group", "Pins"}, {}};
    forEach(definition.getPinEquivReader(), [&](PinEquivAccess &group) {
        equivalences.rows.push_back({group.getID(), listOf(group.getEquivilentPins(), [](PinEquivDataAccess &pin) {
                                         return textCell(pin, &PinEquivDataAccess::getPinIdentifier);
                                     })});
    });

    Table gates{{"Gate", "Alternate", "Pins"}, {}};
    forEach(definition.getGateReader(), [&](GateAccess &gate) {
        gates.rows.push_back({textCell(gate, &GateAccess::getName), textCell(gate, &GateAccess::getAltName),
                              listOf(gate.getGateDataReader(), [](GateDataAccess &pin) {
                                  TCHAR buffer[TEXT_SIZE] = "";
                                  bool isNull = false, unused = false;
                                  pin.getPinIdentifier(isNull, buffer, sizeof buffer, unused);
                                  return isNull ? Cell() : Cell(buffer);
                              })});
    });

    Table swaps{{"Swap group", "Member", "Equivalence type", "Pins"}, {}};
    forEach(definition.getGateSwapReader(), [&](GateSwapAccess &group) {
        const Cell name = textCell(group, &GateSwapAccess::getName);
        int member = 0;
        forEach(group.getGateSwapGateReader(), [&](GateSwapGateAccess &gate) {
            swaps.rows.push_back({name, ++member,
                                  codes(CodeKind::EquivType, numberCell(gate, &GateSwapGateAccess::getEquivType)),
                                  listOf(gate.getGateSwapPinDataReader(), [](GateSwapPinDataAccess &pin) {
                                      return textCell(pin, &GateSwapPinDataAccess::getPinIdentifier);
                                  })});
        });
    });

    Table attributes{{"Attribute", "Value", "Usage type", "Read-only"}, {}};
    forEach(definition.getAttributesReader(), [&](AttributeAccess &attribute) {
        attributes.rows.push_back(
            {textCell(attribute, &AttributeAccess::getName), textCell(attribute, &AttributeAccess::getValue),
             numberCell(attribute, &AttributeAccess::getType), numberCell(attribute, &AttributeAccess::getReadOnly)});
    });

    return {{"Pins", "pins", {"identifier", "name", "label", "position", "type", "loading", "signal"}, pins},
            {"Pin equivalence groups", "pinEquivalences", {"group", "pins"}, equivalences},
            {"Gates", "gates", {"name", "altName", "pins"}, gates},
            {"Gate swaps", "gateSwaps", {"name", "member", "equivType", "pins"}, swaps},
            {"Attributes", "attributes", {"name", "value", "usageType", "readOnly"}, attributes}};
}

// Why show finds no part of the name in the library. Part names are unique
// in the whole database, so the part meant may be in another library: that
// one is named, or else the close names of this library, then of all.
std::string partNotFound(const pathHandle_t &path, const std::shared_ptr<LibraryAccess> &library,
                         const ReadArguments &args) {
    const std::string missing = "No part named \"" + args.part + "\" in library " + args.library;
    const std::vector<std::shared_ptr<LibraryAccess>> libraries = librariesOf(path, ReadArguments());
    for (const auto &other : libraries) {
        std::shared_ptr<Reader<PartAccess>> reader = other->getPartReader(partNameFilter(args.part), 0);
        if (reader && reader->getNext())
            return missing + "; library " + cellText(textCell(*other, &LibraryAccess::getName)) + " holds it";
    }
    std::string hint = didYouMean(args.part, partNames({library}));
    if (hint.empty()) {
        hint = didYouMean(args.part, partNames(libraries));
        if (!hint.empty())
            hint += " (in another library; partlib parts DB --where \"Part Name = NAME\" names it)";
    }
    return missing + hint;
}

void runShow(const ReadArguments &args, std::ostream &out) {
    pathHandle_t path = openExistingDatabase(args.database);
    std::shared_ptr<LibraryAccess> library = findLibrary(path, args.library, args.database);
    std::shared_ptr<Reader<PartAccess>> reader = library->getPartReader(partNameFilter(args.part), 0);
    std::shared_ptr<PartAccess> part = reader ? reader->getNext() : nullptr;
    if (!part)
        fail(partNotFound(path, library, args));

    const Codes codes(args);
    DefinitionNames definitions;
    const Record partFields = partRecord(*part, loadFolders(path, *library), definitions, codes);
    std::shared_ptr<PartDefAccess> definition = part->getPartPartDefn();
    const Record definitionFields = definition ? definitionRecord(*definition) : Record();
    const auto details = definition ? definitionDetails(*definition, codes) : std::vector<Detail>();

    if (args.format == Format::Json) {
        nlohmann::ordered_json document = {
            {"part", recordJson(partFields)},
            {"definition", definition ? recordJson(definitionFields) : nlohmann::ordered_json()}};
        for (const Detail &detail : details)
            document[detail.key] = detail.table.toJson(detail.columnKeys);
        printJson(out, document);
        return;
    }
    out << "Part\n";
    printRecord(out, partFields);
    out << "\nDefinition\n";
    if (definition)
        printRecord(out, definitionFields);
    else
        out << "(missing)\n";
    for (const Detail &detail : details) {
        out << "\n" << detail.title << " (" << detail.table.rows.size() << ")\n";
        if (!detail.table.rows.empty())
            printTable(out, detail.table, Format::Text);
    }
}

void runReport(const ReadArguments &args, std::ostream &out) {
    pathHandle_t path = openExistingDatabase(args.database);
    std::shared_ptr<LibraryAccess> library = findLibrary(path, args.library, args.database);
    refuseTooDeepFolders(*library, args.library);
    Table table{{"Name", "Number", "Description", "Version", "PCB component", "Folder"}, {}};
    forEach(library->getPartReaderForReports(args.sorted ? 1 : 0), [&](PartForReportsAccess &part) {
        bool isNull = false;
        TCHAR *folder = nullptr;
        part.getHierrachyFullName(isNull, &folder);
        table.rows.push_back(
            {textCell(part, &PartForReportsAccess::getName), textCell(part, &PartForReportsAccess::getNumber),
             textCell(part, &PartForReportsAccess::getDescription), numberCell(part, &PartForReportsAccess::getVersion),
             textCell(part, &PartForReportsAccess::getPCBCompName), isNull || !folder ? Cell() : Cell(folder)});
    });
    printTable(out, table, args.format, "Parts of library " + args.library);
}

} // namespace

void addReadCommands(CLI::App &app) {
    auto args = std::make_shared<ReadArguments>();
    const std::vector<Format> tableFormats = {Format::Text, Format::Csv, Format::Json};
    auto addLibraryArgument = [&](CLI::App &command) {
        command.add_option("LIBRARY", args->library, "Name of the library")->required();
    };

    CLI::App *libraries = app.add_subcommand("libraries", "List the libraries: name, ID, enabled flag and comment");
    addDatabaseArgument(*libraries, args->database);
    libraries
        ->add_option("--name", args->namePattern,
                     "Only the libraries whose name matches PATTERN (like in parts --where: % any text, _ one "
                     "character, case counts, a backslash is an ordinary character)")
        ->option_text("PATTERN");
    libraries->add_flag("--ignore-case", args->ignoreCase, "--name disregards the case of the ASCII letters A to Z");
    addFormatOption(*libraries, args->format, tableFormats);
    addOutputOption(*libraries, args->output, "the command succeeds");
    libraries->callback([args] { withOutput(*args, runLibraries); });

    CLI::App *tree = app.add_subcommand(
        "tree", "Show a library's folder tree with the number of parts filed directly in each folder");
    addDatabaseArgument(*tree, args->database);
    addLibraryArgument(*tree);
    addFormatOption(*tree, args->format, tableFormats)
        ->description("Output format: text (indented tree, default), csv (one row per folder with its full path) or "
                      "json (nested folders)");
    addOutputOption(*tree, args->output, "the command succeeds");
    tree->callback([args] { withOutput(*args, runTree); });

    CLI::App *parts = app.add_subcommand(
        "parts", "List a library's parts by name, or search every library: number, description, version, folder "
                 "and definition");
    addDatabaseArgument(*parts, args->database);
    parts->add_option("LIBRARY", args->library, "Name of the library; without it every library is searched");
    parts
        ->add_option("--folder", args->folder,
                     "Only the parts filed in this folder or below it. PATH as the Folder column shows it "
                     "(Passives\\Resistors\\SMD, folders named root left out) or with every name; '/' may "
                     "stand for '\\'")
        ->option_text("PATH");
    parts->add_option("--where", args->where, whereHelp())->option_text("\"FIELD OP VALUE\"");
    parts->add_flag("--any", args->any, "Parts that meet any --where condition instead of all of them");
    parts->add_flag("--all", args->all,
                    "Search every library of the database (as without a LIBRARY); a Library column comes first");
    parts->add_flag("--ignore-case", args->ignoreCase,
                    "= <> like notlike in --where disregard the case of the ASCII letters A to Z (Ä and ä stay "
                    "apart, the same on every database)");
    addFormatOption(*parts, args->format, tableFormats);
    addOutputOption(*parts, args->output, "the command succeeds");
    parts->callback([args] { withOutput(*args, runParts); });

    CLI::App *show = app.add_subcommand(
        "show", "Show one part with its definition: pins, pin-equivalence groups, gates with their pins, gate swaps "
                "with their members and pins, and attributes");
    addDatabaseArgument(*show, args->database);
    addLibraryArgument(*show);
    show->add_option("PART", args->part, "Name of the part")->required();
    show->add_flag("--raw", args->raw,
                   "Pin types, the part type and equivalence types as their stored numbers (JSON always has them)");
    addFormatOption(*show, args->format, {Format::Text, Format::Json});
    addOutputOption(*show, args->output, "the command succeeds");
    show->callback([args] { withOutput(*args, runShow); });

    CLI::App *report = app.add_subcommand(
        "report", "The report view of a library's parts: name, number, description, version, PCB component and "
                  "folder path, in the order of folder name and part name");
    addDatabaseArgument(*report, args->database);
    addLibraryArgument(*report);
    report->add_flag("--sorted", args->sorted,
                     "Order by the full folder path, and within a folder by natural part-name order (R2 before R10)");
    addFormatOption(*report, args->format, {Format::Text, Format::Csv, Format::Json, Format::Html});
    addOutputOption(*report, args->output, "the command succeeds");
    report->callback([args] { withOutput(*args, runReport); });
}

} // namespace partlib
