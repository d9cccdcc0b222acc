// The QPainter canvas: text on the character grid whatever the characters,
// fonts asked for by name, system colours from the palette, and the drawing
// primitives' pixel rules.
#include "editor/qt/qt_canvas.h"
#include "editor/qt/qt_colors.h"
#include "editor/qt/qt_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace tarnwick::qt {
namespace {

TFont Courier()
{
    TFont font;
    font.Name = "COURIER NEW";
    font.Height = -13;
    return font;
}

class Drawing : public ::testing::Test {
protected:
    Drawing() : image(300, 40, QImage::Format_RGB32), painter(&image), canvas(&painter) { image.fill(Qt::white); }
    // Columns [from, to) of the image hold a pixel darker than light grey.
    bool Inked(int from, int to)
    {
        if (painter.isActive())
            painter.end();
        for (int x = from; x < to; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qGray(image.pixel(x, y)) < 160)
                    return true;
        return false;
    }

    QImage image;
    QPainter painter;
    QtCanvas canvas;
};

TEST(QtFonts, NamesResolveThroughTheFontSystem)
{
    const TQtFont &courier = QtFontOf(Courier());
    EXPECT_EQ(QFontInfo(courier.Font).family(), "Liberation Mono");
    EXPECT_TRUE(courier.FixedPitch);
    EXPECT_EQ(QFontInfo(courier.Font).pixelSize(), 13);

    TFont fixedSys = Courier();
    fixedSys.Name = "FixedSys";
    EXPECT_EQ(QtFontOf(fixedSys).Font.family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());

    TFont bold = Courier();
    bold.Style = {fsBold};
    EXPECT_TRUE(QtFontOf(bold).Font.bold());
    EXPECT_EQ(QtFontOf(bold).CellWidth, courier.CellWidth);
}

TEST(QtColors, SystemColoursComeFromTheApplicationPalette)
{
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ToQColor(clBtnFace), palette.color(QPalette::Button));
    EXPECT_EQ(ToQColor(clWindow), palette.color(QPalette::Base));
    EXPECT_EQ(ToQColor(clInfoBk), palette.color(QPalette::ToolTipBase));
    EXPECT_EQ(ToQColor(clHighlight), palette.color(QPalette::Highlight));
    // Plain colours keep red in the low byte.
    EXPECT_EQ(ToQColor(clNavy), QColor(0, 0, 0x80));
    EXPECT_EQ(ResolveColor(0x123456), 0x123456u);
    const QColor button = palette.color(QPalette::Button);
    EXPECT_EQ(ResolveColor(clBtnFace), RGB(button.red(), button.green(), button.blue()));
}

TEST_F(Drawing, WideCharactersTakeTwoCellsAndMarksNone)
{
    canvas.SetFont(Courier());
    const int cell = canvas.TextWidth("W");
    ASSERT_GT(cell, 0);
    // é, 中, 😀, a, then e with a combining acute.
    const char *text = "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"
                       "ae\xCC\x81";
    EXPECT_EQ(canvas.TextWidth(text), 7 * cell);
    canvas.SetBrushStyle(bsClear);
    // 中 and 😀 come from fallback fonts and fill two cells each; the "a"
    // lands in the sixth cell and the accented e in the seventh.
    canvas.TextOut(0, 0, text);
    EXPECT_TRUE(Inked(1 * cell, 3 * cell));
    EXPECT_TRUE(Inked(3 * cell, 5 * cell));
    EXPECT_TRUE(Inked(5 * cell, 6 * cell));
    EXPECT_TRUE(Inked(6 * cell, 7 * cell));
    EXPECT_FALSE(Inked(7 * cell + 1, 300));
}

TEST_F(Drawing, ABaseWithItsMarksDrawsAsTheComposedCharacter)
{
    canvas.SetFont(Courier());
    canvas.SetBrushColor(clWhite);
    canvas.TextOut(0, 0, "e\xCC\x81x"); // e, combining acute, x
    canvas.TextOut(0, 20, "\xC3\xA9x"); // é, x
    painter.end();
    const int cell = QtFontOf(Courier()).CellWidth;
    EXPECT_EQ(image.copy(0, 0, 2 * cell, 20), image.copy(0, 20, 2 * cell, 20));
}

TEST_F(Drawing, OpaqueTextFillsItsCellsWithTheBrush)
{
    canvas.SetFont(Courier());
    canvas.SetBrushColor(clNavy);
    canvas.TextOut(10, 5, "ab");
    painter.end();
    const int cell = QtFontOf(Courier()).CellWidth;
    EXPECT_EQ(image.pixelColor(10, 5), QColor(0, 0, 0x80));
    EXPECT_EQ(image.pixelColor(10 + 2 * cell - 1, 5), QColor(0, 0, 0x80));
    EXPECT_EQ(image.pixelColor(10 + 2 * cell, 5), QColor(Qt::white));
}

TEST_F(Drawing, LinesLeaveTheirEndPointAndWidenToThePen)
{
    canvas.SetPen({clRed, 2, psSolid});
    canvas.Line(20, 2, 20, 10);
    canvas.SetPen({clBlue, 1, psSolid});
    canvas.Line(40, 3, 50, 3);
    painter.end();
    EXPECT_EQ(image.pixelColor(20, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(21, 9), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(20, 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(49, 3), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(50, 3), QColor(Qt::white));
}

TEST_F(Drawing, BitmapsCopyAndDrawTransparently)
{
    std::unique_ptr<TBitmap> bitmap = canvas.CreateBitmap(4, 4);
    Canvas &b = bitmap->GetCanvas();
    b.SetBrushColor(clWhite);
    b.FillRect({0, 0, 4, 4});
    b.SetBrushColor(clRed);
    b.FillRect({0, 0, 2, 4});
    canvas.SetBrushColor(clLime);
    canvas.FillRect({100, 0, 110, 10});
    canvas.DrawTransparent(100, 0, *bitmap, clWhite);
    canvas.CopyRect({200, 0, 204, 4}, *bitmap, {0, 0, 4, 4});
    painter.end();
    EXPECT_EQ(image.pixelColor(101, 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(103, 1), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(203, 1), QColor(Qt::white));
}

} // namespace
} // namespace tarnwick::qt
