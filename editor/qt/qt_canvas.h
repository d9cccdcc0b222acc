// QtCanvas: the editor's Canvas over a QPainter (a widget, an image, a
// printer page), and QtBitmap, an off-screen image with a canvas of its own.
// Text of a fixed-pitch font is laid out on the grid of its "W" cell: a
// character takes the cells the editor core gives it (two for wide ones, none
// for marks, drawn on the character before), whatever its glyph's width.
#pragma once

#include "editor/platform/canvas.h"
#include "editor/qt/qt_fonts.h"

#include <QImage>
#include <QList>
#include <QPainter>

#include <memory>
#include <string>
#include <string_view>

namespace tarnwick::qt {

class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter *painter = nullptr) : painter_(painter) {}

    QPainter *Painter() const { return painter_; }
    void SetPainter(QPainter *painter) { painter_ = painter; }

    void FillRect(const TRect &r) override;
    void Rectangle(const TRect &r) override;
    void Ellipse(const TRect &r) override;
    void Polygon(std::span<const TPoint> points) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void SetPixel(int x, int y, TColor color) override;
    void TextOut(int x, int y, std::string_view text) override;
    TSize TextExtent(std::string_view text) override;
    std::unique_ptr<TBitmap> CreateBitmap(int width, int height) override;
    void Draw(int x, int y, TBitmap &bitmap) override;
    void StretchDraw(const TRect &dest, TBitmap &bitmap) override;
    void DrawTransparent(int x, int y, TBitmap &bitmap, TColor transparent) override;
    void CopyRect(const TRect &dest, TBitmap &bitmap, const TRect &source) override;
    void SetClipRect(const TRect &r) override;
    void ResetClip() override;

private:
    const TQtFont &CurrentFont();
    void DrawGridText(int x, int y, const std::u32string &chars, const TQtFont &font);
    char32_t Composed(std::u32string_view cluster, const TQtFont &font);
    void DrawMarks(int x, int cellsWide, int baseline, std::u32string_view marks, const TQtFont &font);
    void DrawFallbackGlyph(int x, int baseline, char32_t c, int cellsWide, const TQtFont &font);
    bool PenVisible() const { return Pen().Style != psClear; }
    bool BrushVisible() const { return Brush().Style == bsSolid; }

    QPainter *painter_;
    void SetTextColor(TColor color);

    // The font last looked up, so runs in one font skip the look-up.
    TFont lastFont_;
    const TQtFont *lastQtFont_ = nullptr;
    // Reused by every TextOut, so drawing a run allocates nothing.
    std::u32string cells_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

class QtBitmap : public TBitmap {
public:
    QtBitmap(int width, int height);
    ~QtBitmap() override;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void SetSize(int width, int height) override;
    Canvas &GetCanvas() override;

    // Finishes pending drawing so the pixels can be read.
    const QImage &Image();

private:
    void EndPainting();

    QImage image_;
    std::unique_ptr<QPainter> painter_;
    QtCanvas canvas_;
};

} // namespace tarnwick::qt
