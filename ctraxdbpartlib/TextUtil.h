#pragma once

// Plain text helpers shared by the plug-in and the tools: blanks, case,
// lists, UTF-8 and texts as messages show them. Every function works on
// bytes: case is ASCII case, and UTF-8 is looked at only where a function
// says so.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The text without the characters of `blanks` at either end.
std::string trimmed(std::string_view text, std::string_view blanks = " \t");

// The items with `separator` between them: "A, B, C". Empty items at the
// start add no separator ({"", "B"} gives "B").
std::string joined(const std::vector<std::string> &items, std::string_view separator);

std::string lowerCase(std::string_view text);
std::string upperCase(std::string_view text);

// Whether the texts are equal, or `part` occurs in `text`, without regard
// to ASCII case.
bool equalsNoCase(std::string_view a, std::string_view b);
bool containsNoCase(std::string_view text, std::string_view part);

// The length of the UTF-8 sequence that starts at text[at], or 0 when no
// valid sequence starts there (overlong forms and surrogates included).
size_t utf8SequenceLength(std::string_view text, size_t at);

// The longest start of `text` within `width` bytes that cuts no UTF-8
// character. Text that is not UTF-8 is cut at most three bytes short of
// the width, so that every cut keeps a start of the text.
std::string fitted(std::string_view text, size_t width);

// Text widths count characters: Unicode code points of the UTF-8 text, as
// the engines count a VARCHAR's width. A byte that starts no valid UTF-8
// sequence counts as one character.
size_t characterCount(std::string_view text);

// The start of `text` with at most `characters` characters.
std::string fittedCharacters(std::string_view text, size_t characters);

// The bytes a buffer needs for a text column of `width` (its characters
// plus the terminator, as getters state their widths: 51 for a 50-character
// column): four bytes of UTF-8 per character, and the terminator.
constexpr size_t textBytes(size_t width) {
    return 4 * (width - 1) + 1;
}

// Texts for messages, each escaping a different set of bytes:
//
// printable: as the text may reach a terminal; control characters (C0,
// DEL and C1, an ESC sequence among them) as \x1b or \u009b, every other
// byte as it is.
std::string printable(std::string_view text);
// asciiEscaped: only printable ASCII as it is, every other byte as \xC3;
// for a text that may not be UTF-8.
std::string asciiEscaped(std::string_view text);
// storedEscaped: for a stored value that may be anything: UTF-8 characters
// as they are, but control characters (C0, DEL, C1) and every byte that
// starts no valid UTF-8 sequence as \x1B, \xC2\x9B, \xFF.
std::string storedEscaped(std::string_view text);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
