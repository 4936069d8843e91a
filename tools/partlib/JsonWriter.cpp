#include "tools/partlib/JsonWriter.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "tools/partlib/Commands.h"

#include <array>
#include <charconv>

namespace partlib {

namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

void JsonWriter::value(long number) {
    element();
    char digits[24];
    buffer.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

void JsonWriter::element() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (levels.empty())
        return;
    if (levels.back())
        buffer += ',';
    levels.back() = true;
    newline();
}

void JsonWriter::open(char bracket) {
    element();
    buffer += bracket;
    levels.push_back(false);
}

void JsonWriter::close(char bracket) {
    const bool hadElements = levels.back();
    levels.pop_back();
    if (hadElements)
        newline();
    buffer += bracket;
    if (buffer.size() >= FLUSH_SIZE)
        flush();
}

void JsonWriter::newline() {
    buffer += '\n';
    buffer.append(2 * levels.size(), ' ');
}

void JsonWriter::flush() {
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (!out)
        fail("Cannot write the library file");
    buffer.clear();
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

} // namespace

void JsonWriter::quote(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    buffer += '"';
    size_t run = 0; // start of the bytes copied as they are, appended in one go
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (plainBytes[c]) {
            ++i;
            continue;
        }
        if (c >= 0x80) {
            const size_t length = DBIMPL::utf8SequenceLength(text, i);
            if (length == 0)
                fail("The text \"" + DBIMPL::asciiEscaped(text) + "\"" +
                     (context ? " of " + context() : std::string()) +
                     " is not valid UTF-8; a library file holds UTF-8 text only");
            i += length;
            continue;
        }
        buffer.append(text.data() + run, i - run);
        switch (c) {
        case '"':
            buffer += "\\\"";
            break;
        case '\\':
            buffer += "\\\\";
            break;
        case '\b':
            buffer += "\\b";
            break;
        case '\f':
            buffer += "\\f";
            break;
        case '\n':
            buffer += "\\n";
            break;
        case '\r':
            buffer += "\\r";
            break;
        case '\t':
            buffer += "\\t";
            break;
        default:
            buffer += "\\u00";
            buffer += hex[c >> 4];
            buffer += hex[c & 15];
        }
        run = ++i;
    }
    buffer.append(text.data() + run, text.size() - run);
    buffer += '"';
}

} // namespace partlib
