// The reader of KiCad symbol libraries: real files of the installed package
// counted against their text, derived symbols resolved, and broken or
// foreign files refused with the place named.

#include "tests/kicad/KicadTestFiles.h"
#include "tools/kicad/KicadImport.h"
#include "tools/kicad/KicadSymbols.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using kicadtest::countText;

class KicadReaderFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(KicadReaderFiles, CountsAgreeWithTheFilesText) {
    KICAD_REQUIRE_PACKAGE();
    const std::string file = kicadtest::path(GetParam());
    const kicadtest::TextCounts expected = countText(txdbtest::readFile(file));
    const kicad::SymbolLibrary library = kicad::readSymbolLibrary(file);

    kicadtest::TextCounts parsed;
    long hidden = 0, namedPins = 0;
    for (const kicad::Symbol &symbol : library.symbols) {
        ++parsed.symbols;
        if (symbol.parent >= 0) {
            ++parsed.derived;
            // A derived symbol draws nothing of its own: its parent's units.
            EXPECT_TRUE(symbol.units.empty()) << symbol.name;
            EXPECT_EQ(&library.unitsOf(symbol), &library.symbols[static_cast<size_t>(symbol.parent)].units);
            EXPECT_EQ(library.symbols[static_cast<size_t>(symbol.parent)].name, symbol.extends);
            continue;
        }
        parsed.units += static_cast<long>(symbol.units.size());
        for (const kicad::Unit &unit : symbol.units) {
            EXPECT_EQ(unit.name,
                      std::string(symbol.name) + "_" + std::to_string(unit.unit) + "_" + std::to_string(unit.body));
            for (const kicad::Pin &pin : unit.pins) {
                ++parsed.pins;
                hidden += pin.hidden;
                namedPins += !pin.name.empty();
                EXPECT_NE(kicad::pinTypeName(pin.type), nullptr);
            }
        }
        // Every symbol carries the four mandatory properties.
        for (const char *key : {"Reference", "Value", "Footprint", "Datasheet"})
            EXPECT_TRUE(symbol.hasProperty(key)) << symbol.name << " " << key;
    }
    EXPECT_EQ(library.version, 20211014);
    EXPECT_EQ(parsed.symbols, expected.symbols);
    EXPECT_EQ(parsed.derived, expected.derived);
    EXPECT_EQ(parsed.units, expected.units);
    EXPECT_EQ(parsed.pins, expected.pins);
    EXPECT_GT(namedPins, 0);
    if (GetParam() == "power") {
        EXPECT_GT(hidden, 0); // power symbols hide their one pin
    }
}

INSTANTIATE_TEST_SUITE_P(Package, KicadReaderFiles, ::testing::ValuesIn(kicadtest::FILES));

TEST(KicadReader, PinsPropertiesAndEscapesOfOneSymbol) {
    const std::string text = "(kicad_symbol_lib (version 20211014) (generator kicad_symbol_editor)\n"
                             "  (symbol \"Q\" (power) (in_bom yes)\n"
                             "    (property \"Reference\" \"Q\" (id 0) (at 0 0 0))\n"
                             "    (property \"ki_description\" \"say \\\"hi\\\" \\\\ ok\" (id 1))\n"
                             "    (symbol \"Q_0_1\" (rectangle (start 0 0) (end 1 1) (fill (type none))))\n"
                             "    (symbol \"Q_2_1\"\n"
                             "      (pin power_in inverted (at 1.5 -2.54 90) (length 2) hide\n"
                             "        (name \"~{RST}\" (effects (font (size 1 1))))\n"
                             "        (number \"~\" (effects (font (size 1 1))))\n"
                             "        (alternate \"SDA\" bidirectional line))))\n"
                             "  (symbol \"Q2\" (extends \"Q\") (property \"Value\" \"Q2\")))\n";
    kicad::SymbolLibrary library = kicad::parseSymbolLibrary(text, "q.kicad_sym");
    ASSERT_EQ(library.symbols.size(), 2u);
    const kicad::Symbol &q = library.symbols[0];
    EXPECT_TRUE(q.power);
    EXPECT_EQ(q.property("ki_description"), "say \"hi\" \\ ok");
    EXPECT_EQ(q.property("Missing"), "");
    ASSERT_EQ(q.units.size(), 2u);
    EXPECT_EQ(q.units[1].unit, 2);
    EXPECT_EQ(q.units[1].body, 1);
    ASSERT_EQ(q.units[1].pins.size(), 1u);
    const kicad::Pin &pin = q.units[1].pins[0];
    EXPECT_EQ(pin.type, kicad::PinType::PowerIn);
    EXPECT_EQ(pin.shape, "inverted");
    EXPECT_DOUBLE_EQ(pin.x, 1.5);
    EXPECT_DOUBLE_EQ(pin.y, -2.54);
    EXPECT_TRUE(pin.hidden);
    EXPECT_EQ(pin.name, "~{RST}");
    EXPECT_EQ(pin.number, ""); // "~" is no number
    ASSERT_EQ(pin.alternates.size(), 1u);
    EXPECT_EQ(pin.alternates[0].name, "SDA");
    EXPECT_EQ(pin.alternates[0].type, kicad::PinType::Bidirectional);
    EXPECT_EQ(library.symbols[1].parent, 0);
    EXPECT_EQ(&library.unitsOf(library.symbols[1]), &q.units);
    // The views stay valid when the library moves.
    const kicad::SymbolLibrary moved = std::move(library);
    EXPECT_EQ(moved.symbols[0].property("ki_description"), "say \"hi\" \\ ok");
    EXPECT_EQ(moved.symbols[0].units[1].pins[0].name, "~{RST}");
}

TEST(KicadReader, BrokenAndForeignFilesAreRefusedWithTheirPlace) {
    const std::string head = "(kicad_symbol_lib (version 20211014) (generator kicad_symbol_editor)\n";
    const std::string symbol = "  (symbol \"R\" (property \"Reference\" \"R\")\n"
                               "    (symbol \"R_1_1\" (pin passive line (at 0 1 0) (name \"~\") (number \"1\"))))\n";
    struct Case {
        const char *what;
        std::string text;
        size_t line, column;
        const char *message;
    };
    const Case cases[] = {
        {"cut in the middle", head + symbol.substr(0, 60), 3, 20, "ends inside the list opened at line 3, column 5"},
        {"no closing parenthesis", head + symbol, 4, 1, "ends inside the list opened at line 1, column 1"},
        {"an extra parenthesis", head + symbol + ")\n  (symbol \"S\"))\n", 5, 3, "text after the end of the library"},
        {"a version of KiCad 8", "(kicad_symbol_lib (version 20231120)\n" + symbol + ")", 1, 28,
         "unsupported format version 20231120"},
        {"no version", "(kicad_symbol_lib (generator x))", 1, 1, "names no format version"},
        {"a board file", "(kicad_pcb (version 20211014))", 1, 2, "not a KiCad symbol library"},
        {"a text file", "Just some text\n", 1, 1, "not a KiCad symbol library"},
        {"an empty file", "", 1, 1, "not a KiCad symbol library"},
        {"a missing parent", head + symbol + "  (symbol \"R2\" (extends \"Rx\"))\n)", 4, 16,
         "extends \"Rx\", which the file does not hold"},
        {"an unknown pin type", head + "  (symbol \"R\" (symbol \"R_1_1\" (pin sideways line)))\n)", 2, 36,
         "unknown pin type 'sideways'"},
        {"a unit of another symbol", head + "  (symbol \"R\" (symbol \"C_1_1\"))\n)", 2, 23,
         "unit \"C_1_1\" is not named R_UNIT_STYLE"},
        {"a string left open", head + "  (symbol \"R\n)", 2, 11, "string that is not closed"},
        {"a symbol defined twice", head + symbol + symbol + ")", 4, 3, "symbol \"R\" is defined twice"},
        {"a number that is none", head + "  (symbol \"R\" (symbol \"R_1_1\" (pin input line (at x 0 0))))\n)", 2, 51,
         "'x' is not a number"},
        {"a unit numbered beyond reason", head + "  (symbol \"R\" (symbol \"R_2000000000_1\"))\n)", 2, 23,
         "more than 1000 units in one symbol"},
    };
    for (const Case &c : cases) {
        try {
            kicad::parseSymbolLibrary(c.text, "bad.kicad_sym");
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const kicad::ParseError &error) {
            EXPECT_EQ(error.file, "bad.kicad_sym") << c.what;
            EXPECT_EQ(error.line, c.line) << c.what << ": " << error.what();
            EXPECT_EQ(error.column, c.column) << c.what << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
        }
    }
}

TEST(KicadReader, TextsAreFittedToTheirWidthInCharacters) {
    EXPECT_EQ(kicad::fitted("VCC", 10), "VCC");
    EXPECT_EQ(kicad::fitted("0123456789AB", 10), "0123456789");
    // "Ω" is two bytes and one character, "😀" four bytes and one.
    EXPECT_EQ(kicad::fitted("012345678ΩΩ", 10), "012345678Ω");
    EXPECT_EQ(kicad::fitted("😀😀😀😀😀😀😀😀😀😀😀", 10), "😀😀😀😀😀😀😀😀😀😀");
    // A byte that is no UTF-8 counts as one character.
    EXPECT_EQ(kicad::fitted(std::string(12, '\x80'), 10), std::string(10, '\x80'));
    EXPECT_EQ(kicad::fitted("a" + std::string(12, '\x80'), 10), "a" + std::string(9, '\x80'));
    EXPECT_EQ(kicad::characterCount("Ω😀\x80x"), 4u);
    EXPECT_EQ(kicad::libraryNameOf("/usr/share/kicad/symbols/74xx.kicad_sym"), "74xx");
    EXPECT_EQ(kicad::libraryNameOf("Device"), "Device");
}

// Property values over 255 characters continue in numbered attributes: every
// byte kept once, under names unique in the definition and within the
// column, whatever the text and whatever names the symbol holds already.
TEST(KicadMapping, LongPropertiesContinueUnderUniqueNames) {
    struct Case {
        const char *what;
        std::vector<std::pair<std::string, std::string>> properties;
    };
    const std::string longName(255, 'K');
    const Case cases[] = {
        {"bytes that are no UTF-8", {{"Bad", std::string(600, '\x80')}}},
        {"four-byte characters",
         {{"Smile",
           [] {
               std::string text;
               for (int i = 0; i < 300; ++i)
                   text += "😀";
               return text;
           }()}}},
        {"a name that a continuation takes", {{"K (2)", "x"}, {"K", std::string(300, 'v')}}},
        {"a repeated name", {{"K", "1"}, {"K", std::string(600, 'w')}, {"K (2)", "3"}}},
        {"a name of the whole width", {{longName, std::string(255 * 1000, 'z')}}},
    };
    for (const Case &c : cases) {
        std::string text = "(kicad_symbol_lib (version 20211014)\n  (symbol \"S\" (property \"Reference\" \"U\")\n";
        for (const auto &property : c.properties)
            text += "    (property \"" + property.first + "\" \"" + property.second + "\")\n";
        text += "    (symbol \"S_1_1\" (pin input line (at 0 0 0) (name \"A\") (number \"1\"))))\n)\n";
        std::vector<kicad::SymbolLibrary> files;
        files.push_back(kicad::parseSymbolLibrary(text, "Props.kicad_sym"));
        const kicad::Import import = kicad::mapLibraries(files, {});
        const std::vector<hostmodel::Attribute> &attributes = import.libraries.at(0).definitions.at(0).attributes;
        std::set<std::string> names;
        std::string values, expected;
        for (const hostmodel::Attribute &attribute : attributes) {
            EXPECT_TRUE(names.insert(attribute.name).second) << c.what << ": " << attribute.name << " twice";
            EXPECT_LE(kicad::characterCount(attribute.name), 255u) << c.what;
            EXPECT_LE(kicad::characterCount(attribute.value), 255u) << c.what;
            if (attribute.name != "KiCad symbol") // the symbol's own reference, not one of its properties
                values += attribute.value;
        }
        for (const auto &property : c.properties)
            expected += property.second;
        EXPECT_EQ(values, expected) << c.what;
    }
}

} // namespace
