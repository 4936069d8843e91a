// The library file read as it arrives: the same libraries and the same
// problems, in the same order and at the same places, whether the text
// comes whole or a byte at a time; the order of the problems of a library's
// own values and of its items, which are read apart; a repeated key; and a
// source that fails.

#include "tools/libraryfile/LibraryFile.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

namespace {

using json = nlohmann::json;
using libraryfile::readLibraryFile;

// Hands the text over one byte per read, so that every value and every
// look-ahead of the parser crosses a piece's end somewhere.
class ByteByByte : public libraryfile::TextSource {
public:
    explicit ByteByByte(std::string text) : text(std::move(text)) {}
    size_t read(char *buffer, size_t size) override {
        if (at == text.size() || size == 0)
            return 0;
        buffer[0] = text[at++];
        return 1;
    }

private:
    std::string text;
    size_t at = 0;
};

json library(const char *name) {
    return {{"name", name},
            {"enabled", true},
            {"comment", nullptr},
            {"folders", {{{"name", "Top"}, {"folders", json::array()}}}},
            {"partDefinitions",
             {{{"name", std::string(name) + "_DEF"},
               {"pcbComponentName", "X"},
               {"pcbAlternateName", nullptr},
               {"value", nullptr},
               {"componentNameStem", nullptr},
               {"pspiceData", nullptr},
               {"maxConnectorPins", 0},
               {"gateSwapping", false},
               {"pinNumName", false},
               {"isFPGA", false},
               {"pins",
                {{{"identifier", "1"},
                  {"name", "A"},
                  {"label", nullptr},
                  {"position", 1},
                  {"type", 1},
                  {"loading", nullptr},
                  {"signal", nullptr},
                  {"equivGroup", nullptr}}}},
               {"gates", {{{"name", "G"}, {"altName", nullptr}, {"pins", {"1"}}}}},
               {"gateSwaps", json::array()},
               {"pinEquivalences", json::array()},
               {"attributes", json::array()}}}},
            {"parts",
             {{{"name", std::string(name) + "1"},
               {"number", nullptr},
               {"description", "d"},
               {"pspiceData", nullptr},
               {"version", 1},
               {"acceptance", nullptr},
               {"type", 1},
               {"folder", {"Top"}},
               {"definition", std::string(name) + "_DEF"}}}}};
}

json document() {
    return {{"format", 1}, {"libraries", {library("A"), library("B")}}};
}

std::vector<std::string> places(const libraryfile::LibraryFile &file) {
    std::vector<std::string> shown;
    for (const libraryfile::Problem &problem : file.problems)
        shown.push_back(problem.place + ": " + problem.message);
    return shown;
}

TEST(StreamedRead, ByteByByteReadsWhatTheWholeTextReads) {
    json faulty = document();
    faulty["libraries"][1]["parts"][0]["version"] = 1.5;
    faulty["libraries"][0]["partDefinitions"][0]["gates"][0]["pins"][0] = "7";
    faulty["colour"] = "red";
    const std::string texts[] = {
        document().dump(2),
        document().dump(),
        faulty.dump(1),
        "{\n  \"format\": 1e400\n}",
        "{\"format\": 1,\n\"libraries\": [" + std::string(400, '9') + "\n]}",
        "{\"format\": 1,\n \"libraries\": [\n]\n",
        "{\"format\": 1, \"libraries\": [{\"name\": \"\xC3\"}]}",
        "   \xEF\xBB\xBF{\"format\": 1, \"libraries\": []}",
        "\xEF\xBB\xBF\n   {\"format\": 1, \"libraries\": []}",
    };
    for (const std::string &text : texts) {
        const libraryfile::LibraryFile whole = readLibraryFile(text);
        ByteByByte source(text);
        const libraryfile::LibraryFile streamed = readLibraryFile(source);
        EXPECT_EQ(places(streamed), places(whole)) << text;
        EXPECT_EQ(streamed.libraries, whole.libraries) << text;
    }
    EXPECT_EQ(readLibraryFile(texts[0]).libraries.size(), 2u);
    EXPECT_TRUE(readLibraryFile(texts[0]).problems.empty());
    // The place of a number that ends at a line's end, as in a file read at once.
    EXPECT_EQ(places(readLibraryFile(texts[3])).at(0), "line 2, column 17: number overflow parsing '1e400'");
    EXPECT_EQ(places(readLibraryFile(texts[4])).at(0).substr(0, 19), "line 2, column 414:");
}

TEST(StreamedRead, ProblemsComeInTheOrderOfTheDocument) {
    // Parts before definitions, the library's own values last, the
    // document's own keys after its libraries: still the document's own
    // problems first, then each library's own, its definitions', its parts'.
    json first = library("A");
    first["parts"][0]["type"] = "one";
    first["partDefinitions"][0]["isFPGA"] = 0;
    first["enabled"] = "yes";
    std::string text = "{\"libraries\": [{\"parts\": " + first["parts"].dump() +
                       ", \"partDefinitions\": " + first["partDefinitions"].dump() +
                       ", \"name\": \"A\", \"enabled\": \"yes\", \"comment\": null, \"folders\": []}, 5], "
                       "\"format\": 2}";
    EXPECT_EQ(places(readLibraryFile(text)),
              (std::vector<std::string>{
                  "format: must be 1, the only format version",
                  "libraries[0].enabled: must be true or false",
                  "libraries[0].partDefinitions[0].isFPGA: must be true or false",
                  "libraries[0].parts[0].type: must be a whole number from -2147483648 to 2147483647 or null",
                  "libraries[1]: must be an object",
              }));
}

TEST(StreamedRead, ARepeatedKeyReplacesTheListBeforeIt) {
    // As a JSON object keeps the last value of a key: the first lists are gone.
    json lib = library("A");
    std::string body = lib.dump();
    body.pop_back();
    body += ", \"parts\": [], \"partDefinitions\": " + library("B")["partDefinitions"].dump() + "}";
    const std::string text =
        "{\"format\": 1, \"libraries\": [" + library("C").dump() + "], \"libraries\": [" + body + "]}";
    const libraryfile::LibraryFile file = readLibraryFile(text);
    EXPECT_TRUE(file.problems.empty()) << libraryfile::summary(file.problems);
    ASSERT_EQ(file.libraries.size(), 1u);
    EXPECT_EQ(file.libraries[0].name, "A");
    ASSERT_EQ(file.libraries[0].definitions.size(), 1u);
    EXPECT_EQ(file.libraries[0].definitions[0].name, "B_DEF");
    EXPECT_TRUE(file.libraries[0].parts.empty());

    const std::string notAList = "{\"format\": 1, \"libraries\": [" + library("C").dump() + "], \"libraries\": 3}";
    EXPECT_EQ(places(readLibraryFile(notAList)), std::vector<std::string>{"libraries: must be a list"});
}

// A definition with every key, a pin in an equivalence group and a swap.
json fullDefinition() {
    return json::parse(R"({"name": "FULL", "pcbComponentName": "SO8", "pcbAlternateName": "SO8W", "value": "v",
        "componentNameStem": "U", "pspiceData": "p", "maxConnectorPins": 8, "gateSwapping": true, "pinNumName": true,
        "isFPGA": false,
        "pins": [{"identifier": "1", "name": "A", "label": "l", "position": 1, "type": 2, "loading": 3,
                  "signal": "S", "equivGroup": 0},
                 {"identifier": "2", "name": null, "label": null, "position": null, "type": null, "loading": null,
                  "signal": null, "equivGroup": 0},
                 {"identifier": "Vcc"}],
        "gates": [{"name": "A", "altName": null, "pins": ["1", "2"]}, {"name": "B", "pins": []}, {"name": "C"}],
        "gateSwaps": [{"name": "S", "gates": [{"equivType": 3, "pins": ["1"]}, {"pins": ["2"]}, {}]}, {"name": "T"}],
        "pinEquivalences": [{"pins": ["1", "2"]}],
        "attributes": [{"name": "Maker", "value": "Acme", "usageType": 1, "readOnly": 1}, {"name": "Bare"}]})");
}

TEST(StreamedRead, TheDirectReadingGivesWhatTheTreesGive) {
    // Items built straight into the model, and items given back to the
    // tree reading for the problems they have or may have: each case read
    // both ways, whole and a byte at a time, with the same result.
    json base = document();
    base["libraries"][0]["partDefinitions"].push_back(fullDefinition());
    const std::string text = base.dump();
    const auto replaced = [&](const std::string &what, const std::string &with) {
        const size_t at = text.find(what);
        EXPECT_NE(at, std::string::npos) << what;
        std::string edited = text;
        return at == std::string::npos ? edited : edited.replace(at, what.size(), with);
    };
    std::string wide; // 200 characters in 400 bytes
    for (int i = 0; i < 200; ++i)
        wide += "\xC3\xA9";
    struct Case {
        std::string text;
        bool sound; // read without problems
    };
    const Case cases[] = {
        {text, true},
        {base.dump(1), true},
        {replaced("\"pcbComponentName\":\"SO8\"", "\"pcb\\u0043omponentName\":\"S\\u004F8\""), true},
        {replaced("{\"identifier\":\"Vcc\"}", "{\"identifier\":\"Vcc\",\"identifier\":\"Vdd\"}"), true},
        {replaced("\"name\":\"Maker\"", "\"name\":\"" + wide + "\""), true},
        {replaced("\"maxConnectorPins\":8", "\"maxConnectorPins\":-2147483648"), true},
        {replaced("\"name\":\"Bare\"", "\"name\":\"Ba\\n   re\""), true},
        {replaced("\"maxConnectorPins\":8", "\"maxConnectorPins\":8.0"), false},
        {replaced("\"maxConnectorPins\":8", "\"maxConnectorPins\":2147483648"), false},
        {replaced("\"maxConnectorPins\":8", "\"maxConnectorPins\":-2147483649"), false},
        {replaced("\"name\":\"Maker\"", "\"name\":\"Ma\\u0000ker\""), false},
        {replaced("\"name\":\"Maker\"", "\"name\":\"" + std::string(256, 'M') + "\""), false},
        {replaced("\"name\":\"Bare\"", "\"nome\":\"Bare\""), false},
        {replaced("\"name\":\"Bare\"", "\"name\":null"), false},
        {replaced("\"altName\":null", "\"altName\":{}"), false},
        {replaced("\"pins\":[\"1\",\"2\"]", "\"pins\":[[\"1\"],\"2\"]"), false},
        {replaced("\"pins\":[\"1\",\"2\"]", "\"pins\":[\"1\",null]"), false},
        {replaced("\"pins\":[\"1\",\"2\"]", "\"pins\":[\"1\",\"9\"]"), false},
        {replaced("{\"identifier\":\"Vcc\"}", "{\"identifier\":\"vcc\",\"name\":\"x\"},{\"identifier\":\"VCC\"}"),
         false},
        {replaced("\"equivGroup\":0", "\"equivGroup\":1"), false},
        {replaced("\"gateSwapping\":true", "\"gateSwapping\":1"), false},
        {replaced("\"folder\":[\"Top\"]", "\"folder\":[]"), false},
        {replaced("\"folder\":[\"Top\"]", "\"folder\":\"Top\""), false},
        {replaced("\"folder\":[\"Top\"]", "\"colour\":1,\"folder\":[\"Top\"]"), false},
        {replaced("\"parts\":[{", "\"parts\":[7,{"), false},
        {replaced("{\"attributes\":[{\"name\":\"Maker\"", "[],{\"attributes\":[{\"name\":\"Maker\""), false},
    };
    for (const Case &each : cases) {
        const libraryfile::LibraryFile direct = readLibraryFile(each.text);
        const libraryfile::LibraryFile trees = readLibraryFile(each.text, libraryfile::ItemReading::TREES);
        ByteByByte source(each.text);
        const libraryfile::LibraryFile slowly = readLibraryFile(source);
        EXPECT_EQ(direct.problems.empty(), each.sound) << each.text << "\n" << libraryfile::summary(direct.problems);
        EXPECT_EQ(places(direct), places(trees)) << each.text;
        EXPECT_EQ(places(slowly), places(trees)) << each.text;
        EXPECT_EQ(direct.libraries, trees.libraries) << each.text;
        EXPECT_EQ(slowly.libraries, trees.libraries) << each.text;
    }
    // The escaped key and text are read as what they stand for, and the
    // last of a repeated key counts.
    const libraryfile::LibraryFile escaped = readLibraryFile(cases[2].text);
    ASSERT_EQ(escaped.libraries.at(0).definitions.size(), 2u);
    EXPECT_EQ(escaped.libraries[0].definitions[1].pcbComponentName, "SO8");
    const libraryfile::LibraryFile repeated = readLibraryFile(cases[3].text);
    EXPECT_EQ(repeated.libraries.at(0).definitions.at(1).pins.at(2).identifier, "Vdd");
    // The spaces after an escaped line break are the text's own.
    const libraryfile::LibraryFile spaced = readLibraryFile(json::parse(cases[6].text).dump(2));
    EXPECT_EQ(spaced.libraries.at(0).definitions.at(1).attributes.at(1).name, "Ba\n   re");
}

TEST(StreamedRead, AFileThatChangesBetweenItsTwoReadingsIsRefused) {
    // A file is read without its indentation first, and where its syntax
    // fails, again as it stands: the second reading must fail as well.
    class Changing : public libraryfile::TextSource {
    public:
        size_t read(char *buffer, size_t size) override {
            const std::string &text = readings == 0 ? broken : sound;
            const size_t count = std::min(size, text.size() - at);
            text.copy(buffer, count, at);
            at += count;
            return count;
        }
        bool rewindable() const override { return true; }
        void rewind() override {
            ++readings;
            at = 0;
        }
        std::string broken = "{\"format\": 1, \"libraries\": [", sound = "{\"format\": 1, \"libraries\": []}";
        int readings = 0;
        size_t at = 0;
    } source;
    const libraryfile::LibraryFile file = readLibraryFile(source);
    EXPECT_EQ(source.readings, 1);
    EXPECT_EQ(places(file), std::vector<std::string>{"the document: changed while it was read; nothing of it is used"});
    EXPECT_TRUE(file.libraries.empty());
}

TEST(StreamedRead, AFailingSourceEndsTheReading) {
    class Failing : public libraryfile::TextSource {
    public:
        size_t read(char *buffer, size_t) override {
            if (calls++ == 0) {
                buffer[0] = '{';
                return 1;
            }
            throw std::runtime_error("interrupted");
        }
        int calls = 0;
    } source;
    EXPECT_THROW(readLibraryFile(source), std::runtime_error);
}

} // namespace
