#pragma once

// KiCad 6 symbol libraries (.kicad_sym) read into plain structs: symbols
// with their properties, units and pins, derived symbols resolved against
// their parent in the same file. Every text is a view into the file's
// buffer, or into the library's own store when it had to be unescaped, so
// a SymbolLibrary must outlive every view taken from it.
//
//   kicad::SymbolLibrary library = kicad::readSymbolLibrary("/usr/share/kicad/symbols/74xx.kicad_sym");
//   for (const kicad::Symbol &symbol : library.symbols)
//       for (const kicad::Unit &unit : library.unitsOf(symbol)) ...
//
// A file that is not a symbol library of a supported version, or whose
// S-expressions are broken, throws kicad::ParseError naming the file, line
// and column.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kicad {

class ParseError : public std::runtime_error {
public:
    ParseError(const std::string &file, size_t line, size_t column, const std::string &what);
    std::string file;
    size_t line, column;
};

// The electrical types of a pin, in the order the file format lists them.
enum class PinType : uint8_t {
    Input = 1,
    Output,
    Bidirectional,
    TriState,
    Passive,
    Free,
    Unspecified,
    PowerIn,
    PowerOut,
    OpenCollector,
    OpenEmitter,
    NoConnect
};
// The type's keyword in the file ("power_in"); nullptr for no type.
const char *pinTypeName(PinType type);

struct Alternate {
    std::string_view name;
    PinType type;
    std::string_view shape;
};

struct Pin {
    PinType type;
    std::string_view shape;
    double x = 0, y = 0, angle = 0;
    bool hidden = false;
    std::string_view name;   // "" where the file writes "~"
    std::string_view number; // "" where the file writes "~"
    std::vector<Alternate> alternates;
};

// A sub-symbol NAME_u_b: unit u (0: common to every unit) drawn in body
// style b (0: every style, 1: normal, 2: De Morgan).
struct Unit {
    int unit = 0, body = 0;
    std::string_view name;
    std::vector<Pin> pins;
};

struct Property {
    std::string_view key, value;
};

struct Symbol {
    std::string_view name;
    std::string_view extends; // the parent's name; empty for a root symbol
    bool power = false;
    std::vector<Property> properties;
    std::vector<Unit> units; // a derived symbol's own are empty: see unitsOf
    size_t line = 0;         // where the symbol starts
    int parent = -1;         // index of the parent in the library's symbols

    // The value of a property, empty when the symbol has none.
    std::string_view property(std::string_view key) const;
    bool hasProperty(std::string_view key) const;
};

struct SymbolLibrary {
    std::string file;
    long version = 0;
    std::vector<Symbol> symbols;
    // The units of a symbol, a derived symbol's those of its parent.
    const std::vector<Unit> &unitsOf(const Symbol &symbol) const;

    // The file's bytes and the texts that held escapes, where the views
    // point; held apart so that moving the library moves no text.
    struct Storage {
        std::string bytes;
        std::deque<std::string> unescaped;
    };
    std::unique_ptr<Storage> storage = std::make_unique<Storage>();
};

// The versions of the format this reader knows (KiCad 6).
constexpr long OLDEST_VERSION = 20200126;
constexpr long NEWEST_VERSION = 20211014;
// The largest file read (the largest of KiCad's own is 9.5 MB); a larger
// one is refused.
constexpr size_t MAX_FILE_BYTES = size_t(256) << 20;
// The most units a symbol may have (a gate is made for each).
constexpr int MAX_UNITS = 1000;

// Reads a whole file; `parseSymbolLibrary` parses bytes already in memory
// (`file` names them in errors).
SymbolLibrary readSymbolLibrary(const std::string &path);
// Reads the files on up to `threads` threads (0: one per core), in the
// files' order. The error of the first file that cannot be read is thrown,
// as readSymbolLibrary throws it. `stop` is asked before each file is
// begun; once it answers true, the files not begun are left empty.
std::vector<SymbolLibrary> readSymbolLibraries(const std::vector<std::string> &paths, unsigned threads = 0,
                                               const std::function<bool()> &stop = {});
SymbolLibrary parseSymbolLibrary(std::string bytes, const std::string &file);

} // namespace kicad
