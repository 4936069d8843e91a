// partlib kicad-dbl on KiCad's own symbol libraries: the .kicad_dbl file,
// the views read back as KiCad reads them, through unixODBC with the file's
// own connection (SQLite through Debian's libsqliteodbc, the servers through
// their drivers), and kicad-dbl --check on good, stale and broken files.

#include "tests/kicad/KicadTestFiles.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/partlib/OdbcClient.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

void sql(const std::string &file, const std::string &statements) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

void write(const std::string &file, const std::string &text) {
    std::ofstream(file) << text;
}

bool contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// A connection made as KiCad makes it from the file.
partlib::OdbcClient connect(const nlohmann::json &dbl) {
    return partlib::OdbcClient(dbl["source"]["connection_string"], dbl["source"]["dsn"], dbl["source"]["username"],
                               dbl["source"]["password"]);
}

// The view's row of a part, column by column, as KiCad fetches it by key.
std::map<std::string, std::string> viewRow(partlib::OdbcClient &odbc, const std::string &table,
                                           const std::string &part) {
    partlib::OdbcQuery query(odbc, "SELECT * FROM " + odbc.quoted(table) + " WHERE " + odbc.quoted("Part") + " = ?");
    const partlib::OdbcResult result = query.run({part});
    std::map<std::string, std::string> row;
    EXPECT_EQ(result.rows.size(), 1u) << part;
    for (size_t i = 0; !result.rows.empty() && i < result.columns.size(); ++i)
        if (result.rows[0][i])
            row[result.columns[i].name] = *result.rows[0][i];
    return row;
}

// The same row made of what the readers give for the part (partlib show):
// its name, description, definition value and the attributes the file
// names a column for.
std::map<std::string, std::string> shownRow(const std::string &database, const nlohmann::json &library,
                                            const std::string &part) {
    ProgramRun shown = runPartlib({"show", database, library["name"], part, "--format", "json"});
    EXPECT_EQ(shown.status, 0) << shown.all();
    const nlohmann::json json = nlohmann::json::parse(shown.output);
    std::map<std::string, std::string> attributes;
    for (const auto &attribute : json["attributes"])
        if (attribute["value"].is_string())
            attributes[attribute["name"]] = attribute["value"];
    std::map<std::string, std::string> columnOf = {{"KiCad symbol", "Symbol"},
                                                   {"Footprint", "Footprint"},
                                                   {"Datasheet", "Datasheet"},
                                                   {"ki_keywords", "Keywords"}};
    for (const auto &field : library["fields"])
        columnOf.emplace(field["name"], field["column"]);
    if (library["properties"].contains("footprint_filters"))
        columnOf["ki_fp_filters"] = library["properties"]["footprint_filters"];
    std::map<std::string, std::string> row = {{"Part", json["part"]["name"]}};
    if (json["part"]["description"].is_string())
        row["Description"] = json["part"]["description"];
    if (json["definition"]["value"].is_string())
        row["Value"] = json["definition"]["value"];
    for (const auto &attribute : attributes)
        if (columnOf.count(attribute.first))
            row[columnOf.at(attribute.first)] = attribute.second;
    return row;
}

// The first, a middle and the last part of a library as `parts` lists them.
std::vector<std::string> sampleParts(const std::string &database, const std::string &library) {
    ProgramRun parts = runPartlib({"parts", database, library, "--format", "csv"});
    std::vector<std::string> names;
    std::istringstream lines(parts.output);
    std::string line;
    std::getline(lines, line); // the heading
    while (std::getline(lines, line))
        names.push_back(line.substr(0, line.find(',')));
    if (names.size() < 3)
        return names;
    return {names.front(), names[names.size() / 2], names.back()};
}

// The parts of the libraries as `parts` lists them.
long partCount(const std::string &database, const std::vector<std::string> &libraries) {
    long parts = 0;
    for (const std::string &name : libraries) {
        ProgramRun listed = runPartlib({"parts", database, name, "--format", "csv"});
        parts += std::count(listed.output.begin(), listed.output.end(), '\n') - 1;
    }
    return parts;
}

// Imports the KiCad files, makes the .kicad_dbl, and expects --check to find
// all `parts` parts' symbols and the views' rows of a sample of parts (of
// every `sampleEvery`th library) to equal the readers'.
void expectKicadFindsEverySymbol(const std::string &database, const std::vector<std::string> &files,
                                 const std::vector<std::string> &options, const std::string &problems, long parts,
                                 size_t sampleEvery = 1) {
    std::vector<std::string> import = {"import-kicad", database, "--yes"};
    for (const std::string &file : files)
        import.push_back(kicadtest::path(file));
    ProgramRun imported = runPartlib(import);
    ASSERT_EQ(imported.status, 0) << imported.all();
    const std::string file = txdbtest::tempFile(".kicad_dbl");
    std::vector<std::string> make = {"kicad-dbl", database, "-o", file};
    make.insert(make.end(), options.begin(), options.end());
    ProgramRun made = runPartlib(make);
    ASSERT_EQ(made.status, 0) << made.all();

    if (parts < 0)
        parts = partCount(database, files);
    ProgramRun checked = runPartlib({"kicad-dbl", "--check", file});
    EXPECT_EQ(checked.status, problems == "0 problems" ? 0 : 1) << checked.all();
    EXPECT_TRUE(contains(checked.output, std::to_string(files.size()) + " libraries, " + std::to_string(parts) +
                                             " parts, " + std::to_string(parts) + " symbols found in " +
                                             kicadtest::SYMBOLS.substr(0, kicadtest::SYMBOLS.size() - 1) + ", " +
                                             problems))
        << checked.output;

    const nlohmann::json dbl = nlohmann::json::parse(txdbtest::readFile(file));
    EXPECT_EQ(dbl["meta"]["version"], 0);
    EXPECT_EQ(dbl["source"]["type"], "odbc");
    ASSERT_EQ(dbl["libraries"].size(), files.size());
    partlib::OdbcClient odbc = connect(dbl);
    for (size_t i = 0; i < dbl["libraries"].size(); i += sampleEvery)
        for (const std::string &part : sampleParts(database, dbl["libraries"][i]["name"]))
            EXPECT_EQ(viewRow(odbc, dbl["libraries"][i]["table"], part), shownRow(database, dbl["libraries"][i], part))
                << part;
}

TEST(KicadDbl, KiCadFindsEveryPartsSymbolThroughTheViewsOfSqlite) {
    KICAD_REQUIRE_PACKAGE();
    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    expectKicadFindsEverySymbol(database, {"74xx", "Device"}, {}, "0 problems", -1);
    ProgramRun sqlite = runPartlib({"kicad-dbl", database, "-o", "-", "--yes"});
    EXPECT_TRUE(contains(sqlite.output, "Driver={SQLite3};Database=")) << sqlite.output;
}

TEST(KicadDbl, KiCadFindsEveryPartsSymbolThroughTheViewsOfTheServers) {
    KICAD_REQUIRE_PACKAGE();
    for (const std::string &engine : txdbtest::testEngines()) {
        if (engine == "SQLite")
            continue;
        SCOPED_TRACE(engine);
        const std::string database = txdbtest::freshDatabase(engine);
        ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
        expectKicadFindsEverySymbol(database, {"74xx"}, {"--with-password"}, "0 problems", -1);
        // Without --with-password the file holds the user, never the password.
        ProgramRun without = runPartlib({"kicad-dbl", database, "-o", "-", "--yes"});
        EXPECT_EQ(without.status, 0) << without.all();
        EXPECT_TRUE(contains(without.output, "UID=")) << without.output;
        EXPECT_FALSE(contains(without.output, "PWD") || contains(without.output, "pl-secret")) << without.output;
    }
}

// KiCad's whole collection (17,569 symbols in Debian bookworm's package):
// every symbol found; the one reference KiCad's own files give without a
// library (a footprint of Memory_Flash) reported.
TEST(KicadDbl, KiCadFindsEverySymbolOfTheWholeCollection) {
    KICAD_REQUIRE_PACKAGE();
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(kicadtest::SYMBOLS))
        if (entry.path().extension() == ".kicad_sym")
            files.push_back(entry.path().stem().string());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 209u);
    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    expectKicadFindsEverySymbol(database, files, {}, "1 problem", 17569, 25);
}

TEST(KicadDbl, TheViewsFollowTheLibraryAndCheckNoticesAStaleFile) {
    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    sql(database,
        "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'L''; DROP TABLE Parts; --', 1), (2, 'M', 1);"
        "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F'), (2, 2, 'G');"
        "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, "
        "Gate_swapping, Pin_num_name, Is_FPGA) VALUES (1, 1, 'D', 'C', 1, 0, 0, 0),"
        "(2, 2, 'E', 'C', 1, 0, 0, 0);"
        "INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, Usage_type) VALUES "
        "(1, 'KiCad symbol', 'Device:R', 0), (1, 'Tol'']erance', '1%', 0), (2, 'KiCad symbol', 'Device:C', 0);"
        "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES "
        "(1, 1, 1, 1, 'P', 1), (2, 2, 2, 2, 'Q', 1);");
    const std::string file = txdbtest::tempFile(".kicad_dbl");
    ProgramRun made = runPartlib({"kicad-dbl", database, "-o", file});
    ASSERT_EQ(made.status, 0) << made.all();
    nlohmann::json dbl = nlohmann::json::parse(txdbtest::readFile(file));
    const std::string table = dbl["libraries"][0]["table"];
    EXPECT_EQ(table.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"),
              std::string::npos)
        << table;
    partlib::OdbcClient odbc = connect(dbl);
    EXPECT_EQ(viewRow(odbc, table, "P"),
              (std::map<std::string, std::string>{{"Part", "P"}, {"Symbol", "Device:R"}, {"Tol__erance", "1%"}}));
    if (std::filesystem::exists(kicadtest::path("Device"))) {
        EXPECT_EQ(runPartlib({"kicad-dbl", "--check", file}).status, 0);
    }

    // Renamed, and a new attribute: the rename shows at once, the attribute
    // makes the file stale until kicad-dbl runs again.
    sql(database, "UPDATE Parts SET Name = 'P2' WHERE ID = 1;"
                  "INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, Usage_type) VALUES "
                  "(1, 'Maker', 'Acme', 0);");
    EXPECT_EQ(viewRow(odbc, table, "P2")["Part"], "P2");
    ProgramRun stale = runPartlib({"kicad-dbl", "--check", file, "--symbols", txdbtest::tempDirectory()});
    EXPECT_EQ(stale.status, 1);
    EXPECT_TRUE(contains(stale.output, "the attribute Maker of library L'; DROP TABLE Parts; -- has no field in the "
                                       "file: the file is stale"))
        << stale.output;
    EXPECT_TRUE(contains(stale.output, "no symbol library Device in")) << stale.output;

    // Only library M: the view of the other is one the file does not name.
    ProgramRun onlyM = runPartlib({"kicad-dbl", database, "M", "-o", file, "--yes"});
    ASSERT_EQ(onlyM.status, 0) << onlyM.all();
    ProgramRun unnamed = runPartlib({"kicad-dbl", "--check", file});
    EXPECT_EQ(unnamed.status, 1);
    EXPECT_TRUE(contains(unnamed.output, "the database has the view " + table +
                                             " of a library that the file does not name: the file is stale"))
        << unnamed.output;

    ASSERT_EQ(runPartlib({"kicad-dbl", database, "-o", file, "--yes"}).status, 0);
    partlib::OdbcClient again = connect(dbl);
    EXPECT_EQ(viewRow(again, table, "P2")["Maker"], "Acme");
    sql(database, "DROP VIEW " + table + "; UPDATE Library SET Name = 'M2' WHERE ID = 2;");
    ProgramRun gone = runPartlib({"kicad-dbl", "--check", file});
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(contains(gone.output, "the database has no table or view " + table)) << gone.output;
    EXPECT_TRUE(contains(gone.output, "the database has no library M (renamed or removed)")) << gone.output;
    EXPECT_EQ(partlib::OdbcQuery(odbc, "SELECT COUNT(*) FROM Parts").run().rows,
              (std::vector<partlib::OdbcRow>{{"2"}}));
}

// A table made by hand, as users keep them today: what KiCad would trip on.
TEST(KicadDbl, CheckReportsWhatKicadWouldFailOn) {
    const std::string folder = txdbtest::tempDirectory() + "/handmade";
    std::filesystem::create_directories(folder + "/symbols");
    write(folder + "/symbols/Lib.kicad_sym", "(kicad_symbol_lib (version 20211014) (generator x)\n"
                                             "  (symbol \"R\" (in_bom yes) (on_board yes))\n)\n");
    sql(folder + "/parts.db", "CREATE TABLE t (Part VARCHAR(20), Symbol VARCHAR(40), Footprint VARCHAR(40), "
                              "Note TEXT);"
                              "INSERT INTO t VALUES ('a', 'Lib:R', 'F:A;F:B', 'n'), ('a', 'Lib:R', NULL, 'n'),"
                              "('', 'Lib:R', NULL, 'n'), ('b', 'R', NULL, 'n'), ('c', 'Lib:Missing', NULL, 'n'),"
                              "('d', 'Other:R', NULL, 'n'), ('e', 'Lib:R', 'F:A;', 'n'), ('f', 'Lib:R', '', 'n');");
    const std::string file = folder + "/parts.kicad_dbl";
    write(file, R"({"meta": {"version": 0}, "name": "hand",
        "source": {"type": "odbc", "connection_string": "Driver={SQLite3};Database=${CWD}/parts.db"},
        "libraries": [{"name": "T", "table": "t", "key": "Part", "symbols": "Symbol", "footprints": "Footprint",
                       "fields": [{"column": "Note", "name": "Note"}, {"column": "Gone", "name": "Gone"}],
                       "properties": {"description": "Note"}}]})");
    ProgramRun checked = runPartlib({"kicad-dbl", "--check", file, "--symbols", folder + "/symbols"});
    EXPECT_EQ(checked.status, 1);
    for (const std::string expected :
         {"the key \"a\" is repeated in table t", "has an empty key (\"\")", "part b of t: the symbol \"R\" is not",
          "fetching the key \"a\" from t gives 2 rows", "part c of table t: no symbol Missing in",
          "no symbol library Other in", "part e of t: the footprint \"F:A;\" is not Library:Name",
          "column Note of t is not typed as text of a fixed width", "table t has no column Gone: the file is stale",
          "1 libraries, 8 parts, 3 symbols found"})
        EXPECT_TRUE(contains(checked.output, expected)) << expected << "\n" << checked.output;
    EXPECT_FALSE(contains(checked.output, "part f of t")) << checked.output; // no footprint is no fault
    EXPECT_FALSE(contains(checked.output, "column Symbol")) << checked.output;
}

TEST(KicadDbl, MalformedFilesAndWrongUseAreRefusedWithAMessage) {
    const std::string file = txdbtest::tempFile(".kicad_dbl");
    const std::vector<std::pair<std::string, std::string>> malformed = {
        {"{\"source\": ", "not JSON"},
        {"[1, 2]", "the file must be an object"},
        {"{\"libraries\": []}", "source is missing"},
        {"{\"source\": {\"type\": \"http\"}, \"libraries\": []}", "source.type is \"http\", not \"odbc\""},
        {"{\"source\": {\"type\": \"odbc\"}, \"libraries\": []}", "source names neither a dsn nor a connection_string"},
        {"{\"source\": {\"type\": \"odbc\", \"dsn\": 5}, \"libraries\": []}", "source.dsn must be a text"},
        {"{\"source\": {\"type\": \"odbc\", \"dsn\": \"x\"}, \"libraries\": {}}", "libraries must be a list"},
        {"{\"source\": {\"type\": \"odbc\", \"dsn\": \"x\"}, \"libraries\": []}", "libraries is empty"},
        {"{\"source\": {\"type\": \"odbc\", \"dsn\": \"x\"}, \"libraries\": [{\"name\": \"a\", \"table\": \"t\"}]}",
         "libraries[0].key is missing"},
        {"{\"source\": {\"type\": \"odbc\", \"dsn\": \"x\"}, \"libraries\": [{\"name\": \"a\", \"table\": \"t\", "
         "\"key\": \"k\", \"symbols\": \"s\", \"fields\": [{\"column\": 1}]}]}",
         "libraries[0].fields[0].column must be a text"}};
    for (const auto &[text, message] : malformed) {
        write(file, text);
        ProgramRun checked = runPartlib({"kicad-dbl", "--check", file});
        EXPECT_EQ(checked.status, 1) << text;
        EXPECT_TRUE(contains(checked.errors, "is not a KiCad database library file: " + message)) << text << "\n"
                                                                                                  << checked.errors;
    }
    write(file, "{\"source\": {\"type\": \"odbc\", \"dsn\": \"partlib-no-such-dsn\"}, \"libraries\": [{\"name\": "
                "\"a\", \"table\": \"t\", \"key\": \"k\", \"symbols\": \"s\"}]}");
    ProgramRun noSource = runPartlib({"kicad-dbl", "--check", file, "--symbols", txdbtest::tempDirectory()});
    EXPECT_EQ(noSource.status, 1);
    EXPECT_TRUE(contains(noSource.errors, "Cannot connect to the ODBC data source \"partlib-no-such-dsn\""))
        << noSource.errors;
    EXPECT_TRUE(contains(runPartlib({"kicad-dbl", "--check", txdbtest::tempFile()}).errors,
                         "No such KiCad database library file"));
    EXPECT_TRUE(contains(runPartlib({"kicad-dbl", "--check", file, "--symbols", "/no/such/dir"}).errors,
                         "No folder of KiCad symbol libraries /no/such/dir"));

    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    ProgramRun empty = runPartlib({"kicad-dbl", database, "-o", txdbtest::tempFile(".kicad_dbl")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(contains(empty.errors, "holds no library")) << empty.errors;
    // Wrong uses of the command line end as the parser's errors do.
    for (const std::vector<std::string> &wrong :
         std::vector<std::vector<std::string>>{{"kicad-dbl", database, "--check", file},
                                               {"kicad-dbl", database},
                                               {"kicad-dbl", "-o", txdbtest::tempFile(".kicad_dbl")},
                                               {"kicad-dbl", database, "--symbols", "/tmp"}}) {
        ProgramRun misused = runPartlib(wrong);
        EXPECT_EQ(misused.status, 2) << misused.all();
        EXPECT_TRUE(contains(misused.errors, "--help")) << misused.errors;
    }
    ProgramRun itself = runPartlib({"kicad-dbl", database, "-o", database});
    EXPECT_EQ(itself.status, 1);
    EXPECT_TRUE(contains(itself.errors, "it is the database being read")) << itself.errors;

    // A library without KiCad symbols, an unknown library, a second run
    // without a terminal to agree on.
    sql(database, "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'Resistors', 1);"
                  "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F');"
                  "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, "
                  "Gate_swapping, Pin_num_name, Is_FPGA) VALUES (1, 1, 'D', 'C', 1, 0, 0, 0);"
                  "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES "
                  "(1, 1, 1, 1, 'P', 1);");
    const std::string made = txdbtest::tempFile(".kicad_dbl");
    ProgramRun noSymbols = runPartlib({"kicad-dbl", database, "-o", made});
    EXPECT_EQ(noSymbols.status, 1);
    EXPECT_TRUE(contains(noSymbols.errors, "No definition of library Resistors names its KiCad symbol"))
        << noSymbols.errors;
    EXPECT_FALSE(std::filesystem::exists(made));
    ProgramRun unknown = runPartlib({"kicad-dbl", database, "Resistor", "-o", made});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(contains(unknown.errors, "No library named \"Resistor\" in the database; did you mean \"Resistors\""))
        << unknown.errors;

    sql(database, "INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, Usage_type) VALUES "
                  "(1, 'KiCad symbol', 'Device:R', 0);");
    ASSERT_EQ(runPartlib({"kicad-dbl", database, "-o", made}).status, 0);
    const std::string before = txdbtest::readFile(made);
    sql(database, "UPDATE Parts SET Name = 'P2'; INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, "
                  "Usage_type) VALUES (1, 'Maker', 'Acme', 0);");
    ProgramRun unasked = runPartlib({"kicad-dbl", database, "-o", made});
    EXPECT_EQ(unasked.status, 1);
    EXPECT_TRUE(contains(unasked.errors, "No terminal to ask this question on")) << unasked.errors;
    EXPECT_TRUE(contains(unasked.errors, "Nothing replaced: Replace 1 view")) << unasked.errors;
    EXPECT_EQ(txdbtest::readFile(made), before);
}

} // namespace
