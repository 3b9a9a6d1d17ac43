#pragma once

#include "script/Value.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace script {

enum class TokenKind : std::uint8_t {
    End, Newline, Colon, Comma, LParen, RParen,
    Number,   // numeric literal; the value in Token::literal
    String,   // text literal; the value in Token::literal
    Constant, // True, False, Empty, Null; the value in Token::literal
    Name,
    Operator, // a spelling of the operator table, symbol or word
};

struct Token
{
    TokenKind kind = TokenKind::End;
    std::size_t position = 0;
    std::string_view text; // the token's source text (names keep their spelling)
    Value literal;          // Number, String and Constant tokens
    int prefix = -1;        // Operator tokens: the table's prefix and infix operators so spelled, or -1
    int infix = -1;
};

/// Splits program text into tokens, in time proportional to its length. Rejects NUL and
/// control characters, bytes outside ASCII except inside string literals (which must be
/// valid UTF-8), unterminated strings, malformed numbers and over-long names with the
/// language's syntax error numbers.
class Lexer
{
public:
    static constexpr std::size_t kMaxNameLength = 255;

    explicit Lexer(std::string_view text) : text_(text) {}

    /// The next token; at the end of the text, End forever.
    Token next();

    /// Converts a decimal literal's text ("12", "1E-05") to its value: Integer or Long
    /// when it is a whole number that fits, else Double; error 6 beyond the double range.
    static Value decimalLiteral(std::string_view text);

    /// True for the language's reserved words (Mod, Not, ..., True, Null), in any case.
    static bool isKeyword(std::string_view name);

private:
    Token number(std::size_t start);
    Token radixLiteral(std::size_t start, int base);
    Token string(std::size_t start);
    Token word(std::size_t start);

    std::string_view text_;
    std::size_t pos_ = 0;
};

/// True when text is well-formed UTF-8 without NUL.
bool isValidUtf8(std::string_view text) noexcept;

} // namespace script
