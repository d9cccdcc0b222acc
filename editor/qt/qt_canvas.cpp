#include "editor/qt/qt_canvas.h"

#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"
#include "editor/qt/qt_colors.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarnwick::qt {

namespace {

QRect ToQRect(const TRect &r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Characters that would draw nothing useful in a cell of their own (tabs
// given to the text unexpanded, other control codes) show as blanks.
char32_t Displayable(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0) ? U' ' : c; }

// A character's cells; ASCII answers without a table look-up.
int CellsOf(char32_t c) { return c < 0x7F ? 1 : cells::WidthOf(c); }

// Zero-width characters from `k` on: the marks drawn on the character before.
size_t MarksFrom(const std::u32string &chars, size_t k)
{
    size_t end = k;
    while (end < chars.size() && chars[end] >= 0x7F && cells::WidthOf(chars[end]) == 0)
        ++end;
    return end - k;
}

int CellCount(const std::u32string &chars)
{
    int count = 0;
    for (char32_t c : chars)
        count += CellsOf(c);
    return count;
}

} // namespace

const TQtFont &QtCanvas::CurrentFont()
{
    if (!lastQtFont_ || !(lastFont_ == Font())) {
        lastFont_ = Font();
        lastQtFont_ = &QtFontOf(lastFont_);
    }
    return *lastQtFont_;
}

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

// Glyphs the font has are placed straight on the grid, one or two cells
// each, with no text shaping in between. Other characters (CJK and emoji
// from fallback fonts) are drawn one by one and fitted to their cells; a
// character with combining marks is drawn composed when the font has the
// composed glyph, else the marks are laid over it.
void QtCanvas::DrawGridText(int x, int y, const std::u32string &chars, const TQtFont &font)
{
    const int baseline = y + font.Ascent;
    glyphs_.clear();
    positions_.clear();
    // Marks at the start belong to a character drawn before this text.
    size_t k = MarksFrom(chars, 0);
    if (k > 0)
        DrawMarks(x - font.CellWidth, 1, baseline, std::u32string_view(chars).substr(0, k), font);
    int cellX = x;
    while (k < chars.size()) {
        char32_t c = chars[k];
        const int width = CellsOf(c);
        const size_t marks = MarksFrom(chars, k + 1);
        const std::u32string_view cluster = std::u32string_view(chars).substr(k, 1 + marks);
        k += 1 + marks;
        if (marks > 0) {
            if (const char32_t composed = Composed(cluster, font))
                c = composed;
            else
                DrawMarks(cellX, width, baseline, cluster.substr(1), font);
        }
        // Blanks leave their cell to the background.
        if (c != U' ') {
            if (const quint32 glyph = font.GlyphOf(c)) {
                glyphs_.append(glyph);
                positions_.append(QPointF(cellX, baseline));
            } else {
                DrawFallbackGlyph(cellX, baseline, c, width, font);
            }
        }
        cellX += width * font.CellWidth;
    }
    if (!glyphs_.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(font.Raw);
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        painter_->drawGlyphRun(QPointF(0, 0), run);
    }
    if (font.Font.underline() || font.Font.strikeOut()) {
        const QFontMetrics metrics(font.Font);
        const int width = cellX - x;
        const int thickness = std::max(1, metrics.lineWidth());
        if (font.Font.underline())
            painter_->fillRect(QRect(x, baseline + metrics.underlinePos(), width, thickness), painter_->pen().color());
        if (font.Font.strikeOut())
            painter_->fillRect(QRect(x, baseline - metrics.strikeOutPos(), width, thickness), painter_->pen().color());
    }
}

// The one character a base and its marks compose to, when the font has its
// glyph and it takes one cell like the base; 0 otherwise.
char32_t QtCanvas::Composed(std::u32string_view cluster, const TQtFont &font)
{
    if (CellsOf(cluster[0]) != 1)
        return 0;
    const QString composed = QString::fromUcs4(cluster.data(), static_cast<qsizetype>(cluster.size()))
                                 .normalized(QString::NormalizationForm_C);
    const QList<uint> code = composed.toUcs4();
    if (code.size() != 1 || CellsOf(code[0]) != 1 || font.GlyphOf(code[0]) == 0)
        return 0;
    return code[0];
}

// Marks drawn on the character in the `cellsWide` cells from x, each with
// its ink centred over them: fonts disagree on where a lone mark draws (left
// of its origin, or inside a cell of its own in fixed-pitch fonts), and a
// mark from another font than its base is not placed by text shaping.
void QtCanvas::DrawMarks(int x, int cellsWide, int baseline, std::u32string_view marks, const TQtFont &font)
{
    for (char32_t mark : marks) {
        const TQtFont::TGlyph &glyph = font.GlyphWithFallback(mark);
        if (glyph.Ink.isEmpty())
            continue;
        const double left = x + (cellsWide * font.CellWidth - glyph.Ink.width()) / 2 - glyph.Ink.left();
        QGlyphRun run;
        run.setRawFont(glyph.Raw);
        run.setGlyphIndexes({glyph.Index});
        run.setPositions({QPointF(std::round(left), baseline)});
        painter_->drawGlyphRun(QPointF(0, 0), run);
    }
}

// A glyph from the platform's fallback fonts, at the grid font's size. It is
// narrowed to its cells when wider; a wide character's glyph is centred in
// its two cells.
void QtCanvas::DrawFallbackGlyph(int x, int baseline, char32_t c, int cellsWide, const TQtFont &font)
{
    const TQtFont::TGlyph &glyph = font.GlyphWithFallback(c);
    if (!glyph.Raw.isValid())
        return;
    QGlyphRun run;
    run.setRawFont(glyph.Raw);
    run.setGlyphIndexes({glyph.Index});
    const int room = cellsWide * font.CellWidth;
    if (glyph.Advance > room) {
        run.setPositions({QPointF(0, 0)});
        painter_->save();
        painter_->translate(x, baseline);
        painter_->scale(room / glyph.Advance, 1.0);
        painter_->drawGlyphRun(QPointF(0, 0), run);
        painter_->restore();
        return;
    }
    const int left = cellsWide > 1 ? x + static_cast<int>(room - glyph.Advance) / 2 : x;
    run.setPositions({QPointF(left, baseline)});
    painter_->drawGlyphRun(QPointF(0, 0), run);
}

void QtCanvas::SetTextColor(TColor color)
{
    const QColor c = ToQColor(color);
    if (painter_->pen().color() != c || painter_->pen().style() != Qt::SolidLine)
        painter_->setPen(c);
}

void QtCanvas::TextOut(int x, int y, std::string_view text)
{
    if (!painter_ || text.empty())
        return;
    const TQtFont &font = CurrentFont();
    cells_.clear();
    for (size_t i = 0; i < text.size();) {
        const std::string_view rest = text.substr(i);
        cells_.push_back(Displayable(utf8::At(rest, 0)));
        i += std::max<size_t>(1, utf8::ByteOffset(rest, 1));
    }

    if (font.FixedPitch) {
        if (BrushVisible())
            painter_->fillRect(QRect(x, y, font.CellWidth * CellCount(cells_), font.Height), ToQColor(Brush().Color));
        SetTextColor(Font().Color);
        DrawGridText(x, y, cells_, font);
        return;
    }
    const QString qtext = QString::fromStdU32String(cells_);
    if (BrushVisible())
        painter_->fillRect(QRect(x, y, QFontMetrics(font.Font).horizontalAdvance(qtext), font.Height),
                           ToQColor(Brush().Color));
    painter_->setFont(font.Font);
    SetTextColor(Font().Color);
    painter_->drawText(x, y + font.Ascent, qtext);
}

TSize QtCanvas::TextExtent(std::string_view text)
{
    const TQtFont &font = CurrentFont();
    if (text.empty())
        return {0, 0};
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (font.FixedPitch)
        return {font.CellWidth * cells::Count(text, 1), font.Height}; // a tab here is one blank, as drawn
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

QtBitmap::QtBitmap(int width, int height) : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32)
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
