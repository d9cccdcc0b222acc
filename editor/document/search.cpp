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

bool IsWordBoundary(std::u32string_view line, long long at, const TWordDelimiter &isDelimiter)
{
    return at < 0 || at >= static_cast<long long>(line.size()) || line[at] == U' ' ||
           (isDelimiter && isDelimiter(line[at]));
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

int FindInLine(std::u32string_view line, std::u32string_view text, TSearchWindow window, TFindOptions options,
               const TWordDelimiter &isDelimiter)
{
    const long long from = std::max(0, window.From);
    const long long to = std::min<long long>(window.To, static_cast<long long>(line.size()));
    const long long n = static_cast<long long>(text.size());
    if (n == 0 || to - from < n)
        return -1;
    const bool matchCase = options.Contains(frMatchCase);
    const bool wholeWord = options.Contains(frWholeWord);
    // The neighbours are read in the whole line, not in the window: a hit
    // right after the previous one ("abab") is not a word of its own.
    const auto counts = [&](long long at) {
        return SameAt(line, at, text, matchCase) &&
               (!wholeWord || (IsWordBoundary(line, at - 1, isDelimiter) && IsWordBoundary(line, at + n, isDelimiter)));
    };
    if (options.Contains(frDown)) {
        for (long long at = from; at + n <= to; ++at)
            if (counts(at))
                return static_cast<int>(at);
    } else {
        for (long long at = to - n; at >= from; --at)
            if (counts(at))
                return static_cast<int>(at);
    }
    return -1;
}

} // namespace tarnwick
