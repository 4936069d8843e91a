// KiCad symbol files from the fuzzer's bytes: the reader either refuses a
// file with a ParseError naming its place or gives a library of a known
// version whose derived symbols point at their parent in the file and whose
// texts all lie in the library's own bytes; the mapping of such a library onto the host model
// then holds only what a database can store, every part on a definition of
// its own library.

#include "fuzz/FuzzSupport.h"
#include "fuzz/StorableLibrary.h"
#include "tools/kicad/KicadImport.h"
#include "tools/kicad/KicadSymbols.h"

using namespace fuzzsupport;

namespace {

// Whether the text lies in the library's own bytes: the file's buffer or
// the store of unescaped texts.
bool inside(std::string_view text, const kicad::SymbolLibrary &library) {
    auto within = [&](const std::string &store) {
        return text.data() >= store.data() && text.data() + text.size() <= store.data() + store.size();
    };
    if (text.empty() || within(library.storage->bytes))
        return true;
    for (const std::string &store : library.storage->unescaped)
        if (within(store))
            return true;
    return false;
}

void checkText(std::string_view text, const kicad::SymbolLibrary &library) {
    check(inside(text, library), "a text outside the library's own bytes", std::string(text));
}

void checkSymbols(const kicad::SymbolLibrary &library) {
    check(library.version >= kicad::OLDEST_VERSION && library.version <= kicad::NEWEST_VERSION,
          "a library of an unknown version", std::to_string(library.version));
    for (const kicad::Symbol &symbol : library.symbols) {
        checkText(symbol.name, library);
        checkText(symbol.extends, library);
        if (symbol.extends.empty()) {
            check(symbol.parent == -1, "a root symbol with a parent", std::string(symbol.name));
        } else {
            check(symbol.parent >= 0 && static_cast<size_t>(symbol.parent) < library.symbols.size(),
                  "a derived symbol without its parent", std::string(symbol.name));
            check(library.symbols[symbol.parent].name == symbol.extends, "a derived symbol with another parent",
                  std::string(symbol.name));
        }
        for (const kicad::Property &property : symbol.properties) {
            checkText(property.key, library);
            checkText(property.value, library);
        }
        for (const kicad::Unit &unit : library.unitsOf(symbol)) {
            checkText(unit.name, library);
            for (const kicad::Pin &pin : unit.pins)
                for (std::string_view text : {pin.name, pin.number, pin.shape})
                    checkText(text, library);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    std::vector<kicad::SymbolLibrary> files;
    try {
        files.push_back(
            kicad::parseSymbolLibrary(std::string(reinterpret_cast<const char *>(bytes), size), "fuzz.kicad_sym"));
    } catch (const kicad::ParseError &error) {
        check(error.file == "fuzz.kicad_sym" && *error.what(), "a ParseError that does not name the file",
              error.what());
        return 0;
    }
    checkSymbols(files.front());
    // The library is named after the file ("fuzz"), which fits: the mapping
    // has no cause to throw.
    checkStorable(kicad::mapLibraries(files, {}).libraries, true);
    return 0;
}
