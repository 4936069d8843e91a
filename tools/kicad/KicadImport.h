#pragma once

// KiCad symbol libraries mapped onto the host model (tools/hostmodel): a
// library per file (or one library with a folder per file), a part
// definition per root symbol and per derived symbol that changes more than
// its value and description, a part per symbol, with pins, gates, gate
// swaps, pin equivalences and attributes. docs/kicad-mapping.md gives the
// rules; every rule that a value needed because it did not fit its column
// is counted in the summary, so nothing is dropped unseen.
//
//   std::vector<kicad::SymbolLibrary> files = ...;
//   kicad::Import import = kicad::mapLibraries(files, {});
//   getLibraryWriter(path)->write(hostmodel::libraryReader(import.libraries), cancel);

#include "ctraxdbpartlib/TextUtil.h"
#include "tools/hostmodel/HostLibrary.h"
#include "tools/kicad/KicadSymbols.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace kicad {

struct ImportOptions {
    // Every file into this one library, a folder per file; empty: a library
    // per file, named after the file's stem.
    std::string library;
    // Part and part-definition names the database holds already, with the
    // library of each: a symbol's name stored in another library is
    // written as FILESTEM:NAME.
    std::multimap<std::string, std::string> storedNames;
    // Files mapped side by side on up to this many threads (0: one per core).
    unsigned threads = 0;
};

struct ImportSummary {
    long files = 0, symbols = 0, derived = 0, power = 0, definitions = 0, parts = 0, pins = 0, gates = 0, gatePins = 0,
         swapGroups = 0, equivalenceGroups = 0, attributes = 0;
    // Rule text → how often it was applied.
    std::map<std::string, long> rules;

private:
    template <class Summary> static auto countsOf(Summary &s) {
        return std::tie(s.files, s.symbols, s.derived, s.power, s.definitions, s.parts, s.pins, s.gates, s.gatePins,
                        s.swapGroups, s.equivalenceGroups, s.attributes);
    }

public:
    // Every count above, for comparing summaries.
    auto counts() const { return countsOf(*this); }
    // Adds the counts and rules of another summary.
    ImportSummary &operator+=(const ImportSummary &other);
};

struct Import {
    std::vector<hostmodel::Library> libraries;
    ImportSummary summary;
};

// The library name a file gets: its stem ("74xx" for .../74xx.kicad_sym).
std::string libraryNameOf(const std::string &file);

// Maps the files; a library or folder name that does not fit its column
// throws std::runtime_error naming it.
Import mapLibraries(const std::vector<SymbolLibrary> &files, const ImportOptions &options);

// Widths count characters, as the database's columns do. `fitted` is the
// start of `text` with at most `width` characters: every text the mapping
// cuts is cut this way; `characterCount` is a text's length in characters.
inline std::string fitted(std::string_view text, size_t width) {
    return COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::fittedCharacters(text, width);
}
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::characterCount;

// Pin type codes of the Pin_type column: the KiCad type's number in
// PinType (input 1 ... no_connect 12).
int pinTypeCode(PinType type);

} // namespace kicad
