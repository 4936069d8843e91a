// Libraries whose every text column holds a value of exactly its column's
// width, in ASCII and in multi-byte UTF-8 that ends at the width: copied
// through every engine, exported and imported, and read by a host with the
// smallest buffers the getters take. A text stored longer than its column
// stops a copy or an export instead of arriving cut.

#include "tests/support/NaturalTables.h"
#include "tests/support/PathTestSupport.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"

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

#include <filesystem>
#include <variant>

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using txdbtest::nullable;
using txdbtest::ProgramRun;
using txdbtest::readAll;
using txdbtest::runPartlib;

using Value = std::variant<std::nullptr_t, int, std::string>;

// A text of exactly `width` bytes that starts with a tag of its own; in
// UTF-8 it ends in three-byte characters, the last one ending at the width.
std::string fullWidth(size_t width, bool utf8) {
    static int made = 0;
    std::string text = std::to_string(made++) + "~";
    const size_t euros = utf8 ? (width - text.size()) / 3 : 0;
    while (text.size() + 3 * euros < width)
        text += static_cast<char>('a' + text.size() % 26);
    for (size_t i = 0; i < euros; ++i)
        text += "\xE2\x82\xAC";
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
// with the smallest buffer a host gets the text cut to it and no error, with
// one a byte smaller "Buffer too small", with the column's width the whole.
template <class F> void expectCutAtMinimumAndWholeAtWidth(F get, size_t minimum, size_t width) {
    const std::string whole = nullable(get, width);
    ASSERT_EQ(whole.size(), width - 1);
    EXPECT_EQ(nullable(get, minimum), whole.substr(0, minimum - 1));
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
        for (const auto &definition : readAll(library->getPartDefReader(0))) {
            expectCutAtMinimumAndWholeAtWidth(TEXT_OF(definition, getPSpice), 81, 256);
            for (const auto &pin : readAll(definition->getPinDataReader()))
                expectCutAtMinimumAndWholeAtWidth(TEXT_OF(pin, getSignal), 49, 51);
            for (const auto &attribute : readAll(definition->getAttributesReader())) {
                const auto name = [&](bool &isNull, TCHAR *buffer, size_t size) {
                    isNull = false;
                    attribute->getName(buffer, size, false);
                };
                expectCutAtMinimumAndWholeAtWidth(name, 51, 256);
            }
        }
        for (const auto &part : readAll(library->getCompletePartAndPartDefReader(nullptr, 0)))
            expectCutAtMinimumAndWholeAtWidth(TEXT_OF(part, getPartDefPSpice), 81, 256);
        auto pins = library->getAllPinDataReader("");
        int pinCount = 0;
        while (auto pin = pins->getNext()) {
            expectCutAtMinimumAndWholeAtWidth(TEXT_OF(pin, getSignal), 49, 51);
            ++pinCount;
        }
        EXPECT_EQ(pinCount, 2);
        auto attributes = library->getAllAttributeReader("");
        int attributeCount = 0;
        while (auto attribute = attributes->getNext()) {
            const auto name = [&](bool &isNull, TCHAR *buffer, size_t size) {
                isNull = false;
                attribute->getName(buffer, size, false);
            };
            expectCutAtMinimumAndWholeAtWidth(name, 51, 256);
            ++attributeCount;
        }
        EXPECT_EQ(attributeCount, 2);
    }
}

TEST(FullWidthTexts, ATextStoredLongerThanItsColumnStopsACopyAndAnExport) {
    const std::string source = fullWidthDatabase();
    struct Case {
        std::string update;
        std::string message;
    };
    const Case cases[] = {
        {"UPDATE Pin_Data SET Signal = Signal || 'x' WHERE ID = 10",
         "Column Signal of table Pin_Data holds a text of 51 bytes, longer than the 50 bytes it is read in"},
        {"UPDATE Library SET Name = '\x01' || Name WHERE ID = 20",
         "Column Name of table Library holds a text of 51 bytes, longer than the 50 bytes it is read in, and is not "
         "read cut: "},
        {"UPDATE Attributes SET Name = Name || 'y' WHERE Read_Only = 1 AND Part_def_ID = 10",
         "Column Name of table Attributes holds a text of 256 bytes"},
        // Read in a buffer of 256, the column holds 100.
        {"UPDATE Parts SET Part_Acceptance = Part_Acceptance || 'z' WHERE ID = 11",
         "Column Part_Acceptance of table Parts holds a text of 101 bytes, longer than the 100 bytes it is read in"},
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
        for (bool strict : {false, true}) {
            std::vector<std::string> arguments{"export", file, "-o", output};
            if (strict)
                arguments.push_back("--strict");
            ProgramRun exported = runPartlib(arguments);
            EXPECT_EQ(exported.status, 1) << c.update;
            EXPECT_NE(exported.errors.find(c.message), std::string::npos) << exported.errors;
            EXPECT_FALSE(std::filesystem::exists(output)) << c.update;
        }
        EXPECT_TRUE(txdbtest::readFile(file) == before) << "the source is left as it was";
    }
    // The report reads a definition's PCB component name in a buffer of 81.
    {
        const std::string file = txdbtest::tempFile();
        std::filesystem::copy_file(source, file);
        const std::string sqlite = "sqlite3 " + txdbtest::shellQuoted(file) + " ";
        ASSERT_EQ(txdbtest::runShell(sqlite + "\"UPDATE Part_Definition SET PCB_component_name = PCB_component_name || "
                                              "'w' WHERE ID = 10\"")
                      .status,
                  0);
        const std::string library = txdbtest::runShell(sqlite + "'SELECT Name FROM Library WHERE ID = 10'").output;
        ProgramRun report = runPartlib({"report", file, library.substr(0, library.size() - 1)});
        EXPECT_EQ(report.status, 1);
        EXPECT_NE(report.errors.find("Column PCB_component_name of table Part_Definition holds a text of 51 bytes, "
                                     "longer than the 50 bytes it is read in"),
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
    // Its start is cut after 40 bytes, inside a three-byte character: the
    // message backs off to the character's start.
    const size_t shown = exported.errors.find("read cut: ");
    ASSERT_NE(shown, std::string::npos);
    const std::string start = exported.errors.substr(shown + 10, exported.errors.find("...", shown) - shown - 10);
    EXPECT_GE(start.size(), 40u) << "\\x01 stands for one byte";
    EXPECT_EQ(start.compare(start.size() - 3, 3, "\xE2\x82\xAC"), 0) << start;
}

} // namespace
