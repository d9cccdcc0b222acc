#include "editor/view/word_wrap.h"

#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"
#include "editor/view/view_target.h"

#include <algorithm>

namespace tarnwick {

// The bytes and cells of the characters of `rest` that fit into `width`
// cells: at least one character, so a wide one in a one-cell width still
// makes progress.
static void CutAtWidth(std::string_view rest, int width, size_t &head, int &headCells)
{
    head = utf8::ByteOffset(rest, std::max(1, cells::ColumnsWithin(rest, width)));
    headCells = cells::Count(rest.substr(0, head));
}

std::vector<size_t> WrapPieceStarts(std::string_view text, int width)
{
    std::vector<size_t> starts{0};
    if (width <= 0)
        return starts;
    size_t restStart = 0;
    int restLength = cells::Count(text);
    while (restLength > width) {
        const std::string_view rest = text.substr(restStart);
        size_t head = 0;
        int headLength = 0;
        for (;;) {
            const size_t space = rest.find(' ', head);
            if (space == std::string_view::npos)
                break;
            const int wordLength = cells::Count(rest.substr(head, space + 1 - head));
            if (headLength + wordLength < width) {
                head = space + 1;
                headLength += wordLength;
                continue;
            }
            if (headLength == 0)
                CutAtWidth(rest, width, head, headLength);
            break;
        }
        if (headLength == 0)
            CutAtWidth(rest, width, head, headLength);
        restStart += head;
        restLength -= headLength;
        starts.push_back(restStart);
    }
    return starts;
}

// The editor's positions (caret, selection, top and active line) and the
// line numbers of markers and bookmarks, carried through the renumbering of
// a wrap or unwrap so they keep pointing at the same text.
class TWordWrapper::TPositionMap {
public:
    TPositionMap(TViewTarget &ed, int lineCount) : ed_(ed)
    {
        const TCaretState &caret = ed.CaretState();
        const TViewState &view = ed.ViewState();
        positions_ = {{caret.CaretCol, caret.CaretLine},
                      caret.SelStart,
                      caret.SelEnd,
                      caret.SelAnchor,
                      {0, view.TopLine},
                      {0, view.ActiveLine}};
        lineMap_.resize(std::max(lineCount, 0));
        for (int i = 0; i < lineCount; ++i)
            lineMap_[i] = i;
    }

    // One pass over the old lines: BeginPass, then for each old line the new
    // line and column its text starts at and the column limits of its pieces.
    void BeginPass(int oldCount)
    {
        passMap_.assign(std::max(oldCount, 0), 0);
        done_.assign(positions_.size(), false);
    }
    // Old line `line` continues at (`newLine`, `column`) of the new text.
    void Moved(int line, int newLine, int column)
    {
        passMap_[line] = newLine;
        for (size_t k = 0; k < positions_.size(); ++k) {
            if (!done_[k] && positions_[k].Line == line) {
                positions_[k] = {positions_[k].Col + column, newLine};
                done_[k] = true;
            }
        }
    }
    // Old line `line` became pieces starting at `newLine`, piece k starting
    // at column pieceColumns[k].
    void Split(int line, int newLine, const std::vector<int> &pieceColumns)
    {
        passMap_[line] = newLine;
        for (size_t k = 0; k < positions_.size(); ++k) {
            if (done_[k] || positions_[k].Line != line)
                continue;
            const int col = positions_[k].Col;
            int piece = static_cast<int>(pieceColumns.size()) - 1;
            while (piece > 0 && col < pieceColumns[piece])
                --piece;
            positions_[k] = {col - pieceColumns[piece], newLine + piece};
            done_[k] = true;
        }
    }
    void EndPass()
    {
        for (int &line : lineMap_)
            if (line >= 0 && line < static_cast<int>(passMap_.size()))
                line = passMap_[line];
    }

    void Apply() const
    {
        TCaretState &caret = ed_.CaretState();
        TViewState &view = ed_.ViewState();
        TIntList &bookmarks = ed_.Bookmarks().Slots;
        caret.CaretCol = positions_[0].Col;
        caret.CaretLine = positions_[0].Line;
        caret.SelStart = positions_[1];
        caret.SelEnd = positions_[2];
        caret.SelAnchor = positions_[3];
        view.TopLine = positions_[4].Line;
        if (view.ActiveLine >= 0)
            view.ActiveLine = positions_[5].Line;
        TDodiMarkers &markers = ed_.MarkerList()->Markers();
        for (int i = 0; i < markers.Count(); ++i)
            markers.Items(i).LineNumber = Map(markers.Items(i).LineNumber);
        for (int i = 0; i < bookmarks.Count(); ++i)
            if (bookmarks[i] >= 0)
                bookmarks.Set(i, Map(bookmarks[i]));
    }

private:
    int Map(int line) const { return line >= 0 && line < static_cast<int>(lineMap_.size()) ? lineMap_[line] : line; }

    TViewTarget &ed_;
    std::vector<TCaretPos> positions_;
    std::vector<bool> done_;
    std::vector<int> lineMap_;
    std::vector<int> passMap_;
};

bool TWordWrapper::CanRun() const { return ed_.WordWrap() != wwNone && !ed_.Loading() && !ed_.ActiveLines()->Empty(); }

int TWordWrapper::WrapWidth() const
{
    return ed_.WordWrap() == wwClientWidth ? ed_.VisibleColumns() - 1 : ed_.RightMargin();
}

TWordWrapper::TLines TWordWrapper::Join(TLines lines, TPositionMap &map) const
{
    TLines joined;
    joined.reserve(lines.size());
    map.BeginPass(static_cast<int>(lines.size()));
    int joinedLength = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        REdoDodiStrings::TStoredLine &line = lines[i];
        const bool continuation = line.Prop && line.Prop->WrapContinuation;
        if (continuation && !joined.empty()) {
            map.Moved(static_cast<int>(i), static_cast<int>(joined.size()) - 1, joinedLength);
            joined.back().Text += line.Text;
            joinedLength += utf8::Length(line.Text);
            continue;
        }
        if (line.Prop)
            line.Prop->WrapContinuation = false;
        map.Moved(static_cast<int>(i), static_cast<int>(joined.size()), 0);
        joinedLength = utf8::Length(line.Text);
        joined.push_back(std::move(line));
    }
    map.EndPass();
    return joined;
}

// The first piece keeps the line's record (marks, cached state at its start),
// so joining the pieces again gives back the line as it was.
TWordWrapper::TLines TWordWrapper::Split(TLines lines, int width, TPositionMap &map) const
{
    TLines out;
    out.reserve(lines.size());
    map.BeginPass(static_cast<int>(lines.size()));
    std::vector<int> pieceColumns;
    for (size_t i = 0; i < lines.size(); ++i) {
        REdoDodiStrings::TStoredLine &line = lines[i];
        const int newIndex = static_cast<int>(out.size());
        const std::vector<size_t> starts = WrapPieceStarts(line.Text, width);
        if (starts.size() == 1) {
            map.Moved(static_cast<int>(i), newIndex, 0);
            out.push_back(std::move(line));
            continue;
        }
        pieceColumns.clear();
        const std::string text = std::move(line.Text);
        int column = 0;
        for (size_t k = 0; k < starts.size(); ++k) {
            const size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
            std::string piece = text.substr(starts[k], end - starts[k]);
            pieceColumns.push_back(column);
            column += utf8::Length(piece);
            if (k == 0) {
                line.Text = std::move(piece);
                out.push_back(std::move(line));
            } else {
                auto prop = std::make_unique<TLineProp>();
                prop->WrapContinuation = true;
                out.push_back({std::move(piece), std::move(prop), nullptr});
            }
        }
        map.Split(static_cast<int>(i), newIndex, pieceColumns);
    }
    map.EndPass();
    return out;
}

void TWordWrapper::Store(TLines lines, const TPositionMap &map)
{
    REdoDodiStrings &store = *ed_.ActiveLines();
    TIntList &wrapList = ed_.ViewState().WrapList;
    wrapList.Clear();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].Prop && lines[i].Prop->WrapContinuation)
            wrapList.Add(static_cast<int32_t>(i));
    store.BeginUpdate();
    store.PutLines(std::move(lines));
    store.EndUpdate();
    map.Apply();
    ed_.RecomputeMaxLineLength();
    ed_.DropTopLineState();
    if (store.LockCount() == 0) {
        // The line count and the longest line changed: the bars follow.
        ed_.UpdateScrollBars(false);
        ed_.Invalidate();
    }
}

// Text that is wrapped already is joined first, so wrapping twice never turns
// a wrap break into a line break of the document.
void TWordWrapper::WrapAll()
{
    if (!CanRun())
        return;
    const int width = WrapWidth();
    if (width <= 0)
        return;
    REdoDodiStrings &store = *ed_.ActiveLines();
    TPositionMap map(ed_, store.Count());
    TLines lines = Join(store.TakeLines(), map);
    Store(Split(std::move(lines), width, map), map);
}

void TWordWrapper::UnwrapAll()
{
    if (!CanRun())
        return;
    REdoDodiStrings &store = *ed_.ActiveLines();
    TPositionMap map(ed_, store.Count());
    Store(Join(store.TakeLines(), map), map);
}

void TWordWrapper::Rewrap()
{
    if (ed_.WordWrap() == wwNone)
        return;
    REdoDodiStrings &store = *ed_.ActiveLines();
    store.BeginUpdate();
    // WrapAll joins the pieces before it cuts them again.
    WrapAll();
    store.EndUpdate();
    ed_.UpdateScrollBars(true);
    if (store.LockCount() == 0)
        ed_.Invalidate();
}

} // namespace tarnwick
