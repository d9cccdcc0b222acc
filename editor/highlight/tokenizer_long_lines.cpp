// TLineTokenizer on long lines: painting a stretch of a line from the
// checkpoint nearest it, and the state at the end of a line from its
// checkpoints, kept right across edits.
#include "editor/document/line_store.h"
#include "editor/highlight/tokenizer.h"
#include "editor/highlight/tokenizer_scan.h"
#include "editor/highlight/tokenizer_url_pieces.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr size_t npos = std::string_view::npos;
// Bytes before the first column that painting walks through itself.
constexpr size_t kPaintLead = 256;

TScanPoint LineStart(const RunState &state) { return {0, state, kScanFreshLine}; }

// URL piece classes of single bytes: the separators are ASCII, and every
// byte of a longer character belongs to an "other" character.
TUrlClass ByteClass(char c) { return UrlClassOf(static_cast<unsigned char>(c)); }

} // namespace

TLineScanPoints *TLineTokenizer::PointsOf(REdoDodiStrings &lines, int line, const RunState &start)
{
    if (!Styled() || !pointsUsable_ || lines[line].size() < TLongLines::kLongLine)
        return nullptr;
    TLineScanPoints *points = lines.ScanPointsOf(line);
    if (!points)
        return nullptr;
    const uint64_t key = setupKey_ ^ (lines.StateTracker().Epoch() * 0x9E3779B97F4A7C15ull);
    if (!points->Holds(start, key))
        points->Reset(start, key);
    return points;
}

RunState TLineTokenizer::StateAfterLine(REdoDodiStrings &lines, int line, const RunState &state)
{
    TLineScanPoints *points = PointsOf(lines, line, state);
    if (!points) {
        RunState end = state;
        ScanLineForState(lines[line], end);
        return end;
    }
    // A walk ends at the line end, or at a resync; after a resync no suspect
    // point is left, so a second walk reaches the end.
    RunState end;
    while (!points->EndKnown(end))
        Walk(lines[line], *points, state, npos);
    return end;
}

void TLineTokenizer::Walk(std::string_view text, TLineScanPoints &points, const RunState &start, size_t target)
{
    const TScanPoint *last = points.TrustedAtOrBefore(npos);
    const TScanPoint at = last ? *last : LineStart(start);
    RunState st = at.State;
    if (markup_) {
        TMarkupScan scan(*this, text, true);
        scan.Resume(at);
        scan.Walk(points, target);
        scan.Run(st);
        if (!scan.Stopped())
            points.Finished(text.size(), st);
        return;
    }
    // Other stylers keep checkpoints where URL pieces start: a piece is
    // scanned afresh from there, and only the line comment flag goes on.
    lineCommentStarted_ = (at.Flags & kScanLineComment) != 0;
    TUrlPieces pieces(settings_.UrlAware ? text : std::string_view(), escape_, at.Byte);
    size_t next = at.Byte;
    for (size_t begin = 0, end = 0; pieces.Next(begin, end);) {
        if (begin >= target) {
            points.Reached(begin);
            return;
        }
        if (begin >= next) {
            RunState here = st;
            here.ClearRunFlags();
            if (!points.Step({begin, here, lineCommentStarted_ ? kScanLineComment : 0u}, true))
                return;
            next = points.NextStep();
        }
        const std::string_view piece = text.substr(begin, end - begin);
        if (!IsUrlPiece(piece))
            TPieceScan(*this, piece, true).Run(st);
    }
    if (!settings_.UrlAware && at.Byte == 0)
        TPieceScan(*this, text, true).Run(st);
    if (lineCommentStarted_)
        st.InComment = 0;
    lineCommentStarted_ = false;
    points.Finished(text.size(), st);
}

TScanPoint TLineTokenizer::PointBefore(std::string_view text, TLineScanPoints &points, const RunState &start,
                                       size_t byte)
{
    RunState end;
    while (points.ScannedTo() < byte && !points.EndKnown(end))
        Walk(text, points, start, byte);
    const TScanPoint *point = points.TrustedAtOrBefore(byte);
    return point ? *point : LineStart(start);
}

void TLineTokenizer::TokenizeColumns(REdoDodiStrings &lines, int line, RunState &state, int fromColumn, int toColumn,
                                     bool endState)
{
    const std::string &text = lines[line];
    TLineScanPoints *points = PointsOf(lines, line, state);
    const bool plainLong = !Styled() && text.size() >= TLongLines::kLongLine;
    if (!points && !plainLong) {
        TokenizeText(text, state);
        return;
    }
    const RunState start = state;
    fromColumn = std::clamp(fromColumn, 0, lines.LineLength(line));
    const size_t from = lines.ByteOfColumn(line, fromColumn);
    const size_t to = std::max(from, lines.ByteOfColumn(line, toColumn));

    BeginLine(start);
    lineColumn_ = pendingColumn_ = fromColumn;
    range_ = {true, text.data(), from, to};
    if (points) {
        const TScanPoint at = PointBefore(text, *points, start, from);
        if (markup_)
            PaintMarkupFrom(text, at, to);
        else
            PaintPiecesFrom(text, at, to);
    } else {
        PaintPiecesFrom(text, LineStart(start), to);
    }
    if (!pendingText_.empty() && OnRun)
        OnRun(pendingColumn_, pendingText_, pendingState_);
    pendingText_.clear();
    range_ = {};
    if (points && endState)
        state = StateAfterLine(lines, line, start);
}

void TLineTokenizer::PaintMarkupFrom(std::string_view text, TScanPoint at, size_t to)
{
    // Painting takes every step; scanning for the state skips most. The
    // stretch between the checkpoint and the first column is scanned, and
    // painting starts from the last step there it may start from.
    if (range_.From > at.Byte + kPaintLead) {
        TMarkupScan probe(*this, text, true);
        probe.Resume(at);
        RunState st = at.State;
        probe.Probe(range_.From, at);
        probe.Run(st);
    }
    RunState st = at.State;
    st.Url = 0;
    FindUrlRangesNear(text, at.Byte, to);
    TMarkupScan scan(*this, text, false, &urlRanges_);
    scan.Resume(at);
    scan.StopAt(to);
    scan.Run(st);
}

void TLineTokenizer::PaintPiecesFrom(std::string_view text, const TScanPoint &at, size_t to)
{
    RunState st = at.State;
    if (!settings_.UrlAware) {
        TokenizeLine(text, st);
        return;
    }
    // Pieces are cut as far as the range reaches, so a long last piece is
    // not walked to its end. Without a styler the runs are the pieces, and
    // the one that holds the range's start is found by walking back.
    size_t begin = at.Byte;
    bool cut = false;
    if (!Styled())
        begin = PieceStartBefore(text, range_.From, cut);
    const std::string_view reach = text.substr(0, std::min(text.size(), to + 16));
    TUrlPieces pieces(reach, escape_, begin, cut ? ByteClass(text[begin - 1]) : TUrlClass::Unset);
    for (size_t b = 0, e = 0; pieces.Next(b, e) && b < to;) {
        const std::string_view piece = reach.substr(b, e - b);
        st.Url = !cut && IsUrlPiece(piece);
        cut = false;
        TokenizeLine(piece, st);
    }
}

size_t TLineTokenizer::PieceStartBefore(std::string_view line, size_t at, bool &cut) const
{
    cut = false;
    if (at == 0 || at >= line.size())
        return at;
    const TUrlClass before = ByteClass(line[at - 1]);
    if (ByteClass(line[at]) != before)
        return at;
    size_t b = at;
    while (b > 0 && ByteClass(line[b - 1]) == before) {
        if (markup_ && line[b - 1] == '<') {
            cut = true;
            return at;
        }
        --b;
    }
    return b;
}

std::string TLineTokenizer::UrlAt(std::string_view line, size_t at) const
{
    if (!settings_.UrlAware || at >= line.size())
        return {};
    bool cut = false;
    const size_t begin = escape_ != 0 ? 0 : PieceStartBefore(line, at, cut);
    if (cut)
        return {};
    TUrlPieces pieces(line, escape_, begin);
    for (size_t b = 0, e = 0; pieces.Next(b, e) && b <= at;) {
        if (at >= e)
            continue;
        const std::string_view piece = line.substr(b, e - b);
        if (!IsUrlPiece(piece))
            return {};
        // In markup the address ends where markup begins.
        const size_t length = markup_ ? MarkupUrlLength(piece) : piece.size();
        return at < b + length ? std::string(piece.substr(0, length)) : std::string();
    }
    return {};
}

void TLineTokenizer::FindUrlRangesNear(std::string_view line, size_t from, size_t to)
{
    urlRanges_.clear();
    if (!settings_.UrlAware)
        return;
    // With an escape character, where pieces start depends on everything
    // before: they are cut from the line start.
    bool cut = false;
    const size_t begin = escape_ != 0 ? 0 : PieceStartBefore(line, from, cut);
    const std::string_view reach = line.substr(0, std::min(line.size(), to + 16));
    TUrlPieces pieces(reach, escape_, begin, cut ? ByteClass(line[begin - 1]) : TUrlClass::Unset);
    for (size_t b = 0, e = 0; pieces.Next(b, e) && b < to;) {
        const std::string_view piece = reach.substr(b, e - b);
        if (cut || !IsUrlPiece(piece)) {
            cut = false;
            continue;
        }
        const size_t end = b + MarkupUrlLength(piece);
        if (end > from)
            urlRanges_.push_back({std::max(b, from), end});
    }
}

} // namespace tarnwick
