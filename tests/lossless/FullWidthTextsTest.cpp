// Libraries whose every text column holds a value of exactly its column's
// width in characters, in ASCII and in UTF-8 of two-, three- and four-byte
// characters: copied through every engine, exported and imported, and read
// by a host with the smallest buffers the getters take. A text stored longer
// than its column is carried whole where it can be held and refused by name
// where it cannot, never cut.

#include "tests/support/NaturalTables.h"
#include "tests/support/PathTestSupport.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/readers/CTraxDBLibReader.h"
#include "interface/AllAttributeAccess.h"
#include "interface/AllPinDataAccess.h"
#include "interface/AttributeAccess.h"
#include "interface/CompletePartAndPartDefAccess.h"
#include "interface/LibraryAccess.h"
#include "interface/PartDefAccess.h"
#include "interface/PinDataAccess.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <variant>

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using txdbtest::nullable;
using txdbtest::ProgramRun;
using txdbtest::readAll;
using txdbtest::runPartlib;

using Value = std::variant<std::nullptr_t, int, std::string>;

// A text of exactly `width` characters that starts with a tag of its own;
// in UTF-8 the rest are two-, three- and four-byte characters in turn.
std::string fullWidth(size_t width, bool utf8) {
    static int made = 0;
    static const char *const characters[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
    std::string text = std::to_string(made++) + "~";
    for (size_t count = text.size(); count < width; ++count)
        text += utf8 ? std::string(characters[count % 3]) : std::string(1, static_cast<char>('a' + count % 26));
    return text;
}

std::string repeated(const std::string &piece, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

void run(sqlite3 *db, const std::string &table, const std::vector<Value> &values) {
    std::string sql = "INSERT INTO " + table + " VALUES (";
    for (size_t i = 0; i < values.size(); ++i)
        sql += i ? ",?" : "?";
    sqlite3_stmt *statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, (sql + ")").c_str(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    for (size_t i = 0; i < values.size(); ++i) {
        const int at = static_cast<int>(i + 1);
        if (const int *number = std::get_if<int>(&values[i]))
            sqlite3_bind_int(statement, at, *number);
        else if (const std::string *text = std::get_if<std::string>(&values[i]))
            sqlite3_bind_text(statement, at, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
    }
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << table << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(statement);
}

// Two libraries, one in ASCII and one in UTF-8, each with a folder in a
// folder, a part definition with two pins in an equivalence group, a gate
// (pins linked 2, 1), a swap group with one gate and pin, two attributes and
// two parts: every text column of every table at its full width.
std::string fullWidthDatabase() {
    const std::string file = txdbtest::tempFile();
    ProgramRun init = runPartlib({"init", file, "--yes"});
    EXPECT_EQ(init.status, 0) << init.all();
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    for (int library = 0; library < 2; ++library) {
        const bool utf8 = library == 1;
        const auto w = [&](size_t width) { return fullWidth(width, utf8); };
        const int id = 10 * (library + 1);
        run(db, "Library (ID, Name, Enabled, Comment)", {id, w(50), 1, w(255)});
        run(db, "Hierarchy (ID, Library_ID, Name, Parent_ID)", {id, id, w(50), nullptr});
        run(db, "Hierarchy (ID, Library_ID, Name, Parent_ID)", {id + 1, id, w(50), id});
        run(db,
            "Part_Definition (ID, Library_ID, Name, PCB_component_name, PCB_alternate_name, Part_def_value, "
            "Component_name_stem, PSpice_data, Max_connector_pins, Gate_swapping, Pin_num_name, Is_FPGA)",
            {id, id, w(50), w(50), w(50), w(255), w(20), w(255), 2, 1, 0, 1});
        run(db, "Pin_Equiv (ID, Part_def_ID)", {id, id});
        for (int pin = 0; pin < 2; ++pin)
            run(db,
                "Pin_Data (ID, Part_def_ID, Pin_identifier, Name, Label, Pin_position, Pin_type, Loading, Signal, "
                "Equiv_group)",
                {id + pin, id, w(10), w(10), w(50), pin + 1, 1, 2, w(50), id});
        run(db, "Gate (ID, Part_def_ID, Name, Alt_name)", {id, id, w(50), w(50)});
        run(db, "Gate_has_Pin_Data (ID, Gate_ID, Pin_data_ID)", {id, id, id + 1});
        run(db, "Gate_has_Pin_Data (ID, Gate_ID, Pin_data_ID)", {id + 1, id, id});
        run(db, "Gate_Equiv (ID, Part_def_ID, Name)", {id, id, w(50)});
        run(db, "Gate_Equiv_Gate (ID, Gate_equiv_ID, Equiv_type)", {id, id, 1});
        run(db, "Gate_Equiv_has_Pin_Data (ID, Gate_equiv_gate_ID, Pin_data_ID)", {id, id, id});
        for (int attribute = 0; attribute < 2; ++attribute)
            run(db, "Attributes (Part_def_ID, Name, Attribute_value, Usage_type, Read_Only)",
                {id, w(255), w(255), 1, attribute});
        for (int part = 0; part < 2; ++part)
            run(db,
                "Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_number, Description, PSpice_data, "
                "Part_version, Part_Acceptance, Part_Type)",
                {id + part, id, id, id + part, w(50), w(50), w(255), w(80), 3, w(100), 1});
    }
    sqlite3_close(db);
    return file;
}

void expectEveryTableFilled(const txdbtest::NaturalTables &tables) {
    for (const auto &[table, rows] : tables)
        EXPECT_FALSE(rows.empty()) << table;
}

TEST(FullWidthTexts, ACopyThroughEveryEngineAndBackEndsWithTheSameTables) {
    const std::string first = fullWidthDatabase();
    const txdbtest::NaturalTables original = txdbtest::naturalTables(first);
    expectEveryTableFilled(original);

    // SQLite, then every server there is, then a SQLite file again.
    EXPECT_EQ(txdbtest::copiedThroughEveryEngine(first), original);
}

TEST(FullWidthTexts, AnExportImportedIntoAnEmptyDatabaseGivesTheSameTables) {
    const std::string first = fullWidthDatabase();
    const std::string file = txdbtest::tempFile(".json");
    ProgramRun exported = runPartlib({"export", first, "-o", file});
    ASSERT_EQ(exported.status, 0) << exported.all();
    EXPECT_EQ(exported.errors, "");

    const std::string target = txdbtest::tempFile();
    ProgramRun imported = runPartlib({"import", target, file, "--yes"});
    ASSERT_EQ(imported.status, 0) << imported.all();
    EXPECT_EQ(txdbtest::naturalTables(target), txdbtest::naturalTables(first));
}

// The three texts whose getters take a buffer smaller than their column:
// with the smallest buffer a host gets the text cut to it, before a whole
// character, and no error; with one a byte smaller "Buffer too small"; with
// four bytes a character and the terminator the whole text. In UTF-8 the
// column's width in bytes cuts it too, again before a whole character.
template <class F> void expectCutAtMinimumAndWholeAtWidth(F get, size_t minimum, size_t width, bool utf8) {
    const std::string whole = nullable(get, 4 * (width - 1) + 1);
    ASSERT_EQ(DBIMPL::characterCount(whole), width - 1);
    for (size_t size : {minimum, width}) {
        const std::string cut = nullable(get, size);
        if (!utf8) {
            EXPECT_EQ(cut, whole.substr(0, size - 1));
            continue;
        }
        EXPECT_LT(cut.size(), size);
        EXPECT_GE(cut.size() + 4, size) << "cut no more than the character that does not fit";
        EXPECT_EQ(whole.compare(0, cut.size(), cut), 0);
        EXPECT_EQ(DBIMPL::fitted(cut, cut.size()), cut) << "no character cut through";
        EXPECT_NE(static_cast<unsigned char>(whole[cut.size()]) & 0xC0, 0x80) << "cut at a character's start";
    }
    EXPECT_EQ(txdbtest::thrownMessage([&] { nullable(get, minimum - 1); }), "Buffer too small");
}

TEST(FullWidthTexts, AHostWithTheSmallestBuffersGetsTheTextsCutAndOursGetThemWhole) {
    const std::string file = fullWidthDatabase();
    pathHandle_t path;
    {
        pathtest::HostScript agree(true);
        path = std::make_shared<DBIMPL::CTraxDBPath>(("Provider=SQLite;Data Source=" + file).c_str());
    }
    auto libraries = readAll(std::make_shared<DBIMPL::CTraxDBLibReader>(path, nullptr));
    ASSERT_EQ(libraries.size(), 2u);
    for (const auto &library : libraries) {
        char name[DBIMPL::textBytes(51)] = {};
        library->getName(name, sizeof name, false);
        const bool utf8 = std::strlen(name) > 50; // the UTF-8 library's name takes more bytes than characters
        for (const auto &definition : readAll(library->getPartDefReader(0))) {
            expectCutAtMinimumAndWholeAtWidth(TEXT_OF(definition, getPSpice), 81, 256, utf8);
            for (const auto &pin : readAll(definition->getPinDataReader()))
                expectCutAtMinimumAndWholeAtWidth(TEXT_OF(pin, getSignal), 49, 51, utf8);
            for (const auto &attribute : readAll(definition->getAttributesReader())) {
                const auto attributeName = [&](bool &isNull, TCHAR *buffer, size_t size) {
                    isNull = false;
                    attribute->getName(buffer, size, false);
                };
                expectCutAtMinimumAndWholeAtWidth(attributeName, 51, 256, utf8);
            }
        }
        for (const auto &part : readAll(library->getCompletePartAndPartDefReader(nullptr, 0)))
            expectCutAtMinimumAndWholeAtWidth(TEXT_OF(part, getPartDefPSpice), 81, 256, utf8);
        auto pins = library->getAllPinDataReader("");
        int pinCount = 0;
        while (auto pin = pins->getNext()) {
            expectCutAtMinimumAndWholeAtWidth(TEXT_OF(pin, getSignal), 49, 51, utf8);
            ++pinCount;
        }
        EXPECT_EQ(pinCount, 2);
        auto attributes = library->getAllAttributeReader("");
        int attributeCount = 0;
        while (auto attribute = attributes->getNext()) {
            const auto attributeName = [&](bool &isNull, TCHAR *buffer, size_t size) {
                isNull = false;
                attribute->getName(buffer, size, false);
            };
            expectCutAtMinimumAndWholeAtWidth(attributeName, 51, 256, utf8);
            ++attributeCount;
        }
        EXPECT_EQ(attributeCount, 2);
    }
}

TEST(FullWidthTexts, AMultiByteLibraryIsCopiedByNameFromEveryServer) {
    const std::string first = fullWidthDatabase();
    const txdbtest::NaturalTables original = txdbtest::naturalTables(first);
    const std::string name =
        txdbtest::runShell("sqlite3 " + txdbtest::shellQuoted(first) + " 'SELECT Name FROM Library WHERE ID = 20'")
            .output;
    ASSERT_GT(name.size(), 51u);
    for (const std::string &engine : txdbtest::testEngines()) {
        if (engine == "SQLite")
            continue;
        const std::string server = txdbtest::otherDatabase(engine);
        ASSERT_EQ(runPartlib({"copy", first, server, "--yes"}).status, 0) << engine;
        const std::string back = txdbtest::tempFile();
        ProgramRun copied = runPartlib({"copy", server, back, name.substr(0, name.size() - 1), "--yes"});
        ASSERT_EQ(copied.status, 0) << engine << ": " << copied.all();
        txdbtest::NaturalTables tables = txdbtest::naturalTables(back);
        ASSERT_EQ(tables["Library"].size(), 1u) << engine;
        for (const auto &[table, rows] : tables) {
            EXPECT_FALSE(rows.empty()) << engine << ": " << table;
            for (const std::string &row : rows)
                EXPECT_TRUE(std::count(original.at(table).begin(), original.at(table).end(), row) == 1)
                    << engine << ": " << table << " " << row;
        }
    }
}

// Texts longer than their columns, as another program may write them into a
// SQLite file: the UTF-8 library's name, two part names that differ only
// after their 50th character, a signal, an acceptance read into a wider
// buffer; each with what a refusal names.
struct Overlong {
    std::string update;
    std::string named;
};
const std::string PART = std::string(50, 'p');
const Overlong OVERLONG[] = {
    {"UPDATE Library SET Name = Name || '" + repeated("\xC3\xA9", 10) + "' WHERE ID = 20",
     "\": Name of table Library holds 60 characters, more than the 50 "},
    {"UPDATE Parts SET Name = '" + PART + "one' WHERE ID = 10; UPDATE Parts SET Name = '" + PART + "two' WHERE ID = 11",
     ", part \"" + PART + "one\": Name of table Parts holds 53 characters, more than the 50 "},
    {"UPDATE Pin_Data SET Signal = Signal || 'x' WHERE ID = 10",
     "\": Signal of table Pin_Data holds 51 characters, more than the 50 "},
    {"UPDATE Parts SET Part_Acceptance = Part_Acceptance || 'z' WHERE ID = 21",
     "\": Part_Acceptance of table Parts holds 101 characters, more than the 100 "},
};

std::string updated(const std::string &source, const std::string &sql) {
    const std::string file = txdbtest::tempFile();
    std::filesystem::copy_file(source, file);
    EXPECT_EQ(txdbtest::runShell("sqlite3 " + txdbtest::shellQuoted(file) + " " + txdbtest::shellQuoted(sql)).status, 0)
        << sql;
    return file;
}

TEST(FullWidthTexts, ATextStoredLongerThanItsColumnIsCarriedWholeOrRefusedByNameNeverCut) {
    const std::string source = fullWidthDatabase();
    std::string all;
    for (const Overlong &text : OVERLONG)
        all += text.update + ";";
    const std::string file = updated(source, all);
    const std::string before = txdbtest::readFile(file);
    const txdbtest::NaturalTables original = txdbtest::naturalTables(file);

    // Another SQLite file keeps them whole: the two part names stay two.
    const std::string target = txdbtest::tempFile();
    ProgramRun copied = runPartlib({"copy", file, target, "--yes"});
    ASSERT_EQ(copied.status, 0) << copied.all();
    EXPECT_EQ(txdbtest::naturalTables(target), original);

    // A server would refuse them with a message of its own, or cut them:
    // the copy stops first, naming the library, the record and the column.
    for (const std::string &engine : txdbtest::testEngines()) {
        if (engine == "SQLite")
            continue;
        for (const Overlong &text : OVERLONG) {
            ProgramRun refused =
                runPartlib({"copy", updated(source, text.update), txdbtest::otherDatabase(engine), "--yes"});
            EXPECT_EQ(refused.status, 1) << engine << ": " << text.update;
            EXPECT_NE(refused.errors.find("Library \""), std::string::npos) << refused.errors;
            EXPECT_NE(refused.errors.find(text.named), std::string::npos) << text.named << "\n" << refused.errors;

            // The same onto a copy of the library, where the rows are found
            // and changed in place instead of inserted.
            const std::string stored = txdbtest::otherDatabase(engine);
            ASSERT_EQ(runPartlib({"copy", source, stored, "--yes"}).status, 0) << engine;
            const txdbtest::NaturalTables storedBefore = txdbtest::naturalTablesOf(stored);
            ProgramRun onto = runPartlib({"copy", updated(source, text.update), stored, "--yes"});
            EXPECT_EQ(onto.status, 1) << engine << ": " << text.update;
            EXPECT_NE(onto.errors.find(text.named), std::string::npos) << text.named << "\n" << onto.errors;
            EXPECT_EQ(txdbtest::naturalTablesOf(stored), storedBefore) << engine << ": " << text.update;
        }
    }

    // The export writes them whole and names each, since an import refuses
    // them; --strict stops at the first instead.
    const std::string output = txdbtest::tempFile(".json");
    ProgramRun exported = runPartlib({"export", file, "-o", output});
    ASSERT_EQ(exported.status, 0) << exported.all();
    for (const std::string &named : std::vector<std::string>{
             "Name of table Library holds 60 characters, more than the 50 of its column",
             "part " + PART + "one: Name of table Parts holds 53 characters",
             "part " + PART + "two: Name of table Parts", ": Signal of table Pin_Data holds 51 characters",
             ": Part_Acceptance of table Parts holds 101 characters"})
        EXPECT_NE(exported.errors.find(named), std::string::npos) << named << "\n" << exported.errors;
    EXPECT_EQ(std::count(exported.errors.begin(), exported.errors.end(), '\n'), 5) << exported.errors;
    const std::string json = txdbtest::readFile(output);
    EXPECT_NE(json.find(PART + "one"), std::string::npos);
    EXPECT_NE(json.find(PART + "two"), std::string::npos);

    ProgramRun imported = runPartlib({"import", txdbtest::tempFile(), output, "--yes"});
    EXPECT_EQ(imported.status, 1);
    EXPECT_NE(imported.errors.find("is 51 characters long; Pin_Data.Signal holds at most 50 characters (and 4 more "
                                   "problems)"),
              std::string::npos)
        << imported.errors;

    const std::string strictOutput = txdbtest::tempFile(".json");
    ProgramRun strict = runPartlib({"export", file, "-o", strictOutput, "--strict"});
    EXPECT_EQ(strict.status, 1);
    EXPECT_NE(strict.errors.find("more than the 50 of its column (--strict exports no such text)"), std::string::npos)
        << strict.errors;
    EXPECT_FALSE(std::filesystem::exists(strictOutput));
    EXPECT_TRUE(txdbtest::readFile(file) == before) << "the source is left as it was";
}

// Beyond what its buffer holds (four bytes a character) a text is not read
// at all: a copy and an export stop with a message naming the column.
TEST(FullWidthTexts, ATextBeyondItsBufferStopsACopyAndAnExport) {
    const std::string source = fullWidthDatabase();
    struct Case {
        std::string update;
        std::string message;
    };
    const std::string fill = "'" + std::string(160, 'f') + "'";
    const Case cases[] = {
        {"UPDATE Pin_Data SET Signal = " + fill + " || Signal WHERE ID = 10",
         "Column Signal of table Pin_Data holds a text of 210 bytes, longer than the 200 bytes it is read in"},
        {"UPDATE Library SET Name = '\x01' || " + fill + " || Name WHERE ID = 20",
         "Column Name of table Library holds a text of "},
        // Read in a buffer of 256 characters, the column holds 100.
        {"UPDATE Parts SET Part_Acceptance = " + fill + " || " + fill + " || Part_Acceptance WHERE ID = 11",
         "Column Part_Acceptance of table Parts holds a text of 420 bytes, longer than the 400 bytes it is read in"},
        // A reader of the buffer would stop at the NUL.
        {"UPDATE Pin_Data SET Signal = 'AB' || char(0) || 'CD' WHERE ID = 21",
         "Column Signal of table Pin_Data holds a text with a NUL byte inside, and is not read cut: AB\\x00CD"},
    };
    for (const Case &c : cases) {
        const std::string file = txdbtest::tempFile();
        std::filesystem::copy_file(source, file);
        ASSERT_EQ(
            txdbtest::runShell("sqlite3 " + txdbtest::shellQuoted(file) + " " + txdbtest::shellQuoted(c.update)).status,
            0);
        const std::string before = txdbtest::readFile(file);

        const std::string target = txdbtest::tempFile();
        ProgramRun copied = runPartlib({"copy", file, target, "--yes"});
        EXPECT_EQ(copied.status, 1) << c.update;
        EXPECT_NE(copied.errors.find(c.message), std::string::npos) << copied.errors;
        if (std::filesystem::exists(target)) {
            EXPECT_TRUE(txdbtest::naturalTables(target)["Library"].empty()) << "nothing is written: " << c.update;
        }

        const std::string output = txdbtest::tempFile(".json");
        ProgramRun exported = runPartlib({"export", file, "-o", output});
        EXPECT_EQ(exported.status, 1) << c.update;
        EXPECT_NE(exported.errors.find(c.message), std::string::npos) << exported.errors;
        EXPECT_FALSE(std::filesystem::exists(output)) << c.update;
        EXPECT_TRUE(txdbtest::readFile(file) == before) << "the source is left as it was";
    }
    // The report reads a definition's PCB component name in a buffer of 81.
    {
        const std::string file = txdbtest::tempFile();
        std::filesystem::copy_file(source, file);
        const std::string sqlite = "sqlite3 " + txdbtest::shellQuoted(file) + " ";
        ASSERT_EQ(txdbtest::runShell(sqlite + "\"UPDATE Part_Definition SET PCB_component_name = " + fill +
                                     " || PCB_component_name WHERE ID = 10\"")
                      .status,
                  0);
        const std::string library = txdbtest::runShell(sqlite + "'SELECT Name FROM Library WHERE ID = 10'").output;
        ProgramRun report = runPartlib({"report", file, library.substr(0, library.size() - 1)});
        EXPECT_EQ(report.status, 1);
        EXPECT_NE(report.errors.find("Column PCB_component_name of table Part_Definition holds a text of 210 bytes, "
                                     "longer than the 200 bytes it is read in"),
                  std::string::npos)
            << report.all();
    }
    // The control byte of the second case is shown, not sent to the terminal.
    const std::string file = txdbtest::tempFile();
    std::filesystem::copy_file(source, file);
    txdbtest::runShell("sqlite3 " + txdbtest::shellQuoted(file) + " " + txdbtest::shellQuoted(cases[1].update));
    ProgramRun exported = runPartlib({"export", file});
    EXPECT_EQ(exported.errors.find('\x01'), std::string::npos);
    EXPECT_NE(exported.errors.find("\\x01"), std::string::npos) << exported.errors;
}

} // namespace
