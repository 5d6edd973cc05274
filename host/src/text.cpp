#include "host/text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vxhost {

namespace {

constexpr char32_t replacement = 0xFFFD;

void append_utf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void append_utf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Decodes one UTF-8 sequence at text[i], advancing i past it.
char32_t decode_utf8(const std::string& text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4)
        return replacement;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return replacement;
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        return replacement;
    return c;
}

char16_t fold(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

}  // namespace

std::string to_utf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = replacement;
        }
        append_utf8(out, c);
    }
    return out;
}

std::u16string to_utf16(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        append_utf16(out, decode_utf8(text, i));
    return out;
}

std::u16string wide_text(const char16_t* text, std::size_t limit)
{
    std::size_t n = 0;
    while (n < limit && text[n] != 0)
        ++n;
    return std::u16string(text, n);
}

bool equal_nocase(const std::u16string& a, const std::u16string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

bool equal_nocase(const std::string& a, const std::string& b)
{
    return equal_nocase(to_utf16(a), to_utf16(b));
}

std::u16string fold_case(std::u16string text)
{
    for (char16_t& c : text)
        c = fold(c);
    return text;
}

bool wildcard_match_nocase(const std::u16string& pattern, const std::u16string& text)
{
    // Greedy with one back-track point: the last `*` seen is re-tried one
    // unit further on each mismatch. Linear in practice, never recursive.
    std::size_t p = 0, t = 0, star = std::u16string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && (pattern[p] == u'?' || fold(pattern[p]) == fold(text[t]))) {
            ++p;
            ++t;
        } else if (star != std::u16string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

std::string upper_ascii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string clock_text(long long milliseconds)
{
    const long long seconds = milliseconds / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

}  // namespace vxhost
