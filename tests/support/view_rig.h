// A view on plain data: a line store, caret, fold regions and settings, a
// host double that records what the view asks, and a canvas that files the
// text drawn into the line bitmap under the row it is copied to. No control
// and no window are built; cells are 8 x 16 pixels, rows 17.
#pragma once

#include "editor/document/caret_state.h"
#include "editor/document/fold_regions.h"
#include "editor/document/line_store.h"
#include "editor/highlight/tokenizer.h"
#include "editor/platform/dodi_scroll_bar.h"
#include "editor/view/active_line_settings.h"
#include "editor/view/code_folding.h"
#include "editor/view/control_flags.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/dodi_markers.h"
#include "editor/view/editor_view.h"
#include "editor/view/print_options.h"
#include "editor/view/row_layout.h"
#include "editor/view/view_settings.h"
#include "editor/view/view_state.h"
#include "support/recording_canvas.h"

#include <string>
#include <utility>
#include <vector>

namespace tarnwick::test {

// Records what the view asks of its host; draws gutter marks only when told to.
class ViewHostDouble : public TViewHost {
public:
    explicit ViewHostDouble(REdoDodiStrings &lines, TViewState &view) : lines_(lines), view_(view) {}

    void Invalidate() override {}
    void InvalidateRect(const TRect &) override {}
    TShownText ShownText() const override { return {&lines_, nullptr, nullptr}; }
    void MeasureCells() override
    {
        ++Measured;
        view_.CharWidth = RecordingCanvas::kCharWidth;
        view_.LineHeight = RecordingCanvas::kCharHeight + 1;
    }
    void UpdateFoldRegions(bool) override { ++FoldUpdates; }
    bool DrawGutterRow(Canvas &, int row, const TRect &rect) override
    {
        if (!DrawsGutterMarks)
            return false;
        GutterRows.push_back({row, rect.top});
        return true;
    }
    void GutterClicked(TMouseButton button, int line) override { GutterClicks.push_back({button, line}); }
    void GutterDblClicked(int line) override { GutterDblClicks.push_back(line); }

    int Measured = 0;
    int FoldUpdates = 0;
    bool DrawsGutterMarks = true;
    // (row, top pixel) of each gutter row the host was asked to mark.
    std::vector<std::pair<int, int>> GutterRows;
    std::vector<std::pair<TMouseButton, int>> GutterClicks;
    std::vector<int> GutterDblClicks;

private:
    REdoDodiStrings &lines_;
    TViewState &view_;
};

// The window: every copy of the line bitmap ends a row, whose text is what
// was written into the bitmap since the copy before.
class RowCanvas : public RecordingCanvas {
public:
    struct Row {
        int Top = 0;
        std::string Text;
    };

    std::unique_ptr<TBitmap> CreateBitmap(int width, int height) override
    {
        return std::make_unique<LineBitmap>(width, height, pending_);
    }
    void CopyRect(const TRect &dest, TBitmap &bitmap, const TRect &source) override
    {
        RecordingCanvas::CopyRect(dest, bitmap, source);
        Rows.push_back({dest.top, pending_});
        pending_.clear();
    }

    std::vector<Row> Rows;

private:
    class LineCanvas : public RecordingCanvas {
    public:
        explicit LineCanvas(std::string &sink) : sink_(sink) {}
        void TextOut(int x, int y, std::string_view text) override
        {
            RecordingCanvas::TextOut(x, y, text);
            sink_ += text;
        }

    private:
        std::string &sink_;
    };
    class LineBitmap : public TBitmap {
    public:
        LineBitmap(int width, int height, std::string &sink) : width_(width), height_(height), canvas_(sink) {}
        int Width() const override { return width_; }
        int Height() const override { return height_; }
        void SetSize(int width, int height) override
        {
            width_ = width;
            height_ = height;
        }
        Canvas &GetCanvas() override { return canvas_; }

    private:
        int width_;
        int height_;
        LineCanvas canvas_;
    };

    std::string pending_;
};

struct ViewRig {
    static constexpr int kRow = RecordingCanvas::kCharHeight + 1;

    ViewRig()
    {
        gutter.SetRect({1, 1, 1 + gutter.GutterWidth(), 1});
        TViewModel model;
        model.Caret = &caret;
        model.View = &state;
        model.Flags = &flags;
        model.Folds = &folds;
        model.Tokenizer = &tokenizer;
        model.Settings = &settings;
        model.Gutter = &gutter;
        model.Folding = &folding;
        model.ActiveLine = &activeLine;
        model.Markers = &markers;
        model.Print = &print;
        model.VertBar = &vertBar;
        model.HorzBar = &horzBar;
        model.Bounds = &bounds;
        view = std::make_unique<TEditorView>(host, model);
    }

    void SetText(const std::vector<std::string> &text)
    {
        lines.Clear();
        lines.AddStrings(text);
        folds.Reset(lines.Count());
        view->Rows().Relayout(true);
    }

    // The rows one paint draws, top to bottom.
    std::vector<RowCanvas::Row> PaintedRows()
    {
        RowCanvas window;
        view->Paint(window);
        return window.Rows;
    }

    REdoDodiStrings lines;
    TCaretState caret;
    TViewState state;
    TControlFlags flags;
    TFoldRegions folds;
    TLineTokenizer tokenizer;
    TViewSettings settings;
    TDodiGutter gutter;
    TCodeFolding folding;
    TDodiActiveLineSettings activeLine;
    TDodiMarkerList markers;
    TPrintOptions print;
    TDodiScrollBar vertBar{sbVertical};
    TDodiScrollBar horzBar{sbHorizontal};
    TRect bounds{0, 0, 400, 12 * kRow};
    ViewHostDouble host{lines, state};
    std::unique_ptr<TEditorView> view;
};

} // namespace tarnwick::test
