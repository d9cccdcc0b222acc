// QtPrintJob: a print job of the editor on a QPrinter (the default printer,
// or any printer a caller set up, such as a PDF file).
#pragma once

#include "editor/platform/host.h"
#include "editor/qt/qt_canvas.h"

#include <QPainter>
#include <QPrinter>

#include <memory>

namespace tarnwick::qt {

class QtPrintJob : public PrintJob {
public:
    // Null when no printer is installed or the job cannot start.
    static std::unique_ptr<QtPrintJob> OnDefaultPrinter(const std::string &jobName);
    // Prints on `printer`, which must outlive the job.
    static std::unique_ptr<QtPrintJob> OnPrinter(QPrinter &printer, const std::string &jobName);

    Canvas &GetCanvas() override { return canvas_; }
    int PageWidth() const override;
    int PageHeight() const override;
    void NewPage() override;
    bool EndJob() override;
    void Abort() override;

private:
    QtPrintJob(std::unique_ptr<QPrinter> owned, QPrinter &printer);

    std::unique_ptr<QPrinter> owned_;
    QPrinter &printer_;
    QPainter painter_;
    QtCanvas canvas_;
    bool ok_ = true;
};

} // namespace tarnwick::qt
