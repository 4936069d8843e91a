#pragma once

// The JSON writer of the library export: written as it goes, so that a
// library of any size needs no document in memory.

#include "tools/hostmodel/RecordFields.h"

#include <algorithm>
#include <cstring>
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
    explicit JsonWriter(std::ostream &out) : out(out), buffer(FLUSH_SIZE + 4096, '\0') {}

    // Named in failures of the texts written from now on.
    // What a failure names as the text's place, asked for only then.
    void setContext(std::function<std::string()> where) { context = std::move(where); }

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(std::string_view name) {
        element();
        char *at = room(name.size() + 4);
        *at++ = '"';
        std::memcpy(at, name.data(), name.size());
        at += name.size();
        *at++ = '"';
        *at++ = ':';
        *at++ = ' ';
        used = static_cast<size_t>(at - buffer.data());
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
        append(flag ? std::string_view("true") : std::string_view("false"));
    }
    void null() {
        element();
        append("null");
    }
    template <class V> void field(std::string_view name, const V &v) {
        key(name);
        value(v);
    }
    void field(std::string_view name, int number) { field(name, static_cast<long>(number)); }
    void field(std::string_view name, const std::string &text) { field(name, std::string_view(text)); }

    void finish() {
        append("\n");
        flush();
    }

private:
    static constexpr size_t FLUSH_SIZE = 1 << 16;

    // The first of `bytes` free bytes at the end of what is written; the
    // caller sets `used` past what it wrote.
    char *room(size_t bytes) {
        if (buffer.size() - used < bytes)
            buffer.resize(std::max(2 * buffer.size(), used + bytes));
        return buffer.data() + used;
    }
    void append(std::string_view text) {
        std::memcpy(room(text.size()), text.data(), text.size());
        used += text.size();
    }
    void element();
    void open(char bracket);
    void close(char bracket);
    void newline(bool comma);
    void flush();
    void quote(std::string_view text);

    std::ostream &out;
    std::string buffer; // written up to `used`
    size_t used = 0;
    std::vector<char> levels; // per open container: has it elements yet
    bool afterKey = false;
    std::function<std::string()> context;
};

} // namespace partlib
