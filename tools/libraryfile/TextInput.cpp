#include "tools/libraryfile/TextInput.h"

#include <algorithm>
#include <cstring>

namespace libraryfile {

size_t TextInMemory::read(char *buffer, size_t size) {
    const size_t count = std::min(size, text.size());
    std::memcpy(buffer, text.data(), count);
    text.remove_prefix(count);
    return count;
}

TextInput::TextInput(TextSource &source, bool unindented, size_t pieceBytes)
    : source(source), unindented(unindented), buffer(pieceBytes) {}

bool TextInput::refill() {
    for (const char *c = piece.data(), *last = piece.data() + piece.size(); c != last; ++c) {
        const char *newline = static_cast<const char *>(std::memchr(c, '\n', static_cast<size_t>(last - c)));
        if (!newline)
            break;
        ++linesBefore;
        previousLineStart = lineStart;
        lineStart = pieceStart + static_cast<size_t>(newline - piece.data()) + 1;
        c = newline;
    }
    if (keeping)
        keptBefore.append(piece.substr(keptStart > pieceStart ? keptStart - pieceStart : 0));
    pieceStart += piece.size();
    at = 0;
    do {
        piece = std::string_view(buffer.data(), source.read(buffer.data(), buffer.size()));
        if (piece.empty())
            return false;
        if (unindented)
            unindent(); // may leave nothing of the piece
    } while (piece.empty());
    return true;
}

void TextInput::unindent() {
    char *out = buffer.data();
    const char *in = piece.data(), *last = piece.data() + piece.size();
    while (in != last) {
        if (lineBegins) {
            while (in != last && *in == ' ')
                ++in;
            if (in == last)
                break;
            lineBegins = false;
        }
        const char *newline = static_cast<const char *>(std::memchr(in, '\n', static_cast<size_t>(last - in)));
        const char *end = newline ? newline + 1 : last;
        std::memmove(out, in, static_cast<size_t>(end - in));
        out += end - in;
        in = end;
        lineBegins = newline != nullptr;
    }
    piece = std::string_view(buffer.data(), static_cast<size_t>(out - buffer.data()));
}

void TextInput::keepFrom(size_t start) {
    keeping = true;
    keptStart = start;
    keptBefore.clear();
}

std::string TextInput::kept() const {
    const size_t from = keptStart > pieceStart ? keptStart - pieceStart : 0;
    return keptBefore + std::string(piece.substr(from, at - from));
}

void TextInput::stopKeeping() {
    keeping = false;
    keptBefore.clear();
}

std::string TextInput::lineAndColumn(size_t end) const {
    end = std::clamp(end, pieceStart == 0 ? 0 : pieceStart - 1, pieceStart + at);
    size_t lines = linesBefore, start = lineStart;
    if (end < pieceStart) {
        // The piece before ended at `end` with a newline, which is not before it.
        if (lineStart == pieceStart) {
            --lines;
            start = previousLineStart;
        }
    } else {
        const std::string_view before = piece.substr(0, end - pieceStart);
        lines += static_cast<size_t>(std::count(before.begin(), before.end(), '\n'));
        const size_t newline = before.rfind('\n');
        if (newline != std::string_view::npos)
            start = pieceStart + newline + 1;
    }
    return "line " + std::to_string(lines + 1) + ", column " + std::to_string(end - start);
}

} // namespace libraryfile
