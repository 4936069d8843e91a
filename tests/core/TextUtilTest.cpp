#include "ctraxdbpartlib/TextUtil.h"

#include <gtest/gtest.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

TEST(TextUtil, TrimmedDropsOnlyTheGivenBlanksAtEitherEnd) {
    EXPECT_EQ(trimmed(" \tPart Name \t"), "Part Name");
    EXPECT_EQ(trimmed(" \t "), "");
    EXPECT_EQ(trimmed(""), "");
    // Line breaks are no blanks unless asked for.
    EXPECT_EQ(trimmed("\n x \n"), "\n x \n");
    EXPECT_EQ(trimmed("\\\\Passives\\SMD\\", "\\"), "Passives\\SMD");
    EXPECT_EQ(trimmed("\\\\", "\\"), "");
}

TEST(TextUtil, JoinedPutsTheSeparatorBetweenItems) {
    EXPECT_EQ(joined({}, ", "), "");
    EXPECT_EQ(joined({"Library"}, ", "), "Library");
    EXPECT_EQ(joined({"Library", "Hierarchy", "Parts"}, ", "), "Library, Hierarchy, Parts");
    EXPECT_EQ(joined({"a", "", "b"}, "/"), "a//b");
    EXPECT_EQ(joined({"", "", "b"}, "/"), "b");
}

TEST(TextUtil, CaseIsFoldedForAsciiLettersOnly) {
    EXPECT_EQ(lowerCase("Pin A1-b"), "pin a1-b");
    EXPECT_EQ(upperCase("Pin a1-B"), "PIN A1-B");
    EXPECT_EQ(lowerCase("\xC3\x84"), "\xC3\x84");

    EXPECT_TRUE(equalsNoCase("Library_version", "LIBRARY_VERSION"));
    EXPECT_TRUE(equalsNoCase("", ""));
    EXPECT_FALSE(equalsNoCase("SQLite", "SQLite3"));
    EXPECT_FALSE(equalsNoCase("Read", "Reed"));
    EXPECT_FALSE(equalsNoCase("\xC3\xA4", "\xC3\x84"));

    EXPECT_TRUE(containsNoCase("10.11.6-MariaDB-log", "mariadb"));
    EXPECT_TRUE(containsNoCase("PostgreSQL", ""));
    EXPECT_FALSE(containsNoCase("MySQL", "MariaDB"));
    EXPECT_FALSE(containsNoCase("SQL", "MySQL"));
}

TEST(TextUtil, Utf8SequencesAreMeasuredOnlyWhenValid) {
    EXPECT_EQ(utf8SequenceLength("\xC3\xA4", 0), 2u);
    EXPECT_EQ(utf8SequenceLength("a\xE2\x82\xAC", 1), 3u);
    EXPECT_EQ(utf8SequenceLength("\xF0\x9F\x98\x80", 0), 4u);
    EXPECT_EQ(utf8SequenceLength("\xF4\x8F\xBF\xBF", 0), 4u);
    const struct {
        const char *text, *what;
    } invalid[] = {
        {"a", "ASCII is no sequence"},
        {"\x80", "a continuation byte"},
        {"\xC1\xBF", "overlong two bytes"},
        {"\xE0\x9F\xBF", "overlong three bytes"},
        {"\xF0\x8F\xBF\xBF", "overlong four bytes"},
        {"\xED\xA0\x80", "a surrogate"},
        {"\xF4\x90\x80\x80", "beyond U+10FFFF"},
        {"\xF5\x80\x80\x80", "no lead byte"},
        {"\xE2\x82", "cut short"},
        {"\xE2\x82z", "a third byte that does not continue"},
    };
    for (const auto &c : invalid)
        EXPECT_EQ(utf8SequenceLength(c.text, 0), 0u) << c.what;
}

// Widths count code points; a byte that starts no valid sequence (a stray
// continuation byte, a lead byte cut short) counts as one, so that a text
// that is no UTF-8 still has a length and a start of every width.
TEST(TextUtil, CharactersAreCountedAndFittedByCodePoint) {
    EXPECT_EQ(characterCount(""), 0u);
    EXPECT_EQ(characterCount("abc"), 3u);
    EXPECT_EQ(characterCount("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), 3u);
    EXPECT_EQ(characterCount("\x80\x80"), 2u);
    EXPECT_EQ(characterCount("\xE2\x82z"), 3u);

    const std::string mixed = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(fittedCharacters(mixed, 0), "");
    EXPECT_EQ(fittedCharacters(mixed, 2), "a\xC3\xA9");
    EXPECT_EQ(fittedCharacters(mixed, 3), "a\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(fittedCharacters(mixed, 4), mixed);
    EXPECT_EQ(fittedCharacters(mixed, 9), mixed);
    EXPECT_EQ(fittedCharacters(std::string(5, '\x80'), 3), std::string(3, '\x80'));

    // A column of 50 characters, stated as getters state it (51), takes
    // 200 bytes and the terminator.
    static_assert(textBytes(51) == 201, "four bytes a character");
}

// The ways of showing a text differ on purpose: a terminal's, a stored
// value's start, and a text that may not be UTF-8.
TEST(TextUtil, MessageFormsEscapeTheirOwnBytes) {
    const std::string text = std::string("a\x1b[0m\t\x7F") + "\xC2\x9B" + "\xC3\xA4" + "\xFF";
    EXPECT_EQ(printable(text), "a\\x1b[0m\\x09\\x7f\\u009b\xC3\xA4\xFF");
    EXPECT_EQ(asciiEscaped(text), "a\\x1B[0m\\x09\\x7F\\xC2\\x9B\\xC3\\xA4\\xFF");
    // A stored value keeps its UTF-8 and shows controls and stray bytes.
    EXPECT_EQ(storedEscaped(text), "a\\x1B[0m\\x09\\x7F\\xC2\\x9B\xC3\xA4\\xFF");
    EXPECT_EQ(storedEscaped("\xE2\x82\xAC\xE2\x82 \xC2\xA0"), "\xE2\x82\xAC\\xE2\\x82 \xC2\xA0");
    // A lone 0xC2 at the end is no C1 control.
    EXPECT_EQ(printable("x\xC2"), "x\xC2");
    EXPECT_EQ(printable(""), "");
}

} // namespace
