// Whole numbers in texts, as the engines' integer columns may hand them
// out: every text of a small alphabet up to five characters and numbers at
// the 64-bit edges, against strtoll over the text without its blanks and
// tabs around it.

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

bool byStrtoll(const std::string &text, int64_t &value) {
    const std::string number = trimmed(text);
    if (number.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtoll(number.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

void expectAsStrtoll(const std::string &text) {
    int64_t expected = 0, actual = 0;
    const bool whole = byStrtoll(text, expected);
    ASSERT_EQ(wholeNumber(text.data(), text.size(), actual), whole) << '"' << text << '"';
    if (whole) {
        EXPECT_EQ(actual, expected) << '"' << text << '"';
    }
}

} // namespace

TEST(WholeNumberTest, EveryShortTextOfSignsDigitsAndBlanksAsStrtollReadsIt) {
    const std::string alphabet = " \t\n+-07x";
    std::vector<std::string> texts = {""};
    for (size_t length = 1; length <= 5; ++length) {
        const size_t before = texts.size();
        for (size_t i = 0; i < before; ++i)
            if (texts[i].size() == length - 1)
                for (char c : alphabet)
                    texts.push_back(texts[i] + c);
    }
    for (const std::string &text : texts)
        expectAsStrtoll(text);
}

TEST(WholeNumberTest, NumbersAtTheEdgesOf64BitsAndTextsAroundThem) {
    const std::vector<std::string> texts = {"9223372036854775807",
                                            "9223372036854775808",
                                            "-9223372036854775808",
                                            "-9223372036854775809",
                                            "+9223372036854775807",
                                            "99999999999999999999999",
                                            "000000000000000000000042",
                                            " \t 12 \t",
                                            "\v\f\r12",
                                            "12\n",
                                            "1 2",
                                            "--1",
                                            "+-1",
                                            "-+1",
                                            "+",
                                            "-",
                                            "0x10",
                                            "1e3",
                                            "12.0"};
    for (const std::string &text : texts)
        expectAsStrtoll(text);
    // strtoll would stop at a NUL byte; a text that holds one is no number.
    int64_t value = 0;
    EXPECT_FALSE(wholeNumber("12\0", 3, value));
    EXPECT_FALSE(wholeNumber("1\0002", 3, value));
}
