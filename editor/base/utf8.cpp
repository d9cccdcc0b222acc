#include "editor/base/utf8.h"

#include <cstdint>
#include <cstring>

namespace tarnwick::utf8 {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones map to the C1
// control of the same number, as most decoders do, so nothing is dropped.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

// Eight bytes at a time: a continuation byte has its top bit set and the
// next one clear, so shifting the word left by one lines each byte's second
// bit up under its first (the bit shifted out of a byte lands in the next
// byte's lowest bit, which the mask drops).
int Length(std::string_view text)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    size_t continuations = 0;
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        // Each byte of the mask is 0 or 1; the multiplication adds them up
        // in the top byte.
        const uint64_t marks = (word & ~(word << 1) & 0x8080808080808080ULL) >> 7;
        continuations += static_cast<size_t>((marks * 0x0101010101010101ULL) >> 56);
    }
    for (; p < end; ++p)
        continuations += IsContinuation(static_cast<unsigned char>(*p));
    return static_cast<int>(text.size() - continuations);
}

size_t ByteOffset(std::string_view text, int column)
{
    if (column <= 0)
        return 0;
    int seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[i]))) {
            if (seen == column)
                return i;
            ++seen;
        }
    }
    return text.size();
}

std::string_view Mid(std::string_view text, int column, int count)
{
    if (count <= 0)
        return {};
    size_t start = ByteOffset(text, column);
    std::string_view rest = text.substr(start);
    return rest.substr(0, ByteOffset(rest, count));
}

std::string_view Left(std::string_view text, int count) { return text.substr(0, ByteOffset(text, count)); }

std::string_view From(std::string_view text, int column) { return text.substr(ByteOffset(text, column)); }

char32_t At(std::string_view text, int column)
{
    if (column < 0)
        return 0;
    size_t i = ByteOffset(text, column);
    if (i >= text.size())
        return 0;
    auto c = static_cast<unsigned char>(text[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k)
        cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return cp;
}

void Append(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Encode(char32_t cp)
{
    std::string s;
    Append(s, cp);
    return s;
}

bool IsValid(std::string_view bytes)
{
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        char32_t min;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (n - i <= static_cast<size_t>(extra))
            return false;
        char32_t cp = c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            auto cc = static_cast<unsigned char>(bytes[i + k]);
            if (!IsContinuation(cc))
                return false;
            cp = cp << 6 | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string FromWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char c : bytes) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0xA0)
            Append(out, kCp1252High[c - 0x80]);
        else
            Append(out, c);
    }
    return out;
}

std::string DecodePlainText(std::string_view bytes)
{
    if (IsValid(bytes)) {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return FromWindows1252(bytes);
}

} // namespace tarnwick::utf8
