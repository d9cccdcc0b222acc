#include "editor/input/mouse_input.h"

#include "editor/base/utf8.h"
#include "editor/document/line_cells.h"
#include "editor/document/search.h"
#include "editor/input/input_target.h"
#include "editor/platform/host.h"

#include <algorithm>
#include <exception>
#include <filesystem>

namespace tarnwick {

namespace {

// Pixels the pointer must travel before a pending drag of the selection starts.
constexpr int kDragThreshold = 2;
// A click this many columns past the end of a collapsed region's first line
// lands on its ellipsis box, not on text.
constexpr int kEllipsisColumns = 5;

bool StartsCollapsedRegion(const TInputTarget &ed, int line)
{
    return ed.FoldRegions().IsRegionStart(line) && !ed.FoldRegions().IsExpanded(line);
}

// The text position at view row `row` (which may lie above the text: its
// line is then negative) and cell `cell` of the text area.
TCaretPos PositionAtView(const TInputTarget &ed, int row, int cell)
{
    const int index = ed.TopRow() + row;
    if (index < 0)
        return {std::max(0, cell + ed.LeftColumn()), index};
    return ed.RowLayout().PositionAt(index, cell + ed.LeftColumn());
}

} // namespace

// ---- geometry ----

bool TMouseInput::CellMetricsReady()
{
    if (ed_.CharWidth() == 0 || ed_.LineHeight() == 0)
        ed_.SetFont(ed_.Font());
    return ed_.CharWidth() > 0 && ed_.LineHeight() > 0;
}

TCaretPos TMouseInput::CellAt(int x, int y)
{
    if (!CellMetricsReady())
        return {0, 0};
    const TRect text = ed_.TextArea();
    const int col = (x - text.left) / ed_.CharWidth();
    const int row = (y - text.top) / ed_.LineHeight();
    // Above the text is its first line; left of the text, the row's start.
    TCaretPos pos = PositionAtView(ed_, row < 0 ? -ed_.TopRow() : row, std::max(col, 0));
    if (col < 0 && !ed_.RowLayout().Wrapping())
        pos.Col = 0;
    return pos;
}

long long TMouseInput::IndexOfCell(TCaretPos cell) const
{
    const REdoDodiStrings &store = *ed_.ActiveLines();
    long long index = 0;
    const int before = std::min(cell.Line, store.Count());
    for (int line = 0; line < before; ++line)
        index += store.LineLength(line) + 2;
    if (cell.Line >= 0 && cell.Line < store.Count())
        index += std::clamp(cell.Col, 0, store.LineLength(cell.Line));
    return index;
}

std::string TMouseInput::UrlPieceAt(int line, int column) const
{
    const REdoDodiStrings &store = *ed_.ActiveLines();
    if (!ed_.UrlAware() || line < 0 || line >= store.Count() || column < 0)
        return {};
    ed_.PrepareTokenizer();
    return ed_.Tokenizer().UrlAt(store.Get(line), store.ByteOfColumn(line, column));
}

TCursor TMouseInput::CursorAt(int x, int y) const
{
    if (!ed_.TextArea().Contains({x, y}))
        return crArrow;
    if (ed_.CharWidth() <= 0 || ed_.LineHeight() <= 0)
        return ed_.Cursor();
    const TRect text = ed_.TextArea();
    const TCaretPos pos = PositionAtView(ed_, (y - text.top) / ed_.LineHeight(), (x - text.left) / ed_.CharWidth());
    return UrlPieceAt(pos.Line, pos.Col).empty() ? ed_.Cursor() : crHandPoint;
}

// ---- caret ----

void TMouseInput::HideCaret()
{
    TControlFlags &st = ed_.Flags();
    if (Host *host = ed_.GetHost(); host && st.CaretShown) {
        host->HideCaret();
        st.CaretShown = false;
    }
}

void TMouseInput::ShowCaret() { ed_.PlaceCaret(); }

void TMouseInput::ShowCursor(TCursor cursor)
{
    Host *host = ed_.GetHost();
    if (!host || cursor == state_.ShownCursor)
        return;
    host->SetCursor(cursor);
    state_.ShownCursor = cursor;
}

// The line is set first, so that a click past the end of a line pads the
// clicked line, not the one the caret leaves.
void TMouseInput::MoveCaretTo(TCaretPos cell)
{
    ed_.SetCaretLine(cell.Line);
    const int length = ed_.ActiveLines()->LineLength(ed_.CaretLine());
    const bool onEllipsis = ed_.AutoExpand() && ed_.CodeFolding()->Enabled() &&
                            StartsCollapsedRegion(ed_, ed_.CaretLine()) && cell.Col > length &&
                            cell.Col < length + kEllipsisColumns;
    if (onEllipsis)
        ed_.SetAutoExpand(false);
    ed_.SetCaretCol(cell.Col);
    if (onEllipsis)
        ed_.SetAutoExpand(true);
}

void TMouseInput::PlaceCaretAt(int x, int y, TMouseButton button, TShiftState shift, bool press)
{
    if (!ed_.TextArea().Contains({x, y}))
        return;
    TCaretPos cell = CellAt(x, y);
    if (press) {
        const long long index = IndexOfCell(cell);
        const long long selStart = ed_.SelStart();
        if (index > selStart && index < selStart + ed_.SelLength()) {
            state_.DragPending = true;
            return;
        }
    }
    HideCaret();
    cell.Line = std::clamp(cell.Line, 0, std::max(0, ed_.ActiveLines()->Count() - 1));
    state_.SkipNextMouseMove = true;
    MoveCaretTo(cell);
    if (button != mbLeft || !press) {
        ShowCaret();
        return;
    }
    if (shift.Contains(ssShift))
        ed_.ExtendSelection();
    else
        ed_.CollapseSelection();
    state_.MouseSelecting = true;
    OpenUrlAtCaret();
}

void TMouseInput::OpenUrlAtCaret()
{
    const std::string url = UrlPieceAt(ed_.CaretLine(), ed_.CaretCol());
    if (url.empty())
        return;
    if (ed_.OnURLClick)
        ed_.OnURLClick(ed_.Sender(), url);
    else if (Host *host = ed_.GetHost())
        host->OpenUrl(url);
}

// ---- buttons and moves ----

void TMouseInput::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (ed_.OnMouseDown)
        ed_.OnMouseDown(ed_.Sender(), button, shift, x, y);
    state_.DragPending = false;
    const int topLine = ed_.TopLine();
    if (Host *host = ed_.GetHost(); host && !host->Focused())
        host->SetFocus();
    if (button == mbRight)
        ed_.GutterMouseDown(mbRight, x, y);
    if (button != mbLeft)
        return;

    // A click in the gutter leaves no selection behind elsewhere: the next
    // typed key would replace it out of sight.
    if (const int gutterLine = ed_.GutterLineAt(x, y); gutterLine >= 0 && !ed_.TextArea().Contains({x, y})) {
        ed_.SetCaretLine(gutterLine);
        ed_.SetCaretCol(0);
        ed_.CollapseSelection();
        ed_.Invalidate();
    }
    PlaceCaretAt(x, y, button, shift, true);
    const bool activeLineAtCursor = ed_.ActiveLineSettings()->ActiveLineAtCursor();
    if (activeLineAtCursor)
        ed_.SetActiveLine(ed_.CaretLine());
    ed_.GutterMouseDown(mbLeft, x, y);

    if (!ed_.CodeFolding()->Enabled() || !ed_.FoldColumn().Contains({x, y}))
        return;
    const int line = CellAt(x, y).Line;
    if (line >= ed_.ActiveLines()->Count())
        return;
    ed_.SetCaretLine(line);
    ed_.ToggleRegion(line);
    if (activeLineAtCursor)
        ed_.SetActiveLine(ed_.CaretLine());
    ed_.SetTopLine(topLine);
}

void TMouseInput::MouseMove(TShiftState shift, int x, int y)
{
    if (ed_.OnMouseMove)
        ed_.OnMouseMove(ed_.Sender(), shift, x, y);
    if (state_.SkipNextMouseMove) {
        state_.SkipNextMouseMove = false;
        return;
    }
    const TCaretPos cell = CellAt(x, y);
    const bool hintCellValid = state_.HintCell.Col >= 0 && state_.HintCell.Line >= 0;
    if (ed_.ShowHint() && hintCellValid && state_.HintCell != cell) {
        if (Host *host = ed_.GetHost())
            host->CancelHint();
        state_.HintCell = {-1, -1};
    }
    if (state_.DragPending) {
        state_.DragPending = false;
        state_.Dragging = true;
        if (ed_.OnStartDrag)
            ed_.OnStartDrag(ed_.Sender());
        if (Host *host = ed_.GetHost())
            host->BeginDrag(kDragThreshold);
    }
    ShowCursor(CursorAt(x, y));
    if (shift.Contains(ssLeft) && state_.MouseSelecting && !state_.DragPending)
        SelectByDragging(x, y);
}

// The row is not clamped: above the text area it is negative and the caret
// setter scrolls the view up, one line per move.
void TMouseInput::SelectByDragging(int x, int y)
{
    if (!CellMetricsReady())
        return;
    const TRect text = ed_.TextArea();
    const int col = (x - text.left) / ed_.CharWidth();
    const int row = (y - text.top) / ed_.LineHeight();
    const TCaretPos pos = PositionAtView(ed_, row, col < 0 ? -ed_.LeftColumn() : col);
    ed_.SetCaretLine(pos.Line);
    if (col < 0) {
        ed_.SetCaretCol(pos.Line == ed_.CaretLine() ? pos.Col : 0);
        ed_.SetLeftColumn(0);
    } else {
        const REdoDodiStrings &store = *ed_.ActiveLines();
        const int line = ed_.CaretLine();
        const int column = pos.Line == line ? pos.Col : ColumnOfCell(store, line, col + ed_.LeftColumn());
        ed_.SetCaretCol(std::min(store.LineLength(line), column));
    }
    const TCaretPos caret{ed_.CaretCol(), ed_.CaretLine()};
    if (ed_.CaretState().SelEnd != caret)
        ed_.ExtendSelection();
}

void TMouseInput::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (ed_.OnMouseUp)
        ed_.OnMouseUp(ed_.Sender(), button, shift, x, y);
    if (button == mbLeft)
        ShowCaret();
    state_.MouseSelecting = false;
    if (state_.DragPending && !state_.Dragging) {
        ed_.CollapseSelection();
        state_.DragPending = false;
        PlaceCaretAt(x, y, button, shift, false);
        // The empty selection goes with the caret, so the next insertion
        // lands where the user clicked.
        ed_.CollapseSelection();
    }
}

// ---- double click ----

void TMouseInput::DblClick(int x, int y)
{
    if (ed_.GutterDblClick(x, y) || !ed_.TextArea().Contains({x, y}))
        return;
    if (ed_.OnDblClick)
        ed_.OnDblClick(ed_.Sender());
    REdoDodiStrings &store = *ed_.ActiveLines();
    if (store.Empty())
        return;
    const int line = std::clamp(ed_.CaretLine(), 0, store.Count() - 1);
    const std::u32string text = CodePoints(store.Get(line));
    const int col = ed_.CaretCol();
    const int length = static_cast<int>(text.size());

    if (col < 0 || col >= length || ed_.IsDelimiter(text[col])) {
        if (!ed_.CodeFolding()->Enabled())
            return;
        if (ed_.AutoExpand()) {
            const std::string &bytes = store.Get(line);
            const size_t keep = bytes.find_last_not_of(std::string_view(" \t\r\n\f\v"));
            const std::string trimmed = keep == std::string::npos ? std::string() : bytes.substr(0, keep + 1);
            if (trimmed != bytes)
                store.Put(line, trimmed);
            // Only a caret standing in the removed blanks moves back to the end.
            const int newLength = utf8::Length(trimmed);
            if (ed_.CaretCol() > newLength)
                ed_.SetCaretCol(newLength);
        }
        ed_.SetExpanded(line, true);
        return;
    }

    int definition = -1;
    std::string summary;
    if (StartsCollapsedRegion(ed_, line) && ed_.RegionSummary(line, definition, summary))
        ed_.SetExpanded(line, true);

    int wordEnd = col;
    while (wordEnd < length && !ed_.IsDelimiter(text[wordEnd]))
        ++wordEnd;
    int wordStart = col;
    while (wordStart > 0 && !ed_.IsDelimiter(text[wordStart - 1]))
        --wordStart;
    ed_.CollapseSelection();
    if (wordStart < wordEnd) {
        ed_.CaretState().SelStart = {wordStart, line};
        ed_.CaretState().SelEnd = {wordEnd, line};
    }
    ed_.DoSelectionChange();
    ed_.Invalidate();
}

// ---- drag-and-drop ----

bool TMouseInput::DragOver(void *source, int x, int y, TDragState dragState)
{
    if (!ed_.OnDragOver)
        return false;
    bool accept = true;
    ed_.OnDragOver(ed_.Sender(), source, x, y, dragState, accept);
    return accept;
}

// A move takes the text out before putting it in, so a drop point behind the
// selection is shifted back by what was taken; a drop inside the selection
// leaves the text as it is.
void TMouseInput::DragDrop(void *source, int x, int y, TShiftState shift)
{
    const bool modifiable = !ed_.ReadOnly() && ed_.CanModify();
    if (source == &ed_ && modifiable && ed_.TextArea().Contains({x, y})) {
        const std::string text = ed_.SelText();
        TCaretPos start, end;
        ed_.NormalizedSelection(start, end);
        TCaretPos drop = CellAt(x, y);
        drop.Line = std::clamp(drop.Line, 0, std::max(0, ed_.ActiveLines()->Count() - 1));
        const TCaretPos dropInText{std::min(drop.Col, ed_.ActiveLines()->LineLength(drop.Line)), drop.Line};
        const bool move = !shift.Contains(ssCtrl);
        const bool insideSelection = start < dropInText && dropInText < end;
        if (!(move && insideSelection)) {
            if (move) {
                if (!(dropInText < end)) {
                    if (drop.Line == end.Line)
                        drop = {start.Col + (drop.Col - end.Col), start.Line};
                    else
                        drop.Line -= end.Line - start.Line;
                }
                ed_.DeleteSelection(false);
            }
            MoveCaretTo(drop);
            const TCaretPos caret{ed_.CaretCol(), ed_.CaretLine()};
            ed_.CaretState().SelStart = ed_.CaretState().SelEnd = caret;
            ed_.InsertText(text);
        }
    }
    if (ed_.OnDragDrop)
        ed_.OnDragDrop(ed_.Sender(), source, x, y);
}

void TMouseInput::DragEnded()
{
    state_.Dragging = false;
    state_.DragPending = false;
    state_.MouseSelecting = false;
}

// ---- files from the desktop ----

void TMouseInput::DropFiles(const std::vector<std::string> &fileNames)
{
    for (const std::string &name : fileNames) {
        bool defaultHandler = true;
        if (ed_.OnFileDrop)
            ed_.OnFileDrop(ed_.Sender(), name, defaultHandler);
        if (!defaultHandler)
            continue;
        try {
            // A folder opens as an empty stream; loading it would wipe the text.
            std::error_code ec;
            if (std::filesystem::is_directory(name, ec))
                throw std::runtime_error("Cannot open file \"" + name + "\". Is a directory");
            ed_.ActiveLines()->LoadFromFile(name);
        } catch (const std::exception &e) {
            if (Host *host = ed_.GetHost())
                host->ShowMessage(e.what(), TMessageKind::Error);
            return;
        }
    }
}

} // namespace tarnwick
