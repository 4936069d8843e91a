#include "tools/kicad/KicadImport.h"

#include "tools/kicad/KicadMapping.h"
#include "tools/kicad/Parallel.h"

#include <iterator>
#include <tuple>

namespace kicad {

namespace {

using namespace mapping;

const char *const RULE_SHARED_DEFINITION =
    "derived symbol changing only value and description: part on its parent's definition";

// Maps one file onto the definitions and parts of its library, counting
// in a summary of its own: the files are mapped side by side.
class Mapper {
public:
    Mapper(const NameCounts &filesHolding, const ImportOptions &options)
        : count{ruleCounts}, names(filesHolding, options.storedNames, count) {}

    // The file's definitions and parts, appended to `library`, and the summary.
    ImportSummary run(const SymbolLibrary &file, const std::string &stem, hostmodel::Library &library) {
        mapFile(file, stem, library);
        summary.files = 1;
        for (const auto &rule : ruleCounts)
            summary.rules[rule.first] += rule.second;
        return summary;
    }

private:
    void mapFile(const SymbolLibrary &file, const std::string &stem, hostmodel::Library &library) {
        std::vector<std::string> definitionOf(file.symbols.size());
        for (size_t i = 0; i < file.symbols.size(); ++i) {
            const Symbol &symbol = file.symbols[i];
            ++summary.symbols;
            summary.derived += symbol.parent >= 0;
            summary.power += symbol.power;
            const std::string name = names.of(symbol.name, stem, library.name);
            // Parents come first in the libraries; one that follows its
            // derived symbol gets a definition of its own there.
            const Symbol *parent = symbol.parent >= 0 ? &file.symbols[static_cast<size_t>(symbol.parent)] : nullptr;
            std::string definition;
            if (parent && parent->parent < 0 && !definitionOf[static_cast<size_t>(symbol.parent)].empty() &&
                onlyValueAndDescription(symbol, *parent)) {
                count(RULE_SHARED_DEFINITION);
                definition = definitionOf[static_cast<size_t>(symbol.parent)];
            } else {
                library.definitions.push_back(mapDefinition(file, symbol, name, stem));
                definition = name;
                ++summary.definitions;
            }
            definitionOf[i] = symbol.parent < 0 ? definition : std::string();
            library.parts.push_back(mapPart(symbol, name, stem, definition, count));
            ++summary.parts;
        }
    }

    hostmodel::PartDefinition mapDefinition(const SymbolLibrary &file, const Symbol &symbol, const std::string &name,
                                            const std::string &stem) {
        hostmodel::PartDefinition definition;
        definition.name = name;
        Attributes attributes(definition.attributes, count);
        // The symbol itself, for a KiCad database library of the parts.
        attributes.add("KiCad symbol", stem + ":" + str(symbol.name));
        mapFields(definition, symbol, stem, attributes, count);

        const Symbol *root = &symbol;
        while (root->parent >= 0)
            root = &file.symbols[static_cast<size_t>(root->parent)];
        mapPins(definition, str(root->name), file.unitsOf(symbol), attributes, count, summary);

        summary.pins += static_cast<long>(definition.pins.size());
        summary.attributes += static_cast<long>(definition.attributes.size());
        return definition;
    }

    ImportSummary summary;
    std::unordered_map<const char *, long> ruleCounts;
    Counter count;
    SymbolNames names;
};

hostmodel::Library &libraryNamed(std::vector<hostmodel::Library> &libraries, const std::string &name) {
    for (hostmodel::Library &library : libraries)
        if (library.name == name)
            return library;
    libraries.push_back({name});
    libraries.back().comment = "KiCad symbol library";
    return libraries.back();
}

} // namespace

ImportSummary &ImportSummary::operator+=(const ImportSummary &other) {
    std::apply(
        [&](auto &...mine) { std::apply([&](const auto &...theirs) { ((mine += theirs), ...); }, other.counts()); },
        countsOf(*this));
    for (const auto &rule : other.rules)
        rules[rule.first] += rule.second;
    return *this;
}

int pinTypeCode(PinType type) {
    return static_cast<int>(type);
}

std::string libraryNameOf(const std::string &file) {
    const size_t slash = file.find_last_of('/');
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    const size_t dot = name.rfind(".kicad_sym");
    if (dot != std::string::npos && dot + 10 == name.size())
        name.erase(dot);
    return name;
}

Import mapLibraries(const std::vector<SymbolLibrary> &files, const ImportOptions &options) {
    std::vector<std::string> stems;
    for (const SymbolLibrary &file : files) {
        stems.push_back(libraryNameOf(file.file));
        checkName(options.library.empty() ? stems.back() : options.library, "library");
        checkName(stems.back(), "folder");
    }
    const NameCounts filesHolding = countNames(files);
    // Each file on its own, then joined in the files' order: the result
    // does not depend on the number of threads.
    struct Mapped {
        hostmodel::Library library;
        ImportSummary summary;
    };
    std::vector<Mapped> mapped(files.size());
    forEachIndex(files.size(), options.threads, [&](size_t i) {
        mapped[i].library.name = options.library.empty() ? stems[i] : options.library;
        mapped[i].summary = Mapper(filesHolding, options).run(files[i], stems[i], mapped[i].library);
    });
    Import result;
    for (size_t i = 0; i < files.size(); ++i) {
        hostmodel::Library &library = libraryNamed(result.libraries, mapped[i].library.name);
        hostmodel::addFolder(library, {stems[i]});
        std::move(mapped[i].library.definitions.begin(), mapped[i].library.definitions.end(),
                  std::back_inserter(library.definitions));
        std::move(mapped[i].library.parts.begin(), mapped[i].library.parts.end(), std::back_inserter(library.parts));
        result.summary += mapped[i].summary;
    }
    return result;
}

} // namespace kicad
