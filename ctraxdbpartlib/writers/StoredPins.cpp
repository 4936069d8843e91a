#include "ctraxdbpartlib/writers/StoredPins.h"

#include "ctraxdbpartlib/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// A hash that texts equal by equalsNoCase share.
uint64_t hashNoCase(const std::string &text) {
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (char c : text)
        hash = (hash ^ static_cast<uint64_t>(std::tolower(static_cast<unsigned char>(c)))) * 1099511628211ull;
    return hash;
}

} // namespace

void StoredPins::add(std::string identifier, std::shared_ptr<CTraxDBPinDataAccess> pin) {
    pins.emplace_back(std::move(identifier), std::move(pin));
    byText.clear();
}

void StoredPins::clear() {
    pins.clear();
    byText.clear();
    next = 0;
}

bool StoredPins::distinct() const {
    std::vector<std::pair<uint64_t, size_t>> hashes;
    hashes.reserve(pins.size());
    for (size_t i = 0; i < pins.size(); ++i)
        hashes.emplace_back(hashNoCase(pins[i].first), i);
    std::sort(hashes.begin(), hashes.end());
    for (size_t i = 1; i < hashes.size(); ++i)
        for (size_t j = i; j-- > 0 && hashes[j].first == hashes[i].first;)
            if (equalsNoCase(pins[hashes[i].second].first, pins[hashes[j].second].first))
                return false;
    return true;
}

const CTraxDBPinDataAccess *StoredPins::find(const std::string &identifier) {
    if (pins.empty())
        return nullptr;
    // After the last pin, the order starts again from the first.
    const size_t expected = next < pins.size() ? next : 0;
    if (pins[expected].first == identifier) {
        next = expected + 1;
        return pins[expected].second.get();
    }
    if (byText.empty()) {
        byText.resize(pins.size());
        for (size_t i = 0; i < pins.size(); ++i)
            byText[i] = i;
        std::sort(byText.begin(), byText.end(), [&](size_t a, size_t b) { return pins[a].first < pins[b].first; });
    }
    auto found = std::lower_bound(byText.begin(), byText.end(), identifier,
                                  [&](size_t at, const std::string &text) { return pins[at].first < text; });
    if (found == byText.end() || pins[*found].first != identifier)
        return nullptr;
    next = *found + 1;
    return pins[*found].second.get();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
