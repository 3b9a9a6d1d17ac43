#include "script/Lexer.h"

#include "script/Chars.h"
#include "script/NumberText.h"
#include "script/Operators.h"
#include "script/ScriptError.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace script {

namespace {

struct ConstantWord
{
    std::string_view name;
    Value (*value)();
};

constexpr ConstantWord constantWords[]{
    {"True", [] { return Value::boolean(true); }},
    {"False", [] { return Value::boolean(false); }},
    {"Empty", [] { return Value(); }},
    {"Null", [] { return Value::null(); }},
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
        if (n <= INT32_MAX)
            return narrowestWhole(n);
    }
    double d = 0;
    if (parseDecimal(text, d) == DecimalStatus::Overflow)
        throw ScriptError(errc::Overflow);
    return Value::number(d);
}

bool Lexer::isKeyword(std::string_view name)
{
    int prefix, infix;
    if (!name.empty() && isLetter(name[0]) && matchOperator(name, prefix, infix))
        return true;
    return std::any_of(std::begin(constantWords), std::end(constantWords),
                       [name](const ConstantWord &w) { return sameName(w.name, name); });
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
    case '"':
        return string(start);
    case '&': {
        const char e = pos_ + 2 < text_.size() ? text_[pos_ + 2] : '\0';
        if ((d == 'H' || d == 'h') && isHexDigit(e))
            return radixLiteral(start, 16);
        if ((d == 'O' || d == 'o') && isOctalDigit(e))
            return radixLiteral(start, 8);
        if (isOctalDigit(d))
            return radixLiteral(start, 8);
        break;
    }
    default:
        break;
    }
    // Operator symbols, the longest spelling first ("<>" before "<").
    if (!isLetter(c) && !isDigit(c)) {
        int prefix, infix;
        for (std::size_t length = 2; length >= 1; --length) {
            if (pos_ + length <= text_.size() && matchOperator(text_.substr(pos_, length), prefix, infix)) {
                Token t = simple(TokenKind::Operator, length);
                t.prefix = prefix;
                t.infix = infix;
                return t;
            }
        }
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
// complement (&HFFFF is -1, &H10000 is 65536). With the suffix '&' the digits are read as
// 32 bits and the value takes the narrowest type that holds it (&HFFFF& is the Long 65535,
// &H10& the Integer 16, &HFFFFFFFF& the Integer -1).
Token Lexer::radixLiteral(std::size_t start, int base)
{
    std::size_t p = start + 1;
    if (text_[p] == 'H' || text_[p] == 'h' || text_[p] == 'O' || text_[p] == 'o')
        ++p;
    const std::size_t digitsStart = p;
    while (p < text_.size() && (base == 16 ? isHexDigit(text_[p]) : isOctalDigit(text_[p])))
        ++p;
    std::uint64_t bits = 0;
    const auto res = std::from_chars(text_.data() + digitsStart, text_.data() + p, bits, base);
    if (res.ec != std::errc() || bits > 0xFFFFFFFFu)
        throw ScriptError(errc::Overflow, {}, start);
    const bool longSuffix = p < text_.size() && text_[p] == '&';
    const std::size_t end = longSuffix ? p + 1 : p;
    pos_ = end;
    Token t{TokenKind::Number, start, text_.substr(start, end - start), {}};
    const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
    if (!longSuffix && bits <= 0xFFFFu)
        t.literal = Value::integer(static_cast<std::int16_t>(static_cast<std::uint16_t>(bits)));
    else if (longSuffix && value >= -32768 && value <= 32767)
        t.literal = Value::integer(static_cast<std::int16_t>(value));
    else
        t.literal = Value::longValue(value);
    return t;
}

// One pass over the literal: "" stands for one quote; a line end or the end of the text
// before the closing quote leaves it unterminated.
Token Lexer::string(std::size_t start)
{
    std::string value;
    std::size_t p = start + 1;
    for (;;) {
        const std::size_t run = p;
        while (p < text_.size() && text_[p] != '"' && text_[p] != '\r' && text_[p] != '\n')
            ++p;
        value.append(text_.substr(run, p - run));
        if (p >= text_.size() || text_[p] != '"')
            throw ScriptError(errc::UnterminatedString, {}, start);
        if (p + 1 < text_.size() && text_[p + 1] == '"') {
            value.push_back('"');
            p += 2;
            continue;
        }
        ++p;
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
    while (p < text_.size() && isNameChar(text_[p]))
        ++p;
    if (p - start > kMaxNameLength)
        throw ScriptError(errc::IdentifierTooLong, {}, start);
    pos_ = p;
    const std::string_view name = text_.substr(start, p - start);
    int prefix, infix;
    if (matchOperator(name, prefix, infix))
        return Token{TokenKind::Operator, start, name, {}, prefix, infix};
    for (const ConstantWord &w : constantWords)
        if (sameName(w.name, name))
            return Token{TokenKind::Constant, start, name, w.value()};
    return Token{TokenKind::Name, start, name, {}};
}

} // namespace script
