// Printing the editor's text into a PDF through the Qt print job.
#include "editor/control/redodi.h"
#include "editor/qt/qt_print_job.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarnwick::test {
namespace {

TEST(PrintToPdf, EveryPageOfTheTextReachesTheFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("out.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(96);

    REdoDodi editor;
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "<line number=\"" + std::to_string(i) + "\"/>\r\n";
    editor.Lines()->SetText(text);

    std::unique_ptr<qt::QtPrintJob> job = qt::QtPrintJob::OnPrinter(printer, "test job");
    ASSERT_NE(job, nullptr);
    const int pages = editor.PageCount(job->GetCanvas(), job->PageWidth(), job->PageHeight());
    EXPECT_GT(pages, 1);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            job->NewPage();
        editor.PrintPage(job->GetCanvas(), job->PageWidth(), page, job->PageHeight());
    }
    ASSERT_TRUE(job->EndJob());

    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), pages)
        << "pages in the file";
}

} // namespace
} // namespace tarnwick::test
