#pragma once

// A document's text read piece by piece, as the JSON parser asks for it, so
// that a file of any size is never held whole. The characters go to the
// parser through an input iterator; the lines are counted as the pieces
// pass, so that a byte position near the parser's can still be told as
// "line L, column C".
//
//   libraryfile::TextInput input(source);
//   json::sax_parse(input.begin(), input.end(), &handler);

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace libraryfile {

// Where a document's text comes from.
class TextSource {
public:
    virtual ~TextSource() = default;
    // Fills up to `size` bytes of `buffer` and returns how many; 0 at the
    // end of the text. May throw to end the reading.
    virtual size_t read(char *buffer, size_t size) = 0;
};

// A text in memory as a source.
class TextInMemory : public TextSource {
public:
    explicit TextInMemory(std::string_view text) : text(text) {}
    size_t read(char *buffer, size_t size) override;

private:
    std::string_view text;
};

class TextInput {
public:
    explicit TextInput(TextSource &source, size_t pieceBytes = size_t(1) << 16);

    // Input iterators over the text; only one pass.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char *;
        using reference = const char &;

        Iterator() = default;
        explicit Iterator(TextInput *input) : input(input) {}
        reference operator*() const { return input->piece[input->at]; }
        Iterator &operator++() {
            ++input->at;
            return *this;
        }
        // Compares as the end once the text is read to its end.
        bool operator==(const Iterator &other) const { return atEnd() == other.atEnd(); }
        bool operator!=(const Iterator &other) const { return !(*this == other); }

    private:
        bool atEnd() const { return !input || !input->available(); }
        TextInput *input = nullptr;
    };

    Iterator begin() { return Iterator(this); }
    static Iterator end() { return Iterator(); }

    // "line L, column C" of the character before byte `end`, for a byte
    // at most one before the next one to read (the parser's look-ahead).
    std::string lineAndColumn(size_t end) const;

    // The byte position of the next character to read.
    size_t position() const { return pieceStart + at; }
    // Keeps the text from byte `start` on (a byte of the piece being read)
    // as the pieces pass, until stopKeeping: a part of the document that may
    // have to be parsed again on its own.
    void keepFrom(size_t start);
    // The text kept, up to the next character to read.
    std::string kept() const;
    void stopKeeping();

private:
    // Whether a character is left to read, reading the next piece if need be.
    bool available() { return at < piece.size() || refill(); }
    bool refill();

    TextSource &source;
    std::vector<char> buffer;
    std::string_view piece; // the piece being read
    size_t at = 0;          // the next character's place in it
    size_t pieceStart = 0;  // the piece's first byte in the text
    // The newlines before the piece, the start of the line the piece begins
    // in, and of the line before it (for a piece that follows a newline).
    size_t linesBefore = 0, lineStart = 0, previousLineStart = 0;
    // The text kept from earlier pieces, and where the keeping began.
    bool keeping = false;
    size_t keptStart = 0;
    std::string keptBefore;
};

} // namespace libraryfile
