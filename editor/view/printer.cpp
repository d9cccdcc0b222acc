#include "editor/view/printer.h"

#include "editor/platform/canvas.h"
#include "editor/platform/host.h"
#include "editor/view/view_target.h"

#include <algorithm>

namespace tarnwick {

TDodiPrinter::PageGeometry TDodiPrinter::Geometry(Canvas &canvas, int pageWidth, int pageHeight) const
{
    const TPrintOptions &options = *ed_.PrintOptions();
    canvas.SetFont(ed_.Font());
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
    const int lines = ed_.ActiveLines()->Count();
    return std::max(0, lines - 1) / g.linesPerPage + 1;
}

void TDodiPrinter::DrawCentred(Canvas &canvas, const std::string &text, const TRect &rect) const
{
    canvas.SetFont(ed_.Font());
    const int width = canvas.TextWidth(text);
    const int x = width < rect.Width() ? rect.left + (rect.Width() - width) / 2 : rect.left;
    canvas.TextOut(x, rect.top, text);
}

void TDodiPrinter::PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight)
{
    const TPrintOptions &options = *ed_.PrintOptions();
    const PageGeometry g = Geometry(canvas, pageWidth, pageHeight);
    TRect line{g.area.left, g.area.top, g.area.right, g.area.top + g.lineHeight};
    if (!options.Title.empty()) {
        DrawCentred(canvas, options.Title, line);
        line.top += g.lineHeight;
        line.bottom += g.lineHeight;
    }

    const int count = ed_.ActiveLines()->Count();
    const int first = (pageNumber - 1) * g.linesPerPage;
    const int last = std::min(pageNumber * g.linesPerPage, count) - 1;
    if (first < count) {
        ed_.PrepareTokenizer();
        RunState state = ed_.ComputeTopState(first);
        for (int i = first; i <= last; ++i) {
            ed_.PaintLine(canvas, i, line, 2, state);
            line.top += g.lineHeight;
            line.bottom += g.lineHeight;
        }
    }
    if (options.PageNr)
        DrawCentred(canvas, options.PagePrefix + " " + std::to_string(pageNumber),
                    {g.area.left, g.area.bottom, g.area.right, g.area.bottom + g.lineHeight});
}

bool TDodiPrinter::Print()
{
    Host *host = ed_.GetHost();
    if (!host)
        return false;
    const std::string &name = ed_.PrintOptions()->JobName;
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
