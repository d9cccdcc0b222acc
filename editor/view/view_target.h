// TViewTarget: what painting, the gutter, scrolling, the row layout, block matching
// and printing need of the editor they draw. The control implements it; the
// view's collaborators hold this narrow face, never the control itself.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/base/graphics_types.h"
#include "editor/base/run_state.h"
#include "editor/document/bookmarks.h"
#include "editor/document/caret_state.h"
#include "editor/document/fold_regions.h"
#include "editor/document/line_store.h"
#include "editor/highlight/char_style.h"
#include "editor/highlight/tokenizer.h"
#include "editor/platform/canvas.h"
#include "editor/platform/dodi_scroll_bar.h"
#include "editor/view/active_line_settings.h"
#include "editor/view/code_folding.h"
#include "editor/view/control_flags.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/dodi_markers.h"
#include "editor/view/editor_events.h"
#include "editor/view/print_options.h"
#include "editor/view/row_layout.h"
#include "editor/view/view_state.h"

#include <algorithm>
#include <memory>

namespace tarnwick {

class Host;
class PopupWindow;
class TCustomDodiStyler;

class TViewTarget : public TEditorEvents {
public:
    // ---- platform ----
    virtual Host *GetHost() const = 0;
    // Repaint requests; nothing happens without a host.
    virtual void Invalidate() = 0;
    virtual void InvalidateRect(const TRect &r) = 0;
    virtual void InvalidateGutter() = 0;

    // ---- state, by owner ----
    // Held here rather than behind a call: every key and every painted row
    // reads them.
    // Caret and selection, what the editing commands move.
    TCaretState &CaretState() { return caretState_; }
    const TCaretState &CaretState() const { return caretState_; }
    int CaretCol() const { return caretState_.CaretCol; }
    int CaretLine() const { return caretState_.CaretLine; }
    bool Overwrite() const { return caretState_.Overwrite; }
    // What the view shows and how.
    TViewState &ViewState() { return viewState_; }
    const TViewState &ViewState() const { return viewState_; }
    int TopLine() const { return viewState_.TopLine; }
    // The first row of the view, counted from the first row of the text.
    int TopRow() const { return VisibleIndexOf(viewState_.TopLine) + viewState_.TopSubRow; }
    // Moves the view's top to `row`, nothing else.
    void SetTopRowDirect(int row)
    {
        viewState_.TopLine = LineOfVisibleIndex(row);
        viewState_.TopSubRow = std::max(0, row - VisibleIndexOf(viewState_.TopLine));
    }
    int LeftColumn() const { return viewState_.LeftColumn; }
    int MaxLineLength() const { return viewState_.MaxLineLength; }
    int CharWidth() const { return viewState_.CharWidth; }
    int LineHeight() const { return viewState_.LineHeight; }
    int ActiveLine() const { return viewState_.ActiveLine; }
    void DropTopLineState() { viewState_.TopStateLine = -1; }
    // The control's switches between events.
    TControlFlags &Flags() { return flags_; }
    const TControlFlags &Flags() const { return flags_; }
    // The bookmarks of the text; they follow its lines.
    virtual TBookmarks &Bookmarks() = 0;
    virtual const TBookmarks &Bookmarks() const = 0;
    virtual bool Loading() const = 0;

    // ---- the text ----
    // The store every operation works on: the shared source's when one is
    // attached, else the control's own.
    virtual REdoDodiStrings *ActiveLines() = 0;
    virtual const REdoDodiStrings *ActiveLines() const = 0;
    // Selection start and end in document order.
    virtual void NormalizedSelection(TCaretPos &start, TCaretPos &end) const = 0;
    // Character index <-> position; every line break counts 2 characters.
    virtual TCaretPos PositionOfIndex(int index) const = 0;
    virtual int IndexOfPosition(TCaretPos pos) const = 0;
    virtual bool IsDelimiter(char32_t c) const = 0;

    // ---- geometry and scrolling ----
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual TRect TextArea() const = 0;
    // The folding column left of the text area; empty while folding is off.
    virtual TRect FoldColumn() const = 0;
    virtual TRect ScrollBarRect(TScrollBarKind bar) const = 0;
    // Whole rows and columns the text area shows.
    virtual int VisibleRows() const = 0;
    virtual int VisibleColumns() const = 0;
    // A line <-> its first row of the view; every mapping between the two
    // goes here. RowLayout() adds where in its line a row starts.
    virtual int VisibleIndexOf(int line) const = 0;
    virtual int LineOfVisibleIndex(int index) const = 0;
    virtual const TRowLayout &RowLayout() const = 0;
    // The fold regions of the text and the rows they leave shown.
    virtual const TFoldRegions &FoldRegions() const = 0;
    // Reads again around the edits a region finder has not read yet; unless
    // `force`, a change over much text is left for later.
    virtual void UpdateFoldRegions(bool force) = 0;
    // For a region start whose first word names a definition that shows its
    // comments: true, with the definition's index and the summary text.
    virtual bool RegionSummary(int line, int &definitionIndex, std::string &summary) const = 0;
    // The view row of `line`'s first row, counted from the view's top.
    virtual int RowOfLine(int line) const = 0;
    virtual void SetTopLine(int line) = 0;
    virtual void SetTopRow(int row) = 0;
    // Recomputes MaxLineLength from the line lengths when they are complete.
    virtual void RecomputeMaxLineLength() = 0;
    virtual void MakeCaretVisible() = 0;
    virtual void UpdateScrollBars(bool repaint = true) = 0;
    virtual TDodiScrollBar &VertScrollBar() = 0;
    virtual TDodiScrollBar &HorzScrollBar() = 0;
    // Lays the lines out again when the wrap width changed.
    virtual void Rewrap() = 0;

    // ---- highlighting ----
    virtual TLineTokenizer &Tokenizer() = 0;
    // Brings the tokenizer up to date with the settings; painting and printing
    // call it before they tokenize.
    virtual void PrepareTokenizer() = 0;
    // The tokenizer state at the start of `line`, from the cached states above it.
    virtual RunState ComputeTopState(int line) = 0;
    // The state at the start of TopLine: the stored one while it is still
    // right for the current top line, else computed and stored.
    virtual RunState TopLineState() = 0;

    // ---- painting ----
    // One line: mode 0 onto the screen row whose top is rect.top, mode 2
    // (printing) into `rect` of the print canvas; `state` carries on.
    virtual void PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state) = 0;
    virtual void PaintGutter(Canvas &canvas) = 0;
    // Shows the caret in its cell, or hides it while the cell is out of view.
    virtual void PlaceCaret() = 0;
    virtual void DoGutterClick(int line) = 0;
    virtual PopupWindow *ScrollHintWindow() = 0;

    // ---- appearance settings ----
    virtual TDodiActiveLineSettings *ActiveLineSettings() = 0;
    virtual TColor BkColor() const = 0;
    virtual TColor BlockColor() const = 0;
    virtual TColor BlockLineColor() const = 0;
    virtual bool BlockShow() const = 0;
    virtual TColor BorderColor() const = 0;
    virtual TBorderStyle BorderStyle() const = 0;
    virtual TColor BreakpointColor() const = 0;
    virtual TColor BreakpointTextColor() const = 0;
    virtual TCodeFolding *CodeFolding() = 0;
    virtual const TCodeFolding *CodeFolding() const = 0;
    virtual bool Ctl3D() const = 0;
    virtual const TFont &Font() const = 0;
    virtual void SetFont(const TFont &font) = 0;
    virtual TDodiGutter *Gutter() = 0;
    virtual const TDodiGutter *Gutter() const = 0;
    virtual bool HiddenCaret() const = 0;
    virtual bool HideSelection() const = 0;
    virtual TDodiMarkerList *MarkerList() = 0;
    virtual TPrintOptions *PrintOptions() = 0;
    virtual int RightMargin() const = 0;
    virtual TColor RightMarginColor() const = 0;
    virtual TScrollStyle ScrollBars() const = 0;
    virtual bool ScrollHint() const = 0;
    virtual TScrollMode ScrollMode() const = 0;
    virtual TColor SelBkColor() const = 0;
    virtual TColor SelColor() const = 0;
    virtual bool ShowRightMargin() const = 0;
    virtual TCustomDodiStyler *SyntaxStyles() const = 0;
    // The styler the text is shown with: the shared source's when one is
    // attached, else SyntaxStyles.
    virtual TCustomDodiStyler *ActiveStyler() const = 0;
    virtual const TCharStyle &UrlStyle() const = 0;
    virtual bool UseStyler() const = 0;
    virtual TWordWrapStyle WordWrap() const = 0;

protected:
    TCaretState caretState_;
    TViewState viewState_;
    TControlFlags flags_;
};

} // namespace tarnwick
