// Printing: pages, titles, page numbers and what reaches the printer.
#include "editor/control/redodi.h"
#include "editor/view/printer.h"
#include "support/fake_host.h"
#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include <map>

namespace tarnwick::test {
namespace {

// Print lines are "W_" high plus 3: 19 pixels on the recording grid.
constexpr int kPrintLine = RecordingCanvas::kCharHeight + 3;
constexpr int kPageWidth = 800;
constexpr int kPageHeight = 1100;
constexpr int kLinesPerPage = kPageHeight / kPrintLine;

class Printing : public ::testing::Test {
protected:
    Printing() { ed.SetHost(&host); }

    void SetLines(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        ed.Lines()->SetText(text);
    }

    int Pages()
    {
        RecordingCanvas canvas;
        return ed.PageCount(canvas, kPageWidth, kPageHeight);
    }

    // The texts drawn on page `n`, top to bottom.
    std::vector<CanvasCall> PageTexts(int n)
    {
        RecordingCanvas canvas;
        ed.PrintPage(canvas, kPageWidth, n, kPageHeight);
        return canvas.CallsOf("TextOut");
    }

    // Whether one print line reads `text`: the runs drawn at one height, joined.
    static bool Drew(const std::vector<CanvasCall> &texts, const std::string &text)
    {
        std::map<int, std::string> rows;
        for (const CanvasCall &c : texts)
            rows[c.Args[1]] += c.Text;
        for (const auto &[y, row] : rows)
            if (row == text)
                return true;
        return false;
    }

    FakeHost host;
    REdoDodi ed;
};

TEST_F(Printing, PagesHoldWholePrintLines)
{
    SetLines(1);
    EXPECT_EQ(Pages(), 1);
    SetLines(2 * kLinesPerPage);
    EXPECT_EQ(Pages(), 2);
    SetLines(2 * kLinesPerPage + 1);
    EXPECT_EQ(Pages(), 3);
    const std::vector<CanvasCall> last = PageTexts(3);
    EXPECT_TRUE(Drew(last, "line " + std::to_string(2 * kLinesPerPage)));
    EXPECT_FALSE(Drew(last, "line " + std::to_string(2 * kLinesPerPage - 1)));
}

TEST_F(Printing, TitleStartsEveryPageAndTakesOneLine)
{
    TPrintOptions options = *ed.PrintOptions();
    options.Title = "Report";
    ed.SetPrintOptions(options);
    SetLines(2 * kLinesPerPage);
    EXPECT_EQ(Pages(), 3);
    for (int page = 1; page <= 2; ++page) {
        const std::vector<CanvasCall> texts = PageTexts(page);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front().Text, "Report");
        EXPECT_EQ(texts.front().Args[1], 0);
        EXPECT_EQ(texts.front().Args[0], (kPageWidth - 6 * RecordingCanvas::kCharWidth) / 2);
    }
    EXPECT_TRUE(Drew(PageTexts(2), "line " + std::to_string(kLinesPerPage - 1)));
}

TEST_F(Printing, TitleWiderThanThePageStartsAtTheLeftEdge)
{
    TPrintOptions options = *ed.PrintOptions();
    options.Title = std::string(kPageWidth / RecordingCanvas::kCharWidth + 5, 'T');
    options.MarginLeft = 20;
    ed.SetPrintOptions(options);
    SetLines(1);
    EXPECT_EQ(PageTexts(1).front().Args[0], 20);
}

TEST_F(Printing, PageNumberSitsCentredBelowTheText)
{
    TPrintOptions options = *ed.PrintOptions();
    options.PageNr = true;
    ed.SetPrintOptions(options);
    SetLines(3 * kLinesPerPage);
    const int linesPerPage = (kPageHeight - kPrintLine) / kPrintLine;
    EXPECT_EQ(Pages(), (3 * kLinesPerPage - 1) / linesPerPage + 1);

    const std::vector<CanvasCall> texts = PageTexts(3);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().Text, " 3");
    EXPECT_EQ(texts.back().Args[1], kPageHeight - kPrintLine);
    EXPECT_EQ(texts.back().Args[0], (kPageWidth - 2 * RecordingCanvas::kCharWidth) / 2);
}

TEST_F(Printing, LineNumbersStandRightAlignedBeforeTheText)
{
    TPrintOptions options = *ed.PrintOptions();
    options.PrintLineNumbers = true;
    ed.SetPrintOptions(options);
    SetLines(120);
    const std::vector<CanvasCall> texts = PageTexts(1);
    constexpr int kCell = RecordingCanvas::kCharWidth;
    // "120" is three characters wide: "1" sits in the last cell, the text after the field.
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "1");
    EXPECT_EQ(texts[0].Args[0], 2 * kCell);
    EXPECT_EQ(texts[1].Args[0], 3 * kCell);
    EXPECT_TRUE(Drew(texts, "1line 0"));
}

TEST_F(Printing, AWrappedLinePrintsItsRowsUnderOneNumber)
{
    TPrintOptions options = *ed.PrintOptions();
    options.PrintLineNumbers = true;
    ed.SetPrintOptions(options);
    ed.Lines()->SetText("alpha beta gamma delta epsilon\r\nnext\r\n");
    ed.SetRightMargin(13);
    ed.SetWordWrap(wwRightMargin);
    const std::vector<CanvasCall> texts = PageTexts(1);
    EXPECT_TRUE(Drew(texts, "1alpha beta "));
    EXPECT_TRUE(Drew(texts, "gamma delta "));
    EXPECT_TRUE(Drew(texts, "epsilon"));
    EXPECT_TRUE(Drew(texts, "2next"));
    EXPECT_EQ(Pages(), 1);
}

TEST_F(Printing, MarginsTooWideForALineStillPrintEveryLine)
{
    TPrintOptions options = *ed.PrintOptions();
    options.MarginTop = kPageHeight;
    ed.SetPrintOptions(options);
    SetLines(3);
    EXPECT_EQ(Pages(), 3);
}

TEST_F(Printing, PrintSendsEveryPageAsOneNamedJobAndLeavesTheViewAlone)
{
    SetLines(kLinesPerPage + 1);
    ed.SetCaretLine(2);
    ASSERT_TRUE(ed.Print());
    ASSERT_EQ(host.PrintJobNames, std::vector<std::string>{TDodiPrinter::kDefaultJobName});
    EXPECT_EQ(ed.CaretLine(), 2);
    EXPECT_EQ(ed.TopLine(), 0);

    TPrintOptions options = *ed.PrintOptions();
    options.JobName = "catalog";
    ed.SetPrintOptions(options);
    ASSERT_TRUE(ed.Print());
    EXPECT_EQ(host.PrintJobNames.back(), "catalog");
}

TEST_F(Printing, NoPrinterMeansNothingPrintedAndSaysSo)
{
    host.PrinterAvailable = false;
    SetLines(3);
    EXPECT_FALSE(ed.Print());

    REdoDodi windowless;
    EXPECT_FALSE(windowless.Print());
}

} // namespace
} // namespace tarnwick::test
