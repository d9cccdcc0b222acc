// TDodiPrinter: prints the editor's whole text, one print line per row of a
// text line (a wrapped line takes as many as on screen, its number on the
// first), with an optional title on every page, page numbers and line
// numbers. The rows are drawn by the line renderer's print mode, so paper
// shows the screen's colours.
#pragma once

#include "editor/base/graphics_types.h"
#include "editor/view/line_renderer.h"

#include <string>

namespace tarnwick {

class Canvas;
class TEditorView;
struct TViewModel;

class TDodiPrinter {
public:
    explicit TDodiPrinter(TEditorView &view);

    // Prints on the host's default printer; false when no job could be
    // started or finished (no printer, spooler failure).
    bool Print();
    int PageCount(Canvas &canvas, int pageWidth, int pageHeight) const;
    void PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight);

    static constexpr const char *kDefaultJobName = "DidIzad print job";

private:
    struct PageGeometry {
        TRect area; // printable area less the margins and the page-number strip
        int lineHeight = 0;
        int titleHeight = 0;
        int linesPerPage = 1;
    };

    PageGeometry Geometry(Canvas &canvas, int pageWidth, int pageHeight) const;
    void DrawCentred(Canvas &canvas, const std::string &text, const TRect &rect) const;
    // Print rows of the whole text, and of `line`.
    int RowCount() const;
    int RowsOfLine(int line) const;

    TEditorView &view_;
    const TViewModel &data_;
    TLineRenderer renderer_;
};

} // namespace tarnwick
