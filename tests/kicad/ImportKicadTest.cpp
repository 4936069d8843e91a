// partlib import-kicad run as the built program on files of the installed
// package: the rows of every table against what the files hold, named
// symbols, the name rule for a symbol in two libraries, and refusals that
// leave the database as it was.

#include "ctraxdbpartlib/connection/DBStatement.h"
#include "interface/CTraxDBPartLib.h"
#include "tests/kicad/KicadTestFiles.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/kicad/KicadSymbols.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;

std::vector<std::string> paths(const std::vector<std::string> &names) {
    std::vector<std::string> out;
    for (const std::string &name : names)
        out.push_back(kicadtest::path(name));
    return out;
}

ProgramRun import(const std::string &database, const std::vector<std::string> &names,
                  const std::vector<std::string> &options = {}) {
    std::vector<std::string> arguments{"import-kicad", database};
    for (const std::string &file : paths(names))
        arguments.push_back(file);
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back("--yes");
    return runPartlib(arguments);
}

// A number the summary printed before `label` ("473082 pins").
long summaryNumber(const std::string &output, const std::string &label) {
    const size_t at = output.find(" " + label);
    if (at == std::string::npos)
        return -1;
    const size_t start = output.find_last_of(" (", at - 1) + 1;
    return std::stol(output.substr(start, at - start));
}

// What the files hold, counted from the reader's structs by the mapping's
// rules: a definition per root symbol and per derived symbol whose
// properties other than Value and ki_description differ from its parent's,
// a pin per distinct number, a gate per unit.
struct Expected {
    long symbols = 0, definitions = 0, pins = 0, gates = 0;
};

Expected expectedRows(const std::vector<std::string> &names) {
    Expected expected;
    for (const std::string &name : names) {
        const kicad::SymbolLibrary library = kicad::readSymbolLibrary(kicadtest::path(name));
        const auto kept = [](const kicad::Symbol &symbol) {
            std::multimap<std::string_view, std::string_view> properties;
            for (const kicad::Property &property : symbol.properties)
                if (property.key != "Value" && property.key != "ki_description")
                    properties.emplace(property.key, property.value);
            return properties;
        };
        for (const kicad::Symbol &symbol : library.symbols) {
            ++expected.symbols;
            if (symbol.parent >= 0) {
                const kicad::Symbol &parent = library.symbols[static_cast<size_t>(symbol.parent)];
                if (kept(symbol) == kept(parent) && symbol.property("ki_description").size() <= 255)
                    continue;
            }
            ++expected.definitions;
            std::set<std::string_view> numbers;
            int units = 1;
            for (const kicad::Unit &unit : library.unitsOf(symbol)) {
                units = std::max(units, unit.unit);
                for (const kicad::Pin &pin : unit.pins)
                    numbers.insert(pin.number.empty() ? std::string_view(unit.name) : pin.number);
            }
            expected.pins += static_cast<long>(numbers.size());
            expected.gates += units;
        }
    }
    return expected;
}

class ImportKicadTest : public ::testing::TestWithParam<std::string> {
protected:
    std::string database() {
        return GetParam() == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(GetParam());
    }
    static int count(const std::string &database, const std::string &sql) {
        std::string init =
            database.find('=') == std::string::npos ? "Provider=SQLite;Data Source=" + database : database;
        pathHandle_t path = openPath(init.data());
        return runCount(dbPath(path), sql);
    }
};

TEST_P(ImportKicadTest, EveryTableHoldsWhatTheFilesHold) {
    KICAD_REQUIRE_PACKAGE();
    const std::string db = database();
    ProgramRun run = import(db, kicadtest::FILES);
    ASSERT_EQ(run.status, 0) << run.all();
    const Expected expected = expectedRows(kicadtest::FILES);
    long crudeSymbols = 0;
    for (const std::string &name : kicadtest::FILES)
        crudeSymbols += kicadtest::countText(txdbtest::readFile(kicadtest::path(name))).symbols;
    EXPECT_EQ(expected.symbols, crudeSymbols);

    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Library];"), 6);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Hierarchy];"), 6);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Parts];"), crudeSymbols);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Part_Definition];"), expected.definitions);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Pin_Data];"), expected.pins);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Gate];"), expected.gates);
    // The rows the writer added are those the mapping made.
    const std::pair<const char *, const char *> tables[] = {
        {"[Pin_Data]", "pins,"},         {"[Gate]", "gates with"},           {"[Gate_has_Pin_Data]", "pins, "},
        {"[Gate_Equiv]", "swap groups"}, {"[Pin_Equiv]", "pin equivalence"}, {"[Attributes]", "attributes"}};
    for (const auto &table : tables) {
        const long summed = table.second == std::string("pins, ")
                                ? summaryNumber(run.output.substr(run.output.find("gates with")), "pins, ")
                                : summaryNumber(run.output, table.second);
        EXPECT_EQ(count(db, std::string("SELECT Count(*) FROM ") + table.first + ";"), summed) << table.first;
    }
    // Pins in an equivalence group point at a group of their definition.
    EXPECT_EQ(count(db,
                    "SELECT Count(*) FROM [Pin_Data] p LEFT JOIN [Pin_Equiv] e ON e.[ID] = p.[Equiv_group] "
                    "WHERE p.[Equiv_group] IS NOT NULL AND (e.[ID] IS NULL OR e.[Part_def_ID] <> p.[Part_def_ID]);"),
              0);
    // The FPGA library's definitions are marked, the others not.
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Part_Definition] d JOIN [Library] l ON l.[ID] = d.[Library_ID] WHERE "
                        "[Is_FPGA] <> 0 AND l.[Name] <> 'FPGA_Xilinx_Virtex7';"),
              0);
    EXPECT_GT(count(db, "SELECT Count(*) FROM [Part_Definition] WHERE [Is_FPGA] <> 0;"), 0);

    // 74LS00: five units, fourteen pins; its four gates in one swap group.
    const std::string ls00 = "(SELECT [ID] FROM [Part_Definition] WHERE [Name] = '74LS00')";
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Gate] WHERE [Part_def_ID] = " + ls00 + ";"), 5);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Pin_Data] WHERE [Part_def_ID] = " + ls00 + ";"), 14);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Gate_Equiv] WHERE [Part_def_ID] = " + ls00 + ";"), 1);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Gate_Equiv_Gate] g JOIN [Gate_Equiv] e ON e.[ID] = g.[Gate_equiv_ID] "
                        "WHERE e.[Part_def_ID] = " +
                            ls00 + ";"),
              4);
    EXPECT_EQ(
        count(db, "SELECT Count(*) FROM [Gate_Equiv_has_Pin_Data] h JOIN [Gate_Equiv_Gate] g ON g.[ID] = "
                  "h.[Gate_equiv_gate_ID] JOIN [Gate_Equiv] e ON e.[ID] = g.[Gate_equiv_ID] WHERE e.[Part_def_ID] "
                  "= " +
                      ls00 + ";"),
        12);
    // A derived symbol: 74HCT164 extends 74HC164 and has its pins.
    for (const char *derived : {"74HCT164"}) {
        const std::string definition =
            "(SELECT [Part_def_ID] FROM [Parts] WHERE [Name] = '" + std::string(derived) + "')";
        const std::string parent = "(SELECT [ID] FROM [Part_Definition] WHERE [Name] = '74HC164')";
        EXPECT_EQ(count(db, "SELECT Count(*) FROM [Pin_Data] WHERE [Part_def_ID] = " + definition + ";"), 14);
        EXPECT_EQ(count(db, "SELECT Count(*) FROM [Pin_Data] a JOIN [Pin_Data] b ON a.[Pin_identifier] = "
                            "b.[Pin_identifier] AND a.[Name] = b.[Name] AND a.[Pin_type] = b.[Pin_type] WHERE "
                            "a.[Part_def_ID] = " +
                                definition + " AND b.[Part_def_ID] = " + parent + ";"),
                  14);
    }
    // Stacked power pins: the eight GND pins of SN74AVC16827DGGR in one group.
    const std::string avc = "(SELECT [ID] FROM [Part_Definition] WHERE [Name] = 'SN74AVC16827DGGR')";
    EXPECT_EQ(
        count(db, "SELECT Count(DISTINCT [Equiv_group]) FROM [Pin_Data] WHERE [Name] = 'GND' AND [Part_def_ID] = " +
                      avc + ";"),
        1);
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Pin_Data] WHERE [Name] = 'GND' AND [Equiv_group] IS NOT NULL AND "
                        "[Part_def_ID] = " +
                            avc + ";"),
              8);
    // Hidden power inputs carry their net.
    EXPECT_GT(count(db, "SELECT Count(*) FROM [Pin_Data] WHERE [Signal] IS NOT NULL AND [Pin_type] = 8;"), 0);

    // Again: everything is found and up to date, so nothing is added or
    // removed.
    ProgramRun again = import(db, kicadtest::FILES);
    ASSERT_EQ(again.status, 0) << again.all();
    EXPECT_EQ(txdbtest::summaryList(again.output, "rows added"), " none (every item was there and up to date)")
        << again.output;
    EXPECT_EQ(txdbtest::summaryList(again.output, "rows removed"), "") << again.output;
    EXPECT_EQ(count(db, "SELECT Count(*) FROM [Pin_Data];"), expected.pins);
}

TEST_P(ImportKicadTest, ANameInTwoLibrariesIsStoredWithItsFile) {
    KICAD_REQUIRE_PACKAGE();
    // Both at once: the names both files hold are prefixed in both.
    const std::string both = database();
    ProgramRun run = import(both, {"74xx", "74xx_IEEE"});
    ASSERT_EQ(run.status, 0) << run.all();
    EXPECT_EQ(count(both, "SELECT Count(*) FROM [Parts] WHERE [Name] = '74xx:7400';"), 1);
    EXPECT_EQ(count(both, "SELECT Count(*) FROM [Parts] WHERE [Name] = '74xx_IEEE:7400';"), 1);
    EXPECT_EQ(count(both, "SELECT Count(*) FROM [Parts] WHERE [Name] = '7400';"), 0);
    // A name only one of them holds stays as it is.
    EXPECT_EQ(count(both, "SELECT Count(*) FROM [Parts] WHERE [Name] = '74HCT164';"), 1);

    // One after the other: the first keeps its names, the second's clashes
    // with the stored library are prefixed.
    const std::string apart = database();
    ASSERT_EQ(import(apart, {"74xx"}).status, 0);
    ProgramRun second = import(apart, {"74xx_IEEE"});
    ASSERT_EQ(second.status, 0) << second.all();
    EXPECT_EQ(count(apart, "SELECT Count(*) FROM [Parts] WHERE [Name] = '7400';"), 1);
    EXPECT_EQ(count(apart, "SELECT Count(*) FROM [Parts] WHERE [Name] = '74xx_IEEE:7400';"), 1);
    EXPECT_EQ(count(apart, "SELECT Count(*) FROM [Parts] p JOIN [Library] l ON l.[ID] = p.[Library_ID] WHERE "
                           "p.[Name] = '7400' AND l.[Name] = '74xx';"),
              1);

    // --library: one library, a folder per file.
    const std::string one = database();
    ASSERT_EQ(import(one, {"Device", "power"}, {"--library", "KiCad"}).status, 0);
    EXPECT_EQ(count(one, "SELECT Count(*) FROM [Library];"), 1);
    EXPECT_EQ(count(one, "SELECT Count(*) FROM [Hierarchy] WHERE [Name] IN ('Device', 'power');"), 2);
}

// The libraries an import made, exported, read by partlib import into an
// empty database and exported again: the same bytes (De Morgan gates, swap
// groups, stacked power pins, split attributes and all).
TEST_P(ImportKicadTest, AnExportImportedAgainIsUnchanged) {
    KICAD_REQUIRE_PACKAGE();
    const std::string first = database(), second = database();
    ASSERT_EQ(import(first, {"74xx", "power", "Device", "MCU_ST_STM32F1"}).status, 0);
    const std::string file = txdbtest::tempDirectory() + "/kicad.json",
                      again = txdbtest::tempDirectory() + "/again.json";
    ProgramRun exported = runPartlib({"export", first, "-o", file});
    ASSERT_EQ(exported.status, 0) << exported.all();
    ProgramRun imported = runPartlib({"import", second, file, "--yes"});
    ASSERT_EQ(imported.status, 0) << imported.all();
    ProgramRun exportedAgain = runPartlib({"export", second, "-o", again});
    ASSERT_EQ(exportedAgain.status, 0) << exportedAgain.all();

    const std::string text = txdbtest::readFile(file);
    EXPECT_NE(text.find("\"74LS00\""), std::string::npos);
    EXPECT_EQ(count(second, "SELECT Count(*) FROM [Parts];"), count(first, "SELECT Count(*) FROM [Parts];"));
    EXPECT_TRUE(txdbtest::readFile(again) == text) << "the second export differs from the first";
}

INSTANTIATE_TEST_SUITE_P(Engines, ImportKicadTest, ::testing::ValuesIn(txdbtest::testEngines()));

TEST(ImportKicadRefusals, BadFilesAndArgumentsLeaveTheDatabaseAsItWas) {
    KICAD_REQUIRE_PACKAGE();
    const auto written = [](const std::string &name, const std::string &text) {
        const std::string file = txdbtest::tempDirectory() + "/" + name + ".kicad_sym";
        std::ofstream(file, std::ios::binary) << text;
        return file;
    };
    // Symbols of our own with one pin each.
    const auto symbols = [](std::vector<std::string> names) {
        std::string text = "(kicad_symbol_lib (version 20211014)\n";
        for (const std::string &name : names)
            text += "  (symbol \"" + name + "\" (property \"Reference\" \"U\")\n    (symbol \"" + name +
                    "_1_1\" (pin input line (at 0 0 0) (name \"A\") (number \"1\"))))\n";
        return text + ")\n";
    };
    // Holder keeps the name that +5V of a file Clash would get, power
    // being stored.
    const std::string db = txdbtest::tempFile();
    ASSERT_EQ(
        runPartlib({"import-kicad", db, kicadtest::path("power"), written("Holder", symbols({"Clash:+5V"})), "--yes"})
            .status,
        0);
    const std::string before = txdbtest::readFile(db);

    const std::string good = txdbtest::readFile(kicadtest::path("Device"));
    std::string cut = good.substr(0, good.size() / 2);
    std::string extra = good;
    extra.insert(extra.find("\n  (symbol ", 1000), "\n)");
    std::string version = good;
    version.replace(version.find("20211014"), 8, "20231120");
    const std::string missingParent = "(kicad_symbol_lib (version 20211014)\n  (symbol \"A\" (extends \"B\"))\n)\n";
    struct Case {
        std::vector<std::string> files;
        std::string message;
    };
    const std::string cutFile = written("Cut", cut);
    const std::string huge = written("Huge", "");
    std::filesystem::resize_file(huge, (size_t(256) << 20) + 1); // sparse: no disk taken
    const Case cases[] = {
        {{kicadtest::path("Device"), cutFile}, cutFile + ":"},
        {{cutFile}, "ends inside the list opened at line"},
        {{written("Extra", extra)}, "text after the end of the library"},
        {{written("Version", version)}, ":1:28: unsupported format version 20231120"},
        {{written("Foreign", "{\"format\": 1}")}, ":1:1: not a KiCad symbol library"},
        {{written("Orphan", missingParent)}, ":2:15: symbol \"A\" extends \"B\", which the file does not hold"},
        {{txdbtest::tempDirectory() + "/none.kicad_sym"}, "No such KiCad symbol library: "},
        {{txdbtest::tempDirectory()}, "is a directory"},
        {{huge}, "Huge.kicad_sym is larger than 256 MiB; no KiCad symbol library is"},
        {{db}, "is the database itself"},
        {{kicadtest::path("Device"), kicadtest::path("Device")}, "is given twice"},
        {{kicadtest::path("Device"), written("Device", good)}, "would both make the library Device"},
        {{kicadtest::path("Device"), "--library", std::string(51, 'L')}, "does not fit the database's 50 characters"},
        {{kicadtest::path("Device"), "--library", ""}, "--library needs a library name"},
        {{written("Clash", symbols({"+5V"}))},
         "cannot be written: library Clash: part definition name \"Clash:+5V\" is taken by library \"Holder\" of "
         "the database (and 1 more problem)"},
        {{written("Dup", symbols({"Dup:+5V", "+5V"}))},
         "cannot be written: library Dup: part definition name \"Dup:+5V\" is taken by"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments{"import-kicad", db};
        arguments.insert(arguments.end(), c.files.begin(), c.files.end());
        arguments.push_back("--yes");
        ProgramRun run = runPartlib(arguments);
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
        EXPECT_EQ(run.output, "") << c.message;
        EXPECT_TRUE(txdbtest::readFile(db) == before) << c.message;
    }
    // A file refused as it is read, or once mapped, leaves a database that
    // did not exist uncreated.
    // Left:R is what R of file Left becomes, R being in file Right too.
    const std::string refused[] = {cutFile, written(std::string(51, 'S'), symbols({"R"})),
                                   written("Clasher", symbols({"Left:R"})), written("Left", symbols({"R"})),
                                   written("Right", symbols({"R"}))};
    for (const std::vector<std::string> &files :
         std::vector<std::vector<std::string>>{{refused[0]}, {refused[1]}, {refused[2], refused[3], refused[4]}}) {
        const std::string fresh = txdbtest::tempFile();
        std::vector<std::string> arguments{"import-kicad", fresh};
        arguments.insert(arguments.end(), files.begin(), files.end());
        arguments.push_back("--yes");
        const ProgramRun run = runPartlib(arguments);
        EXPECT_EQ(run.status, 1) << files[0] << ": " << run.errors;
        EXPECT_FALSE(std::filesystem::exists(fresh)) << files[0] << ": " << run.errors;
    }
}

} // namespace
