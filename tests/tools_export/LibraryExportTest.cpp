// The library file export over real databases: two sample libraries and a
// library of awkward rows, checked against the tables they came from.

#include "tests/tools_export/ExportTestSupport.h"

#include "ctraxdbpartlib/readers/DBStatement.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using namespace exporttest;

namespace {

std::string quoted(const std::string &text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

int count(CTraxDBPath &path, const std::string &sql) {
    return runCount(path, sql);
}

// Every object of one kind in the document, wherever it stands.
void eachLibrary(const Json &doc, const std::function<void(const Json &)> &take) {
    for (const Json &library : doc.at("libraries"))
        take(library);
}
void eachDefinition(const Json &doc, const std::function<void(const Json &)> &take) {
    eachLibrary(doc, [&](const Json &library) {
        for (const Json &definition : library.at("partDefinitions"))
            take(definition);
    });
}
void eachPart(const Json &doc, const std::function<void(const Json &)> &take) {
    eachLibrary(doc, [&](const Json &library) {
        for (const Json &part : library.at("parts"))
            take(part);
    });
}
int folderCount(const Json &folders) {
    int n = 0;
    for (const Json &folder : folders)
        n += 1 + folderCount(folder.at("folders"));
    return n;
}
template <class F> int sum(const Json &doc, F itemsOf) {
    int n = 0;
    eachDefinition(doc, [&](const Json &definition) { n += itemsOf(definition); });
    return n;
}
int nullsAndEmpties(const Json &doc, const char *kind, const char *key, bool nulls) {
    int n = 0;
    const auto check = [&](const Json &item) { n += nulls ? item.at(key).is_null() : item.at(key) == ""; };
    if (std::string(kind) == "parts")
        eachPart(doc, check);
    else
        eachDefinition(doc, [&](const Json &definition) {
            if (std::string(kind) == "definitions")
                check(definition);
            else
                for (const Json &item : definition.at(kind))
                    check(item);
        });
    return n;
}

const Json &byName(const Json &list, const std::string &name) {
    for (const Json &item : list)
        if (item.at("name") == name)
            return item;
    throw std::out_of_range("no item named " + name);
}

class LibraryExportTest : public ::testing::TestWithParam<std::string> {};

TEST_P(LibraryExportTest, HoldsEveryRowOfEveryTable) {
    SampleDatabase &db = sampleDatabase(GetParam());
    CTraxDBPath &path = db.dbPath();
    const Json doc = Json::parse(exportToString(db.path));

    EXPECT_EQ(doc.at("format"), 1);
    EXPECT_EQ(static_cast<int>(doc.at("libraries").size()), count(path, "SELECT Count(*) FROM [Library];"));
    int folders = 0, parts = 0, definitions = 0;
    eachLibrary(doc, [&](const Json &library) {
        folders += folderCount(library.at("folders"));
        parts += static_cast<int>(library.at("parts").size());
        definitions += static_cast<int>(library.at("partDefinitions").size());
    });
    EXPECT_EQ(folders, count(path, "SELECT Count(*) FROM [Hierarchy];"));
    EXPECT_EQ(parts, count(path, "SELECT Count(*) FROM [Parts];"));
    EXPECT_EQ(definitions, count(path, "SELECT Count(*) FROM [Part_Definition];"));
    const auto size = [](const char *key) { return [key](const Json &d) { return int(d.at(key).size()); }; };
    const auto nested = [](const char *key, const char *inner) {
        return [key, inner](const Json &d) {
            int n = 0;
            for (const Json &item : d.at(key))
                n += int(item.at(inner).size());
            return n;
        };
    };
    EXPECT_EQ(sum(doc, size("pins")), count(path, "SELECT Count(*) FROM [Pin_Data];"));
    EXPECT_EQ(sum(doc, size("pinEquivalences")), count(path, "SELECT Count(*) FROM [Pin_Equiv];"));
    EXPECT_EQ(sum(doc, size("gates")), count(path, "SELECT Count(*) FROM [Gate];"));
    EXPECT_EQ(sum(doc, nested("gates", "pins")), count(path, "SELECT Count(*) FROM [Gate_has_Pin_Data];"));
    EXPECT_EQ(sum(doc, size("gateSwaps")), count(path, "SELECT Count(*) FROM [Gate_Equiv];"));
    EXPECT_EQ(sum(doc, nested("gateSwaps", "gates")), count(path, "SELECT Count(*) FROM [Gate_Equiv_Gate];"));
    EXPECT_EQ(sum(doc,
                  [](const Json &d) {
                      int n = 0;
                      for (const Json &swap : d.at("gateSwaps"))
                          for (const Json &member : swap.at("gates"))
                              n += int(member.at("pins").size());
                      return n;
                  }),
              count(path, "SELECT Count(*) FROM [Gate_Equiv_has_Pin_Data];"));
    EXPECT_EQ(sum(doc, size("attributes")), count(path, "SELECT Count(*) FROM [Attributes];"));
    // The pins of each equivalence group are those that name it.
    EXPECT_EQ(sum(doc, nested("pinEquivalences", "pins")),
              count(path, "SELECT Count(*) FROM [Pin_Data] WHERE [Equiv_group] IS NOT NULL;"));
    eachDefinition(doc, [](const Json &definition) {
        for (const Json &pin : definition.at("pins"))
            if (!pin.at("equivGroup").is_null()) {
                const Json &group = definition.at("pinEquivalences").at(pin.at("equivGroup").get<size_t>());
                EXPECT_NE(std::find(group.at("pins").begin(), group.at("pins").end(), pin.at("identifier")),
                          group.at("pins").end())
                    << definition.at("name");
            }
    });
}

TEST_P(LibraryExportTest, EveryPartNamesItsFolderPathAndDefinition) {
    SampleDatabase &db = sampleDatabase(GetParam());
    const Json doc = Json::parse(exportToString(db.path));
    int checked = 0;
    eachPart(doc, [&](const Json &part) {
        const Json &folder = part.at("folder");
        ASSERT_FALSE(folder.empty()) << part.at("name");
        std::string sql = "SELECT Count(*) FROM [Parts] INNER JOIN [Part_Definition] ON "
                          "[Part_Definition].[ID]=[Parts].[Part_def_ID] INNER JOIN [Hierarchy] [H0] ON "
                          "[H0].[ID]=[Parts].[Hierarchy_ID]";
        std::string where = " WHERE [Parts].[Name]=" + quoted(part.at("name")) +
                            " AND [Part_Definition].[Name]=" + quoted(part.at("definition"));
        // H0 is the part's folder, H1 its parent and so on up to the top.
        for (size_t level = 0; level < folder.size(); ++level) {
            const std::string h = "[H" + std::to_string(level) + "]";
            if (level > 0)
                sql += " INNER JOIN [Hierarchy] " + h + " ON " + h + ".[ID]=[H" + std::to_string(level - 1) +
                       "].[Parent_ID]";
            where += " AND " + h + ".[Name]=" + quoted(folder.at(folder.size() - 1 - level));
        }
        where += " AND [H" + std::to_string(folder.size() - 1) + "].[Parent_ID] IS NULL;";
        EXPECT_EQ(count(db.dbPath(), sql + where), 1) << part.dump();
        ++checked;
    });
    EXPECT_EQ(checked, count(db.dbPath(), "SELECT Count(*) FROM [Parts];"));
}

TEST_P(LibraryExportTest, NullAndEmptyTextStayApart) {
    SampleDatabase &db = sampleDatabase(GetParam());
    CTraxDBPath &path = db.dbPath();
    const Json doc = Json::parse(exportToString(db.path));
    struct Column {
        const char *kind, *key, *table, *column;
    };
    const Column columns[] = {
        {"parts", "acceptance", "Parts", "Part_Acceptance"},
        {"parts", "number", "Parts", "Part_number"},
        {"parts", "pspiceData", "Parts", "PSpice_data"},
        {"gates", "altName", "Gate", "Alt_name"},
        {"definitions", "pcbAlternateName", "Part_Definition", "PCB_alternate_name"},
        {"pins", "signal", "Pin_Data", "Signal"},
        {"pins", "name", "Pin_Data", "Name"},
    };
    for (const Column &c : columns) {
        const std::string from = std::string("SELECT Count(*) FROM [") + c.table + "] WHERE [" + c.column + "]";
        const int nulls = count(path, from + " IS NULL;");
        const int empties = count(path, from + " = '';");
        EXPECT_EQ(nullsAndEmpties(doc, c.kind, c.key, true), nulls) << c.table << "." << c.column;
        EXPECT_EQ(nullsAndEmpties(doc, c.kind, c.key, false), empties) << c.table << "." << c.column;
        EXPECT_GT(nulls, 0) << "the data has NULLs in " << c.column;
        EXPECT_GT(empties, 0) << "the data has empty texts in " << c.column;
    }
}

TEST_P(LibraryExportTest, AwkwardRowsComeOutAsStored) {
    SampleDatabase &db = sampleDatabase(GetParam());
    const Json doc = Json::parse(exportToString(db.path, {EDGE_LIBRARY}));
    ASSERT_EQ(doc.at("libraries").size(), 1u);
    const Json &library = doc.at("libraries").at(0);
    EXPECT_EQ(library.at("name"), EDGE_LIBRARY);
    EXPECT_EQ(library.at("enabled"), false);
    EXPECT_EQ(library.at("comment"), "");

    const Json &top = byName(library.at("folders"), EDGE_TOP_FOLDER);
    EXPECT_EQ(byName(top.at("folders"), EDGE_SUB_FOLDER).at("folders"), Json::array());
    EXPECT_EQ(byName(library.at("folders"), EDGE_EMPTY_FOLDER).at("folders"), Json::array());

    const Json &definition = library.at("partDefinitions").at(0);
    EXPECT_EQ(definition.at("name"), EDGE_DEFINITION);
    EXPECT_EQ(definition.at("pcbComponentName"), "P\"CB");
    EXPECT_EQ(definition.at("pcbAlternateName"), "");
    EXPECT_TRUE(definition.at("value").is_null());
    EXPECT_EQ(definition.at("maxConnectorPins"), 5);
    EXPECT_EQ(definition.at("gateSwapping"), true);
    EXPECT_EQ(definition.at("isFPGA"), true);

    const Json &pins = definition.at("pins");
    ASSERT_EQ(pins.size(), 3u);
    EXPECT_EQ(pins.at(0).at("label"), EDGE_LABEL);
    EXPECT_TRUE(pins.at(1).at("name").is_null());
    EXPECT_EQ(pins.at(2).at("signal"), "");
    EXPECT_EQ(pins.at(0).at("equivGroup"), 0);
    EXPECT_EQ(pins.at(1).at("equivGroup"), 0);
    EXPECT_TRUE(pins.at(2).at("equivGroup").is_null());
    EXPECT_EQ(definition.at("pinEquivalences"), Json::parse(R"([{"pins": ["1", "2"]}])"));

    // Pins linked 3, 1, 2 come in that order; a gate without pins has none.
    EXPECT_EQ(definition.at("gates"), Json::parse(R"([{"name": "G", "altName": null, "pins": ["3", "1", "2"]},
                                                      {"name": "NC", "altName": "", "pins": []}])"));
    EXPECT_EQ(definition.at("gateSwaps"),
              Json::parse(R"([{"name": "SW", "gates": [{"equivType": 2, "pins": ["2", "1"]}]}])"));
    EXPECT_EQ(definition.at("attributes").at(0).at("value"), EDGE_ATTRIBUTE_VALUE);
    EXPECT_EQ(definition.at("attributes").at(0).at("readOnly"), 1);

    const Json &part = library.at("parts").at(0);
    EXPECT_EQ(part.at("name"), EDGE_PART);
    EXPECT_EQ(part.at("number"), "");
    EXPECT_TRUE(part.at("description").is_null());
    EXPECT_TRUE(part.at("version").is_null());
    EXPECT_TRUE(part.at("type").is_null());
    EXPECT_EQ(part.at("folder"), Json::array({EDGE_TOP_FOLDER, EDGE_SUB_FOLDER}));
    EXPECT_EQ(part.at("definition"), EDGE_DEFINITION);
}

TEST_P(LibraryExportTest, SameDatabaseSameBytesInCanonicalLayout) {
    SampleDatabase &db = sampleDatabase(GetParam());
    const std::string first = exportToString(db.path);
    EXPECT_EQ(exportToString(db.path), first);
    // The layout is exactly a two-space dump of the same document.
    EXPECT_EQ(Json::parse(first).dump(2) + "\n", first);
    // Libraries come in the database's order, whatever order they are named in.
    const Json named = Json::parse(exportToString(db.path, {SECOND_LIBRARY, SAMPLE_LIBRARY}));
    ASSERT_EQ(named.at("libraries").size(), 2u);
    EXPECT_EQ(named.at("libraries").at(0).at("name"), SAMPLE_LIBRARY);
    EXPECT_EQ(named.at("libraries").at(1), byName(Json::parse(first).at("libraries"), SECOND_LIBRARY));
}

TEST_P(LibraryExportTest, ReportsProgressPerDefinitionAndPart) {
    SampleDatabase &db = sampleDatabase(GetParam());
    std::vector<long> done;
    long total = 0;
    ExportOptions options;
    options.libraries = {SAMPLE_LIBRARY};
    options.progress = [&](const std::string &library, long step, long all) {
        EXPECT_EQ(library, SAMPLE_LIBRARY);
        done.push_back(step);
        total = all;
    };
    std::ostringstream out;
    exportLibraries(db.path, out, options);
    const long items = count(db.dbPath(), "SELECT Count(*) FROM [Parts] WHERE [Library_ID] = 1;") +
                       count(db.dbPath(), "SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = 1;");
    EXPECT_EQ(total, items);
    ASSERT_EQ(static_cast<long>(done.size()), items);
    EXPECT_EQ(done.front(), 1);
    EXPECT_EQ(done.back(), items);
}

TEST_P(LibraryExportTest, UnknownLibraryIsRefusedBeforeAnythingIsWritten) {
    SampleDatabase &db = sampleDatabase(GetParam());
    std::ostringstream out;
    ExportOptions options;
    options.libraries = {SAMPLE_LIBRARY, "Nonesuch"};
    EXPECT_EQ(thrownMessage([&] { exportLibraries(db.path, out, options); }),
              "No library named \"Nonesuch\" in the database");
    EXPECT_EQ(out.str(), "");
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryExportTest, ::testing::ValuesIn(txdbtest::testEngines()));

// Data a library file cannot hold faithfully is refused with its name.
class RefusedDataTest : public ::testing::Test {
protected:
    RefusedDataTest() : db(sampleOnly("SQLite")) {}
    std::string refusal() {
        std::ostringstream out;
        return thrownMessage([&] { exportLibraries(db.path, out); });
    }
    SampleDatabase db;
};

TEST_F(RefusedDataTest, TextThatIsNotUtf8) {
    db.dbPath().execute("UPDATE [Parts] SET [Description]='caf\xE9' WHERE [ID]=3;");
    const std::string message = refusal();
    EXPECT_NE(message.find("The text \"caf\\xE9\" of library Demo, part "), std::string::npos) << message;
    EXPECT_NE(message.find("is not valid UTF-8"), std::string::npos) << message;
}

TEST_F(RefusedDataTest, TwoFoldersOfOneNameUnderOneParent) {
    db.dbPath().execute(
        "INSERT INTO [Hierarchy] ([ID],[Library_ID],[Name],[Parent_ID]) VALUES (900,1,'Obsolete',NULL);");
    EXPECT_EQ(refusal(), "Library Demo has two folders named \"Obsolete\" in its top level; a library file tells "
                         "folders apart by their path");
}

TEST_F(RefusedDataTest, PinOfAGroupOfAnotherDefinition) {
    db.dbPath().execute("INSERT INTO [Pin_Data] ([ID],[Part_def_ID],[Pin_identifier],[Equiv_group]) "
                        "VALUES (900,2,'X',1);");
    const std::string message = refusal();
    EXPECT_NE(message.find("Pin X of part definition "), std::string::npos) << message;
    EXPECT_NE(message.find("which is not a group of that definition"), std::string::npos) << message;
}

} // namespace
