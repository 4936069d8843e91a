#include "tools/kicad/KicadMapping.h"

#include <cstdio>
#include <stdexcept>

namespace kicad {
namespace mapping {

namespace {

const char *const RULE_PREFIXED = "symbol name held by another library: stored as FILE:NAME";
const char *const RULE_NAME_SHORTENED = "name longer than 50 characters: shortened with a hash";

} // namespace

std::string shortened(std::string_view text, size_t width) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : text)
        hash = (hash ^ c) * 16777619u;
    char tail[16];
    std::snprintf(tail, sizeof tail, "~%08x", hash);
    return fitted(text, width - 9) + tail;
}

NameCounts countNames(const std::vector<SymbolLibrary> &files) {
    NameCounts filesHolding;
    for (const SymbolLibrary &file : files) {
        std::unordered_set<std::string_view> seen;
        for (const Symbol &symbol : file.symbols)
            if (seen.insert(symbol.name).second)
                ++filesHolding[symbol.name];
    }
    return filesHolding;
}

void checkName(const std::string &name, const char *what) {
    if (name.empty() || characterCount(name) > NAME_WIDTH)
        throw std::runtime_error(
            std::string("the ") + what + " name \"" + name +
            "\" does not fit the database's 50 characters (pass --library NAME, or rename the file)");
}

std::string SymbolNames::of(std::string_view symbolName, const std::string &stem, const std::string &libraryName) {
    const std::string name = str(symbolName);
    const auto holding = filesHolding.find(symbolName);
    bool shared = holding != filesHolding.end() && holding->second > 1;
    const auto stored = storedNames.equal_range(name);
    for (auto it = stored.first; it != stored.second && !shared; ++it)
        shared = it->second != libraryName;
    std::string result = shared ? stem + ":" + name : name;
    if (shared)
        count(RULE_PREFIXED);
    if (characterCount(result) > NAME_WIDTH) {
        count(RULE_NAME_SHORTENED);
        result = shortened(result, NAME_WIDTH);
    }
    return result;
}

} // namespace mapping
} // namespace kicad
