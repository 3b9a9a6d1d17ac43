#include "script/Lexer.h"

#include "script/Builtins.h"
#include "script/NumberText.h"
#include "script/ScriptError.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace script {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool isOctDigit(char c) { return c >= '0' && c <= '7'; }

struct Keyword
{
    std::string_view name;
    TokenKind kind;
};

constexpr std::array keywords{
    Keyword{"Mod", TokenKind::Mod},     Keyword{"Not", TokenKind::Not},     Keyword{"And", TokenKind::And},
    Keyword{"Or", TokenKind::Or},       Keyword{"Xor", TokenKind::Xor},     Keyword{"Eqv", TokenKind::Eqv},
    Keyword{"Imp", TokenKind::Imp},     Keyword{"True", TokenKind::True},   Keyword{"False", TokenKind::False},
    Keyword{"Empty", TokenKind::Empty}, Keyword{"Null", TokenKind::Null},
};

} // namespace

bool isValidUtf8(std::string_view text) noexcept
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0)
            return false;
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        std::uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF)
            len = 2, cp = c & 0x1Fu;
        else if (c >= 0xE0 && c <= 0xEF)
            len = 3, cp = c & 0x0Fu;
        else if (c >= 0xF0 && c <= 0xF4)
            len = 4, cp = c & 0x07u;
        else
            return false;
        if (i + len > n)
            return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3Fu);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

Value Lexer::decimalLiteral(std::string_view text)
{
    const bool whole = std::all_of(text.begin(), text.end(), isDigit);
    if (whole && text.size() <= 18) {
        std::int64_t n = 0;
        std::from_chars(text.data(), text.data() + text.size(), n);
        if (n <= 32767)
            return Value::integer(static_cast<std::int16_t>(n));
        if (n <= 2147483647)
            return Value::longValue(static_cast<std::int32_t>(n));
    }
    double d = 0;
    if (parseDecimal(text, d) == DecimalStatus::Overflow)
        throw ScriptError(errc::Overflow);
    return Value::number(d);
}

bool Lexer::isKeyword(std::string_view name)
{
    return std::any_of(keywords.begin(), keywords.end(), [name](const Keyword &k) { return sameName(k.name, name); });
}

Token Lexer::next()
{
    // Blanks and comments ('' to the end of the line) separate tokens.
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == ' ' || c == '\t') {
            ++pos_;
        } else if (c == '\'') {
            while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r')
                ++pos_;
        } else {
            break;
        }
    }
    const std::size_t start = pos_;
    auto simple = [&](TokenKind kind, std::size_t length) {
        pos_ += length;
        return Token{kind, start, text_.substr(start, length), {}};
    };
    if (pos_ >= text_.size())
        return Token{TokenKind::End, start, {}, {}};
    const char c = text_[pos_];
    const char d = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    switch (c) {
    case '\r':
        return simple(TokenKind::Newline, d == '\n' ? 2 : 1);
    case '\n':
        return simple(TokenKind::Newline, 1);
    case ':':
        return simple(TokenKind::Colon, 1);
    case ',':
        return simple(TokenKind::Comma, 1);
    case '(':
        return simple(TokenKind::LParen, 1);
    case ')':
        return simple(TokenKind::RParen, 1);
    case '+':
        return simple(TokenKind::Plus, 1);
    case '-':
        return simple(TokenKind::Minus, 1);
    case '*':
        return simple(TokenKind::Star, 1);
    case '/':
        return simple(TokenKind::Slash, 1);
    case '\\':
        return simple(TokenKind::Backslash, 1);
    case '^':
        return simple(TokenKind::Caret, 1);
    case '=':
        return simple(TokenKind::Equal, 1);
    case '<':
        if (d == '>')
            return simple(TokenKind::NotEqual, 2);
        if (d == '=')
            return simple(TokenKind::LessEqual, 2);
        return simple(TokenKind::Less, 1);
    case '>':
        if (d == '=')
            return simple(TokenKind::GreaterEqual, 2);
        return simple(TokenKind::Greater, 1);
    case '&': {
        const char e = pos_ + 2 < text_.size() ? text_[pos_ + 2] : '\0';
        if ((d == 'H' || d == 'h') && isHexDigit(e))
            return radixLiteral(start, 16);
        if ((d == 'O' || d == 'o') && isOctDigit(e))
            return radixLiteral(start, 8);
        if (isOctDigit(d))
            return radixLiteral(start, 8);
        return simple(TokenKind::Ampersand, 1);
    }
    case '"':
        return string(start);
    default:
        break;
    }
    if (isDigit(c) || (c == '.' && isDigit(d)))
        return number(start);
    if (isLetter(c))
        return word(start);
    throw ScriptError(errc::InvalidCharacter, {}, start);
}

Token Lexer::number(std::size_t start)
{
    bool badExponent = false;
    const std::size_t length = scanDecimal(text_.substr(start), badExponent);
    if (badExponent)
        throw ScriptError(errc::InvalidNumber, {}, start);
    pos_ = start + length;
    const std::string_view text = text_.substr(start, length);
    return Token{TokenKind::Number, start, text, decimalLiteral(text)};
}

// &H and &O literals: up to 16 bits they are Integer, up to 32 bits Long, in two's
// complement (&HFFFF is -1, &H10000 is 65536).
Token Lexer::radixLiteral(std::size_t start, int base)
{
    std::size_t p = start + 1;
    if (text_[p] == 'H' || text_[p] == 'h' || text_[p] == 'O' || text_[p] == 'o')
        ++p;
    const std::size_t digitsStart = p;
    while (p < text_.size() && (base == 16 ? isHexDigit(text_[p]) : isOctDigit(text_[p])))
        ++p;
    std::uint64_t bits = 0;
    const auto res = std::from_chars(text_.data() + digitsStart, text_.data() + p, bits, base);
    if (res.ec != std::errc() || bits > 0xFFFFFFFFu)
        throw ScriptError(errc::Overflow, {}, start);
    pos_ = p;
    Token t{TokenKind::Number, start, text_.substr(start, p - start), {}};
    if (bits <= 0xFFFFu)
        t.literal = Value::integer(static_cast<std::int16_t>(static_cast<std::uint16_t>(bits)));
    else
        t.literal = Value::longValue(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)));
    return t;
}

Token Lexer::string(std::size_t start)
{
    std::string value;
    std::size_t p = start + 1;
    for (;;) {
        const std::size_t quote = text_.find('"', p);
        const std::size_t lineEnd = text_.find_first_of("\r\n", p);
        if (quote == std::string_view::npos || (lineEnd != std::string_view::npos && lineEnd < quote))
            throw ScriptError(errc::UnterminatedString, {}, start);
        value.append(text_.substr(p, quote - p));
        if (quote + 1 < text_.size() && text_[quote + 1] == '"') { // "" stands for one quote
            value.push_back('"');
            p = quote + 2;
            continue;
        }
        p = quote + 1;
        break;
    }
    if (!isValidUtf8(value))
        throw ScriptError(errc::InvalidCharacter, {}, start);
    pos_ = p;
    return Token{TokenKind::String, start, text_.substr(start, p - start), Value::string(std::move(value))};
}

Token Lexer::word(std::size_t start)
{
    std::size_t p = start + 1;
    while (p < text_.size() && (isLetter(text_[p]) || isDigit(text_[p]) || text_[p] == '_'))
        ++p;
    if (p - start > kMaxNameLength)
        throw ScriptError(errc::IdentifierTooLong, {}, start);
    pos_ = p;
    const std::string_view name = text_.substr(start, p - start);
    for (const Keyword &k : keywords)
        if (sameName(k.name, name))
            return Token{k.kind, start, name, {}};
    return Token{TokenKind::Name, start, name, {}};
}

} // namespace script
