// TLineTokenizer: what it derives from the styler, the per-line driver, run
// merging, and the scan for the state each line leaves to the next.
#include "editor/highlight/tokenizer.h"

#include "editor/base/text_case.h"
#include "editor/base/utf8.h"
#include "editor/document/line_store.h"
#include "editor/highlight/styler.h"
#include "editor/highlight/tokenizer_scan.h"
#include "editor/highlight/tokenizer_url_pieces.h"

#include <algorithm>
#include <functional>
#include <string>

namespace tarnwick {

// ---- character sets ----

void TLineTokenizer::TCharSet::Clear()
{
    std::fill(std::begin(ascii_), std::end(ascii_), false);
    others_.clear();
    empty_ = true;
}

void TLineTokenizer::TCharSet::Add(char32_t c)
{
    empty_ = false;
    if (c < 128)
        ascii_[c] = true;
    else if (others_.find(c) == std::u32string::npos)
        others_.push_back(c);
}

void TLineTokenizer::TCharSet::AddUtf8(std::string_view text, bool upper)
{
    for (size_t i = 0; i < text.size();) {
        char32_t c = NextCodePoint(text, i);
        Add(upper ? UpperCodePoint(c) : c);
    }
}

void TLineTokenizer::TStopBytes::Add(char32_t c) { At[Utf8LeadByte(c)] = true; }

// ---- the tokenizer ----

void TLineTokenizer::Prepare(const TTokenizerSettings &settings)
{
    settings_ = settings;
    delimiterSet_.clear();
    delimiters_.Clear();
    numberStart_.Clear();
    numberBody_.Clear();
    hexPrefixUpper_.clear();
    escape_ = 0;
    lineComment_.clear();
    commentLeft_.clear();
    commentRight_.clear();
    brackets_.clear();
    symbols_.clear();
    std::fill(std::begin(asciiSymbolStyle_), std::end(asciiSymbolStyle_), -1);
    std::fill(std::begin(asciiBracketOpen_), std::end(asciiBracketOpen_), -1);
    keywords_.clear();
    longestKeyword_ = 0;
    markup_ = false;
    textRun_ = nullptr;
    for (TStopBytes *stops : {&textStops_, &subsetStops_, &tagStops_, &declarationStops_, &instructionStops_})
        *stops = TStopBytes{};
    setupKey_ = 0;
    pointsUsable_ = false;
    if (!Styled())
        return;

    TCustomDodiStyler &styler = *settings_.Styler;
    lineComment_ = styler.LineComment();
    commentLeft_ = styler.MultiCommentLeft();
    commentRight_ = styler.MultiCommentRight();
    if (!styler.StringEscape().empty()) {
        size_t i = 0;
        escape_ = NextCodePoint(styler.StringEscape(), i);
    }
    numberStart_.AddUtf8(styler.NumberCharacters(), true);
    numberStart_.AddUtf8(styler.HexPrefix(), true);
    numberBody_.AddUtf8(styler.NumberCharacters(), true);
    numberBody_.Add(U'E');
    hexPrefixUpper_ = UpperCaseUtf8(styler.HexPrefix());

    const TElementStyles &styles = styler.AllStyles();
    for (int i = 0; i < styles.Count(); ++i) {
        TElementStyle &style = styles[i];
        switch (style.StyleType()) {
        case stSymbol: {
            const std::string &chars = style.Symbols();
            delimiterSet_ += chars;
            delimiters_.AddUtf8(chars, false);
            TSymbolStyle symbol{i, {}};
            symbol.Symbols.AddUtf8(chars, false);
            symbols_.push_back(std::move(symbol));
            for (size_t k = 0; k < chars.size();) {
                const char32_t c = NextCodePoint(chars, k);
                if (c < 128 && asciiSymbolStyle_[c] < 0)
                    asciiSymbolStyle_[c] = i;
            }
            break;
        }
        case stBracket: {
            const char32_t start = style.BracketStart();
            if (start < 128 && style.BracketEnd() != 0 && asciiBracketOpen_[start] < 0)
                asciiBracketOpen_[start] = static_cast<int>(brackets_.size());
            brackets_.push_back({i, start, style.BracketEnd()});
            break;
        }
        case stKeyword:
            style.KeyWords().SetCaseSensitive(settings_.CaseSensitive);
            keywords_.push_back({i, &style.KeyWords()});
            longestKeyword_ = std::max(longestKeyword_, style.KeyWords().LongestLength());
            break;
        }
    }
    if (styler.MarkupSyntax())
        PrepareMarkup();

    // A checkpoint depends on a few bytes after it (what the steps before it
    // looked ahead at), as many as the longest delimiter.
    const size_t longest = std::max(
        {lineComment_.size(), commentLeft_.size(), commentRight_.size(), hexPrefixUpper_.size() * 4, size_t{16}});
    pointsUsable_ = longest + 16 <= TLineScanPoints::kReach;
    // Everything the carried state and a scan's flags depend on.
    std::string key = lineComment_ + '\n' + commentLeft_ + '\n' + commentRight_ + '\n' + delimiterSet_;
    for (const TBracketStyle &b : brackets_)
        key += std::to_string(b.Index) + ':' + std::to_string(b.Start) + ':' + std::to_string(b.End) + ';';
    key += std::to_string(escape_) + (markup_ ? "m" : "") + (settings_.UrlAware ? "u" : "");
    setupKey_ = std::hash<std::string>{}(key);
}

// Where a markup scan must look closely: the start of markup in text, the
// end of markup and the quotes inside it, the end of the internal subset.
void TLineTokenizer::PrepareMarkup()
{
    markup_ = true;
    textRun_ = BracketOpenedBy(U'>');
    const bool comments = !commentLeft_.empty() && !commentRight_.empty();
    for (TStopBytes *stops : {&textStops_, &subsetStops_}) {
        stops->Add(U'<');
        if (comments)
            stops->At[static_cast<unsigned char>(commentLeft_[0])] = true;
    }
    subsetStops_.Add(U']');
    for (TStopBytes *stops : {&tagStops_, &declarationStops_}) {
        stops->Add(U'<');
        stops->Add(U'>');
    }
    declarationStops_.Add(U'[');
    instructionStops_.Add(U'?');
    for (const TBracketStyle &b : brackets_) {
        if (&b == textRun_ || b.End == 0)
            continue;
        for (TStopBytes *stops : {&tagStops_, &declarationStops_, &instructionStops_})
            stops->Add(b.Start);
    }
}

const TLineTokenizer::TBracketStyle *TLineTokenizer::BracketOpenedBy(char32_t c) const
{
    if (c < 128)
        return asciiBracketOpen_[c] < 0 ? nullptr : &brackets_[asciiBracketOpen_[c]];
    for (const TBracketStyle &b : brackets_)
        if (b.End != 0 && b.Start == c)
            return &b;
    return nullptr;
}

int TLineTokenizer::SymbolStyleOf(char32_t c) const
{
    if (c < 128)
        return asciiSymbolStyle_[c];
    for (const TSymbolStyle &symbol : symbols_)
        if (symbol.Symbols.Contains(c))
            return symbol.Index;
    return -1;
}

int TLineTokenizer::KeywordStyleOf(std::string_view word) const
{
    // A word longer than every keyword cannot match; checking the bytes first
    // keeps a very long word from being counted at every position.
    if (word.size() > static_cast<size_t>(longestKeyword_) * 4 || utf8::Length(word) > longestKeyword_)
        return -1;
    const std::string key = settings_.CaseSensitive ? std::string(word) : LowerCaseUtf8(word);
    for (const TKeywordStyle &style : keywords_)
        if (style.Words->IndexOf(key) >= 0)
            return style.Index;
    return -1;
}

std::vector<std::string> TLineTokenizer::SplitUrlPieces(std::string_view text) const
{
    if (!settings_.UrlAware)
        return {std::string(text)};
    std::vector<std::string> pieces;
    ForEachUrlPiece(text, escape_, [&](std::string_view piece) {
        const size_t url = markup_ && IsUrlPiece(piece) ? MarkupUrlLength(piece) : piece.size();
        if (url < piece.size()) {
            pieces.emplace_back(piece.substr(0, url));
            piece.remove_prefix(url);
        }
        pieces.emplace_back(piece);
    });
    return pieces;
}

// In markup an address ends where markup begins.
size_t TLineTokenizer::MarkupUrlLength(std::string_view piece) { return std::min(piece.size(), piece.find('<')); }

void TLineTokenizer::FindUrlRanges(std::string_view line)
{
    urlRanges_.clear();
    if (!settings_.UrlAware)
        return;
    ForEachUrlPiece(line, escape_, [&](std::string_view piece) {
        if (!IsUrlPiece(piece))
            return;
        const size_t begin = static_cast<size_t>(piece.data() - line.data());
        urlRanges_.push_back({begin, begin + MarkupUrlLength(piece)});
    });
}

bool TLineTokenizer::IsUrl(std::string_view piece) { return IsUrlPiece(piece); }

void TLineTokenizer::BeginLine(const RunState &state)
{
    pendingText_.clear();
    pendingState_ = state;
    pendingColumn_ = 0;
    lineColumn_ = 0;
    lineCommentStarted_ = false;
}

void TLineTokenizer::TokenizeLine(std::string_view piece, RunState &state)
{
    if (!Styled() || (state.Url && settings_.UrlAware)) {
        AppendRun(piece, state);
        return;
    }
    if (markup_)
        TMarkupScan(*this, piece, false).Run(state);
    else
        TPieceScan(*this, piece, false).Run(state);
}

void TLineTokenizer::AppendRun(std::string_view text, RunState &state)
{
    if (range_.Active) {
        // Text comes in line order, so the first text kept starts at or
        // before From, at the column the range starts with.
        const size_t begin = static_cast<size_t>(text.data() - range_.Line);
        const size_t end = begin + text.size();
        if (end <= range_.From || begin >= range_.To) {
            state.ClearRunFlags();
            return;
        }
        text = text.substr(begin < range_.From ? range_.From - begin : 0);
        if (end > range_.To)
            text.remove_suffix(end - range_.To);
    }
    if (!(state == pendingState_)) {
        if (!pendingText_.empty() && OnRun)
            OnRun(pendingColumn_, pendingText_, pendingState_);
        pendingText_.clear();
        pendingState_ = state;
        pendingColumn_ = lineColumn_;
    }
    pendingText_.append(text);
    lineColumn_ += text.size() == 1 ? 1 : utf8::Length(text);
    state.ClearRunFlags();
}

void TLineTokenizer::EndLine(RunState &state)
{
    if (!pendingText_.empty() && OnRun)
        OnRun(pendingColumn_, pendingText_, pendingState_);
    pendingText_.clear();
    if (lineCommentStarted_)
        state.InComment = 0;
}

void TLineTokenizer::TokenizeText(std::string_view line, RunState &state)
{
    BeginLine(state);
    if (markup_) {
        // Markup is scanned as one piece, so that no address hides the end
        // of a construct; addresses are handed on whole where they start.
        state.Url = 0;
        FindUrlRanges(line);
        TMarkupScan(*this, line, false, &urlRanges_).Run(state);
    } else if (settings_.UrlAware) {
        ForEachUrlPiece(line, escape_, [&](std::string_view piece) {
            state.Url = IsUrlPiece(piece);
            TokenizeLine(piece, state);
        });
    } else {
        TokenizeLine(line, state);
    }
    EndLine(state);
}

// The same steps as painting without handing anything on, so the state at a
// line never depends on where painting started. The pieces after a line
// comment are scanned as painting tokenizes them (a comment closer there ends
// the comment).
void TLineTokenizer::ScanLineForState(std::string_view line, RunState &state)
{
    lineCommentStarted_ = false;
    if (markup_) {
        TMarkupScan(*this, line, true).Run(state);
    } else if (settings_.UrlAware) {
        ForEachUrlPiece(line, escape_, [&](std::string_view piece) {
            if (!IsUrlPiece(piece))
                TPieceScan(*this, piece, true).Run(state);
        });
    } else {
        TPieceScan(*this, line, true).Run(state);
    }
    if (lineCommentStarted_)
        state.InComment = 0;
    lineCommentStarted_ = false;
}

} // namespace tarnwick
