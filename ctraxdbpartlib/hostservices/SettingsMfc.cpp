#include "ctraxdbpartlib/hostservices/HostInternal.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <algorithm>
#include <string>

using hostservices_detail::hostStringCopy;

// No password is ever stored encrypted by this host: the string is handed
// back as it is, in a buffer of the calling thread that stays valid until
// the thread's next call.
const char *decryptConnectionStringPassword(const char *initialisationString) {
    thread_local std::string buffer;
    buffer = initialisationString ? initialisationString : "";
    return buffer.c_str();
}

// Outside single-quoted literals, '[' becomes `open` and the next ']' becomes
// `close`; the identifier between them is copied as it is. Inside a literal
// nothing changes; a doubled quote inside one ends and reopens it, which
// leaves its text untouched as well.
char *fixDatabaseCommandEncloseTC(const char *sql, char open, char close) {
    // Changed in place in a copy: statements of a thousand rows pass here,
    // and only brackets and quotes need a look.
    std::string out = sql ? sql : "";
    bool inLiteral = false;
    bool inIdentifier = false;
    for (char &c : out) {
        if (c != '[' && c != ']' && c != '\'')
            continue;
        if (inIdentifier) {
            if (c == ']') {
                c = close;
                inIdentifier = false;
            }
        } else if (c == '\'') {
            inLiteral = !inLiteral;
        } else if (c == '[' && !inLiteral) {
            c = open;
            inIdentifier = true;
        }
    }
    return hostStringCopy(out);
}

namespace {

int effectiveLimit(int limit) {
    return limit == -1 ? DEFAULT_COMMAND_LIMIT : limit;
}

} // namespace

// Empty items (",,") carry nothing and are dropped.
char *extractToCommandStringToLimit(const char *prefix, std::string &pending, const char *suffix, int limit) {
    const std::string head = prefix ? prefix : "";
    const std::string tail = suffix ? suffix : "";
    const size_t budget = static_cast<size_t>(std::max(effectiveLimit(limit), 0));
    std::string items;
    size_t pos = 0;
    while (pos < pending.size()) {
        size_t comma = pending.find(',', pos);
        size_t end = comma == std::string::npos ? pending.size() : comma;
        size_t next = comma == std::string::npos ? pending.size() : comma + 1;
        if (end > pos) {
            size_t grown = head.size() + items.size() + (items.empty() ? 0 : 1) + (end - pos) + tail.size();
            if (!items.empty() && grown > budget)
                break;
            if (!items.empty())
                items += ',';
            items.append(pending, pos, end - pos);
        }
        pos = next;
    }
    pending.erase(0, pos);
    if (items.empty())
        return nullptr;
    return hostStringCopy(head + items + tail);
}

int reduceDatabaseCommandStringLimit(int *limit) {
    if (!limit)
        return 0;
    int current = effectiveLimit(*limit);
    if (current <= MIN_COMMAND_LIMIT)
        return 0;
    *limit = std::max(current / 2, MIN_COMMAND_LIMIT);
    return 1;
}
