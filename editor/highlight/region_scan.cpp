#include "editor/highlight/region_scan.h"

#include "editor/base/text_case.h"
#include "editor/document/line_store.h"
#include "editor/highlight/styler.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool IsBlank(char32_t c) { return c <= U' '; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// A comment closer of one character is a word boundary where it stands.
bool IsCloserCharacter(char32_t c, std::string_view closer)
{
    size_t i = 0;
    return !closer.empty() && NextCodePoint(closer, i) == c && i == closer.size();
}

// The first word: up to and including the first blank, ";", ":" or closer
// character, blanks removed; `after` is where the rest begins.
std::string_view FirstWord(std::string_view text, std::string_view closer, size_t &after)
{
    size_t i = 0;
    while (i < text.size()) {
        const char32_t c = NextCodePoint(text, i);
        if (IsBlank(c) || c == U';' || c == U':' || IsCloserCharacter(c, closer))
            break;
    }
    after = i;
    return Trim(text.substr(0, i));
}

// Drops the last character of a word.
std::string_view WithoutLast(std::string_view word)
{
    size_t end = word.size();
    while (end > 0 && (static_cast<unsigned char>(word[end - 1]) & 0xC0) == 0x80)
        --end;
    return word.substr(0, end > 0 ? end - 1 : 0);
}

// The definitions' words, upper-cased once.
struct TDefinitionWords {
    std::string Identifier, Start, End;
    TRegionType Type;
};

std::vector<TDefinitionWords> WordsOf(const TRegionDefinitions &definitions)
{
    std::vector<TDefinitionWords> words;
    for (const auto &d : definitions)
        words.push_back({UpperCaseUtf8(d->Identifier()), UpperCaseUtf8(d->RegionStart()), UpperCaseUtf8(d->RegionEnd()),
                         d->RegionType()});
    return words;
}

bool IsDefinitionWord(const std::vector<TDefinitionWords> &definitions, std::string_view word)
{
    if (word.empty())
        return false;
    return std::any_of(definitions.begin(), definitions.end(), [&](const TDefinitionWords &d) {
        return word == d.Identifier || word == d.Start || word == d.End;
    });
}

// What splits words besides blanks, ";" and ":": the symbols of the symbol
// styles, and braces.
std::u32string ScanDelimiters(const TCustomDodiStyler &styler)
{
    std::u32string delimiters;
    for (const auto &style : styler.AllStyles()) {
        if (style->StyleType() != stSymbol)
            continue;
        const std::string &symbols = style->Symbols();
        for (size_t i = 0; i < symbols.size();)
            delimiters.push_back(NextCodePoint(symbols, i));
    }
    for (char32_t brace : {U'{', U'}'})
        if (delimiters.find(brace) == std::u32string::npos)
            delimiters.push_back(brace);
    return delimiters;
}

void SplitWords(std::string_view text, const std::u32string &delimiters, std::vector<std::string> &words)
{
    auto splits = [&](char32_t c) { return c == U';' || c == U':' || delimiters.find(c) != std::u32string::npos; };
    size_t p = 0;
    while (p < text.size()) {
        size_t q = p;
        const char32_t c = NextCodePoint(text, q);
        size_t end = q;
        if (!splits(c) && !IsBlank(c)) {
            while (end < text.size()) {
                size_t next = end;
                const char32_t d = NextCodePoint(text, next);
                if (IsBlank(d) || splits(d))
                    break;
                end = next;
            }
        }
        const std::string_view word = Trim(text.substr(p, end - p));
        p = end;
        if (!word.empty() && word != ";" && word != ":")
            words.emplace_back(word);
    }
}

} // namespace

std::vector<std::string> RegionWordsOfLine(const TCustomDodiStyler &styler, std::string_view line, bool &inComment)
{
    const std::string upper = UpperCaseUtf8(Trim(line));
    const std::string left = UpperCaseUtf8(styler.MultiCommentLeft());
    const std::string right = UpperCaseUtf8(styler.MultiCommentRight());
    const std::string lineComment = UpperCaseUtf8(styler.LineComment());
    auto find = [](std::string_view text, const std::string &what, size_t from = 0) {
        return what.empty() ? std::string_view::npos : text.find(what, from);
    };

    std::vector<std::string> words;
    std::string_view rest = upper;
    std::string joined;
    if (inComment) {
        const size_t close = find(rest, right);
        if (close == std::string_view::npos)
            return words;
        inComment = false;
        rest = rest.substr(close + right.size());
    } else {
        const size_t m = find(rest, left);
        const size_t n = find(rest, lineComment);
        const size_t close = m == std::string_view::npos ? m : find(rest, right, m + left.size());
        if (m != std::string_view::npos && close == std::string_view::npos && (n == std::string_view::npos || m < n)) {
            inComment = true;
            rest = rest.substr(0, m);
        } else if (m != std::string_view::npos && n != std::string_view::npos && m < n) {
            joined = std::string(rest.substr(0, m)) + std::string(rest.substr(close + right.size()));
            const size_t after = find(joined, lineComment);
            if (after != std::string::npos)
                joined.resize(after);
            rest = joined;
        } else if (n != std::string_view::npos) {
            rest = rest.substr(0, n);
        } else if (m != std::string_view::npos) {
            // A comment closed on its line: the line's first word counts even
            // when a comment follows it at once, then the rest after the comment.
            const std::vector<TDefinitionWords> definitions = WordsOf(styler.Regions());
            size_t after;
            const std::string_view first = FirstWord(rest, right, after);
            if (IsDefinitionWord(definitions, first)) {
                words.emplace_back(first);
            } else if (after < rest.size()) {
                const std::string_view shorter = WithoutLast(first);
                if (shorter != ";" && shorter != ":" && IsDefinitionWord(definitions, shorter))
                    words.emplace_back(shorter);
            }
            rest = rest.substr(close + right.size());
        }
    }
    SplitWords(rest, ScanDelimiters(styler), words);
    return words;
}

std::vector<std::pair<int, int>> FindDefinedRegions(const TCustomDodiStyler &styler, const REdoDodiStrings &lines)
{
    const std::vector<TDefinitionWords> definitions = WordsOf(styler.Regions());
    struct TFound {
        int Start;
        int Definition;
        int End = -1;
    };
    // An announcement waiting for the word that opens its region.
    struct TPending {
        int Line = -1;
        int Definition = -1;
        bool Set() const { return Line >= 0; }
    };
    std::vector<TFound> closedKind, openKind;
    std::vector<int> fileKind;
    TPending p1, p2;
    int p2Region = -1; // the region P2 opened, -1 while it opened none
    int depth = 0;
    auto forgetAnnouncements = [&] {
        p1 = p2 = {};
        p2Region = -1;
    };

    bool inComment = false;
    for (int q = 0; q < lines.Count(); ++q) {
        for (const std::string &w : RegionWordsOfLine(styler, lines[q], inComment)) {
            for (int k = 0; k < static_cast<int>(definitions.size()); ++k) {
                const TDefinitionWords &d = definitions[k];
                const bool closed = d.Type == rtClosed || d.Type == rtIgnore;
                if (!d.Identifier.empty() && w == d.Identifier) {
                    if (d.Type == rtOpen) {
                        if (q > 0 && !openKind.empty() && openKind.back().End < 0)
                            openKind.back().End = q - 1;
                        openKind.push_back({q, k});
                        continue;
                    }
                    if (d.Type == rtFile) {
                        fileKind.push_back(q);
                        continue;
                    }
                    if (d.Identifier == d.Start) {
                        closedKind.push_back({q, k});
                    } else if (!p1.Set()) {
                        p1 = {q, k};
                    } else {
                        if (p2.Set())
                            p1 = p2;
                        p2 = {q, k};
                        p2Region = -1;
                    }
                    break;
                }
                if (closed && !d.Start.empty() && w == d.Start) {
                    if (depth == 0 && p2.Set() && p2Region < 0) {
                        closedKind.push_back({p2.Line, p2.Definition});
                        p2Region = static_cast<int>(closedKind.size()) - 1;
                    } else if (depth == 0 && p1.Set() && p2Region < 0) {
                        closedKind.push_back({p1.Line, p1.Definition});
                        forgetAnnouncements();
                    } else {
                        ++depth;
                    }
                    break;
                }
                if (closed && !d.End.empty() && w == d.End) {
                    if (depth > 0) {
                        --depth;
                        break;
                    }
                    int open = static_cast<int>(closedKind.size()) - 1;
                    while (open >= 0 &&
                           (closedKind[open].End >= 0 || definitions[closedKind[open].Definition].End != w))
                        --open;
                    if (open < 0) {
                        forgetAnnouncements();
                    } else {
                        closedKind[open].End = q;
                        if (open == p2Region) {
                            p2 = {};
                            p2Region = -1;
                        }
                    }
                    break;
                }
            }
        }
    }

    const int last = lines.Count() - 1;
    std::vector<std::pair<int, int>> regions;
    for (const TFound &r : closedKind)
        if (r.End >= 0 && definitions[r.Definition].Type == rtClosed)
            regions.push_back({r.Start, r.End});
    for (const TFound &r : openKind)
        regions.push_back({r.Start, r.End >= 0 ? r.End : last});
    for (int start : fileKind)
        regions.push_back({start, last});
    return regions;
}

bool RegionSummaryOfLine(const TCustomDodiStyler &styler, std::string_view line, int &definitionIndex,
                         std::string &summary)
{
    size_t indent = 0;
    while (indent < line.size() && line[indent] == ' ')
        ++indent;
    const std::string_view trimmed = Trim(line);
    const std::string_view closer = styler.MultiCommentRight();
    size_t after;
    const std::string first = UpperCaseUtf8(FirstWord(trimmed, closer, after));
    if (first.empty())
        return false;
    const TRegionDefinitions &definitions = styler.Regions();
    for (int k = 0; k < definitions.Count(); ++k) {
        const TRegionDefinition &d = definitions[k];
        if (first != UpperCaseUtf8(d.Identifier()) && first != UpperCaseUtf8(d.RegionStart()) &&
            first != UpperCaseUtf8(d.RegionEnd()))
            continue;
        if (!d.ShowComments())
            return false;
        std::string_view rest = trimmed.substr(after);
        for (size_t i = 0; i < rest.size();) {
            const size_t at = i;
            if (IsCloserCharacter(NextCodePoint(rest, i), closer)) {
                rest = rest.substr(0, at);
                break;
            }
        }
        definitionIndex = k;
        summary = std::string(line.substr(0, indent)) + "[" + std::string(Trim(rest)) + "]";
        return true;
    }
    return false;
}

} // namespace tarnwick
