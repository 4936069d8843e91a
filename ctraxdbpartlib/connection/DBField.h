#pragma once

// The fields of a record snapshot and the getter rules every record class
// follows. A record copies its row into DBText / DBValue fields when it is
// built; its getters answer through the functions below, so that the checks
// (null buffer, buffer too small) and the NULL conventions are written once.

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "interface/Path.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A text column of width N (its characters and the terminator), and its
// NULL state. The text is copied only when the column holds a value.
template <size_t N> struct DBText {
    // Only the text is ever read: the buffer behind it is left as it is.
    DBText() { text[0] = '\0'; }

    TextBuffer<N> text;
    bool null = false;

    void assign(const TextBuffer<N> &source, DBSTATUS status = DBSTATUS_S_OK) {
        null = status == DBSTATUS_S_ISNULL;
        if (!null) {
            // The text, not the whole buffer: most texts are far shorter.
            const size_t length = strnlen(source, sizeof text - 1);
            std::memcpy(text, source, length);
            text[length] = '\0';
        }
    }
    // For a column the query does not have: reported as NULL.
    void setNull() { null = true; }
    // Whether a buffer of the column holds the same value, as a rowset
    // compares them: the text byte for byte, NULL only with NULL.
    bool holds(const TextBuffer<N> &buffer, DBSTATUS status) const {
        if (status == DBSTATUS_S_ISNULL || null)
            return status == DBSTATUS_S_ISNULL && null;
        const size_t length = strnlen(buffer, sizeof buffer);
        return length == strnlen(text, sizeof text) && std::memcmp(text, buffer, length) == 0;
    }
};

// An integer column and its NULL state.
template <class T> struct DBValue {
    T value{};
    bool null = false;

    void assign(T source, DBSTATUS status = DBSTATUS_S_OK) {
        null = status == DBSTATUS_S_ISNULL;
        value = null ? T{} : source;
    }
    void setNull() {
        null = true;
        value = T{};
    }
    bool holds(T source, DBSTATUS status) const {
        return status == DBSTATUS_S_ISNULL ? null : !null && value == source;
    }
};

// What a nullable integer getter leaves in the caller's integer for NULL.
enum class OnNull { KeepValue, Zero, MinusOne };

namespace getter {

// Refuses a null buffer (32964) and a buffer below `width` (32963).
void checkBuffer(const TCHAR *buffer, size_t size, size_t width);

// Copies `text` with its terminator into a checked buffer. A text longer
// than the buffer is cut to the buffer, never overrun, and before a whole
// UTF-8 character, never inside one; a buffer of textBytes(width) holds
// every text of the column whole.
void copyInto(const char *text, TCHAR *buffer, size_t size);

// checkBuffer, then copyInto.
inline void copyText(const char *text, size_t width, TCHAR *buffer, size_t size) {
    checkBuffer(buffer, size, width);
    copyInto(text, buffer, size);
}

// Plain text getter.
template <size_t N> void text(const DBText<N> &field, TCHAR *buffer, size_t size, size_t width = N) {
    copyText(field.text, width, buffer, size);
}

// Nullable text, buffer checked first: a NULL leaves the buffer untouched.
template <size_t N>
void textBufferFirst(const DBText<N> &field, bool &isNull, TCHAR *buffer, size_t size, size_t width = N) {
    checkBuffer(buffer, size, width);
    isNull = field.null;
    if (!field.null)
        copyInto(field.text, buffer, size);
}

// Nullable text, NULL tested first: a NULL returns before the buffer is looked at.
template <size_t N>
void textNullFirst(const DBText<N> &field, bool &isNull, TCHAR *buffer, size_t size, size_t width = N) {
    if (field.null) {
        isNull = true;
        return;
    }
    copyText(field.text, width, buffer, size);
    isNull = false;
}

// Nullable integer.
template <class T> void value(const DBValue<T> &field, bool &isNull, int &out, OnNull onNull) {
    isNull = field.null;
    if (!field.null)
        out = field.value;
    else if (onNull == OnNull::Zero)
        out = 0;
    else if (onNull == OnNull::MinusOne)
        out = -1;
}

// Flag: nonzero is true.
inline void flag(int32_t field, bool &out) {
    out = field != 0;
}

} // namespace getter
} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
