#include "app/comment_toggle.h"

#include "editor/base/utf8.h"
#include "editor/control/redodi.h"
#include "editor/undo/undo_list.h"

#include <algorithm>
#include <optional>

using namespace tarnwick;

namespace {

constexpr std::string_view kOpen = "<!--";
constexpr std::string_view kClose = "-->";

// A place in the lines in bytes, to search by; columns are characters.
struct BytePos {
    int line = 0;
    size_t byte = 0;
};

// The last "<!--" that starts at or before `at`, looking back line by line.
std::optional<BytePos> OpenerAtOrBefore(const LineReader &line, BytePos at)
{
    for (int l = at.line; l >= 0; --l) {
        const std::string_view text = line(l);
        const size_t from = l == at.line ? std::min(at.byte, text.size()) : text.size();
        const size_t found = text.rfind(kOpen, from);
        if (found != std::string_view::npos)
            return BytePos{l, found};
    }
    return std::nullopt;
}

// The first "-->" whose start lies at or after `from`.
std::optional<BytePos> CloserFrom(const LineReader &line, int count, BytePos from)
{
    for (int l = from.line; l < count; ++l) {
        const std::string_view text = line(l);
        const size_t start = l == from.line ? from.byte : 0;
        if (start > text.size())
            continue;
        const size_t found = text.find(kClose, start);
        if (found != std::string_view::npos)
            return BytePos{l, found};
    }
    return std::nullopt;
}

TCaretPos Column(const LineReader &line, BytePos at)
{
    return {utf8::Length(line(at.line).substr(0, at.byte)), at.line};
}

BytePos Bytes(const LineReader &line, TCaretPos at)
{
    const std::string_view text = line(at.Line);
    return {at.Line, utf8::ByteOffset(text, std::min(at.Col, utf8::Length(text)))};
}

// Where a position goes when a piece goes in (all pieces lie in one line).
TCaretPos Moved(TCaretPos at, const TextPiece &piece)
{
    if (at.Line != piece.From.Line || at.Col <= piece.From.Col)
        return at;
    const int inserted = utf8::Length(piece.Text);
    if (at.Col < piece.To.Col)
        return {piece.From.Col + inserted, at.Line};
    return {at.Col + inserted - (piece.To.Col - piece.From.Col), at.Line};
}

void MoveSelection(CommentPlan &plan)
{
    for (const TextPiece &piece : plan.Pieces) {
        plan.Anchor = Moved(plan.Anchor, piece);
        plan.Caret = Moved(plan.Caret, piece);
    }
}

// The comment from `open` to the end of `close`, its markers and the one
// space each that wrapping puts beside them taken out.
CommentPlan Unwrap(const LineReader &line, BytePos open, BytePos close)
{
    CommentPlan plan;
    plan.Kind = CommentPlan::cpUnwrap;
    const std::string_view closeLine = line(close.line);
    const std::string_view openLine = line(open.line);
    size_t closeFrom = close.byte;
    const size_t openEnd = open.byte + kOpen.size();
    const bool sameLine = open.line == close.line;
    if (closeFrom > 0 && closeLine[closeFrom - 1] == ' ' && (!sameLine || closeFrom - 1 > openEnd))
        --closeFrom;
    size_t openTo = openEnd;
    if (openTo < openLine.size() && openLine[openTo] == ' ' && (!sameLine || openTo < closeFrom))
        ++openTo;
    plan.Pieces.push_back(
        {Column(line, {close.line, closeFrom}), Column(line, {close.line, close.byte + kClose.size()}), ""});
    plan.Pieces.push_back({Column(line, open), Column(line, {open.line, openTo}), ""});
    return plan;
}

// The comment the caret is in or touches (right before "<!--", right after "-->").
std::optional<std::pair<BytePos, BytePos>> CommentAround(const LineReader &line, int count, BytePos caret)
{
    const std::optional<BytePos> open = OpenerAtOrBefore(line, caret);
    if (!open)
        return std::nullopt;
    const std::optional<BytePos> close = CloserFrom(line, count, {open->line, open->byte + kOpen.size()});
    if (!close)
        return std::nullopt;
    const bool reaches =
        close->line > caret.line || (close->line == caret.line && close->byte + kClose.size() >= caret.byte);
    if (!reaches)
        return std::nullopt;
    return std::make_pair(*open, *close);
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

} // namespace

CommentPlan PlanCommentToggle(const LineReader &line, int count, TCaretPos anchor, TCaretPos caret)
{
    CommentPlan plan;
    if (count <= 0)
        return plan;
    caret.Line = std::clamp(caret.Line, 0, count - 1);
    anchor.Line = std::clamp(anchor.Line, 0, count - 1);
    TCaretPos from = std::min(anchor, caret), to = std::max(anchor, caret);
    const auto unwrap = [&](BytePos open, BytePos close) {
        plan = Unwrap(line, open, close);
        plan.Anchor = anchor;
        plan.Caret = caret;
        MoveSelection(plan);
        return plan;
    };
    if (const auto around = CommentAround(line, count, Bytes(line, caret)))
        return unwrap(around->first, around->second);

    int last = to.Line;
    if (to.Line > from.Line && to.Col == 0)
        --last;
    const std::string_view first = line(from.Line);
    const size_t indent = std::min(first.find_first_not_of(" \t"), first.size());
    // Lines that are one comment and nothing else, the caret before it.
    const std::string_view lastText = line(last);
    const size_t end = lastText.find_last_not_of(" \t");
    if (first.substr(indent).starts_with(kOpen) && end != std::string_view::npos && end + 1 >= kClose.size() &&
        lastText.substr(0, end + 1).ends_with(kClose)) {
        const BytePos open{from.Line, indent};
        const BytePos close{last, end + 1 - kClose.size()};
        const std::optional<BytePos> firstClose = CloserFrom(line, count, {open.line, open.byte + kOpen.size()});
        if (firstClose && firstClose->line == close.line && firstClose->byte == close.byte)
            return unwrap(open, close);
    }

    bool blank = true;
    for (int l = from.Line; l <= last; ++l) {
        const std::string_view text = line(l);
        blank = blank && IsBlank(text);
        if (text.find("--") != std::string_view::npos) {
            plan.Kind = CommentPlan::cpRefused;
            return plan;
        }
    }
    if (blank)
        return plan;
    plan.Kind = CommentPlan::cpWrap;
    const TCaretPos lineEnd{utf8::Length(lastText), last};
    const TCaretPos opener = Column(line, {from.Line, indent});
    plan.Pieces.push_back({lineEnd, lineEnd, " -->"});
    plan.Pieces.push_back({opener, opener, "<!-- "});
    // A selection comes back as the whole comment; a caret stays by its text.
    if (anchor == caret) {
        plan.Anchor = plan.Caret = caret;
        MoveSelection(plan);
    } else {
        plan.Anchor = opener;
        plan.Caret = {lineEnd.Col + (last == from.Line ? 9 : 4), last};
    }
    return plan;
}

CommentPlan::TKind ToggleComment(REdoDodi &editor)
{
    REdoDodiStrings &lines = *editor.Lines();
    const TCaretPos caret{editor.CaretCol(), editor.CaretLine()};
    TCaretPos start, end;
    editor.NormalizedSelection(start, end);
    const TCaretPos anchor = start == end ? caret : (caret == start ? end : start);
    const CommentPlan plan =
        PlanCommentToggle([&](int l) { return std::string_view(lines.Get(l)); }, lines.Count(), anchor, caret);
    if (plan.Kind != CommentPlan::cpWrap && plan.Kind != CommentPlan::cpUnwrap)
        return plan.Kind;
    {
        TUndoGroup step(editor.UndoList());
        for (const TextPiece &piece : plan.Pieces) {
            const int from = editor.IndexOfPosition(piece.From);
            editor.CollapseSelection();
            editor.SetSelStart(from);
            editor.SetSelLength(editor.IndexOfPosition(piece.To) - from);
            editor.InsertText(piece.Text);
        }
    }
    // The caret where the plan says, and the selection from the anchor.
    editor.SetCaretLine(plan.Caret.Line);
    editor.SetCaretCol(plan.Caret.Col);
    editor.CollapseSelection();
    if (plan.Anchor != plan.Caret) {
        const int from = editor.IndexOfPosition(std::min(plan.Anchor, plan.Caret));
        editor.SetSelStart(from);
        editor.SetSelLength(editor.IndexOfPosition(std::max(plan.Anchor, plan.Caret)) - from);
    }
    editor.MakeCaretVisible();
    return plan.Kind;
}
