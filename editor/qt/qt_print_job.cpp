#include "editor/qt/qt_print_job.h"

#include <QPrinterInfo>

namespace tarnwick::qt {

QtPrintJob::QtPrintJob(std::unique_ptr<QPrinter> owned, QPrinter &printer) : owned_(std::move(owned)), printer_(printer)
{
}

std::unique_ptr<QtPrintJob> QtPrintJob::OnDefaultPrinter(const std::string &jobName)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Device pixels of a 96-dpi screen: fonts, given in pixels, print at the
    // size they have on screen. The output stays vector text.
    printer->setResolution(96);
    QPrinter &ref = *printer;
    std::unique_ptr<QtPrintJob> job(new QtPrintJob(std::move(printer), ref));
    ref.setDocName(QString::fromStdString(jobName));
    if (!job->painter_.begin(&ref))
        return nullptr;
    job->canvas_.SetPainter(&job->painter_);
    return job;
}

std::unique_ptr<QtPrintJob> QtPrintJob::OnPrinter(QPrinter &printer, const std::string &jobName)
{
    std::unique_ptr<QtPrintJob> job(new QtPrintJob(nullptr, printer));
    printer.setDocName(QString::fromStdString(jobName));
    if (!job->painter_.begin(&printer))
        return nullptr;
    job->canvas_.SetPainter(&job->painter_);
    return job;
}

int QtPrintJob::PageWidth() const { return printer_.pageLayout().paintRectPixels(printer_.resolution()).width(); }

int QtPrintJob::PageHeight() const { return printer_.pageLayout().paintRectPixels(printer_.resolution()).height(); }

void QtPrintJob::NewPage()
{
    if (!printer_.newPage())
        ok_ = false;
}

bool QtPrintJob::EndJob()
{
    canvas_.SetPainter(nullptr);
    if (painter_.isActive() && !painter_.end())
        ok_ = false;
    return ok_ && printer_.printerState() != QPrinter::Error && printer_.printerState() != QPrinter::Aborted;
}

void QtPrintJob::Abort()
{
    printer_.abort();
    canvas_.SetPainter(nullptr);
    if (painter_.isActive())
        painter_.end();
    ok_ = false;
}

} // namespace tarnwick::qt
