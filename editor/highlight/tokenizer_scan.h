// TLineTokenizer::TScan: the cursor shared by the tokenizer's two rule sets
// (any styler's, and a markup styler's), with the steps both share: symbols,
// numbers, keywords and plain characters. Private to the tokenizer's sources.
#pragma once

#include "editor/base/text_case.h"
#include "editor/base/utf8.h"
#include "editor/document/scan_points.h"
#include "editor/highlight/tokenizer.h"

namespace tarnwick {

// The first byte of the UTF-8 form of `c`.
inline unsigned char Utf8LeadByte(char32_t c)
{
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    if (c < 0x800)
        return static_cast<unsigned char>(0xC0 | (c >> 6));
    if (c < 0x10000)
        return static_cast<unsigned char>(0xE0 | (c >> 12));
    return static_cast<unsigned char>(0xF0 | (c >> 18));
}

// The scan's own flags a checkpoint keeps (TScanPoint::Flags).
constexpr uint32_t kScanTokenStart = 1;  // the markup scan's token-start flag
constexpr uint32_t kScanConsumed = 2;    // the markup scan's consumed flag
constexpr uint32_t kScanLineComment = 4; // a line comment started earlier on the line
constexpr uint32_t kScanFreshLine = kScanTokenStart;

// Bytes a markup scan takes in one step at most where nothing stops it (text
// content, comments, CDATA sections, quoted values), so that long stretches
// of them still hold checkpoints.
constexpr size_t kScanChunk = 2048;

// A scan walks one piece of text (a URL piece, or a whole line for markup
// stylers) from its start. Text handed on leaves the scan as runs; a scan
// for the carried state only hands nothing on and otherwise does the same,
// so painting and the top-state scan never disagree.
class TLineTokenizer::TScan {
protected:
    static constexpr size_t npos = std::string_view::npos;

    TScan(TLineTokenizer &t, std::string_view src, bool scanOnly, const std::vector<TUrlRange> *urls = nullptr)
        : t_(t), src_(src), scanOnly_(scanOnly), urls_(urls && !urls->empty() ? urls : nullptr)
    {
    }

    std::string_view Rest() const { return src_.substr(head_); }
    // The byte at most kScanChunk past the position where a stretch of
    // plain bytes may be cut: a character start, never the position itself.
    size_t ChunkLimit() const;
    bool AtEnd() const { return head_ >= src_.size(); }
    char32_t Peek(size_t &len) const
    {
        size_t i = head_;
        const char32_t c = NextCodePoint(src_, i);
        len = i - head_;
        return c;
    }
    // Hands on bytes [from, to) of the source in `state`, whose per-run flags
    // are cleared afterwards as AppendRun clears them.
    void Emit(size_t from, size_t to, RunState &state);
    // Hands on `len` bytes at the position and moves past them.
    void EmitTaken(size_t len, RunState &state)
    {
        Emit(head_, head_ + len, state);
        head_ += len;
    }

    // The shared steps at the position; each hands its text on in `state`
    // and returns false when it does not apply.
    bool TakeSymbol(char32_t c, size_t len, RunState &state);
    // `hexBytes` is the length of a hexadecimal prefix at the position, 0 if
    // there is none.
    bool TakeNumber(size_t hexBytes, RunState &state);
    bool TakeKeyword(size_t firstLen, RunState &state);
    // The upper-cased characters at the position that cover as many bytes
    // as the upper-cased hexadecimal prefix; returns the source bytes they take.
    size_t UpperHead(std::string &upper) const;
    bool TokenStartAt(char32_t c) const
    {
        return atStart_ || c == U' ' || t_.delimiters_.Empty() || t_.delimiters_.Contains(c);
    }

    TLineTokenizer &t_;
    std::string_view src_;
    const bool scanOnly_;
    size_t head_ = 0;
    bool atStart_ = true;
    // Markup stylers: bytes at which numbers and words end, so that neither
    // ever takes in a character that changes the carried state.
    const TStopBytes *wordStops_ = nullptr;

private:
    size_t WordEnd(size_t firstLen);
    void EmitAroundUrls(size_t from, size_t to, const RunState &state);

    // The end of the word that starts at or before the position; words only
    // shrink from the front, so one scan serves every position inside it.
    size_t wordFrom_ = npos;
    size_t wordEnd_ = 0;
    // URL pieces are handed on whole, as one run, when the scan reaches their
    // first byte; the bytes inside them are then not handed on again.
    const std::vector<TUrlRange> *urls_;
    size_t nextUrl_ = 0;
    size_t urlEnd_ = 0;
};

// The comment and bracket rules of any styler, applied to one URL piece: a
// comment opener or line comment counts only where its first occurrence in
// the piece is the position, so the scan keeps the text it moved past (the
// characters not taken out of the piece) as the piece's prefix.
class TLineTokenizer::TPieceScan : public TScan {
public:
    TPieceScan(TLineTokenizer &t, std::string_view src, bool scanOnly);
    void Run(RunState &st);

private:
    // Moves the position past [head_, to), which joins the prefix.
    void Pass(size_t to);
    // Inside a bracket run: hands on the characters up to the next one that
    // can end it, as single steps would. False when there are none.
    bool TakeBracketStretch(RunState &st);
    // The end of the characters from `from` on that a plain character's
    // steps would pass one by one.
    size_t QuietEnd(size_t from, const RunState &st) const;
    void ClearPrefix();
    bool FirstAt(const std::string &pattern, bool prefixHolds) const;
    size_t HexPrefixBytes() const;

    const bool trackPrefix_;
    bool prefixHasOpener_ = false;
    bool prefixHasLineComment_ = false;
    bool prefixHasHex_ = false;
};

// XML's own syntax for a markup styler, applied to a whole line: comments,
// CDATA sections, processing instructions, declarations with the internal
// subset, tags with their quoted values, and text content. The carried state
// says where the line starts; quotes open runs only inside markup, and each
// construct ends at its own closing delimiter.
class TLineTokenizer::TMarkupScan : public TScan {
public:
    // `urls`: the URL pieces of the line, handed on whole; none when scanning
    // for the carried state.
    TMarkupScan(TLineTokenizer &t, std::string_view src, bool scanOnly, const std::vector<TUrlRange> *urls = nullptr)
        : TScan(t, src, scanOnly, urls)
    {
    }
    // Goes on from a checkpoint of the line instead of its start.
    void Resume(const TScanPoint &at);
    // While scanning for the state: checks and makes the line's checkpoints
    // on the way, and stops once past `target` or once the points ahead
    // turned out right (a resync).
    void Walk(TLineScanPoints &points, size_t target);
    // While painting: stops at the first step at or after byte `to`.
    void StopAt(size_t to);
    // While scanning for the state: stops at the first step at or after
    // `target`; `last` becomes the last step before it where painting may
    // go on from (one the scan's flags are right at).
    void Probe(size_t target, TScanPoint &last);
    // Run returned before the end of the line.
    bool Stopped() const { return stopped_; }
    void Run(RunState &st);

private:
    uint32_t Flags() const { return (tokenStart_ ? kScanTokenStart : 0) | (consumed_ ? kScanConsumed : 0); }
    // At a step once the position reached checkAt_; false to stop.
    bool Check(const RunState &st);
    void Text(RunState &st);
    void Subset(RunState &st);
    void Markup(RunState &st);
    void Quoted(RunState &st);
    void CommentBody(RunState &st);
    void CDataBody(RunState &st);
    size_t FindCloser(std::string_view closer, size_t &take) const;
    bool OpensComment() const;
    // At a "<" in text content or the internal subset.
    void OpenMarkup(RunState &st);
    // At the ">" that ends a tag, an instruction or a declaration.
    void CloseMarkup(RunState &st);
    // Hands on one character in its symbol style, or plain.
    void Delimiter(char32_t c, size_t len, const RunState &st);
    // Hands on a CDATA section's opener or closer in the symbol style of
    // `symbol`, or plain.
    void SectionDelimiter(size_t len, char32_t symbol, const RunState &st);
    size_t HexPrefixBytes() const;
    // The steps inside markup: symbols, numbers, keywords, plain characters.
    void Steps(char32_t c, size_t len, const RunState &st);
    const TStopBytes &StopsOf(const RunState &st) const;
    size_t NextStop(const TStopBytes &stops, size_t limit = npos) const;

    bool tokenStart_ = true;
    bool consumed_ = false;
    // The flags are what painting would have here. A scan for the state
    // skips the steps inside markup, so its flags are stale after a skip
    // until a step that sets them whatever they were; only then may a
    // checkpoint be made.
    bool canonical_ = true;
    TLineScanPoints *points_ = nullptr;
    TScanPoint *probe_ = nullptr;
    size_t target_ = npos;
    size_t stopAt_ = npos;
    size_t checkAt_ = npos;
    bool stopped_ = false;
};

} // namespace tarnwick
