#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include "ctraxdbpartlib/TextUtil.h"

#include <cctype>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || (c & 0x80);
}

// The offset after a quoted run that starts at `i` and closes with `close`.
size_t skipQuoted(const std::string &sql, size_t i, char close, std::string &inner) {
    for (++i; i < sql.size(); ++i) {
        if (sql[i] == close) {
            if (i + 1 < sql.size() && sql[i + 1] == close) {
                inner += close;
                ++i;
                continue;
            }
            return i + 1;
        }
        inner += sql[i];
    }
    return sql.size();
}

} // namespace

bool SqlToken::is(const char *word) const {
    return kind == WORD && equalsNoCase(name, word);
}

std::vector<SqlToken> SqlTokenizer::tokenize(const std::string &sql) {
    std::vector<SqlToken> tokens;
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            size_t newline = sql.find('\n', i);
            i = newline == std::string::npos ? sql.size() : newline + 1;
            continue;
        }
        if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            size_t close = sql.find("*/", i + 2);
            i = close == std::string::npos ? sql.size() : close + 2;
            continue;
        }
        SqlToken token;
        token.begin = i;
        if (c == '"' || c == '`' || c == '[') {
            token.kind = SqlToken::QUOTED;
            i = skipQuoted(sql, i, c == '[' ? ']' : c, token.name);
        } else if (c == '\'') {
            token.kind = SqlToken::STRING;
            i = skipQuoted(sql, i, '\'', token.name);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            token.kind = SqlToken::NUMBER;
            while (i < sql.size() && (isWordChar(sql[i]) || sql[i] == '.'))
                ++i;
            token.name = sql.substr(token.begin, i - token.begin);
        } else if (isWordChar(c)) {
            token.kind = SqlToken::WORD;
            while (i < sql.size() && isWordChar(sql[i]))
                ++i;
            token.name = sql.substr(token.begin, i - token.begin);
        } else {
            token.kind = SqlToken::SYMBOL;
            token.name = std::string(1, c);
            ++i;
        }
        token.end = i;
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::string SqlTokenizer::quote(const std::string &name, char open, char close) {
    std::string quoted(1, open);
    for (char c : name) {
        quoted += c;
        if (c == close)
            quoted += close;
    }
    quoted += close;
    return quoted;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
