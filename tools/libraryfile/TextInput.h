#pragma once

// A document's text read piece by piece, as the JSON parser asks for it, so
// that a file of any size is never held whole. The characters go to the
// parser through an input adapter; the lines are counted as the pieces
// pass, so that a byte position near the parser's can still be told as
// "line L, column C".
//
//   libraryfile::TextInput input(source);
//   nlohmann::detail::parser<json, TextInput::Characters>(input.characters()).sax_parse(&handler);

#include <cstddef>
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
    // Whether the text can be read again from its start (a file can, a
    // pipe cannot), and the start of that.
    virtual bool rewindable() const { return false; }
    virtual void rewind() {}
};

// A text in memory as a source.
class TextInMemory : public TextSource {
public:
    explicit TextInMemory(std::string_view text) : whole(text), text(text) {}
    size_t read(char *buffer, size_t size) override;
    bool rewindable() const override { return true; }
    void rewind() override { text = whole; }

private:
    std::string_view whole, text; // the text, and what is left to read
};

class TextInput {
public:
    static constexpr size_t PIECE_BYTES = size_t(1) << 16;
    // `unindented`: the spaces that begin a line are left out, as a JSON
    // parser skips them anyway (a line break cannot stand inside a JSON
    // text); the lines and columns the parser counts are then not those of
    // the text.
    explicit TextInput(TextSource &source, bool unindented = false, size_t pieceBytes = PIECE_BYTES);

    // The characters one at a time, as the JSON parser's lexer takes them
    // from its input (nlohmann::json's input adapters); only one pass.
    class Characters {
    public:
        using char_type = char;
        explicit Characters(TextInput &input) : input(&input) {}
        // The next character, or the end of file once the text is read.
        std::char_traits<char>::int_type get_character() {
            if (input->at == input->piece.size() && !input->refill())
                return std::char_traits<char>::eof();
            return std::char_traits<char>::to_int_type(input->piece[input->at++]);
        }

    private:
        TextInput *input;
    };

    Characters characters() { return Characters(*this); }

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
    // Reads the next piece; false at the end of the text.
    bool refill();
    // Leaves out the spaces that begin a line from the piece just read.
    void unindent();

    TextSource &source;
    const bool unindented;
    // The piece read last ended with a line break. Not at the text's start:
    // spaces there may stand before a byte-order mark, which the parser
    // skips only as the text's first character.
    bool lineBegins = false;
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
