#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <cctype>
#include <cstring>

namespace {

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Compares the digit runs starting at a and b by their numeric value and
// moves both past their run. `tieBreak` gets the first difference in run
// length between equal values (fewer leading zeros first), if not set yet.
int compareNumbers(const unsigned char *&a, const unsigned char *&b, int &tieBreak) {
    const unsigned char *startA = a;
    const unsigned char *startB = b;
    while (*a == '0')
        ++a;
    while (*b == '0')
        ++b;
    const unsigned char *digitsA = a;
    const unsigned char *digitsB = b;
    while (isDigit(*a))
        ++a;
    while (isDigit(*b))
        ++b;
    size_t lengthA = a - digitsA;
    size_t lengthB = b - digitsB;
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    int cmp = std::memcmp(digitsA, digitsB, lengthA);
    if (cmp != 0)
        return cmp < 0 ? -1 : 1;
    size_t runA = a - startA;
    size_t runB = b - startB;
    if (tieBreak == 0 && runA != runB)
        tieBreak = runA < runB ? -1 : 1;
    return 0;
}

// Natural order: digit runs by value, everything else by case-folded byte.
int naturalCompare(const unsigned char *a, const unsigned char *b) {
    int tieBreak = 0;
    while (*a && *b) {
        if (isDigit(*a) && isDigit(*b)) {
            int cmp = compareNumbers(a, b, tieBreak);
            if (cmp != 0)
                return cmp;
            continue;
        }
        int ca = std::tolower(*a);
        int cb = std::tolower(*b);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++a;
        ++b;
    }
    if (*a || *b)
        return *a ? 1 : -1;
    return tieBreak;
}

} // namespace

int isFirstNameBeforeSecond(const char *first, const char *second) {
    const unsigned char *a = reinterpret_cast<const unsigned char *>(first ? first : "");
    const unsigned char *b = reinterpret_cast<const unsigned char *>(second ? second : "");
    return naturalCompare(a, b) < 0 ? 1 : 0;
}
