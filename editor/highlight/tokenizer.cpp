#include "editor/highlight/tokenizer.h"

#include "editor/document/line_store.h"
#include "editor/highlight/styler.h"
#include "editor/base/text_case.h"
#include "editor/highlight/tokenizer_url_pieces.h"
#include "editor/base/utf8.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr size_t npos = std::string_view::npos;

// True when `pattern` occurs in prefix + rest first at the start of rest:
// rest starts with it, the prefix does not hold it (prefixHolds) and no
// occurrence straddles the two.
bool FirstOccurrenceAt(std::string_view prefix, std::string_view rest, std::string_view pattern, bool prefixHolds)
{
    // The first byte decides almost every call.
    if (pattern.empty() || rest.empty() || rest[0] != pattern[0] || prefixHolds || !rest.starts_with(pattern))
        return false;
    const size_t most = std::min(pattern.size() - 1, prefix.size());
    for (size_t k = 1; k <= most; ++k)
        if (prefix.ends_with(pattern.substr(0, k)) && rest.starts_with(pattern.substr(k)))
            return false;
    return true;
}

} // namespace

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

// ---- one piece ----

// The scan of one piece. The piece is the emitted prefix (the characters the
// position has moved past, which stay part of the piece for the "first
// occurrence" tests) followed by the rest from the current position. Text
// consumed at the position leaves the piece, so the rest only ever loses its
// head: a byte offset into the source stands for it and nothing is copied.
class TLineTokenizer::TPieceScan {
public:
    TPieceScan(TLineTokenizer &t, std::string_view src, bool scanOnly)
        : t_(t), src_(src), scanOnly_(scanOnly),
          trackPrefix_(!t.commentLeft_.empty() || !t.lineComment_.empty() || !t.hexPrefixUpper_.empty())
    {
        t_.prefix_.clear();
        t_.prefixUpper_.clear();
    }

    void Run(RunState &st);

private:
    std::string_view Rest() const { return src_.substr(head_); }
    bool AtEnd() const { return head_ >= src_.size(); }
    char32_t Peek(size_t &len) const
    {
        size_t i = head_;
        char32_t c = NextCodePoint(src_, i);
        len = i - head_;
        return c;
    }
    void Emit(std::string_view text, RunState &st)
    {
        if (!scanOnly_)
            t_.AppendRun(text, st);
    }
    // Emits `len` bytes at the position and removes them from the piece.
    void EmitTaken(size_t len, RunState &st)
    {
        Emit(src_.substr(head_, len), st);
        head_ += len;
    }
    // Moves the position past one character, which joins the prefix.
    void Pass(char32_t c, size_t len);
    // Scanning for the state only: moves past the characters up to the next
    // one that can change it, as single steps would. False when the position
    // is at such a character already.
    bool SkipQuietRun(RunState &st);
    void ClearPrefix();
    bool FirstAt(const std::string &pattern, bool prefixHolds) const
    {
        return FirstOccurrenceAt(t_.prefix_, Rest(), pattern, prefixHolds);
    }
    bool HexPrefixAt(size_t &prefixBytes) const;
    bool TakeNumber(RunState &st);
    size_t WordEnd(size_t firstLen);

    TLineTokenizer &t_;
    std::string_view src_;
    const bool scanOnly_;
    const bool trackPrefix_;
    size_t head_ = 0;
    bool atStart_ = true;
    bool prefixHasOpener_ = false;
    bool prefixHasLineComment_ = false;
    bool prefixHasHex_ = false;
    // The end of the word that starts at or before the position; words only
    // shrink from the front, so one scan serves every position inside it.
    size_t wordFrom_ = npos;
    size_t wordEnd_ = 0;
};

void TLineTokenizer::TPieceScan::Pass(char32_t c, size_t len)
{
    atStart_ = false;
    if (trackPrefix_) {
        std::string &prefix = t_.prefix_;
        prefix.append(src_.substr(head_, len));
        // A pattern can only just have been completed by its own last byte.
        const char last = prefix.back();
        const std::string &opener = t_.commentLeft_;
        if (!prefixHasOpener_ && !opener.empty() && opener.back() == last && prefix.ends_with(opener))
            prefixHasOpener_ = true;
        const std::string &lineComment = t_.lineComment_;
        if (!prefixHasLineComment_ && !lineComment.empty() && lineComment.back() == last &&
            prefix.ends_with(lineComment))
            prefixHasLineComment_ = true;
        if (!scanOnly_ && !t_.hexPrefixUpper_.empty()) {
            utf8::Append(t_.prefixUpper_, UpperCodePoint(c));
            if (!prefixHasHex_ && t_.prefixUpper_.ends_with(t_.hexPrefixUpper_))
                prefixHasHex_ = true;
        }
    }
    head_ += len;
}

bool TLineTokenizer::TPieceScan::SkipQuietRun(RunState &st)
{
    const bool multiComments = !t_.commentLeft_.empty() && !t_.commentRight_.empty();
    const bool inBracket = st.InBracket && st.BracketStart != 0;
    const bool outside = !st.InBracket && !st.InComment;
    const bool inLineComment = st.InComment && !st.InBracket && !multiComments;
    if (!inBracket && !outside && !inLineComment)
        return false;
    const char32_t opener = multiComments ? static_cast<unsigned char>(t_.commentLeft_[0]) : 0;
    const char32_t lineComment = t_.lineComment_.empty() ? 0 : static_cast<unsigned char>(t_.lineComment_[0]);
    size_t stop = head_;
    while (stop < src_.size()) {
        size_t next = stop;
        const char32_t c = NextCodePoint(src_, next);
        bool quiet = true;
        if (inBracket) {
            quiet = c != st.BracketEnd && (t_.escape_ == 0 || c != t_.escape_);
        } else if (outside) {
            // Patterns are compared by their first byte, which for a
            // non-ASCII first character is its lead byte.
            const char32_t first = c < 128 ? c : static_cast<unsigned char>(src_[stop]);
            quiet = first != opener && first != lineComment && !t_.BracketOpenedBy(c);
        }
        if (!quiet)
            break;
        stop = next;
    }
    if (stop == head_)
        return false;

    atStart_ = false;
    if (trackPrefix_) {
        std::string &prefix = t_.prefix_;
        const size_t before = prefix.size();
        prefix.append(src_.substr(head_, stop - head_));
        auto gained = [&](const std::string &pattern) {
            const size_t from = before >= pattern.size() ? before - pattern.size() + 1 : 0;
            return !pattern.empty() && prefix.find(pattern, from) != std::string::npos;
        };
        prefixHasOpener_ = prefixHasOpener_ || gained(t_.commentLeft_);
        prefixHasLineComment_ = prefixHasLineComment_ || gained(t_.lineComment_);
    }
    head_ = stop;
    if (outside && !t_.brackets_.empty()) {
        // Each character passed loaded every bracket style without a match.
        const TBracketStyle &last = t_.brackets_.back();
        st.BracketStart = last.Start;
        st.BracketEnd = last.End;
        st.StyleIndex = last.Index;
    } else if (outside) {
        st.BracketStart = 0;
        st.BracketEnd = 0;
    }
    if (AtEnd() && inBracket && st.BracketEnd == U' ') {
        st.InBracket = 0;
        st.BracketStart = 0;
        st.BracketEnd = 0;
    }
    return true;
}

void TLineTokenizer::TPieceScan::ClearPrefix()
{
    atStart_ = true;
    t_.prefix_.clear();
    t_.prefixUpper_.clear();
    prefixHasOpener_ = prefixHasLineComment_ = prefixHasHex_ = false;
}

bool TLineTokenizer::TPieceScan::HexPrefixAt(size_t &prefixBytes) const
{
    const std::string &hex = t_.hexPrefixUpper_;
    std::string headUpper;
    size_t i = head_;
    for (size_t k = 0; k < hex.size() && i < src_.size();) {
        char32_t c = UpperCodePoint(NextCodePoint(src_, i));
        utf8::Append(headUpper, c);
        k = headUpper.size();
    }
    if (!FirstOccurrenceAt(t_.prefixUpper_, headUpper, hex, prefixHasHex_))
        return false;
    prefixBytes = i - head_;
    return true;
}

// A number from the position: digits and the other number characters, "E",
// and "A" to "F" after a hexadecimal prefix. At the second dot the number ends
// before the first one.
bool TLineTokenizer::TPieceScan::TakeNumber(RunState &st)
{
    size_t scan = head_;
    bool hex = false;
    size_t prefixBytes = 0;
    if (!t_.hexPrefixUpper_.empty() && HexPrefixAt(prefixBytes)) {
        hex = true;
        scan = head_ + prefixBytes;
    }
    size_t k = scan;
    size_t firstDot = npos;
    while (k < src_.size()) {
        const size_t at = k;
        const char32_t c = NextCodePoint(src_, k);
        const char32_t u = UpperCodePoint(c);
        if (!t_.numberBody_.Contains(u) && !(hex && u >= U'A' && u <= U'F')) {
            k = at;
            break;
        }
        if (c == U'.') {
            if (firstDot != npos) {
                k = firstDot;
                break;
            }
            firstDot = at;
        }
    }
    if (k <= scan)
        return false;
    st.Number = 1;
    st.Symbol = 0;
    EmitTaken(k - head_, st);
    return true;
}

size_t TLineTokenizer::TPieceScan::WordEnd(size_t firstLen)
{
    if (wordFrom_ != npos && wordFrom_ <= head_ && head_ < wordEnd_)
        return wordEnd_;
    size_t i = head_ + firstLen;
    while (i < src_.size()) {
        size_t next = i;
        const char32_t c = NextCodePoint(src_, next);
        if (c == U' ' || c == U';' || c == U':' || t_.delimiters_.Contains(c))
            break;
        i = next;
    }
    wordFrom_ = head_;
    wordEnd_ = i;
    return i;
}

void TLineTokenizer::TPieceScan::Run(RunState &st)
{
    const bool multiComments = !t_.commentLeft_.empty() && !t_.commentRight_.empty();
    bool tokenStart = true;
    bool consumed = false;
    while (!AtEnd()) {
        if (scanOnly_ && SkipQuietRun(st) && AtEnd())
            return;
        size_t len = 0;
        char32_t c = Peek(len);
        if (!consumed && !scanOnly_)
            tokenStart = atStart_ || c == U' ' || t_.delimiters_.Empty() || t_.delimiters_.Contains(c);
        consumed = false;

        // Multi-line comments: the closer ends one, an opener counts only
        // where its first occurrence in the piece is the position.
        if (multiComments && !st.InBracket) {
            if (st.InComment) {
                // Nothing precedes the position inside a comment.
                const std::string_view rest = Rest();
                const size_t close = rest.find(t_.commentRight_);
                if (close == npos) {
                    Emit(rest, st);
                    return;
                }
                EmitTaken(close + t_.commentRight_.size(), st);
                st.InComment = 0;
                if (AtEnd())
                    return;
                c = Peek(len);
            } else if (FirstAt(t_.commentLeft_, prefixHasOpener_)) {
                head_ += t_.commentLeft_.size();
                ClearPrefix();
                st.InComment = 1;
                Emit(t_.commentLeft_, st);
                if (AtEnd())
                    return;
                consumed = true;
            }
        }

        if (!consumed && !st.InComment) {
            if (!st.InBracket && FirstAt(t_.lineComment_, prefixHasLineComment_)) {
                st.InComment = 1;
                Emit(Rest(), st);
                t_.lineCommentStarted_ = true;
                return;
            }
            if (st.InBracket && st.BracketStart != 0) {
                if (t_.escape_ != 0 && c == t_.escape_) {
                    EmitTaken(len, st);
                    if (!AtEnd()) {
                        Peek(len);
                        EmitTaken(len, st);
                    }
                    if (AtEnd())
                        return;
                    consumed = true;
                } else if (c == st.BracketEnd) {
                    EmitTaken(len, st);
                    st.InBracket = 0;
                    tokenStart = false;
                    consumed = true;
                } else {
                    Emit(src_.substr(head_, len), st);
                    Pass(c, len);
                    if (AtEnd()) {
                        // A run closed by a space also ends with its piece.
                        if (st.BracketEnd == U' ') {
                            st.InBracket = 0;
                            st.BracketStart = 0;
                            st.BracketEnd = 0;
                        }
                        return;
                    }
                    consumed = true;
                }
            } else {
                // Bracket styles are tried in order, each loaded into the
                // state, so without a match the state keeps the last one's
                // characters and index.
                const TBracketStyle *opened = t_.BracketOpenedBy(c);
                const TBracketStyle *loaded = opened ? opened : t_.brackets_.empty() ? nullptr : &t_.brackets_.back();
                st.BracketStart = loaded ? loaded->Start : 0;
                st.BracketEnd = loaded ? loaded->End : 0;
                if (loaded)
                    st.StyleIndex = loaded->Index;
                if (opened) {
                    st.InBracket = 1;
                    EmitTaken(len, st);
                    continue;
                }
            }
        }
        if (AtEnd())
            return;
        if (consumed)
            continue;
        if (scanOnly_) {
            Pass(c, len);
            continue;
        }

        if (const int symbol = t_.SymbolStyleOf(c); symbol >= 0) {
            st.Symbol = 1;
            st.StyleIndex = symbol;
            EmitTaken(len, st);
            tokenStart = true;
            consumed = true;
            continue;
        }
        if (tokenStart && t_.numberStart_.Contains(UpperCodePoint(c)) && TakeNumber(st)) {
            tokenStart = false;
            consumed = true;
            continue;
        }
        if (tokenStart && !t_.keywords_.empty()) {
            const size_t end = WordEnd(len);
            if (const int keyword = t_.KeywordStyleOf(src_.substr(head_, end - head_)); keyword >= 0) {
                st.Keyword = 1;
                st.StyleIndex = keyword;
                EmitTaken(end - head_, st);
                consumed = true;
                continue;
            }
        }
        Emit(src_.substr(head_, len), st);
        Pass(c, len);
    }
}

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
    return UrlPieces(text, escape_);
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
    TPieceScan(*this, piece, false).Run(state);
}

void TLineTokenizer::AppendRun(std::string_view text, RunState &state)
{
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
    if (settings_.UrlAware) {
        ForEachUrlPiece(line, escape_, [&](std::string_view piece) {
            state.Url = IsUrlPiece(piece);
            TokenizeLine(piece, state);
        });
    } else {
        TokenizeLine(line, state);
    }
    EndLine(state);
}

// Comments and brackets only: symbols, numbers and keywords never change the
// state carried to the next line. The pieces after a line comment are scanned
// as painting tokenizes them (a comment closer there ends the comment), so the
// state at a line never depends on where painting started.
void TLineTokenizer::ScanLineForState(std::string_view line, RunState &state)
{
    lineCommentStarted_ = false;
    if (settings_.UrlAware) {
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
