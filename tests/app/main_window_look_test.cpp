// The main window's editor as the user sees it: one offscreen screenshot of
// the real widget, checked at a few pixels whose colours the editor's
// settings fix (background, selection, a symbol in blue, the right margin).
#include "shell_fixture.h"

#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"

#include <QApplication>
#include <QImage>

using namespace tarnwick;

namespace {

QColor PixelOf(const QImage &image, int x, int y) { return image.pixelColor(x, y); }

bool Near(const QColor &a, const QColor &b, int tolerance = 8)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The first pixel of `color` in row y between x0 and x1, or -1.
int FindInRow(const QImage &image, int y, int x0, int x1, const QColor &color)
{
    for (int x = x0; x < x1; ++x)
        if (Near(image.pixelColor(x, y), color, 40))
            return x;
    return -1;
}

class MainWindowLook : public ShellTest {
protected:
    QImage Shoot()
    {
        QApplication::processEvents();
        DodiWidget &widget = window->EditorWidget();
        widget.repaint();
        QImage image = widget.grab().toImage();
        if (const QByteArray dump = qgetenv("TARNWICK_SCREENSHOT"); !dump.isEmpty())
            image.save(QString::fromUtf8(dump));
        return image;
    }
};

TEST_F(MainWindowLook, EditorShowsBackgroundSelectionBlueSymbolsAndTheRightMargin)
{
    REdoDodi &ed = window->Editor();
    ed.Lines()->SetText("<a b=\"1\">text</a>\r\n<second/>\r\n<t>Na\xC3\xAFve \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80 "
                        "\xC5\x81ukasz</t>\r\n");
    ed.CaretState().SelStart = {0, 1};
    ed.CaretState().SelEnd = {9, 1};
    ed.SetHideSelection(false);
    const QImage image = Shoot();

    const TRect text = ed.TextArea();
    const int cw = ed.CharWidth();
    const int lh = ed.LineHeight();
    ASSERT_GT(cw, 0);
    ASSERT_GT(lh, 0);
    const int row0 = text.top + 1;
    const int row1 = row0 + lh;

    // Below the text: the white background.
    EXPECT_TRUE(Near(PixelOf(image, text.left + 5 * cw, row1 + 3 * lh), Qt::white));
    // The selected second row: navy behind the characters.
    EXPECT_TRUE(Near(PixelOf(image, text.left + 4 * cw + 1, row1 + 1), QColor(0, 0, 0x80)));
    // The "<" that opens the first line is a symbol drawn in blue.
    EXPECT_GE(FindInRow(image, row0 + lh / 2, text.left, text.left + cw, QColor(0, 0, 255)), 0);
    // The right margin line at column 80 in 0xEFE7DF.
    const int marginX = text.left + 80 * cw;
    if (marginX < text.right)
        EXPECT_TRUE(Near(PixelOf(image, marginX, row1 + 3 * lh), QColor(0xDF, 0xE7, 0xEF), 2));
}

} // namespace
