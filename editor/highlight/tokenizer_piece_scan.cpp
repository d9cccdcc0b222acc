// TLineTokenizer::TPieceScan: the comment and bracket rules of any styler,
// applied to one URL piece.
#include "editor/highlight/tokenizer_scan.h"

#include <algorithm>

namespace tarnwick {

namespace {

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

// The piece is the prefix (the characters the position has moved past, which
// stay part of the piece for the "first occurrence" tests) followed by the
// rest from the position. Text taken at the position leaves the piece, so the
// rest only ever loses its head: the cursor stands for it and nothing is copied.
TLineTokenizer::TPieceScan::TPieceScan(TLineTokenizer &t, std::string_view src, bool scanOnly)
    : TScan(t, src, scanOnly),
      trackPrefix_(!t.commentLeft_.empty() || !t.lineComment_.empty() || !t.hexPrefixUpper_.empty())
{
    t_.prefix_.clear();
    t_.prefixUpper_.clear();
}

void TLineTokenizer::TPieceScan::Pass(size_t to)
{
    atStart_ = false;
    if (trackPrefix_) {
        std::string &prefix = t_.prefix_;
        const size_t before = prefix.size();
        prefix.append(src_.substr(head_, to - head_));
        // A pattern can only have been completed by the bytes just added.
        auto gained = [&](const std::string &pattern) {
            if (pattern.empty() || (to - head_ == 1 && prefix.back() != pattern.back()))
                return false;
            const size_t from = before >= pattern.size() ? before - pattern.size() + 1 : 0;
            return prefix.find(pattern, from) != std::string::npos;
        };
        prefixHasOpener_ = prefixHasOpener_ || gained(t_.commentLeft_);
        prefixHasLineComment_ = prefixHasLineComment_ || gained(t_.lineComment_);
        if (!t_.hexPrefixUpper_.empty()) {
            const size_t upperBefore = t_.prefixUpper_.size();
            for (size_t i = head_; i < to;)
                utf8::Append(t_.prefixUpper_, UpperCodePoint(NextCodePoint(src_, i)));
            const std::string &hex = t_.hexPrefixUpper_;
            const size_t from = upperBefore >= hex.size() ? upperBefore - hex.size() + 1 : 0;
            prefixHasHex_ = prefixHasHex_ || t_.prefixUpper_.find(hex, from) != std::string::npos;
        }
    }
    head_ = to;
}

bool TLineTokenizer::TPieceScan::TakeBracketStretch(RunState &st)
{
    if (!st.InBracket || st.BracketStart == 0 || st.InComment)
        return false;
    size_t stop = head_;
    while (stop < src_.size()) {
        size_t next = stop;
        const char32_t c = NextCodePoint(src_, next);
        if (c == st.BracketEnd || (t_.escape_ != 0 && c == t_.escape_))
            break;
        stop = next;
    }
    if (stop == head_)
        return false;
    Emit(head_, stop, st);
    Pass(stop);
    // A run closed by a space also ends with its piece.
    if (AtEnd() && st.BracketEnd == U' ') {
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

bool TLineTokenizer::TPieceScan::FirstAt(const std::string &pattern, bool prefixHolds) const
{
    return FirstOccurrenceAt(t_.prefix_, Rest(), pattern, prefixHolds);
}

size_t TLineTokenizer::TPieceScan::HexPrefixBytes() const
{
    if (t_.hexPrefixUpper_.empty())
        return 0;
    std::string headUpper;
    const size_t bytes = UpperHead(headUpper);
    return FirstOccurrenceAt(t_.prefixUpper_, headUpper, t_.hexPrefixUpper_, prefixHasHex_) ? bytes : 0;
}

// Painting and the scan for the carried state run the same steps; only
// painting hands the runs on.
void TLineTokenizer::TPieceScan::Run(RunState &st)
{
    const bool multiComments = !t_.commentLeft_.empty() && !t_.commentRight_.empty();
    bool tokenStart = true;
    bool consumed = false;
    while (!AtEnd()) {
        if (TakeBracketStretch(st)) {
            if (AtEnd())
                return;
            consumed = true;
        }
        size_t len = 0;
        char32_t c = Peek(len);
        if (!consumed)
            tokenStart = TokenStartAt(c);
        consumed = false;

        // Multi-line comments: the closer ends one, an opener counts only
        // where its first occurrence in the piece is the position.
        if (multiComments && !st.InBracket) {
            if (st.InComment) {
                // Nothing precedes the position inside a comment.
                const size_t close = Rest().find(t_.commentRight_);
                if (close == npos) {
                    EmitTaken(Rest().size(), st);
                    return;
                }
                EmitTaken(close + t_.commentRight_.size(), st);
                st.InComment = 0;
                if (AtEnd())
                    return;
                c = Peek(len);
            } else if (FirstAt(t_.commentLeft_, prefixHasOpener_)) {
                st.InComment = 1;
                EmitTaken(t_.commentLeft_.size(), st);
                ClearPrefix();
                if (AtEnd())
                    return;
                consumed = true;
            }
        }

        if (!consumed && !st.InComment) {
            if (!st.InBracket && FirstAt(t_.lineComment_, prefixHasLineComment_)) {
                st.InComment = 1;
                EmitTaken(Rest().size(), st);
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

        if (TakeSymbol(c, len, st)) {
            tokenStart = true;
            consumed = true;
            continue;
        }
        if (tokenStart && t_.numberStart_.Contains(UpperCodePoint(c)) && TakeNumber(HexPrefixBytes(), st)) {
            tokenStart = false;
            consumed = true;
            continue;
        }
        if (tokenStart && TakeKeyword(len, st)) {
            consumed = true;
            continue;
        }
        const size_t end = QuietEnd(head_ + len, st);
        Emit(head_, end, st);
        Pass(end);
    }
}

// Outside comments and brackets, a character that is no space, delimiter,
// bracket opener or first byte of a comment delimiter goes through every step
// untouched when it is no token start, which it is not after such a character.
size_t TLineTokenizer::TPieceScan::QuietEnd(size_t from, const RunState &st) const
{
    if (st.InComment || st.InBracket || t_.delimiters_.Empty())
        return from;
    const int opener =
        t_.commentLeft_.empty() || t_.commentRight_.empty() ? -1 : static_cast<unsigned char>(t_.commentLeft_[0]);
    const int lineComment = t_.lineComment_.empty() ? -1 : static_cast<unsigned char>(t_.lineComment_[0]);
    size_t i = from;
    while (i < src_.size()) {
        const int first = static_cast<unsigned char>(src_[i]);
        if (first == opener || first == lineComment)
            break;
        size_t next = i;
        const char32_t c = NextCodePoint(src_, next);
        if (c == U' ' || t_.delimiters_.Contains(c) || t_.BracketOpenedBy(c))
            break;
        i = next;
    }
    return i;
}

} // namespace tarnwick
