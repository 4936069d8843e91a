// The streaming JSON writer against nlohmann-json's two-space dump: texts
// with every kind of byte that needs care at every place of a text (the
// writer copies plain bytes eight at a time), and nested containers.

#include "tools/partlib/JsonWriter.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

using Json = nlohmann::ordered_json;

namespace {

std::string written(const std::vector<std::string> &texts) {
    std::ostringstream out;
    partlib::JsonWriter json(out);
    json.beginArray();
    for (const std::string &text : texts)
        json.value(std::string_view(text));
    json.endArray();
    json.finish();
    return out.str();
}

std::string dumped(const std::vector<std::string> &texts) {
    Json array = Json::array();
    for (const std::string &text : texts)
        array.push_back(text);
    return array.dump(2) + "\n";
}

} // namespace

TEST(JsonWriterTest, EveryByteThatNeedsCareIsWrittenAsADumpWritesItWhereverItStands) {
    // Every control byte (the short escapes and \u00XX alike), the two
    // that are escaped otherwise, DEL, and characters of two to four bytes.
    std::vector<std::string> awkward = {
        "\"", "\\", "\x7f", "\xC3\xA9" /*é*/, "\xE4\xB8\xAD" /*中*/, "\xF0\x9F\x98\x80" /*😀*/};
    for (int byte = 0; byte < 0x20; ++byte)
        awkward.push_back(std::string(1, static_cast<char>(byte)));
    std::vector<std::string> texts;
    for (size_t length = 0; length <= 20; ++length)
        for (size_t at = 0; at <= length; ++at)
            for (const std::string &bytes : awkward)
                texts.push_back(std::string(at, 'a') + bytes + std::string(length - at, 'b'));
    texts.push_back(std::string(1000, 'x'));
    texts.push_back("");
    // Escapes that grow one text far past the writer's buffer.
    texts.push_back(std::string(100000, '\x01'));
    for (int i = 0; i < 20000; ++i)
        texts.back() += "a\n\"";
    EXPECT_EQ(written(texts), dumped(texts));
}

TEST(JsonWriterTest, TextThatIsNotUtf8IsRefusedWhereverItsBadByteStands) {
    for (const std::string bad : {"\xE9", "\xC3", "\xE4\xB8", "\xFF", "\xC0\xAF"})
        for (size_t at = 0; at <= 17; ++at) {
            const std::string text = std::string(at, 'a') + bad + std::string(17 - at, 'b');
            const std::string message = txdbtest::thrownMessage([&] { written({text}); });
            EXPECT_NE(message.find("is not valid UTF-8"), std::string::npos) << at << ": " << message;
        }
}

TEST(JsonWriterTest, NestedContainersNumbersAndLongOutputLikeADump) {
    std::ostringstream out;
    partlib::JsonWriter json(out);
    Json expected = Json::object();
    json.beginObject();
    json.field("format", 1);
    json.field("empty", std::string_view(""));
    json.key("none");
    json.null();
    json.key("rows");
    json.beginArray();
    Json rows = Json::array();
    // Far more than the writer holds before it writes out.
    for (int i = 0; i < 5000; ++i) {
        json.beginObject();
        json.field("n", -i * 7919L);
        json.field("flag", i % 2 == 0);
        json.key("list");
        json.beginArray();
        Json list = Json::array();
        for (int k = 0; k < i % 3; ++k) {
            json.value(std::string_view("v"));
            list.push_back("v");
        }
        json.endArray();
        json.key("deep");
        json.beginObject();
        json.endObject();
        json.endObject();
        rows.push_back({{"n", -i * 7919L}, {"flag", i % 2 == 0}, {"list", list}, {"deep", Json::object()}});
    }
    json.endArray();
    json.endObject();
    json.finish();
    expected["format"] = 1;
    expected["empty"] = "";
    expected["none"] = nullptr;
    expected["rows"] = rows;
    EXPECT_EQ(out.str(), expected.dump(2) + "\n");
}
