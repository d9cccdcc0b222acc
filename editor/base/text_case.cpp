#include "editor/base/text_case.h"

#include "editor/base/utf8.h"

namespace tarnwick {

namespace {

// Latin Extended-A pairs upper/lower as even/odd, except in two stretches
// where the pairs start on the odd code point, and a few letters without a
// simple partner.
bool IsLatinExtAUpper(char32_t c)
{
    if (c < 0x100 || c > 0x17F || c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F)
        return false;
    bool oddStart = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return oddStart ? (c % 2 == 1) : (c % 2 == 0 && c != 0x178);
}

bool IsLatinExtALower(char32_t c)
{
    if (c < 0x100 || c > 0x17F || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
        return false;
    bool oddStart = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return oddStart ? (c % 2 == 0) : (c % 2 == 1);
}

template <char32_t (*Map)(char32_t)>
std::string MapUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(Map(b)));
            ++i;
        } else {
            utf8::Append(out, Map(NextCodePoint(text, i)));
        }
    }
    return out;
}

} // namespace

char32_t LowerCodePoint(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 32;
    if (IsLatinExtAUpper(c))
        return c + 1;
    if (c == 0x178)
        return 0xFF;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2))
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

char32_t UpperCodePoint(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    if (IsLatinExtALower(c))
        return c - 1;
    if ((c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2))
        return c - 32;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

std::string LowerCaseUtf8(std::string_view text) { return MapUtf8<LowerCodePoint>(text); }

std::string UpperCaseUtf8(std::string_view text) { return MapUtf8<UpperCodePoint>(text); }

char32_t NextMultiByteCodePoint(std::string_view text, size_t &i)
{
    const unsigned char b0 = static_cast<unsigned char>(text[i]);
    int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
    char32_t c = extra == 3 ? (b0 & 0x07) : extra == 2 ? (b0 & 0x0F) : (b0 & 0x1F);
    if (extra == 0 || i + extra >= text.size()) {
        ++i;
        return b0;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return b0;
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return c;
}

} // namespace tarnwick
