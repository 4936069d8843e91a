#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One token of an SQL text. `begin`/`end` are byte offsets into the text;
// for identifiers `name` is the identifier with its quotes removed.
struct SqlToken {
    enum Kind { WORD, QUOTED, STRING, NUMBER, SYMBOL };
    Kind kind = SYMBOL;
    size_t begin = 0;
    size_t end = 0;
    std::string name;

    bool isIdentifier() const { return kind == WORD || kind == QUOTED; }
    // A bare word, compared without regard to case.
    bool is(const char *word) const;
    bool isSymbol(char symbol) const { return kind == SYMBOL && name.size() == 1 && name[0] == symbol; }
};

// Splits SQL text into tokens, skipping blanks and comments. Identifiers
// may be quoted with "", `` or []; a doubled closing quote stands for
// itself. '...' is a literal.
class SqlTokenizer {
public:
    static std::vector<SqlToken> tokenize(const std::string &sql);
    // The identifier quoted with the engine's characters.
    static std::string quote(const std::string &name, char open, char close);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
