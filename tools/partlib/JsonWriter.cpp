#include "tools/partlib/JsonWriter.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "tools/partlib/Commands.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace partlib {

namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

void JsonWriter::value(long number) {
    element();
    char *at = room(24);
    used = static_cast<size_t>(std::to_chars(at, at + 24, number).ptr - buffer.data());
}

void JsonWriter::element() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (levels.empty())
        return;
    newline(levels.back() != 0);
    levels.back() = true;
}

void JsonWriter::open(char bracket) {
    element();
    *room(1) = bracket;
    ++used;
    levels.push_back(false);
}

void JsonWriter::close(char bracket) {
    const bool hadElements = levels.back();
    levels.pop_back();
    if (hadElements)
        newline(false);
    *room(1) = bracket;
    ++used;
    if (used >= FLUSH_SIZE)
        flush();
}

// A comma when asked, the line break and two blanks per open container.
void JsonWriter::newline(bool comma) {
    const size_t indent = 2 * levels.size();
    char *at = room(indent + 2);
    if (comma)
        *at++ = ',';
    *at++ = '\n';
    std::memset(at, ' ', indent);
    used = static_cast<size_t>(at + indent - buffer.data());
}

void JsonWriter::flush() {
    out.write(buffer.data(), static_cast<std::streamsize>(used));
    if (!out)
        fail("Cannot write the library file");
    used = 0;
}

namespace {

// The bytes a JSON text holds as they are: printable ASCII but for the
// quote and the backslash.
constexpr std::array<bool, 256> plainBytes = [] {
    std::array<bool, 256> plain{};
    for (size_t c = 0x20; c < 0x80; ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

// Whether any of the eight bytes of `word` is not a plain byte: below
// 0x20, above 0x7f, a quote or a backslash.
bool anyNotPlain(uint64_t word) {
    constexpr uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
    const auto zeroByte = [](uint64_t x) { return (x - ones) & ~x & highs; };
    const uint64_t control = (word - 0x20 * ones) & ~word & highs;
    return ((word & highs) | control | zeroByte(word ^ ('"' * ones)) | zeroByte(word ^ ('\\' * ones))) != 0;
}

} // namespace

void JsonWriter::quote(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    // Room for the text as it is and its quotes; an escape, which takes up
    // to six bytes for one, asks for its own.
    char *at = room(text.size() + 2);
    *at++ = '"';
    const char *from = text.data();
    const size_t size = text.size();
    for (size_t i = 0; i < size;) {
        if (size - i >= 8) {
            uint64_t word;
            std::memcpy(&word, from + i, 8);
            if (!anyNotPlain(word)) {
                std::memcpy(at, &word, 8);
                at += 8;
                i += 8;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(from[i]);
        if (plainBytes[c]) {
            *at++ = static_cast<char>(c);
            ++i;
            continue;
        }
        if (c >= 0x80) {
            const size_t length = DBIMPL::utf8SequenceLength(text, i);
            if (length == 0)
                fail("The text \"" + DBIMPL::asciiEscaped(text) + "\"" +
                     (context ? " of " + context() : std::string()) +
                     " is not valid UTF-8; a library file holds UTF-8 text only");
            std::memcpy(at, from + i, length);
            at += length;
            i += length;
            continue;
        }
        used = static_cast<size_t>(at - buffer.data());
        at = room(6 + (size - i - 1) + 1);
        *at++ = '\\';
        switch (c) {
        case '"':
        case '\\':
            *at++ = static_cast<char>(c);
            break;
        case '\b':
            *at++ = 'b';
            break;
        case '\f':
            *at++ = 'f';
            break;
        case '\n':
            *at++ = 'n';
            break;
        case '\r':
            *at++ = 'r';
            break;
        case '\t':
            *at++ = 't';
            break;
        default:
            *at++ = 'u';
            *at++ = '0';
            *at++ = '0';
            *at++ = hex[c >> 4];
            *at++ = hex[c & 15];
        }
        ++i;
    }
    *at++ = '"';
    used = static_cast<size_t>(at - buffer.data());
}

} // namespace partlib
