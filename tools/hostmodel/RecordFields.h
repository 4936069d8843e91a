#pragma once

// Reading the fields of the plug-in's record objects into plain values: the
// getter forms of the record interfaces, each read into a buffer of the
// field's width W, with NULL kept apart as an empty optional.

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "interface/Path.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

namespace hostmodel {

// A nullable text or integer column.
using Text = std::optional<std::string>;
using Number = std::optional<int>;

// The getter's buffer as a text. The widths W are the columns' full widths
// (characters and terminator, DBIMPL::bufferWidth of the column catalogue),
// and the buffers hold W - 1 characters of any bytes, so a text arrives
// whole, every byte of it kept as stored.
std::string fromBuffer(const char *buffer, size_t size);
// The same into a text kept from an earlier record, reusing its buffer.
inline void assignFromBuffer(std::string &out, const char *buffer, size_t size) {
    out.assign(buffer, strnlen(buffer, size - 1));
}

template <size_t W> using WholeText = char[COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::textBytes(W)];

// The buffers below are left as they are but for an empty text: a getter
// writes its text with the terminator, and clearing up to a kilobyte for
// every field of every row is a good part of an export's time.

// A field's text into a text kept from an earlier record: a loop over
// many records allocates no text anew.
template <size_t W, class R> void assignText(std::string &out, R &record, void (R::*get)(TCHAR *, size_t, bool)) {
    WholeText<W> buffer;
    buffer[0] = '\0';
    (record.*get)(buffer, sizeof buffer, false);
    assignFromBuffer(out, buffer, sizeof buffer);
}
template <size_t W, class R> void assignText(std::string &out, R &record, void (R::*get)(TCHAR *, size_t)) {
    WholeText<W> buffer;
    buffer[0] = '\0';
    (record.*get)(buffer, sizeof buffer);
    assignFromBuffer(out, buffer, sizeof buffer);
}
template <size_t W, class R> void assignNullableText(Text &out, R &record, void (R::*get)(bool &, TCHAR *, size_t)) {
    WholeText<W> buffer;
    buffer[0] = '\0';
    bool isNull = false;
    (record.*get)(isNull, buffer, sizeof buffer);
    if (isNull) {
        out.reset();
        return;
    }
    if (!out)
        out.emplace();
    assignFromBuffer(*out, buffer, sizeof buffer);
}

template <size_t W, class R, class Getter> std::string text(R &record, Getter get) {
    std::string out;
    assignText<W>(out, record, get);
    return out;
}
template <size_t W, class R> Text nullableText(R &record, void (R::*get)(bool &, TCHAR *, size_t)) {
    Text out;
    assignNullableText<W>(out, record, get);
    return out;
}
template <class R> Number nullableNumber(R &record, void (R::*get)(bool &, int &)) {
    int value = 0;
    bool isNull = false;
    (record.*get)(isNull, value);
    if (isNull)
        return std::nullopt;
    return value;
}
template <class R> int number(R &record, void (R::*get)(int &)) {
    int value = 0;
    (record.*get)(value);
    return value;
}
template <class R> bool flag(R &record, void (R::*get)(bool &)) {
    bool value = false;
    (record.*get)(value);
    return value;
}

} // namespace hostmodel
