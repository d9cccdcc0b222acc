// TEditorView: the view of the text. It owns the row layout, the painter, the
// gutter painter and the flag glyph they share, lays out the control's client
// area (text area, folding column, scroll bars) and maps lines to rows. It
// reads plain data (view_model.h) and asks its host (view_host.h) for the
// rest; its parts meet here, never through the control.
#pragma once

#include "editor/base/graphics_types.h"
#include "editor/base/run_state.h"
#include "editor/view/view_host.h"
#include "editor/view/view_model.h"

#include <memory>
#include <string>

namespace tarnwick {

class Canvas;
class Host;
class TBitmap;
class TDodiPainter;
class TGutterPainter;
class TRowLayout;

class TEditorView {
public:
    TEditorView(TViewHost &host, const TViewModel &model);
    ~TEditorView();
    TEditorView(const TEditorView &) = delete;
    TEditorView &operator=(const TEditorView &) = delete;

    // The window the view is shown in: caret, colours, print jobs; none in
    // a view that only paints.
    void SetPlatform(Host *platform) { platform_ = platform; }
    Host *Platform() const { return platform_; }
    TViewHost &ViewHost() const { return host_; }
    const TViewModel &Model() const { return model_; }
    REdoDodiStrings &Lines() const { return *host_.ShownText().Lines; }

    // ---- the client area ----
    int Width() const { return model_.Bounds->Width(); }
    int Height() const { return model_.Bounds->Height(); }
    TRect TextArea() const;
    // The folding column left of the text area; empty while folding is off.
    TRect FoldColumn() const;
    TRect ScrollBarRect(TScrollBarKind bar) const;
    // Whole rows and columns the text area shows.
    int VisibleRows() const;
    int VisibleColumns() const;

    // ---- lines and rows ----
    // How the lines fall into rows: folded away, one row, or wrapped.
    TRowLayout &Rows() { return *rows_; }
    const TRowLayout &Rows() const { return *rows_; }
    // A line <-> its first row, counted from the first row of the text.
    int VisibleIndexOf(int line) const;
    int LineOfVisibleIndex(int index) const;
    // The first row of the view.
    int TopRow() const;

    // ---- tokenizer states ----
    // Brings the tokenizer up to date with the settings and the styler on show.
    void PrepareTokenizer();
    // The state at the start of `line`, from the cached states above it.
    RunState ComputeTopState(int line);
    // The state at the start of the top line: the stored one while it is
    // still right for the current top line, else computed and stored.
    RunState TopLineState();
    // For a region start whose first word names a definition of the
    // control's own styler that shows its comments: true, with the
    // definition's index and the summary text.
    bool RegionSummary(int line, int &definitionIndex, std::string &summary) const;

    // ---- painting ----
    // Nothing is drawn while the line store is inside an update bracket.
    void Paint(Canvas &canvas);
    // One line: mode 0 onto the screen row whose top is rect.top, mode 2
    // (printing) into `rect` of the print canvas; `state` carries on.
    void PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state);
    void PaintGutter(Canvas &canvas);
    // The default marks of the gutter row `row`, in `rect`.
    void PaintGutterRow(Canvas &canvas, int row, const TRect &rect);
    // Moves the platform's caret to the caret cell and shows it there, or
    // hides it while that cell is outside the text area.
    void PlaceCaret();

    // ---- the gutter under the mouse ----
    // The existing line whose gutter row holds (x, y), else -1.
    int GutterLineAt(int x, int y) const;
    void GutterMouseDown(TMouseButton button, int x, int y);
    // True when the double click ends in the gutter.
    bool GutterDblClick(int x, int y);
    // The flag glyph drawn in the gutter, made on first use by a canvas.
    std::unique_ptr<TBitmap> &FlagGlyph() { return flagGlyph_; }

    // ---- printing ----
    // Prints on the platform's default printer; false when no job could be
    // started or finished.
    bool Print();
    int PageCount(Canvas &canvas, int pageWidth, int pageHeight);
    void PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight);

private:
    TViewHost &host_;
    TViewModel model_;
    Host *platform_ = nullptr;
    std::unique_ptr<TBitmap> flagGlyph_;
    std::unique_ptr<TRowLayout> rows_;
    std::unique_ptr<TDodiPainter> painter_;
    std::unique_ptr<TGutterPainter> gutterPainter_;
};

} // namespace tarnwick
