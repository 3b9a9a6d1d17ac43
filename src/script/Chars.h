#pragma once

#include <string>
#include <string_view>

// ASCII character classes of the language's text. Names and keywords are ASCII only and
// compare without regard to case.
namespace script {

constexpr bool isLetter(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }
constexpr bool isHexDigit(char c) noexcept { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
constexpr bool isOctalDigit(char c) noexcept { return c >= '0' && c <= '7'; }
/// Letters, digits and '_' continue a name that starts with a letter.
constexpr bool isNameChar(char c) noexcept { return isLetter(c) || isDigit(c) || c == '_'; }
/// The blanks around a number in text: space, tab, CR, LF.
constexpr bool isBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
constexpr char toLower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

/// Case-insensitive comparison of ASCII names.
constexpr bool sameName(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (toLower(a[i]) != toLower(b[i]))
            return false;
    return true;
}

inline std::string lowerCase(std::string_view name)
{
    std::string s(name);
    for (char &c : s)
        c = toLower(c);
    return s;
}

} // namespace script
