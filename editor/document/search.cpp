#include "editor/document/search.h"

#include "editor/base/text_case.h"

#include <algorithm>

namespace tarnwick {

namespace {

char32_t FoldAscii(char32_t c) { return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c; }

bool SameAt(std::u32string_view line, size_t at, std::u32string_view text, bool matchCase)
{
    for (size_t k = 0; k < text.size(); ++k) {
        const char32_t a = line[at + k];
        const char32_t b = text[k];
        if (matchCase ? a != b : FoldAscii(a) != FoldAscii(b))
            return false;
    }
    return true;
}

bool IsWordBoundary(std::u32string_view line, long long at)
{
    return at < 0 || at >= static_cast<long long>(line.size()) || line[at] == U' ';
}

} // namespace

std::u32string CodePoints(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        out.push_back(NextCodePoint(text, i));
    return out;
}

std::u32string TrimmedCodePoints(std::string_view line)
{
    std::u32string out = CodePoints(line);
    while (!out.empty() && out.back() <= U' ')
        out.pop_back();
    return out;
}

int FindInLine(std::u32string_view line, std::u32string_view text, TSearchWindow window, TFindOptions options)
{
    const long long from = std::max(0, window.From);
    const long long to = std::min<long long>(window.To, static_cast<long long>(line.size()));
    const long long n = static_cast<long long>(text.size());
    if (n == 0 || to - from < n)
        return -1;
    const bool matchCase = options.Contains(frMatchCase);
    long long hit = -1;
    if (options.Contains(frDown)) {
        for (long long at = from; at + n <= to && hit < 0; ++at)
            if (SameAt(line, at, text, matchCase))
                hit = at;
    } else {
        for (long long at = to - n; at >= from && hit < 0; --at)
            if (SameAt(line, at, text, matchCase))
                hit = at;
    }
    // The neighbours are read in the whole line, not in the window: a hit
    // right after the previous one ("abab") is not a word of its own.
    if (hit >= 0 && options.Contains(frWholeWord) &&
        !(IsWordBoundary(line, hit - 1) && IsWordBoundary(line, hit + n)))
        hit = -1;
    return static_cast<int>(hit);
}

} // namespace tarnwick
