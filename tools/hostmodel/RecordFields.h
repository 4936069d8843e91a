#pragma once

// Reading the fields of the plug-in's record objects into plain values: the
// getter forms of the record interfaces, each read into a buffer of the
// field's width W, with NULL kept apart as an empty optional.

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "interface/Path.h"

#include <cstddef>
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

template <size_t W> using WholeText = char[COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::textBytes(W)];

// The buffers below are left as they are but for an empty text: a getter
// writes its text with the terminator, and clearing up to a kilobyte for
// every field of every row is a good part of an export's time.

template <size_t W, class R> std::string text(R &record, void (R::*get)(TCHAR *, size_t, bool)) {
    WholeText<W> buffer;
    buffer[0] = '\0';
    (record.*get)(buffer, sizeof buffer, false);
    return fromBuffer(buffer, sizeof buffer);
}
template <size_t W, class R> std::string text(R &record, void (R::*get)(TCHAR *, size_t)) {
    WholeText<W> buffer;
    buffer[0] = '\0';
    (record.*get)(buffer, sizeof buffer);
    return fromBuffer(buffer, sizeof buffer);
}
template <size_t W, class R> Text nullableText(R &record, void (R::*get)(bool &, TCHAR *, size_t)) {
    WholeText<W> buffer;
    buffer[0] = '\0';
    bool isNull = false;
    (record.*get)(isNull, buffer, sizeof buffer);
    if (isNull)
        return std::nullopt;
    return fromBuffer(buffer, sizeof buffer);
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
