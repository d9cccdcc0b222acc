#include "editor/view/printer.h"

#include "editor/document/line_store.h"
#include "editor/platform/canvas.h"
#include "editor/platform/host.h"
#include "editor/view/editor_view.h"
#include "editor/view/print_options.h"
#include "editor/view/row_layout.h"
#include "editor/view/view_settings.h"

#include <algorithm>
#include <climits>

namespace tarnwick {

TDodiPrinter::TDodiPrinter(TEditorView &view) : view_(view), data_(view.Model()), renderer_(view) {}

int TDodiPrinter::RowsOfLine(int line) const { return static_cast<int>(view_.Rows().RowStarts(line).size()); }

int TDodiPrinter::RowCount() const
{
    const int count = view_.Lines().Count();
    if (!view_.Rows().Wrapping())
        return count;
    int rows = 0;
    for (int line = 0; line < count; ++line)
        rows += RowsOfLine(line);
    return rows;
}

TDodiPrinter::PageGeometry TDodiPrinter::Geometry(Canvas &canvas, int pageWidth, int pageHeight) const
{
    const TPrintOptions &options = *data_.Print;
    canvas.SetFont(data_.Settings->Font);
    PageGeometry g;
    g.area = {options.MarginLeft, options.MarginTop, pageWidth - options.MarginRight,
              pageHeight - options.MarginBottom};
    g.lineHeight = canvas.TextHeight("W_") + 3;
    if (options.PageNr)
        g.area.bottom -= g.lineHeight;
    g.titleHeight = options.Title.empty() ? 0 : g.lineHeight;
    // Margins that leave no room for a line still print one line a page, so
    // every line reaches paper and the page count stays finite.
    g.linesPerPage = std::max(1, (g.area.bottom - g.area.top - g.titleHeight) / std::max(1, g.lineHeight));
    return g;
}

int TDodiPrinter::PageCount(Canvas &canvas, int pageWidth, int pageHeight) const
{
    const PageGeometry g = Geometry(canvas, pageWidth, pageHeight);
    return std::max(0, RowCount() - 1) / g.linesPerPage + 1;
}

void TDodiPrinter::DrawCentred(Canvas &canvas, const std::string &text, const TRect &rect) const
{
    canvas.SetFont(data_.Settings->Font);
    const int width = canvas.TextWidth(text);
    const int x = width < rect.Width() ? rect.left + (rect.Width() - width) / 2 : rect.left;
    canvas.TextOut(x, rect.top, text);
}

void TDodiPrinter::PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight)
{
    const TPrintOptions &options = *data_.Print;
    const PageGeometry g = Geometry(canvas, pageWidth, pageHeight);
    TRect line{g.area.left, g.area.top, g.area.right, g.area.top + g.lineHeight};
    if (!options.Title.empty()) {
        DrawCentred(canvas, options.Title, line);
        line.top += g.lineHeight;
        line.bottom += g.lineHeight;
    }

    const REdoDodiStrings &store = view_.Lines();
    const int count = store.Count();
    const int first = (pageNumber - 1) * g.linesPerPage;
    // The line and the row of it the page starts with.
    int at = first, index = 0;
    if (view_.Rows().Wrapping()) {
        at = 0;
        index = first;
        for (; at < count; ++at) {
            const int rows = RowsOfLine(at);
            if (index < rows)
                break;
            index -= rows;
        }
    }
    if (at < count) {
        view_.PrepareTokenizer();
        RunState lineStart = view_.ComputeTopState(at);
        for (int row = 0; row < g.linesPerPage && at < count; ++row) {
            // Each row of a line is drawn from the state at the line's start.
            RunState state = lineStart;
            const std::vector<int> starts = view_.Rows().RowStarts(at);
            const int rows = static_cast<int>(starts.size());
            const int to = index + 1 < rows ? starts[index + 1] : INT_MAX;
            renderer_.PaintPrintLine(canvas, at, line, state, {starts[index], to, index == 0});
            line.top += g.lineHeight;
            line.bottom += g.lineHeight;
            if (++index == rows) {
                lineStart = state;
                ++at;
                index = 0;
            }
        }
    }
    if (options.PageNr)
        DrawCentred(canvas, options.PagePrefix + " " + std::to_string(pageNumber),
                    {g.area.left, g.area.bottom, g.area.right, g.area.bottom + g.lineHeight});
}

bool TDodiPrinter::Print()
{
    Host *host = view_.Platform();
    if (!host)
        return false;
    const std::string &name = data_.Print->JobName;
    std::unique_ptr<PrintJob> job = host->BeginPrintJob(name.empty() ? kDefaultJobName : name);
    if (!job)
        return false;
    Canvas &canvas = job->GetCanvas();
    const int pages = PageCount(canvas, job->PageWidth(), job->PageHeight());
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            job->NewPage();
        PrintPage(canvas, job->PageWidth(), page, job->PageHeight());
    }
    return job->EndJob();
}

} // namespace tarnwick
