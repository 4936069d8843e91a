// Comma lists from the fuzzer's bytes cut into statement pieces under a
// limit: every piece is prefix + items + suffix, over the limit only when
// it holds one item; the pieces together hold every non-empty item once, in
// order; lowering the limit ends at the floor.

#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>

using namespace fuzzsupport;

namespace {

std::vector<std::string> nonEmptyItems(const std::string &list) {
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t comma = std::min(list.find(',', pos), list.size());
        if (comma > pos)
            items.push_back(list.substr(pos, comma - pos));
        pos = comma + 1;
    }
    return items;
}

bool startsWith(const std::string &text, const std::string &start) {
    return text.compare(0, start.size(), start) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    FuzzedDataProvider in(bytes, size);
    const int limit = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-2, 300) : in.ConsumeIntegral<int>();
    std::string prefix = in.ConsumeRandomLengthString(40);
    std::string suffix = in.ConsumeRandomLengthString(20);
    prefix = prefix.substr(0, prefix.find('\0'));
    suffix = suffix.substr(0, suffix.find('\0'));
    // The host hands its pieces out as NUL-terminated texts.
    std::string pending = in.ConsumeRemainingBytesAsString();
    pending.erase(std::remove(pending.begin(), pending.end(), '\0'), pending.end());
    const std::vector<std::string> items = nonEmptyItems(pending);
    const size_t budget = limit == -1 ? DEFAULT_COMMAND_LIMIT : static_cast<size_t>(std::max(limit, 0));

    std::vector<std::string> taken;
    for (size_t round = 0;; ++round) {
        check(round <= items.size(), "the list is never used up", pending);
        char *piece = extractToCommandStringToLimit(prefix.c_str(), pending, suffix.c_str(), limit);
        if (!piece)
            break;
        const std::string text = piece;
        freeMem(piece);
        check(text.size() >= prefix.size() + suffix.size() && startsWith(text, prefix) &&
                  text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0,
              "a piece without its prefix or suffix", text);
        const std::vector<std::string> inside =
            nonEmptyItems(text.substr(prefix.size(), text.size() - prefix.size() - suffix.size()));
        check(!inside.empty(), "an empty piece", text);
        check(inside.size() == 1 || text.size() <= budget, "a piece over the limit", text);
        taken.insert(taken.end(), inside.begin(), inside.end());
    }
    check(nonEmptyItems(pending).empty(), "items left behind", pending);
    check(taken == items, "the pieces do not hold the list's items", "");

    int lowered = limit;
    for (int steps = 0; reduceDatabaseCommandStringLimit(&lowered); ++steps) {
        check(steps < 64 && lowered >= MIN_COMMAND_LIMIT, "the limit does not settle at the floor",
              std::to_string(lowered));
    }
    return 0;
}
