// TLineTokenizer: splits lines into runs that share one colouring, driven by
// the editor's styler, and computes the state at the start of a line from the
// lines above it (with a per-line cache), so painting can start mid-document.
#pragma once

#include "editor/base/run_state.h"
#include "editor/document/scan_points.h"
#include "editor/document/tokenizer_state_tracker.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class REdoDodiStrings;
class TCustomDodiStyler;
class TKeyWordList;

// The editor settings the tokenizer reads.
struct TTokenizerSettings {
    TCustomDodiStyler *Styler = nullptr;
    bool UseStyler = true;
    bool CaseSensitive = false;
    bool UrlAware = true;
};

class TLineTokenizer {
public:
    // A finished run: its first column (code points from the line start), its
    // text and its state.
    using TRunHandler = std::function<void(int column, std::string_view text, const RunState &state)>;

    // Takes the settings and rebuilds what is derived from the styler: the
    // delimiter set, the number sets, the escape character, the keyword lists'
    // case rule. Call it at the start of every paint, print page and top-state
    // computation; the styler must not lose element styles in between.
    void Prepare(const TTokenizerSettings &settings);
    const TTokenizerSettings &Settings() const { return settings_; }
    // A styler is attached and used.
    bool Styled() const { return settings_.Styler && settings_.UseStyler; }

    // The concatenated symbols of every symbol style, in style order.
    const std::string &DelimiterSet() const { return delimiterSet_; }

    // The line cut into URL pieces; the whole line as one piece unless UrlAware.
    std::vector<std::string> SplitUrlPieces(std::string_view text) const;
    // The piece of SplitUrlPieces(line) that holds byte `at` when it is an
    // address, else empty; reads the piece around `at`, not the line.
    std::string UrlAt(std::string_view line, size_t at) const;
    static bool IsUrl(std::string_view piece);

    // The per-line driver: every run of `line`, starting in `state`, goes to
    // OnRun; `state` becomes the state the next line starts with.
    void TokenizeText(std::string_view line, RunState &state);

    // What painting a stretch of a line needs: the runs of line `line` that
    // cover columns [fromColumn, toColumn) go to OnRun (they may reach past
    // either end; runs wholly outside may be left out). `state` is the state
    // at the start of the line and becomes the state at its end when
    // `endState` (the first time, that costs a scan of the rest of a long
    // line). A long line is tokenized from its checkpoint nearest fromColumn,
    // so the cost follows the columns asked for, not the line's length.
    void TokenizeColumns(REdoDodiStrings &lines, int line, RunState &state, int fromColumn, int toColumn,
                         bool endState = true);
    // The state at the end of line `line` when it starts in `state`: the
    // state the next line starts with. A long line keeps checkpoints on the
    // way, and after an edit the scan goes on from the last one before it
    // until it meets one after it in the same state.
    RunState StateAfterLine(REdoDodiStrings &lines, int line, const RunState &state);

    // The steps of the driver, for callers that cut lines themselves.
    void BeginLine(const RunState &state);
    void TokenizeLine(std::string_view piece, RunState &state);
    // Merges runs of equal state; a run goes to OnRun when the state changes.
    // `text` lies in the line being tokenized.
    void AppendRun(std::string_view text, RunState &state);
    // Hands on the pending run and applies the end-of-line rule of line comments.
    void EndLine(RunState &state);
    bool LineCommentStarted() const { return lineCommentStarted_; }

    // The state at the start of `line`, from the nearest trusted cached state
    // above it; stores states every 20 lines on the way and at `line` itself.
    RunState ComputeTopState(REdoDodiStrings &lines, TStateCacheTracker &tracker, int line);
    // The state at the start of the top line: the stored one while it is for
    // that line and still trusted, else computed and stored.
    RunState TopLineState(REdoDodiStrings &lines, TStateCacheTracker &tracker, int topLine, int &storedLine,
                          RunState &storedState);

    // Lines scanned by the last ComputeTopState (for measurements).
    int LastScanLength() const { return lastScanLength_; }

    TRunHandler OnRun;

private:
    class TCharSet {
    public:
        void Clear();
        void Add(char32_t c);
        void AddUtf8(std::string_view text, bool upper);
        bool Contains(char32_t c) const { return c < 128 ? ascii_[c] : others_.find(c) != std::u32string::npos; }
        bool Empty() const { return empty_; }

    private:
        bool ascii_[128] = {};
        std::u32string others_;
        bool empty_ = true;
    };
    // Bytes at which a markup scan must look closely: ASCII characters and
    // the lead bytes of the non-ASCII ones it stops at.
    struct TStopBytes {
        bool At[256] = {};
        void Add(char32_t c);
    };
    struct TBracketStyle {
        int Index;
        char32_t Start;
        char32_t End;
    };
    struct TSymbolStyle {
        int Index;
        TCharSet Symbols;
    };
    struct TKeywordStyle {
        int Index;
        const TKeyWordList *Words;
    };
    // A URL piece of the line being painted: byte offsets [Begin, End).
    struct TUrlRange {
        size_t Begin;
        size_t End;
    };
    class TScan;
    class TPieceScan;
    class TMarkupScan;

    // The stretch of the line TokenizeColumns hands on: text outside bytes
    // [From, To) of the line at Line is left out.
    struct TColumnRange {
        bool Active = false;
        const char *Line = nullptr;
        size_t From = 0;
        size_t To = 0;
    };

    void PrepareMarkup();
    static size_t MarkupUrlLength(std::string_view piece);
    // The URL pieces of a line for a markup scan.
    void FindUrlRanges(std::string_view line);
    // The same for a markup scan from byte `from` that stops near `to`; a
    // piece that holds `from` counts from there.
    void FindUrlRangesNear(std::string_view line, size_t from, size_t to);
    // The first byte of the URL piece that holds byte `at` (no escape
    // character in use). In markup an address ends at its first "<", so the
    // walk back stops at one: `cut` is set then, and `at` returned.
    size_t PieceStartBefore(std::string_view line, size_t at, bool &cut) const;
    void ScanLineForState(std::string_view line, RunState &state);
    // The checkpoints of a long line: the line's list, made to hold for
    // `start` and the present setup; null when the line needs none.
    TLineScanPoints *PointsOf(REdoDodiStrings &lines, int line, const RunState &start);
    // A scan for the state of `text` from its last trusted checkpoint,
    // checking and making checkpoints, until it passes `target`, resyncs or
    // reaches the end of the line (then the points know the end state).
    void Walk(std::string_view text, TLineScanPoints &points, const RunState &start, size_t target);
    // The trusted checkpoint nearest before `byte`, scanning up to it first
    // when the points do not reach that far.
    TScanPoint PointBefore(std::string_view text, TLineScanPoints &points, const RunState &start, size_t byte);
    // Painting from a checkpoint to byte `to`, by the two rule sets and
    // without a styler.
    void PaintMarkupFrom(std::string_view text, TScanPoint at, size_t to);
    void PaintPiecesFrom(std::string_view text, const TScanPoint &at, size_t to);
    int FindCachedState(REdoDodiStrings &lines, const TStateCacheTracker &tracker, int from, int floor,
                        RunState &state) const;
    bool RecordState(REdoDodiStrings &lines, TStateCacheTracker &tracker, int line, const RunState &state);
    // The first bracket style (with an end character) that `c` opens.
    const TBracketStyle *BracketOpenedBy(char32_t c) const;
    // The same for a markup styler, leaving out the text run opened by ">".
    const TBracketStyle *QuoteOpenedBy(char32_t c) const
    {
        const TBracketStyle *b = BracketOpenedBy(c);
        return b == textRun_ ? nullptr : b;
    }
    int SymbolStyleOf(char32_t c) const;
    int KeywordStyleOf(std::string_view word) const;

    TTokenizerSettings settings_;
    // What the checkpoints of long lines depend on besides the text, and
    // whether they can be kept at all (no delimiter longer than they allow).
    uint64_t setupKey_ = 0;
    bool pointsUsable_ = false;
    std::string delimiterSet_;
    TCharSet delimiters_;
    TCharSet numberStart_;
    TCharSet numberBody_;
    std::string hexPrefixUpper_;
    char32_t escape_ = 0;
    std::string lineComment_;
    std::string commentLeft_;
    std::string commentRight_;
    std::vector<TBracketStyle> brackets_;
    std::vector<TSymbolStyle> symbols_;
    // First symbol style (position in symbols_) of each ASCII character, -1 = none.
    int asciiSymbolStyle_[128] = {};
    // Position in brackets_ of the style each ASCII character opens, -1 = none.
    int asciiBracketOpen_[128] = {};
    std::vector<TKeywordStyle> keywords_;
    int longestKeyword_ = 0;

    // Markup stylers: the bracket style of text content (opened by ">"), and
    // where the scan must look closely in each context.
    bool markup_ = false;
    const TBracketStyle *textRun_ = nullptr;
    TStopBytes textStops_;
    TStopBytes subsetStops_;
    TStopBytes tagStops_;
    TStopBytes declarationStops_;
    TStopBytes instructionStops_;
    std::vector<TUrlRange> urlRanges_;

    // The run being collected: text, state and first column.
    std::string pendingText_;
    RunState pendingState_;
    int pendingColumn_ = 0;
    int lineColumn_ = 0;
    TColumnRange range_;
    bool lineCommentStarted_ = false;
    int lastScanLength_ = 0;
    // Scratch of the piece scan: the text before the position, as it is and
    // upper-cased (kept here so a scan allocates nothing in the steady state).
    std::string prefix_;
    std::string prefixUpper_;
};

} // namespace tarnwick
