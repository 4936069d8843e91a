#pragma once

// The JSON writer of the library export: written as it goes, so that a
// library of any size needs no document in memory.

#include "tools/hostmodel/RecordFields.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace partlib {

// A streaming JSON writer whose layout is that of a two-space indented dump:
// one value per line, "key": value, empty containers as [] and {}. Texts
// must be UTF-8: one that is not fails, naming the context set last.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream &out) : out(out) { buffer.reserve(FLUSH_SIZE + 4096); }

    // Named in failures of the texts written from now on.
    // What a failure names as the text's place, asked for only then.
    void setContext(std::function<std::string()> where) { context = std::move(where); }

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(const char *name) {
        element();
        buffer += '"';
        buffer += name;
        buffer += "\": ";
        afterKey = true;
    }
    void value(std::string_view text) {
        element();
        quote(text);
    }
    void value(const hostmodel::Text &text) {
        if (text)
            value(std::string_view(*text));
        else
            null();
    }
    void value(long number);
    void value(const hostmodel::Number &number) {
        if (number)
            value(static_cast<long>(*number));
        else
            null();
    }
    void value(bool flag) {
        element();
        buffer += flag ? "true" : "false";
    }
    void null() {
        element();
        buffer += "null";
    }
    template <class V> void field(const char *name, const V &v) {
        key(name);
        value(v);
    }
    void field(const char *name, int number) { field(name, static_cast<long>(number)); }
    void field(const char *name, const std::string &text) { field(name, std::string_view(text)); }

    void finish() {
        buffer += '\n';
        flush();
    }

private:
    static constexpr size_t FLUSH_SIZE = 1 << 16;

    void element();
    void open(char bracket);
    void close(char bracket);
    void newline();
    void flush();
    void quote(std::string_view text);

    std::ostream &out;
    std::string buffer;
    std::vector<char> levels; // per open container: has it elements yet
    bool afterKey = false;
    std::function<std::string()> context;
};

} // namespace partlib
