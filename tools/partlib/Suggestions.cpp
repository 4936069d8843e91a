#include "tools/partlib/Suggestions.h"

#include "ctraxdbpartlib/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace partlib {

namespace {

constexpr size_t MOST = 3;

std::string withoutBlanks(const std::string &text) {
    std::string out;
    for (unsigned char c : text)
        if (!std::isspace(c))
            out += char(c);
    return out;
}

// The edits (insert, delete, replace one byte) that turn a into b, or
// limit + 1 when it takes more.
size_t editDistance(const std::string &a, const std::string &b, size_t limit) {
    const size_t apart = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (apart > limit)
        return limit + 1;
    std::vector<size_t> previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        size_t best = current[0];
        for (size_t j = 1; j <= b.size(); ++j) {
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
            best = std::min(best, current[j]);
        }
        if (best > limit)
            return limit + 1;
        std::swap(previous, current);
    }
    return std::min(previous[b.size()], limit + 1);
}

} // namespace

std::vector<std::string> closestNames(const std::string &wanted, const std::vector<std::string> &candidates) {
    const std::string key = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::lowerCase(wanted);
    const std::string bare = withoutBlanks(key);
    // One edit for a short name, up to three for a long one.
    const size_t limit = std::clamp<size_t>(key.size() / 4, 1, 3);
    std::vector<std::pair<size_t, const std::string *>> ranked;
    for (const std::string &candidate : candidates) {
        if (candidate == wanted)
            continue;
        const std::string name = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::lowerCase(candidate);
        const size_t colon = name.rfind(':');
        size_t rank;
        if (name == key)
            rank = 0;
        else if (withoutBlanks(name) == bare)
            rank = 1;
        else if (colon != std::string::npos && name.substr(colon + 1) == key)
            rank = 2;
        else if (const size_t edits = editDistance(key, name, limit); edits <= limit)
            rank = 2 + edits;
        else
            continue;
        ranked.emplace_back(rank, &candidate);
    }
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : *a.second < *b.second;
    });
    std::vector<std::string> closest;
    for (const auto &[rank, name] : ranked)
        if (closest.size() < MOST && std::find(closest.begin(), closest.end(), *name) == closest.end())
            closest.push_back(*name);
    return closest;
}

std::string didYouMean(const std::string &wanted, const std::vector<std::string> &candidates) {
    const std::vector<std::string> closest = closestNames(wanted, candidates);
    std::string text;
    for (size_t i = 0; i < closest.size(); ++i)
        text += std::string(i == 0                    ? ""
                            : i + 1 == closest.size() ? " or "
                                                      : ", ") +
                "\"" + COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::printable(closest[i]) + "\"";
    return text.empty() ? "" : "; did you mean " + text + "?";
}

} // namespace partlib
