#include "tools/kicad/KicadSymbols.h"

#include "tools/kicad/Parallel.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace kicad {

ParseError::ParseError(const std::string &file, size_t line, size_t column, const std::string &what)
    : std::runtime_error(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + what), file(file),
      line(line), column(column) {}

namespace {

const char *const PIN_TYPES[] = {nullptr,          "input",        "output",      "bidirectional", "tri_state",
                                 "passive",        "free",         "unspecified", "power_in",      "power_out",
                                 "open_collector", "open_emitter", "no_connect"};

enum class Token { Open, Close, Atom, String, End };

// One pass over the bytes: a cursor that hands out tokens, and the
// grammar of the parts of a symbol library that the import reads; every
// other list is skipped whole without looking at its tokens.
class Parser {
public:
    Parser(SymbolLibrary &library)
        : library(library), begin(library.storage->bytes.data()), p(begin), end(begin + library.storage->bytes.size()) {
    }

    void parseLibrary() {
        const bool opened = next() == Token::Open;
        const char *open = start;
        if (!opened || next() != Token::Atom || text != "kicad_symbol_lib")
            fail(start, "not a KiCad symbol library: the file does not start with (kicad_symbol_lib");
        while (true) {
            const Token token = next();
            if (token == Token::Close)
                break;
            if (token == Token::End)
                unclosed(open);
            if (token != Token::Open)
                fail(start, "unexpected '" + std::string(text) + "' in the library");
            const char *list = start;
            const std::string_view head = keyword(list);
            if (head == "version") {
                library.version = integer();
                if (library.version < OLDEST_VERSION || library.version > NEWEST_VERSION)
                    fail(start, "unsupported format version " + std::to_string(library.version) +
                                    " (this reader knows KiCad 6 symbol libraries, versions " +
                                    std::to_string(OLDEST_VERSION) + " to " + std::to_string(NEWEST_VERSION) + ")");
                closeList(list);
            } else if (head == "symbol") {
                if (library.version == 0)
                    fail(list, "a symbol before the library's (version ...)");
                parseSymbol(list);
            } else {
                skipList(list);
            }
        }
        if (library.version == 0)
            fail(open, "the library names no format version");
        if (next() != Token::End)
            fail(start, "text after the end of the library (an extra ')'?)");
    }

    // The parents of derived symbols, found by name in the same file.
    void resolveParents() {
        std::unordered_map<std::string_view, int> byName;
        byName.reserve(library.symbols.size() * 2);
        for (size_t i = 0; i < library.symbols.size(); ++i)
            if (!byName.emplace(library.symbols[i].name, static_cast<int>(i)).second)
                fail(symbolStarts[i], "symbol \"" + std::string(library.symbols[i].name) + "\" is defined twice");
        for (size_t i = 0; i < library.symbols.size(); ++i) {
            Symbol &symbol = library.symbols[i];
            if (symbol.extends.empty())
                continue;
            const auto parent = byName.find(symbol.extends);
            if (parent == byName.end())
                fail(extendsAt[i], "symbol \"" + std::string(symbol.name) + "\" extends \"" +
                                       std::string(symbol.extends) + "\", which the file does not hold");
            symbol.parent = parent->second;
        }
        // A chain of parents must end at a root symbol.
        for (size_t i = 0; i < library.symbols.size(); ++i) {
            int at = static_cast<int>(i);
            for (size_t steps = 0; library.symbols[at].parent >= 0; ++steps) {
                if (steps > library.symbols.size())
                    fail(extendsAt[i],
                         "symbol \"" + std::string(library.symbols[i].name) + "\" extends itself through its parents");
                at = library.symbols[at].parent;
            }
        }
    }

private:
    [[noreturn]] void fail(const char *at, const std::string &what) const {
        size_t line = 1;
        const char *lineStart = begin;
        for (const char *c = begin; c < at; ++c)
            if (*c == '\n') {
                ++line;
                lineStart = c + 1;
            }
        throw ParseError(library.file, line, static_cast<size_t>(at - lineStart) + 1, what);
    }

    [[noreturn]] void unclosed(const char *open) const {
        size_t line = 1, column = 1;
        for (const char *c = begin; c < open; ++c, ++column)
            if (*c == '\n') {
                ++line;
                column = 0;
            }
        fail(end, "the file ends inside the list opened at line " + std::to_string(line) + ", column " +
                      std::to_string(column) + " (cut short or a ')' missing)");
    }

    static bool isSpace(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

    // The next token; `start` is where it begins and `text` holds an
    // atom's or a string's text (unescaped).
    Token next() {
        while (p < end && isSpace(*p))
            ++p;
        start = p;
        if (p == end)
            return Token::End;
        const char c = *p;
        if (c == '(') {
            ++p;
            return Token::Open;
        }
        if (c == ')') {
            ++p;
            return Token::Close;
        }
        if (c == '"') {
            const char *first = ++p;
            bool escaped = false;
            while (p < end && *p != '"') {
                if (*p == '\\') {
                    escaped = true;
                    ++p;
                }
                ++p;
            }
            if (p >= end)
                fail(start, "a string that is not closed before the end of the file");
            text = std::string_view(first, static_cast<size_t>(p - first));
            ++p;
            if (escaped)
                text = unescape(text);
            return Token::String;
        }
        while (p < end && !isSpace(*p) && *p != '(' && *p != ')' && *p != '"')
            ++p;
        text = std::string_view(start, static_cast<size_t>(p - start));
        return Token::Atom;
    }

    std::string_view unescape(std::string_view raw) {
        std::string out;
        out.reserve(raw.size());
        for (size_t i = 0; i < raw.size(); ++i) {
            char c = raw[i];
            if (c == '\\' && i + 1 < raw.size()) {
                c = raw[++i];
                if (c == 'n')
                    c = '\n';
                else if (c == 't')
                    c = '\t';
            }
            out += c;
        }
        library.storage->unescaped.push_back(std::move(out));
        return library.storage->unescaped.back();
    }

    // The keyword of a list just opened at `list`.
    std::string_view keyword(const char *list) {
        if (next() != Token::Atom)
            fail(start == end ? list : start, "a list without a keyword");
        return text;
    }

    std::string_view quoted(const char *what) {
        const Token token = next();
        if (token != Token::String && token != Token::Atom)
            fail(start, std::string("expected ") + what);
        return text;
    }

    double real(const char *what) {
        if (next() != Token::Atom)
            fail(start, std::string("expected a number: ") + what);
        double value = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            fail(start, "'" + std::string(text) + "' is not a number (" + what + ")");
        return value;
    }

    long integer() {
        if (next() != Token::Atom)
            fail(start, "expected a version number");
        long value = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            fail(start, "'" + std::string(text) + "' is not a version number");
        return value;
    }

    // Expects the ')' of the list opened at `list`.
    void closeList(const char *list) {
        const Token token = next();
        if (token == Token::End)
            unclosed(list);
        if (token != Token::Close)
            fail(start, "expected ')'");
    }

    // Skips the rest of the list opened at `list`, nested lists and all.
    void skipList(const char *list) {
        int depth = 1;
        while (p < end) {
            const char c = *p++;
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                if (--depth == 0)
                    return;
            } else if (c == '"') {
                const char *string = p - 1;
                while (p < end && *p != '"')
                    p += *p == '\\' ? 2 : 1;
                if (p >= end)
                    fail(string, "a string that is not closed before the end of the file");
                ++p;
            }
        }
        unclosed(list);
    }

    // The rest of the list as sublists, each handed to `child` with its
    // keyword; a bare atom goes to `atom`.
    template <class Child, class Atom> void children(const char *list, Child child, Atom atom) {
        while (true) {
            const Token token = next();
            if (token == Token::Close)
                return;
            if (token == Token::End)
                unclosed(list);
            if (token == Token::Open) {
                const char *sub = start;
                child(sub, keyword(sub));
            } else {
                atom(text);
            }
        }
    }

    void parseSymbol(const char *list) {
        Symbol symbol;
        symbol.name = quoted("the symbol's name");
        if (symbol.name.empty())
            fail(start, "a symbol without a name");
        const char *extends = nullptr;
        children(
            list,
            [&](const char *sub, std::string_view head) {
                if (head == "extends") {
                    extends = sub;
                    symbol.extends = quoted("the parent's name");
                    closeList(sub);
                } else if (head == "power") {
                    symbol.power = true;
                    skipList(sub);
                } else if (head == "property") {
                    Property property;
                    property.key = quoted("the property's name");
                    property.value = quoted("the property's value");
                    symbol.properties.push_back(property);
                    skipList(sub);
                } else if (head == "symbol") {
                    symbol.units.push_back(parseUnit(sub, symbol.name));
                } else {
                    skipList(sub);
                }
            },
            [](std::string_view) {});
        if (!symbol.extends.empty() && !symbol.units.empty())
            fail(extends, "derived symbol \"" + std::string(symbol.name) + "\" has units of its own");
        symbolStarts.push_back(list);
        extendsAt.push_back(extends ? extends : list);
        symbol.line = lineOf(list);
        library.symbols.push_back(std::move(symbol));
    }

    size_t lineOf(const char *at) {
        // Lines are counted on from the last symbol, so the whole file is
        // walked once.
        for (; counted < at; ++counted)
            if (*counted == '\n')
                ++lines;
        return lines;
    }

    Unit parseUnit(const char *list, std::string_view symbolName) {
        Unit unit;
        unit.name = quoted("the unit's name");
        const char *nameAt = start;
        // NAME_u_b
        const size_t second = unit.name.rfind('_');
        const size_t first =
            second == std::string_view::npos || second == 0 ? std::string_view::npos : unit.name.rfind('_', second - 1);
        if (first == std::string_view::npos || unit.name.substr(0, first) != symbolName ||
            !digits(unit.name.substr(first + 1, second - first - 1), unit.unit) ||
            !digits(unit.name.substr(second + 1), unit.body))
            fail(nameAt,
                 "unit \"" + std::string(unit.name) + "\" is not named " + std::string(symbolName) + "_UNIT_STYLE");
        // Every unit up to the highest becomes a gate.
        if (unit.unit > MAX_UNITS)
            fail(nameAt, "unit \"" + std::string(unit.name) + "\": more than " + std::to_string(MAX_UNITS) +
                             " units in one symbol");
        children(
            list,
            [&](const char *sub, std::string_view head) {
                if (head == "pin")
                    unit.pins.push_back(parsePin(sub));
                else
                    skipList(sub);
            },
            [](std::string_view) {});
        return unit;
    }

    static bool digits(std::string_view text, int &value) {
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= 0;
    }

    PinType pinType() {
        if (next() != Token::Atom)
            fail(start, "expected a pin type");
        for (int i = 1; i <= static_cast<int>(PinType::NoConnect); ++i)
            if (text == PIN_TYPES[i])
                return static_cast<PinType>(i);
        fail(start, "unknown pin type '" + std::string(text) + "'");
    }

    static std::string_view tilde(std::string_view text) { return text == "~" ? std::string_view() : text; }

    Pin parsePin(const char *list) {
        Pin pin;
        pin.type = pinType();
        pin.shape = quoted("a pin shape");
        children(
            list,
            [&](const char *sub, std::string_view head) {
                if (head == "at") {
                    pin.x = real("the pin's x");
                    pin.y = real("the pin's y");
                    skipList(sub);
                } else if (head == "name") {
                    pin.name = tilde(quoted("the pin's name"));
                    skipList(sub);
                } else if (head == "number") {
                    pin.number = tilde(quoted("the pin's number"));
                    skipList(sub);
                } else if (head == "alternate") {
                    Alternate alternate;
                    alternate.name = quoted("the alternate's name");
                    alternate.type = pinType();
                    alternate.shape = quoted("the alternate's shape");
                    pin.alternates.push_back(alternate);
                    skipList(sub);
                } else {
                    skipList(sub);
                }
            },
            [&](std::string_view atom) {
                if (atom == "hide")
                    pin.hidden = true;
            });
        return pin;
    }

    SymbolLibrary &library;
    const char *begin, *p, *end;
    const char *start = nullptr;
    std::string_view text;
    std::vector<const char *> symbolStarts, extendsAt;
    const char *counted = begin;
    size_t lines = 1;
};

} // namespace

const char *pinTypeName(PinType type) {
    const int index = static_cast<int>(type);
    return index >= 1 && index <= static_cast<int>(PinType::NoConnect) ? PIN_TYPES[index] : nullptr;
}

std::string_view Symbol::property(std::string_view key) const {
    for (const Property &property : properties)
        if (property.key == key)
            return property.value;
    return {};
}

bool Symbol::hasProperty(std::string_view key) const {
    return std::any_of(properties.begin(), properties.end(),
                       [&](const Property &property) { return property.key == key; });
}

const std::vector<Unit> &SymbolLibrary::unitsOf(const Symbol &symbol) const {
    const Symbol *root = &symbol;
    while (root->parent >= 0)
        root = &symbols[static_cast<size_t>(root->parent)];
    return root->units;
}

SymbolLibrary parseSymbolLibrary(std::string bytes, const std::string &file) {
    SymbolLibrary library;
    library.file = file;
    library.storage->bytes = std::move(bytes);
    Parser parser(library);
    parser.parseLibrary();
    parser.resolveParents();
    return library;
}

SymbolLibrary readSymbolLibrary(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot be read");
    std::string bytes;
    std::error_code noSize;
    const uintmax_t size = std::filesystem::file_size(path, noSize);
    if (!noSize && size <= MAX_FILE_BYTES)
        bytes.reserve(static_cast<size_t>(size));
    // To the end, whatever the size said: a pipe or a file of /proc has none.
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
        if (bytes.size() > MAX_FILE_BYTES)
            throw std::runtime_error(path + ": larger than " + std::to_string(MAX_FILE_BYTES >> 20) +
                                     " MiB; no KiCad symbol library is");
    }
    if (in.bad())
        throw std::runtime_error(path + ": cannot be read");
    return parseSymbolLibrary(std::move(bytes), path);
}

std::vector<SymbolLibrary> readSymbolLibraries(const std::vector<std::string> &paths, unsigned threads,
                                               const std::function<bool()> &stop) {
    std::vector<SymbolLibrary> libraries(paths.size());
    forEachIndex(
        paths.size(), threads, [&](size_t i) { libraries[i] = readSymbolLibrary(paths[i]); }, stop);
    return libraries;
}

} // namespace kicad
