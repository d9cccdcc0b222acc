#include "editor/view/gutter_painter.h"

#include "editor/document/line_store.h"
#include "editor/platform/host.h"
#include "editor/platform/image_list.h"
#include "editor/view/active_line_settings.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/dodi_markers.h"
#include "editor/view/editor_view.h"
#include "editor/view/row_layout.h"
#include "editor/view/view_state.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarnwick {

namespace {

constexpr int kGradientBands = 48;
constexpr int kMarkerWidth = 16;
constexpr int kModifiedBarWidth = 4;
constexpr TColor kFlagTransparent = clWhite;

int Component(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

TColor Blend(TColor from, TColor to, int band)
{
    TColor out = 0;
    for (int shift : {0, 8, 16}) {
        const int a = Component(from, shift);
        const int b = Component(to, shift);
        const int v = a + static_cast<int>(std::lround(band * (b - a) / double(kGradientBands)));
        out |= TColor(std::clamp(v, 0, 255)) << shift;
    }
    return out;
}

} // namespace

std::string GutterNumberText(int number, const TDodiGutter &gutter)
{
    std::string digits = std::to_string(number);
    if (gutter.ShowLeadingZeros() && static_cast<int>(digits.size()) < gutter.DigitCount()) {
        const bool negative = number < 0;
        std::string body = negative ? digits.substr(1) : digits;
        body.insert(0, gutter.DigitCount() - digits.size(), '0');
        digits = negative ? "-" + body : body;
    }
    return digits + gutter.NumberSuffix();
}

int GutterNumberLeft(const TDodiGutter &gutter, int digits)
{
    const int shift = (4 - std::max(digits, 1)) * kGutterDigitStep;
    return std::max(0, gutter.GutterWidth() - gutter.GutterMargin() + shift);
}

TGutterPainter::TGutterPainter(TEditorView &view) : view_(view), data_(view.Model()) {}

void TGutterPainter::Paint(Canvas &canvas)
{
    const TDodiGutter &gutter = *data_.Gutter;
    const TRect r = gutter.Rect();
    const int right = r.right - 1;

    canvas.SetPen({gutter.BorderColor(), 1, psSolid});
    canvas.Line(right, r.top, right, r.bottom);
    canvas.SetPen({clWhite, 1, psSolid});
    canvas.Line(right - 1, r.top, right - 1, r.bottom);
    PaintBackground(canvas, r);

    const int lineHeight = data_.View->LineHeight;
    if (lineHeight <= 0)
        return;
    const int lastLine = std::max(view_.Lines().Count() - 1, 0);
    const TRowLayout &layout = view_.Rows();
    const int topRow = view_.TopRow();
    // A line's number and marks go beside its first row; the handler gets
    // that row, from which it finds the line.
    for (int row = 0, y = r.top; y < r.bottom; ++row, y += lineHeight) {
        const TRowSpan span = layout.SpanOfRow(topRow + row);
        if (span.Line > lastLine)
            break;
        // A host that draws no marks draws none on any row.
        if (span.Index == 0 &&
            !view_.ViewHost().DrawGutterRow(canvas, topRow + row, {r.left, y, right - 1, y + lineHeight}))
            break;
    }
}

void TGutterPainter::PaintBackground(Canvas &canvas, const TRect &r)
{
    const TDodiGutter &gutter = *data_.Gutter;
    if (gutter.GutterColorTo() == clNone) {
        canvas.SetBrushColor(gutter.GutterColor());
        canvas.FillRect({r.left, r.top, r.right - 2, r.bottom});
        return;
    }
    // The gradient needs real components, so system colours are resolved first.
    Host *host = view_.Platform();
    const TColor from = host ? host->ResolveColor(gutter.GutterColor()) : gutter.GutterColor();
    const TColor to = host ? host->ResolveColor(gutter.GutterColorTo()) : gutter.GutterColorTo();
    const double bandWidth = (r.Width() - 1) / double(kGradientBands);
    const int limit = r.right - 1;
    for (int band = 0; band < kGradientBands; ++band) {
        const int x = r.left + static_cast<int>(std::lround(band * bandWidth));
        const int x2 = std::min(limit, x + static_cast<int>(bandWidth) + 1);
        const TColor c = Blend(from, to, band);
        canvas.SetPen({c, 1, psSolid});
        canvas.SetBrushColor(c);
        canvas.FillRect({x, r.top, x2, r.bottom});
    }
}

TBitmap &TGutterPainter::FlagGlyph(Canvas &canvas)
{
    std::unique_ptr<TBitmap> &made = view_.FlagGlyph();
    if (!made) {
        std::unique_ptr<TBitmap> glyph = canvas.CreateBitmap(16, 16);
        Canvas &g = glyph->GetCanvas();
        g.SetBrushColor(kFlagTransparent);
        g.FillRect({0, 0, 16, 16});
        g.SetPen({clBlack, 1, psSolid});
        g.Line(4, 2, 4, 15);
        g.SetBrushColor(clRed);
        g.SetPen({clMaroon, 1, psSolid});
        const std::array<TPoint, 3> flag{{{5, 2}, {13, 5}, {5, 8}}};
        g.Polygon(flag);
        made = std::move(glyph);
    }
    return *made;
}

void TGutterPainter::PaintLine(Canvas &canvas, int number, const TRect &rect)
{
    const TDodiGutter &gutter = *data_.Gutter;
    TDodiMarkerList &markerList = *data_.Markers;
    const TDodiMarkers &markers = markerList.Markers();
    const REdoDodiStrings &store = view_.Lines();
    const int n = view_.LineOfVisibleIndex(number);
    const TLineProp *prop = store.LinePropOf(n);
    int x = rect.left;
    const int y = rect.top;

    if (markers.Count() > 0 && markers.HasMarker(n)) {
        const TImageList *images = markerList.MarkerImageList();
        const int index =
            markerList.UseDefaultMarkerImageIndex() ? markerList.DefaultMarkerImageIndex() : markers.ImageIndexAt(n);
        if (images && index >= 0)
            images->Draw(canvas, x + 1, y + 2, index, markerList.ImageTransparentColor());
        x += kMarkerWidth;
    }
    if (prop && prop->FlagMark)
        canvas.DrawTransparent(x, y, FlagGlyph(canvas), kFlagTransparent);

    if (gutter.ShowLineNumbers()) {
        const TBrush brush = canvas.Brush();
        const TFont font = canvas.Font();
        canvas.SetBrushStyle(bsClear);
        TFont numberFont = gutter.Font();
        numberFont.Color = gutter.LineNumberTextColor();
        canvas.SetFont(numberFont);
        const std::string text = GutterNumberText(n + gutter.LineNumberStart(), gutter);
        const int digits = static_cast<int>(text.size() - gutter.NumberSuffix().size());
        canvas.TextOut(GutterNumberLeft(gutter, digits), y, text);
        canvas.SetBrush(brush);
        canvas.SetFont(font);
    }

    if (n < 0 || n >= store.Count())
        return;

    if (gutter.ShowModified()) {
        const TColor bar = prop && prop->Modified ? gutter.ModifiedColor() : gutter.ModifiedColorBkg();
        if (bar != clNone) {
            canvas.SetBrushColor(bar);
            canvas.FillRect({rect.right - kModifiedBarWidth, y, rect.right, rect.bottom});
        }
    }
    if (prop && prop->DotMark) {
        canvas.SetBrushColor(clBlue);
        canvas.SetPen({clNavy, 1, psSolid});
        canvas.Ellipse({x + 5, y + 8, x + 9, y + 12});
        canvas.SetPen({clAqua, 1, psSolid});
        canvas.Line(x + 6, y + 8, x + 4, y + 10);
    }
    if (prop && prop->Breakpoint) {
        canvas.SetBrushColor(clRed);
        canvas.SetPen({clBlack, 1, psSolid});
        canvas.Ellipse({x + 2, y + 4, x + 12, y + 14});
    }
    if (n == data_.View->ActiveLine && data_.ActiveLine->ShowActiveLineIndicator()) {
        canvas.SetBrushColor(clLime);
        canvas.SetPen({clGray, 1, psSolid});
        const std::array<TPoint, 7> arrow{{{x + 13, y + 7},
                                           {x + 13, y + 11},
                                           {x + 16, y + 11},
                                           {x + 16, y + 14},
                                           {x + 21, y + 9},
                                           {x + 16, y + 4},
                                           {x + 16, y + 7}}};
        canvas.Polygon(arrow);
    }
}

int TGutterPainter::LineAt(int x, int y) const
{
    const TRect r = data_.Gutter->Rect();
    if (x < r.left || x > r.right || y < r.top || y > r.bottom)
        return -1;
    const int lineHeight = data_.View->LineHeight;
    if (lineHeight <= 0)
        return -1;
    const int row = (y - view_.TextArea().top) / lineHeight;
    const int line = view_.Rows().SpanOfRow(view_.TopRow() + std::max(row, 0)).Line;
    return line < view_.Lines().Count() ? line : -1;
}

void TGutterPainter::MouseDown(TMouseButton button, int x, int y)
{
    const int line = LineAt(x, y);
    if (line < 0)
        return;
    if (button == mbRight || button == mbLeft)
        view_.ViewHost().GutterClicked(button, line);
}

bool TGutterPainter::DblClick(int x, int y)
{
    const int line = LineAt(x, y);
    if (line >= 0)
        view_.ViewHost().GutterDblClicked(line);
    return x < data_.Gutter->GutterWidth();
}

} // namespace tarnwick
