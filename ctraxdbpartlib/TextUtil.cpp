#include "ctraxdbpartlib/TextUtil.h"

#include <algorithm>
#include <cctype>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

const char LOWER_DIGITS[] = "0123456789abcdef";
const char UPPER_DIGITS[] = "0123456789ABCDEF";

void appendEscape(std::string &shown, const char *prefix, unsigned char code, const char *digits) {
    shown += prefix;
    shown += digits[code >> 4];
    shown += digits[code & 15];
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

bool sameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// The text with the bytes that `escaped` picks as \xNN.
template <class Pick> std::string hexEscaped(std::string_view text, Pick escaped) {
    std::string shown;
    for (unsigned char c : text) {
        if (escaped(c))
            appendEscape(shown, "\\x", c, UPPER_DIGITS);
        else
            shown += static_cast<char>(c);
    }
    return shown;
}

template <class Convert> std::string converted(std::string_view text, Convert convert) {
    std::string result(text);
    for (char &c : result)
        c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    return result;
}

} // namespace

std::string trimmed(std::string_view text, std::string_view blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return std::string();
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

std::string joined(const std::vector<std::string> &items, std::string_view separator) {
    std::string text;
    for (const std::string &item : items) {
        if (!text.empty())
            text += separator;
        text += item;
    }
    return text;
}

std::string lowerCase(std::string_view text) {
    return converted(text, [](unsigned char c) { return std::tolower(c); });
}

std::string upperCase(std::string_view text) {
    return converted(text, [](unsigned char c) { return std::toupper(c); });
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameLetter);
}

bool containsNoCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), sameLetter) != text.end();
}

size_t utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

std::string fitted(std::string_view text, size_t width) {
    if (text.size() <= width)
        return std::string(text);
    size_t end = width;
    // Back over continuation bytes to the start of the cut character.
    while (end > 0 && width - end < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

namespace {

// The bytes of the character at text[at]: a byte that starts no valid UTF-8
// sequence counts as a character of its own.
size_t characterBytes(std::string_view text, size_t at) {
    if (static_cast<unsigned char>(text[at]) < 0x80)
        return 1;
    const size_t length = utf8SequenceLength(text, at);
    return length == 0 ? 1 : length;
}

} // namespace

size_t characterCount(std::string_view text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); at += characterBytes(text, at))
        ++count;
    return count;
}

std::string fittedCharacters(std::string_view text, size_t characters) {
    size_t end = 0;
    for (size_t count = 0; end < text.size() && count < characters; ++count)
        end += characterBytes(text, end);
    return std::string(text.substr(0, end));
}

std::string printable(std::string_view text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // C1 controls are U+0080 to U+009F: 0xC2 followed by 0x80 to 0x9F.
        const bool c1 = c == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (isControl(c))
            appendEscape(shown, "\\x", c, LOWER_DIGITS);
        else if (c1)
            appendEscape(shown, "\\u00", static_cast<unsigned char>(text[++i]), LOWER_DIGITS);
        else
            shown += static_cast<char>(c);
    }
    return shown;
}

std::string storedEscaped(std::string_view text) {
    std::string shown;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80 ? 1 : utf8SequenceLength(text, i);
        // C1 controls are U+0080 to U+009F: 0xC2 followed by 0x80 to 0x9F.
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (length == 0 || isControl(c) || c1) {
            for (size_t j = 0; j < std::max<size_t>(length, 1); ++j)
                appendEscape(shown, "\\x", static_cast<unsigned char>(text[i + j]), UPPER_DIGITS);
            i += std::max<size_t>(length, 1);
        } else {
            shown.append(text.substr(i, length));
            i += length;
        }
    }
    return shown;
}

std::string asciiEscaped(std::string_view text) {
    return hexEscaped(text, [](unsigned char c) { return c < 0x20 || c >= 0x7F; });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
