// The catalogue page over a real SQLite database: its data against the
// tables it came from, the escaping of hostile texts in the HTML and in the
// data, and partlib catalogue run as the built program.

#include "tools/partlib/Catalogue.h"
#include "interface/Exception.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace partlib;
using Json = nlohmann::json;
using txdbtest::ProgramRun;
using txdbtest::readFile;
using txdbtest::runPartlib;

namespace {

const std::string HOSTILE_LIBRARY = "</script><script>alert(1)</script>";
const std::string HOSTILE_FOLDER = "<b onclick=\"x\">F & 'q'</b>";
const std::string HOSTILE_PART = "P <!-- \xE2\x80\xA8 </SCRIPT >";

void writeHostileLibrary(txdbtest::SampleDatabase &db) {
    auto quoted = [](const std::string &text) {
        std::string out = "'";
        for (char c : text)
            out += c == '\'' ? std::string("''") : std::string(1, c);
        return out + "'";
    };
    db.exec("INSERT INTO [Library] VALUES (60000," + quoted(HOSTILE_LIBRARY) + ",1,'<i>c</i>');");
    db.exec("INSERT INTO [Hierarchy] VALUES (60001,60000," + quoted(HOSTILE_FOLDER) + ",NULL);");
    db.exec("INSERT INTO [Part_Definition] VALUES (60010,60000,'D<1>','P','',NULL,'',NULL,1,0,0,0);");
    db.exec("INSERT INTO [Parts] VALUES (60070,60000,60010,60001," + quoted(HOSTILE_PART) +
            ",'',NULL,'',NULL,NULL,NULL);");
}

std::string catalogueOf(const pathHandle_t &path, const std::vector<std::string> &libraries = {},
                        const std::string &title = "T") {
    CatalogueOptions options;
    options.libraries = libraries;
    options.title = title;
    std::ostringstream out;
    try {
        writeCatalogue(path, out, options);
    } catch (Exception *e) { // shown by the test framework with its text
        std::unique_ptr<Exception> failure(e);
        throw std::runtime_error(failure->getMessage());
    }
    return out.str();
}

// The text of the page's data element.
std::string dataText(const std::string &page) {
    const std::string start = "<script type=\"application/json\" id=\"catalogue-data\">";
    const size_t from = page.find(start);
    const size_t to = page.find("</script>", from);
    if (from == std::string::npos || to == std::string::npos)
        throw std::runtime_error("no data element");
    return page.substr(from + start.size(), to - from - start.size());
}

size_t occurrences(const std::string &text, const std::string &what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class CatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new txdbtest::SampleDatabase("SQLite");
        writeHostileLibrary(*db);
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static txdbtest::SampleDatabase *db;
};
txdbtest::SampleDatabase *CatalogueTest::db = nullptr;

TEST_F(CatalogueTest, DataHoldsEveryRowOfTheLibrary) {
    const Json data = Json::parse(dataText(catalogueOf(db->path, {"Demo"})));
    ASSERT_EQ(data.at("libraries").size(), 1u);
    const Json &library = data.at("libraries").at(0);
    const SampleCounts &counts = db->counts;
    EXPECT_EQ(library.at("name"), "Demo");
    EXPECT_EQ(static_cast<int>(library.at("folders").size()), counts.folders);
    EXPECT_EQ(static_cast<int>(library.at("definitions").size()), counts.partDefinitions);
    EXPECT_EQ(static_cast<int>(library.at("parts").size()), counts.parts);
    int pins = 0, gates = 0, gatePins = 0, swaps = 0, swapGatePins = 0, attributes = 0, equivalentPins = 0;
    for (const Json &definition : library.at("definitions")) {
        pins += static_cast<int>(definition.at("pins").size());
        for (const Json &gate : definition.at("gates"))
            gatePins += static_cast<int>(gate.at(2).size());
        gates += static_cast<int>(definition.at("gates").size());
        swaps += static_cast<int>(definition.at("gateSwaps").size());
        for (const Json &swap : definition.at("gateSwaps"))
            for (const Json &member : swap.at(1))
                swapGatePins += static_cast<int>(member.at(1).size());
        attributes += static_cast<int>(definition.at("attributes").size());
        for (const Json &pin : definition.at("pins"))
            if (!pin.at(7).is_null()) {
                ++equivalentPins;
                // The group index names a group of the definition that lists the pin.
                const Json &group = definition.at("pinEquivalences").at(pin.at(7).get<size_t>());
                EXPECT_NE(std::find(group.begin(), group.end(), pin.at(0)), group.end()) << pin.dump();
            }
    }
    EXPECT_EQ(pins, counts.pins);
    EXPECT_EQ(gates, counts.gates);
    EXPECT_EQ(gatePins, counts.gatePins);
    EXPECT_EQ(swaps, counts.gateSwaps);
    EXPECT_EQ(swapGatePins, counts.gateSwapPins);
    EXPECT_EQ(attributes, counts.attributes);
    EXPECT_EQ(equivalentPins, db->ints("SELECT COUNT(*) FROM [Pin_Data] WHERE [Equiv_group] IS NOT NULL").at(0));
    // Every part names a folder and the definition it is built on.
    std::vector<std::string> built;
    for (const Json &part : library.at("parts")) {
        built.push_back(part.at(0).get<std::string>() + " on " +
                        library.at("definitions").at(part.at(8).get<size_t>()).at("name").get<std::string>());
        EXPECT_LT(part.at(7).get<size_t>(), library.at("folders").size());
    }
    std::vector<std::string> stored =
        db->texts("SELECT [Parts].[Name] || ' on ' || [Part_Definition].[Name] FROM [Parts] INNER JOIN "
                  "[Part_Definition] ON [Parts].[Part_def_ID]=[Part_Definition].[ID] WHERE [Parts].[Library_ID]=1");
    std::sort(built.begin(), built.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(built, stored);
}

TEST_F(CatalogueTest, FolderTreeCountsThePartsInAndBelowEachFolder) {
    const std::string page = catalogueOf(db->path, {"Demo"});
    const std::string tree = page.substr(0, page.find("</nav>"));
    // The library's own count is every part; a top folder's count is the
    // parts of its whole subtree.
    EXPECT_NE(tree.find(">Demo</a> <span class=\"count\">" + std::to_string(db->counts.parts) + "</span>"),
              std::string::npos);
    const int passives = db->ints("WITH RECURSIVE below(id) AS (SELECT [ID] FROM [Hierarchy] WHERE [Name]='Passives' "
                                  "UNION ALL SELECT [Hierarchy].[ID] FROM [Hierarchy] JOIN "
                                  "below ON [Hierarchy].[Parent_ID]=below.id) SELECT COUNT(*) FROM [Parts] WHERE "
                                  "[Hierarchy_ID] IN (SELECT id FROM below)")
                             .at(0);
    ASSERT_GT(passives, 0);
    EXPECT_NE(tree.find(">Passives</a> <span class=\"count\">" + std::to_string(passives) + "</span>"),
              std::string::npos)
        << tree;
    EXPECT_EQ(occurrences(tree, "data-folder=\"0."), static_cast<size_t>(db->counts.folders));
}

TEST_F(CatalogueTest, HostileTextsAreEscapedInTheHtmlAndTheData) {
    const std::string page = catalogueOf(db->path, {HOSTILE_LIBRARY}, "<T> & \"x\"");
    // Only the page's own two script elements, whatever the texts hold.
    EXPECT_EQ(occurrences(page, "<script"), 2u);
    EXPECT_EQ(occurrences(page, "</script>"), 2u);
    EXPECT_EQ(page.find("<b onclick"), std::string::npos);
    EXPECT_EQ(page.find("<!--"), std::string::npos);
    EXPECT_NE(page.find("<title>&lt;T&gt; &amp; &quot;x&quot;</title>"), std::string::npos);
    EXPECT_NE(page.find("&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;</a>"), std::string::npos);
    EXPECT_NE(page.find("&lt;b onclick=&quot;x&quot;&gt;F &amp; &#39;q&#39;&lt;/b&gt;</a>"), std::string::npos);
    // The data reads back as the stored texts.
    const Json data = Json::parse(dataText(page));
    EXPECT_EQ(data.at("title"), "<T> & \"x\"");
    const Json &library = data.at("libraries").at(0);
    EXPECT_EQ(library.at("name"), HOSTILE_LIBRARY);
    EXPECT_EQ(library.at("comment"), "<i>c</i>");
    EXPECT_EQ(library.at("folders").at(0).at(0), HOSTILE_FOLDER);
    EXPECT_EQ(library.at("parts").at(0).at(0), HOSTILE_PART);
    EXPECT_EQ(library.at("definitions").at(0).at("name"), "D<1>");
}

TEST_F(CatalogueTest, UnknownLibraryIsRefusedBeforeAnythingIsWritten) {
    CatalogueOptions options;
    options.libraries = {"Demo", "Nonesuch"};
    std::ostringstream out;
    try {
        writeCatalogue(db->path, out, options);
        ADD_FAILURE() << "no failure";
    } catch (Exception *e) {
        std::unique_ptr<Exception> failure(e);
        EXPECT_EQ(failure->getMessage(), "No library named \"Nonesuch\" in the database");
    }
    EXPECT_EQ(out.str(), "");
}

// ---- partlib catalogue, the program ------------------------------------------

class CatalogueCommandTest : public ::testing::Test {
protected:
    CatalogueCommandTest()
        : db("SQLite", manyParts()), file(db.init.substr(db.init.find('=', db.init.find("Data Source")) + 1)) {
        folder = txdbtest::tempFile("-catalogue");
        std::filesystem::create_directory(folder);
        target = folder + "/parts.html";
    }
    ~CatalogueCommandTest() override { std::filesystem::remove_all(folder); }
    static SampleOptions manyParts() {
        SampleOptions options;
        options.parts = 3000;
        return options;
    }

    txdbtest::SampleDatabase db;
    std::string file, folder, target;
};

TEST_F(CatalogueCommandTest, WritesThePageToAFileOrStandardOutput) {
    ProgramRun toFile = runPartlib({"catalogue", file, "Demo", "-o", target, "--title", "Demo parts"});
    EXPECT_EQ(toFile.status, 0) << toFile.errors;
    EXPECT_EQ(toFile.output + toFile.errors, "");
    const std::string page = readFile(target);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<title>Demo parts</title>"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 8), "</html>\n");
    EXPECT_EQ(Json::parse(dataText(page)).at("libraries").at(0).at("parts").size(),
              static_cast<size_t>(db.counts.parts));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file left";

    ProgramRun toOutput = runPartlib({"catalogue", file});
    EXPECT_EQ(toOutput.status, 0) << toOutput.errors;
    EXPECT_NE(toOutput.output.find("<title>Part catalogue of " + std::filesystem::path(file).filename().string()),
              std::string::npos);
    // Nothing is loaded from outside the file.
    EXPECT_EQ(toOutput.output.find("src=\"http"), std::string::npos);
    EXPECT_NE(toOutput.output.find("default-src 'none'"), std::string::npos);
}

TEST_F(CatalogueCommandTest, CarelessUseEndsWithAMessageAndLeavesFilesAsTheyWere) {
    std::ofstream(target) << "previous content\n";
    ProgramRun unknown = runPartlib({"catalogue", file, "Nonesuch", "-o", target});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.errors, "No library named \"Nonesuch\" in the database\n");
    EXPECT_EQ(readFile(target), "previous content\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file left";

    ProgramRun missing = runPartlib({"catalogue", folder + "/none.db", "-o", target});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors, "No such database file: " + folder + "/none.db\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/none.db"));

    ProgramRun itself = runPartlib({"catalogue", file, "-o", file});
    EXPECT_EQ(itself.status, 1);
    EXPECT_EQ(itself.errors, "Refusing to write " + file + ": it is the database being read\n");

    ProgramRun noName = runPartlib({"catalogue", file, "-o", ""});
    EXPECT_EQ(noName.status, 1);
    EXPECT_EQ(noName.errors, "-o needs a file name (- for standard output)\n");

    std::filesystem::permissions(target, std::filesystem::perms::owner_read);
    ProgramRun readOnly = runPartlib({"catalogue", file, "-o", target});
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_EQ(readOnly.errors, "Refusing to replace " + target + ": it is write-protected\n");

    ProgramRun full = runPartlib({"catalogue", file, "-o", "/dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.errors, "Cannot write /dev/full: No space left on device\n");

    // A closed pipe ends the command quietly.
    ProgramRun closedPipe = txdbtest::runShell("((" + txdbtest::partlibCommand({"catalogue", file}) +
                                               "; echo \" status $?\" >&2) | head -c 10)");
    EXPECT_EQ(closedPipe.output, "<!DOCTYPE ");
    EXPECT_EQ(closedPipe.errors, " status 1\n");
}

TEST_F(CatalogueCommandTest, CtrlCLeavesTheFileAsItWasAndNoTemporaryFile) {
    std::ofstream(target) << "previous content\n";
    const pid_t child = txdbtest::startPartlib({"catalogue", file, "-o", target});
    ASSERT_GT(child, 0);
    // The signal comes once the temporary file is there.
    for (int wait = 0; wait < 20000 && std::distance(std::filesystem::directory_iterator(folder), {}) < 2; ++wait)
        ::usleep(500);
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file left";
    const std::string left = readFile(target);
    // Unless the signal came after the page was complete, the file is as it was.
    if (left != "previous content\n") {
        EXPECT_EQ(left.substr(left.size() - 8), "</html>\n");
    }
}

} // namespace
