#include "editor/qt/qt_canvas.h"

#include "editor/qt/qt_colors.h"
#include "editor/utf8.h"

#include <QFontMetrics>
#include <QPolygon>

#include <algorithm>
#include <vector>

namespace tarnwick::qt {

namespace {

QRect ToQRect(const TRect &r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

bool IsPrintableAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

// Characters that would draw nothing useful in a cell of their own (tabs
// given to the text unexpanded, other control codes) show as blanks.
char32_t Displayable(char32_t c) { return c < 0x20 || c == 0x7F ? U' ' : c; }

} // namespace

const TQtFont &QtCanvas::CurrentFont() { return QtFontOf(Font()); }

void QtCanvas::FillRect(const TRect &r)
{
    if (!painter_ || r.IsEmpty() || !BrushVisible())
        return;
    painter_->fillRect(ToQRect(r), ToQColor(Brush().Color));
}

void QtCanvas::Rectangle(const TRect &r)
{
    if (!painter_ || r.IsEmpty())
        return;
    if (BrushVisible())
        painter_->fillRect(ToQRect(r), ToQColor(Brush().Color));
    if (!PenVisible())
        return;
    const QColor pen = ToQColor(Pen().Color);
    painter_->fillRect(QRect(r.left, r.top, r.Width(), 1), pen);
    painter_->fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), pen);
    painter_->fillRect(QRect(r.left, r.top, 1, r.Height()), pen);
    painter_->fillRect(QRect(r.right - 1, r.top, 1, r.Height()), pen);
}

void QtCanvas::Ellipse(const TRect &r)
{
    if (!painter_ || r.IsEmpty())
        return;
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setPen(PenVisible() ? QPen(ToQColor(Pen().Color), Pen().Width) : QPen(Qt::NoPen));
    painter_->setBrush(BrushVisible() ? QBrush(ToQColor(Brush().Color)) : QBrush(Qt::NoBrush));
    painter_->drawEllipse(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
    painter_->restore();
}

void QtCanvas::Polygon(std::span<const TPoint> points)
{
    if (!painter_ || points.empty())
        return;
    QPolygon polygon;
    for (const TPoint &p : points)
        polygon << QPoint(p.x, p.y);
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setPen(PenVisible() ? QPen(ToQColor(Pen().Color), Pen().Width) : QPen(Qt::NoPen));
    painter_->setBrush(BrushVisible() ? QBrush(ToQColor(Brush().Color)) : QBrush(Qt::NoBrush));
    painter_->drawPolygon(polygon);
    painter_->restore();
}

// The end point is not drawn. Straight lines are filled rectangles as wide
// as the pen, starting at the given coordinate.
void QtCanvas::Line(int x1, int y1, int x2, int y2)
{
    if (!painter_ || !PenVisible() || (x1 == x2 && y1 == y2))
        return;
    const QColor color = ToQColor(Pen().Color);
    const int w = std::max(1, Pen().Width);
    if (x1 == x2) {
        painter_->fillRect(QRect(x1, std::min(y1, y2 + 1), w, std::abs(y2 - y1)), color);
        return;
    }
    if (y1 == y2) {
        painter_->fillRect(QRect(std::min(x1, x2 + 1), y1, std::abs(x2 - x1), w), color);
        return;
    }
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(color, w);
    pen.setCapStyle(Qt::FlatCap);
    painter_->setPen(pen);
    // Stop one step short so the end point stays undrawn.
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    const QPointF end(x2 - double(x2 - x1) / steps, y2 - double(y2 - y1) / steps);
    painter_->drawLine(QPointF(x1, y1), end);
    painter_->restore();
}

void QtCanvas::SetPixel(int x, int y, TColor color)
{
    if (painter_)
        painter_->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void QtCanvas::DrawGridText(int x, int y, const QString &text, const TQtFont &font)
{
    const QFontMetrics metrics(font.Font);
    const int baseline = y + font.Ascent;
    if (IsPrintableAscii(text)) {
        painter_->drawText(x, baseline, text);
        return;
    }
    // One code point per cell: glyphs wider than a cell (CJK, emoji) are
    // narrowed to fit it, so the characters after them stay on the grid.
    int cellX = x;
    const std::u32string codePoints = text.toStdU32String();
    for (char32_t c : codePoints) {
        const QString glyph = QString::fromUcs4(&c, 1);
        const int advance = metrics.horizontalAdvance(glyph);
        if (advance > font.CellWidth && advance > 0) {
            painter_->save();
            painter_->translate(cellX, baseline);
            painter_->scale(double(font.CellWidth) / advance, 1.0);
            painter_->drawText(0, 0, glyph);
            painter_->restore();
        } else {
            painter_->drawText(cellX, baseline, glyph);
        }
        cellX += font.CellWidth;
    }
}

void QtCanvas::TextOut(int x, int y, std::string_view text)
{
    if (!painter_ || text.empty())
        return;
    const TQtFont &font = CurrentFont();
    std::u32string cells;
    cells.reserve(text.size());
    for (int i = 0, n = utf8::Length(text); i < n; ++i)
        cells.push_back(Displayable(utf8::At(text, i)));
    const QString qtext = QString::fromStdU32String(cells);

    if (BrushVisible()) {
        const int width = font.FixedPitch ? font.CellWidth * static_cast<int>(cells.size())
                                          : QFontMetrics(font.Font).horizontalAdvance(qtext);
        painter_->fillRect(QRect(x, y, width, font.Height), ToQColor(Brush().Color));
    }
    painter_->setFont(font.Font);
    painter_->setPen(ToQColor(Font().Color));
    if (font.FixedPitch)
        DrawGridText(x, y, qtext, font);
    else
        painter_->drawText(x, y + font.Ascent, qtext);
}

TSize QtCanvas::TextExtent(std::string_view text)
{
    const TQtFont &font = CurrentFont();
    if (text.empty())
        return {0, 0};
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (font.FixedPitch)
        return {font.CellWidth * utf8::Length(text), font.Height};
    return {QFontMetrics(font.Font).horizontalAdvance(qtext), font.Height};
}

std::unique_ptr<TBitmap> QtCanvas::CreateBitmap(int width, int height)
{
    return std::make_unique<QtBitmap>(width, height);
}

void QtCanvas::Draw(int x, int y, TBitmap &bitmap)
{
    if (auto *qb = dynamic_cast<QtBitmap *>(&bitmap); qb && painter_)
        painter_->drawImage(x, y, qb->Image());
}

void QtCanvas::StretchDraw(const TRect &dest, TBitmap &bitmap)
{
    if (auto *qb = dynamic_cast<QtBitmap *>(&bitmap); qb && painter_)
        painter_->drawImage(ToQRect(dest), qb->Image());
}

void QtCanvas::DrawTransparent(int x, int y, TBitmap &bitmap, TColor transparent)
{
    auto *qb = dynamic_cast<QtBitmap *>(&bitmap);
    if (!qb || !painter_)
        return;
    QImage image = qb->Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparent).rgb() & RGB_MASK;
    for (int row = 0; row < image.height(); ++row) {
        auto *pixels = reinterpret_cast<QRgb *>(image.scanLine(row));
        for (int col = 0; col < image.width(); ++col)
            if ((pixels[col] & RGB_MASK) == key)
                pixels[col] = 0;
    }
    painter_->drawImage(x, y, image);
}

void QtCanvas::CopyRect(const TRect &dest, TBitmap &bitmap, const TRect &source)
{
    if (auto *qb = dynamic_cast<QtBitmap *>(&bitmap); qb && painter_)
        painter_->drawImage(ToQRect(dest), qb->Image(), ToQRect(source));
}

void QtCanvas::SetClipRect(const TRect &r)
{
    if (painter_)
        painter_->setClipRect(ToQRect(r));
}

void QtCanvas::ResetClip()
{
    if (painter_)
        painter_->setClipping(false);
}

// ---- QtBitmap ----

QtBitmap::QtBitmap(int width, int height)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32)
{
    image_.fill(Qt::white);
}

QtBitmap::~QtBitmap() { EndPainting(); }

void QtBitmap::EndPainting()
{
    canvas_.SetPainter(nullptr);
    painter_.reset();
}

void QtBitmap::SetSize(int width, int height)
{
    if (width == image_.width() && height == image_.height())
        return;
    EndPainting();
    image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    image_.fill(Qt::white);
}

// The painter stays open between uses: the line bitmap is drawn into once per
// row, and opening a painter each time would cost more than the drawing.
Canvas &QtBitmap::GetCanvas()
{
    if (!painter_ && !image_.isNull()) {
        painter_ = std::make_unique<QPainter>(&image_);
        canvas_.SetPainter(painter_.get());
    }
    return canvas_;
}

const QImage &QtBitmap::Image() { return image_; }

} // namespace tarnwick::qt
