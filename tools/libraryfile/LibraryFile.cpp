#include "tools/libraryfile/LibraryFile.h"

#include "tools/libraryfile/DocumentSplitter.h"
#include "tools/libraryfile/TextInput.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <type_traits>
#include <unordered_set>

namespace libraryfile {

namespace {

using hostmodel::Number;
using hostmodel::Text;
using json = nlohmann::json;

constexpr int FORMAT_VERSION = 1;

// A place in the document, as a chain of keys and list positions that lives
// on the stack of the walk; spelt out only for a problem.
struct Place {
    const Place *parent = nullptr;
    const char *key = nullptr; // a member's name, or none for a list position
    size_t index = 0;

    Place operator/(const char *member) const { return {this, member, 0}; }
    Place operator[](size_t position) const { return {this, nullptr, position}; }
    std::string text() const {
        const std::string prefix = parent ? parent->text() : "";
        if (!parent && !key)
            return "";
        if (key)
            return prefix.empty() ? key : prefix + "." + key;
        return prefix + "[" + std::to_string(index) + "]";
    }
};

// A text column of the schema with its width in characters.
struct Column {
    std::string table, name;
    size_t width;
};

Column column(const char *table, const char *name) {
    return {table, name, columnWidth(table, name)};
}

// The text columns a library file fills.
struct Columns {
    Column libraryName = column("Library", "Name"), libraryComment = column("Library", "Comment");
    Column folderName = column("Hierarchy", "Name");
    Column definitionName = column("Part_Definition", "Name"),
           pcbComponentName = column("Part_Definition", "PCB_component_name"),
           pcbAlternateName = column("Part_Definition", "PCB_alternate_name"),
           definitionValue = column("Part_Definition", "Part_def_value"),
           componentNameStem = column("Part_Definition", "Component_name_stem"),
           definitionPspice = column("Part_Definition", "PSpice_data");
    Column pinIdentifier = column("Pin_Data", "Pin_identifier"), pinName = column("Pin_Data", "Name"),
           pinLabel = column("Pin_Data", "Label"), pinSignal = column("Pin_Data", "Signal");
    Column gateName = column("Gate", "Name"), gateAltName = column("Gate", "Alt_name");
    Column swapName = column("Gate_Equiv", "Name");
    Column attributeName = column("Attributes", "Name"), attributeValue = column("Attributes", "Attribute_value");
    Column partName = column("Parts", "Name"), partNumber = column("Parts", "Part_number"),
           partDescription = column("Parts", "Description"), partPspice = column("Parts", "PSpice_data"),
           partAcceptance = column("Parts", "Part_Acceptance");
};

const Columns &columns() {
    static const Columns all;
    return all;
}

// Lists the problem unless the list is full.
void add(std::vector<Problem> &problems, Problem problem) {
    if (problems.size() < MAX_PROBLEMS)
        problems.push_back(std::move(problem));
}

std::string quoted(const std::string &text) {
    return "\"" + text + "\"";
}

std::string joined(const std::vector<std::string> &path) {
    std::string text;
    for (const std::string &name : path)
        text += (text.empty() ? "" : "/") + name;
    return text;
}

// A library's items read as they ended, with their problems, until the
// library ends.
struct LibraryItems {
    std::vector<hostmodel::PartDefinition> definitions;
    std::vector<hostmodel::Part> parts;
    std::vector<Problem> definitionProblems, partProblems;
};

// Reads the document's values into the model, reporting what does not fit.
class DocumentReader {
public:
    explicit DocumentReader(std::vector<Problem> &problems) : problems(problems) {}

    void problem(const Place &place, std::string message) {
        if (problems.size() >= MAX_PROBLEMS)
            return; // not even spelt out
        const std::string where = place.text();
        add(problems, {where.empty() ? "the document" : where, std::move(message)});
    }

    // The document's own values and its libraries, read as they ended
    // (their problems in `libraryProblems`).
    std::vector<hostmodel::Library> read(const json &document, std::vector<hostmodel::Library> &libraries,
                                         const std::vector<Problem> &libraryProblems) {
        const Place root;
        if (!object(document, root, {"libraries"}, {"format"}))
            return {};
        const json *format = member(document, "format");
        if (format && !(format->is_number_integer() && *format == FORMAT_VERSION))
            problem(root / "format", "must be " + std::to_string(FORMAT_VERSION) + ", the only format version");
        list(document, root, "libraries", [](const json &, const Place &) {});
        addAll(libraryProblems);
        return std::move(libraries);
    }

    // A library's own values, with the items of its lists that were read
    // as they ended.
    // `leftOut` says which of the library's own values the entry leaves out.
    hostmodel::Library library(const json &value, const Place &place, LibraryItems &items, LeftOut &leftOut) {
        hostmodel::Library library;
        if (!object(value, place, {"name"}, {"enabled", "comment", "folders", "partDefinitions", "parts"}))
            return library;
        const Columns &c = columns();
        library.name = text(value, place, "name", c.libraryName);
        library.enabled = flag(value, place, "enabled", true);
        library.comment = nullableText(value, place, "comment", c.libraryComment);
        leftOut = {!member(value, "enabled"), !member(value, "comment")};
        library.folders = folders(value, place, 1);
        list(value, place, "partDefinitions", [](const json &, const Place &) {});
        library.definitions = std::move(items.definitions);
        addAll(items.definitionProblems);
        list(value, place, "parts", [](const json &, const Place &) {});
        library.parts = std::move(items.parts);
        addAll(items.partProblems);
        return library;
    }

private:
    // Whether the value is an object with the required keys and no keys but
    // those and the optional ones; each key missing or unknown is a problem.
    // An optional key left out takes its default (docs/library-format.md).
    bool object(const json &value, const Place &place, std::initializer_list<const char *> required,
                std::initializer_list<const char *> optional = {}) {
        if (!value.is_object()) {
            problem(place, "must be an object");
            return false;
        }
        for (const char *key : required)
            if (value.find(key) == value.end())
                problem(place, "lacks the key " + quoted(key));
        const auto known = [&](const std::string &name) {
            // The first characters first: most keys differ there.
            const auto named = [&](const char *key) { return name[0] == key[0] && name == key; };
            return std::any_of(required.begin(), required.end(), named) ||
                   std::any_of(optional.begin(), optional.end(), named);
        };
        for (auto it = value.begin(); it != value.end(); ++it)
            if (!known(it.key()))
                problem(place / it.key().c_str(), "is no key of this object");
        return true;
    }

    static const json *member(const json &object, const char *key) {
        auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    }

    Text nullableText(const json &object, const Place &parent, const char *key, const Column &column) {
        const json *value = member(object, key);
        if (!value || value->is_null())
            return std::nullopt;
        const Place place = parent / key;
        if (!value->is_string()) {
            problem(place, "must be a text or null");
            return std::nullopt;
        }
        return checkedText(value->get_ref<const std::string &>(), place, column);
    }

    std::string text(const json &object, const Place &parent, const char *key, const Column &column) {
        const json *value = member(object, key);
        if (!value)
            return {};
        if (!value->is_string()) {
            problem(parent / key, "must be a text");
            return {};
        }
        return checkedText(value->get_ref<const std::string &>(), parent / key, column);
    }

    const std::string &checkedText(const std::string &text, const Place &place, const Column &column) {
        if (text.find('\0') != std::string::npos)
            problem(place, "holds a NUL character, which a database text cannot hold");
        const size_t characters = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::characterCount(text);
        if (characters > column.width)
            problem(place, "is " + std::to_string(characters) + " characters long; " + column.table + "." +
                               column.name + " holds at most " + std::to_string(column.width) + " characters");
        return text;
    }

    Number nullableNumber(const json &object, const Place &parent, const char *key) {
        const json *value = member(object, key);
        if (!value || value->is_null())
            return std::nullopt;
        return checkedNumber(*value, parent / key, "or null");
    }

    int number(const json &object, const Place &parent, const char *key) {
        const json *value = member(object, key);
        return value ? checkedNumber(*value, parent / key, "") : 0;
    }

    int checkedNumber(const json &value, const Place &place, const std::string &orWhat) {
        using limits = std::numeric_limits<int>;
        const bool fits = value.is_number_integer() &&
                          (value.is_number_unsigned()
                               ? value.get<uint64_t>() <= uint64_t(limits::max())
                               : value.get<int64_t>() >= limits::min() && value.get<int64_t>() <= limits::max());
        if (!fits) {
            problem(place, "must be a whole number from " + std::to_string(limits::min()) + " to " +
                               std::to_string(limits::max()) + (orWhat.empty() ? "" : " " + orWhat));
            return 0;
        }
        return value.get<int>();
    }

    bool flag(const json &object, const Place &parent, const char *key, bool absent = false) {
        const json *value = member(object, key);
        if (!value)
            return absent;
        if (!value->is_boolean()) {
            problem(parent / key, "must be true or false");
            return false;
        }
        return value->get<bool>();
    }

    // Calls each (element, place) for the elements of the list at `key`.
    template <class F> void list(const json &object, const Place &parent, const char *key, F each) {
        const json *value = member(object, key);
        if (!value)
            return;
        const Place place = parent / key;
        if (!value->is_array()) {
            problem(place, "must be a list");
            return;
        }
        // A full problem list ends the walk: the rest would only be counted.
        for (size_t i = 0; i < value->size() && problems.size() < MAX_PROBLEMS; ++i)
            each((*value)[i], place[i]);
    }

    // A list of pin identifiers (gates, swap gates, equivalence groups).
    template <class Ref> std::vector<Ref> pinRefs(const json &object, const Place &parent) {
        std::vector<Ref> refs;
        list(object, parent, "pins", [&](const json &value, const Place &place) {
            Ref ref;
            if (value.is_string())
                ref.identifier = checkedText(value.get_ref<const std::string &>(), place, columns().pinIdentifier);
            else
                problem(place, "must be the text of a pin identifier");
            refs.push_back(std::move(ref));
        });
        return refs;
    }

    std::vector<hostmodel::Folder> folders(const json &value, const Place &place, int depth) {
        std::vector<hostmodel::Folder> read;
        const json *children = member(value, "folders");
        if (depth > MAX_FOLDER_DEPTH && children && children->is_array() && !children->empty()) {
            problem(place / "folders", "nests folders deeper than " + std::to_string(MAX_FOLDER_DEPTH) + " levels");
            return read;
        }
        list(value, place, "folders", [&](const json &item, const Place &at) {
            hostmodel::Folder folder;
            if (object(item, at, {"name"}, {"folders"})) {
                folder.name = text(item, at, "name", columns().folderName);
                folder.children = folders(item, at, depth + 1);
            }
            read.push_back(std::move(folder));
        });
        return read;
    }

public:
    hostmodel::PartDefinition definition(const json &value, const Place &place) {
        hostmodel::PartDefinition definition;
        if (!object(value, place, {"name", "pcbComponentName"},
                    {"pcbAlternateName", "value", "componentNameStem", "pspiceData", "maxConnectorPins", "gateSwapping",
                     "pinNumName", "isFPGA", "pins", "gates", "gateSwaps", "pinEquivalences", "attributes"}))
            return definition;
        const Columns &c = columns();
        definition.name = text(value, place, "name", c.definitionName);
        definition.pcbComponentName = text(value, place, "pcbComponentName", c.pcbComponentName);
        definition.pcbAlternateName = nullableText(value, place, "pcbAlternateName", c.pcbAlternateName);
        definition.value = nullableText(value, place, "value", c.definitionValue);
        definition.componentNameStem = nullableText(value, place, "componentNameStem", c.componentNameStem);
        definition.pspice = nullableText(value, place, "pspiceData", c.definitionPspice);
        definition.maxConnectorPins = number(value, place, "maxConnectorPins");
        definition.gateSwapping = flag(value, place, "gateSwapping");
        definition.pinNumName = flag(value, place, "pinNumName");
        definition.isFPGA = flag(value, place, "isFPGA");

        const size_t problemsBefore = problems.size();
        std::vector<Number> groupOfPin;
        list(value, place, "pins", [&](const json &item, const Place &at) {
            hostmodel::Pin pin;
            Number group;
            if (object(item, at, {"identifier"},
                       {"name", "label", "position", "type", "loading", "signal", "equivGroup"})) {
                pin.identifier = nullableText(item, at, "identifier", c.pinIdentifier);
                pin.name = nullableText(item, at, "name", c.pinName);
                pin.label = nullableText(item, at, "label", c.pinLabel);
                pin.position = nullableNumber(item, at, "position");
                pin.type = nullableNumber(item, at, "type");
                pin.loading = nullableNumber(item, at, "loading");
                pin.signal = nullableText(item, at, "signal", c.pinSignal);
                group = nullableNumber(item, at, "equivGroup");
            }
            definition.pins.push_back(std::move(pin));
            groupOfPin.push_back(group);
        });
        list(value, place, "gates", [&](const json &item, const Place &at) {
            hostmodel::Gate gate;
            if (object(item, at, {"name"}, {"altName", "pins"})) {
                gate.name = text(item, at, "name", c.gateName);
                gate.altName = nullableText(item, at, "altName", c.gateAltName);
                gate.pins = pinRefs<hostmodel::GatePin>(item, at);
            }
            definition.gates.push_back(std::move(gate));
        });
        list(value, place, "gateSwaps", [&](const json &item, const Place &at) {
            hostmodel::GateSwap swap;
            if (object(item, at, {"name"}, {"gates"})) {
                swap.name = text(item, at, "name", c.swapName);
                list(item, at, "gates", [&](const json &member, const Place &memberAt) {
                    hostmodel::SwapGate swapGate;
                    if (object(member, memberAt, {}, {"equivType", "pins"})) {
                        swapGate.equivType = number(member, memberAt, "equivType");
                        swapGate.pins = pinRefs<hostmodel::PinRef>(member, memberAt);
                    }
                    swap.gates.push_back(std::move(swapGate));
                });
            }
            definition.gateSwaps.push_back(std::move(swap));
        });
        list(value, place, "pinEquivalences", [&](const json &item, const Place &at) {
            hostmodel::PinEquivalence group;
            if (object(item, at, {"pins"}))
                group.pins = pinRefs<hostmodel::PinRef>(item, at);
            definition.pinEquivalences.push_back(std::move(group));
        });
        list(value, place, "attributes", [&](const json &item, const Place &at) {
            hostmodel::Attribute attribute;
            if (object(item, at, {"name"}, {"value", "usageType", "readOnly"})) {
                attribute.name = text(item, at, "name", c.attributeName);
                attribute.value = text(item, at, "value", c.attributeValue);
                attribute.usageType = number(item, at, "usageType");
                attribute.readOnly = number(item, at, "readOnly");
            }
            definition.attributes.push_back(std::move(attribute));
        });
        if (problems.size() == problemsBefore)
            checkDetails(definition, groupOfPin, place);
        return definition;
    }

    // The pins of a definition named once each, the gates', swap gates' and
    // groups' pins among them, and each pin's group agreeing with the lists.
    void checkDetails(const hostmodel::PartDefinition &definition, const std::vector<Number> &groupOfPin,
                      const Place &place) {
        std::map<std::string, size_t> pinAt; // pinKey of the identifier -> position
        for (size_t i = 0; i < definition.pins.size(); ++i) {
            const Place atList = place / "pins", atItem = atList[i], at = atItem / "identifier";
            const Text &identifier = definition.pins[i].identifier;
            if (!identifier) {
                problem(at, "must be a text: pins are told apart by their identifiers");
                continue;
            }
            auto [known, added] = pinAt.emplace(pinKey(*identifier), i);
            if (!added)
                problem(at, "names pin " + quoted(*identifier) + " a second time (pins[" +
                                std::to_string(known->second) + "]; identifiers are compared regardless of case)");
        }
        const auto checkRefs = [&](const auto &refs, const Place &listPlace) {
            for (size_t k = 0; k < refs.size(); ++k) {
                auto pin = pinAt.find(pinKey(refs[k].identifier.value_or("")));
                if (pin == pinAt.end() || definition.pins[pin->second].identifier != refs[k].identifier)
                    problem((listPlace / "pins")[k], "names pin " + quoted(refs[k].identifier.value_or("")) +
                                                         ", which the definition does not have");
            }
        };
        for (size_t g = 0; g < definition.gates.size(); ++g)
            checkRefs(definition.gates[g].pins, (place / "gates")[g]);
        for (size_t s = 0; s < definition.gateSwaps.size(); ++s)
            for (size_t m = 0; m < definition.gateSwaps[s].gates.size(); ++m)
                checkRefs(definition.gateSwaps[s].gates[m].pins, ((place / "gateSwaps")[s] / "gates")[m]);

        std::vector<Number> listedIn(definition.pins.size());
        for (size_t g = 0; g < definition.pinEquivalences.size(); ++g) {
            const Place groupPlaceList = place / "pinEquivalences", groupPlace = groupPlaceList[g];
            checkRefs(definition.pinEquivalences[g].pins, groupPlace);
            const std::vector<hostmodel::PinRef> &refs = definition.pinEquivalences[g].pins;
            for (size_t k = 0; k < refs.size(); ++k) {
                auto pin = pinAt.find(pinKey(refs[k].identifier.value_or("")));
                if (pin == pinAt.end())
                    continue;
                const Place atList = groupPlace / "pins", at = atList[k];
                if (listedIn[pin->second])
                    problem(at, "lists pin " + quoted(*refs[k].identifier) + ", which pinEquivalences[" +
                                    std::to_string(*listedIn[pin->second]) + "] lists already");
                else if (groupOfPin[pin->second] != Number(static_cast<int>(g)))
                    problem(at, "lists pin " + quoted(*refs[k].identifier) + ", whose equivGroup is not " +
                                    std::to_string(g));
                listedIn[pin->second] = static_cast<int>(g);
            }
        }
        for (size_t i = 0; i < definition.pins.size(); ++i) {
            const Number &group = groupOfPin[i];
            if (!group || listedIn[i])
                continue;
            const Place atList = place / "pins", atItem = atList[i], at = atItem / "equivGroup";
            if (*group < 0 || static_cast<size_t>(*group) >= definition.pinEquivalences.size())
                problem(at, "names group " + std::to_string(*group) + ", but the definition has " +
                                std::to_string(definition.pinEquivalences.size()) + " pinEquivalences");
            else
                problem(at, "names group " + std::to_string(*group) + ", whose pins do not list this pin");
        }
    }

    hostmodel::Part part(const json &value, const Place &place) {
        hostmodel::Part part;
        if (!object(value, place, {"name", "folder", "definition"},
                    {"number", "description", "pspiceData", "version", "acceptance", "type"}))
            return part;
        const Columns &c = columns();
        part.name = text(value, place, "name", c.partName);
        part.number = nullableText(value, place, "number", c.partNumber);
        part.description = nullableText(value, place, "description", c.partDescription);
        part.pspice = nullableText(value, place, "pspiceData", c.partPspice);
        part.version = nullableNumber(value, place, "version");
        part.acceptance = nullableText(value, place, "acceptance", c.partAcceptance);
        part.type = nullableNumber(value, place, "type");
        list(value, place, "folder", [&](const json &item, const Place &at) {
            if (item.is_string())
                part.folder.push_back(checkedText(item.get_ref<const std::string &>(), at, c.folderName));
            else
                problem(at, "must be the text of a folder name");
        });
        if (const json *folder = member(value, "folder"); folder && folder->is_array() && folder->empty())
            problem(place / "folder", "must name a folder: every part is filed in one");
        part.definition = text(value, place, "definition", c.definitionName);
        return part;
    }

private:
    // Adds problems found apart, in their order.
    void addAll(const std::vector<Problem> &found) {
        for (const Problem &each : found)
            add(problems, each);
    }

    std::vector<Problem> &problems;
};

// Checks of the names and references across the read libraries.
class NameChecks {
public:
    explicit NameChecks(std::vector<Problem> &problems) : problems(problems) {}

    void check(const std::vector<hostmodel::Library> &libraries) {
        std::unordered_map<std::string, std::string> libraryAt, definitionAt, partAt;
        const Place root;
        for (size_t i = 0; i < libraries.size(); ++i) {
            const hostmodel::Library &library = libraries[i];
            const Place placeList = root / "libraries", place = placeList[i];
            unique(libraryAt, library.name, place / "name", "library");
            checkFolders(library.folders, place / "folders");
            for (size_t d = 0; d < library.definitions.size(); ++d) {
                const Place atList = place / "partDefinitions", at = atList[d];
                unique(definitionAt, library.definitions[d].name, at / "name", "part definition");
                std::unordered_map<std::string, std::string> attributeAt;
                for (size_t a = 0; a < library.definitions[d].attributes.size(); ++a)
                    unique(attributeAt, library.definitions[d].attributes[a].name, (at / "attributes")[a] / "name",
                           "attribute");
            }
            for (size_t p = 0; p < library.parts.size(); ++p) {
                const hostmodel::Part &part = library.parts[p];
                const Place atList = place / "parts", at = atList[p];
                unique(partAt, part.name, at / "name", "part");
                if (!part.folder.empty() && !hasFolder(library.folders, part.folder))
                    report(at / "folder", "names folder " + quoted(joined(part.folder)) +
                                              ", which is not in the library's folder tree");
            }
        }
    }

private:
    void report(const Place &place, std::string message) { add(problems, {place.text(), std::move(message)}); }

    // Notes the name's first place; a second one is a problem.
    void unique(std::unordered_map<std::string, std::string> &seen, const std::string &name, const Place &place,
                const char *what) {
        auto [first, added] = seen.emplace(name, place.text());
        if (!added)
            report(place, std::string(what) + " name " + quoted(name) + " is taken by " + first->second);
    }

    void checkFolders(const std::vector<hostmodel::Folder> &folders, const Place &place) {
        std::unordered_map<std::string, std::string> siblingAt;
        for (size_t i = 0; i < folders.size(); ++i) {
            unique(siblingAt, folders[i].name, place[i] / "name", "folder");
            checkFolders(folders[i].children, place[i] / "folders");
        }
    }

    static bool hasFolder(const std::vector<hostmodel::Folder> &top, const std::vector<std::string> &path) {
        const std::vector<hostmodel::Folder> *level = &top;
        for (const std::string &name : path) {
            auto found = std::find_if(level->begin(), level->end(),
                                      [&](const hostmodel::Folder &folder) { return folder.name == name; });
            if (found == level->end())
                return false;
            level = &found->children;
        }
        return true;
    }

    std::vector<Problem> &problems;
};

// The syntax error's place ("line L, column C") and what it is.
Problem syntaxProblem(const json::parse_error &error) {
    const std::string what = error.what();
    const size_t at = what.find("at line ");
    const size_t colon = at == std::string::npos ? std::string::npos : what.find(": ", at);
    if (colon == std::string::npos)
        return {"byte " + std::to_string(error.byte), what};
    return {what.substr(at + 3, colon - at - 3), what.substr(colon + 2)};
}

// The libraries read as the splitter hands the document's pieces over:
// each item read into the model as soon as it ends, its problems kept apart
// until its library ends, and each library's until the document ends, so
// that they are listed in the order of a walk of the whole document (a
// library's own values before its items, definitions before parts).
class StreamedLibraries : public DocumentSplitter::Receiver {
public:
    explicit StreamedLibraries(const LibraryNamed &named) : named(named) {}

    std::vector<hostmodel::Library> libraries;
    std::vector<LeftOut> leftOut; // one per library
    std::vector<Problem> libraryProblems;

    void listNamed(DocumentSplitter::List list) override {
        switch (list) {
        case DocumentSplitter::LIBRARIES:
            libraries.clear();
            leftOut.clear();
            libraryProblems.clear();
            break;
        case DocumentSplitter::DEFINITIONS:
            items.definitions.clear();
            items.definitionProblems.clear();
            break;
        case DocumentSplitter::PARTS:
            items.parts.clear();
            items.partProblems.clear();
            break;
        case DocumentSplitter::NO_LIST:
            break;
        }
    }

    void element(DocumentSplitter::List list, const json &value) override {
        const Place root, listPlace = root / "libraries", place = listPlace[libraries.size()];
        if (list == DocumentSplitter::LIBRARIES) {
            leftOut.emplace_back();
            libraries.push_back(DocumentReader(libraryProblems).library(value, place, items, leftOut.back()));
            items = LibraryItems();
            if (named)
                named(libraries.back().name);
        } else if (list == DocumentSplitter::DEFINITIONS) {
            // A full problem list ends the reading of items: the rest would
            // only be counted.
            if (items.definitionProblems.size() < MAX_PROBLEMS) {
                const Place at = place / "partDefinitions", item = at[items.definitions.size()];
                items.definitions.push_back(DocumentReader(items.definitionProblems).definition(value, item));
            }
        } else if (items.partProblems.size() < MAX_PROBLEMS) {
            const Place at = place / "parts", item = at[items.parts.size()];
            items.parts.push_back(DocumentReader(items.partProblems).part(value, item));
        }
    }

    // A regular item still has its definition's pins and their references
    // checked; one with a problem there is read again as a tree, to name it.
    bool built(DocumentSplitter::List list, ItemBuilder &item) override {
        if (list == DocumentSplitter::DEFINITIONS) {
            if (items.definitionProblems.size() >= MAX_PROBLEMS)
                return true;
            std::vector<Problem> found;
            DocumentReader(found).checkDetails(item.definition, item.groupOfPin, Place());
            if (!found.empty())
                return false;
            items.definitions.push_back(std::move(item.definition));
        } else if (items.partProblems.size() < MAX_PROBLEMS) {
            items.parts.push_back(std::move(item.part));
        }
        return true;
    }

private:
    const LibraryNamed &named;
    LibraryItems items;
};

// The splitter, keeping the first failure of the parse as a problem instead
// of throwing it: a number beyond the range of a double fails with an
// exception that names no place of its own.
class DocumentParser : public DocumentSplitter {
public:
    DocumentParser(Receiver &receiver, TextInput &input, ItemReading reading)
        : DocumentSplitter(receiver, reading == ItemReading::DIRECT ? &input : nullptr), input(input) {}

    template <class Exception> bool parse_error(size_t position, const std::string &, const Exception &error) {
        if constexpr (std::is_same_v<Exception, json::parse_error>) {
            failure = syntaxProblem(error);
        } else {
            // "[json.exception.out_of_range.406] number overflow parsing '1e400'", the number cut short
            std::string what = error.what();
            what = what.substr(what.find("] ") == std::string::npos ? 0 : what.find("] ") + 2);
            constexpr size_t MAX_SHOWN = 80;
            if (what.size() > MAX_SHOWN)
                what = what.substr(0, MAX_SHOWN) + "...'";
            failure = Problem{input.lineAndColumn(position), what};
        }
        return false;
    }

    std::optional<Problem> failure;

private:
    const TextInput &input;
};

// Reads the document from the input into the file; false when its syntax
// fails, which is then the file's one problem.
bool readDocument(TextInput &input, ItemReading reading, const LibraryNamed &named, LibraryFile &file) {
    StreamedLibraries streamed(named);
    DocumentParser parser(streamed, input, reading);
    nlohmann::detail::parser<json, TextInput::Characters> syntax(input.characters());
    if (!syntax.sax_parse(&parser)) {
        file.problems.push_back(parser.failure.value_or(Problem{"the document", "cannot be read as JSON"}));
        return false;
    }
    file.libraries =
        DocumentReader(file.problems).read(parser.document(), streamed.libraries, streamed.libraryProblems);
    file.leftOut = std::move(streamed.leftOut);
    if (file.problems.empty())
        checkNames(file);
    return true;
}

} // namespace

LibraryFile readLibraryFile(TextSource &source, ItemReading reading, const LibraryNamed &named) {
    // A text that can be read twice is read without the indentation of its
    // lines, about half of a library file, which the parser would skip a
    // character at a time. Where its syntax fails, it is read again as it
    // stands, for the line and column of the failure (and the text the
    // parser shows with it); its libraries have been named by then.
    if (source.rewindable()) {
        LibraryFile file;
        TextInput unindented(source, true);
        if (readDocument(unindented, reading, named, file))
            return file;
        source.rewind();
    }
    const bool again = source.rewindable();
    LibraryFile file;
    TextInput input(source);
    if (readDocument(input, reading, again ? LibraryNamed() : named, file) && again)
        return {{}, {{"the document", "changed while it was read; nothing of it is used"}}, {}};
    return file;
}

LibraryFile readLibraryFile(std::string_view text, ItemReading reading) {
    TextInMemory source(text);
    return readLibraryFile(source, reading);
}

void checkNames(LibraryFile &file) {
    NameChecks(file.problems).check(file.libraries);
}

std::string summary(const std::vector<Problem> &problems) {
    if (problems.empty())
        return "no problems";
    std::string text = problems.front().place + ": " + problems.front().message;
    if (problems.size() > 1)
        text += std::string(" (and ") + (problems.size() >= MAX_PROBLEMS ? "at least " : "") +
                std::to_string(problems.size() - 1) + " more problem" + (problems.size() > 2 ? "s" : "") + ")";
    return text;
}

std::string pinKey(const std::string &identifier) {
    return COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::lowerCase(identifier);
}

size_t columnWidth(const std::string &table, const std::string &column) {
    return COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBSchema::textColumnWidth(table, column);
}

void checkAgainstDatabase(LibraryFile &file, const StoredNames &stored, const std::vector<std::string> &selected,
                          bool prune) {
    const Place root;
    for (size_t i = 0; i < file.libraries.size(); ++i) {
        const hostmodel::Library &library = file.libraries[i];
        if (!selected.empty() && std::find(selected.begin(), selected.end(), library.name) == selected.end())
            continue;
        const Place placeList = root / "libraries", place = placeList[i];
        std::unordered_set<std::string> definitions;
        for (size_t d = 0; d < library.definitions.size(); ++d) {
            const std::string &name = library.definitions[d].name;
            definitions.insert(name);
            auto holder = stored.definitions.find(name);
            if (holder != stored.definitions.end() && holder->second != library.name)
                add(file.problems, {((place / "partDefinitions")[d] / "name").text(),
                                    "part definition name " + quoted(name) + " is taken by library " +
                                        quoted(holder->second) + " of the database"});
        }
        for (size_t p = 0; p < library.parts.size(); ++p) {
            const hostmodel::Part &part = library.parts[p];
            const Place atList = place / "parts", at = atList[p];
            auto holder = stored.parts.find(part.name);
            if (holder != stored.parts.end() && holder->second.library != library.name)
                add(file.problems, {(at / "name").text(), "part name " + quoted(part.name) + " is taken by library " +
                                                              quoted(holder->second.library) + " of the database"});
            if (definitions.count(part.definition))
                continue;
            auto storedDefinition = stored.definitions.find(part.definition);
            const bool inLibrary =
                storedDefinition != stored.definitions.end() && storedDefinition->second == library.name;
            if (!inLibrary)
                add(file.problems,
                    {(at / "definition").text(), "names part definition " + quoted(part.definition) +
                                                     ", which is neither in the file's library nor in the database's"});
            else if (prune)
                add(file.problems,
                    {(at / "definition").text(), "names part definition " + quoted(part.definition) +
                                                     ", which only the database holds and --prune would remove"});
        }
    }
}

} // namespace libraryfile
