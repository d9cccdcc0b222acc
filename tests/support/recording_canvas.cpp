#include "support/recording_canvas.h"

#include "editor/base/utf8.h"

#include <algorithm>
#include <cctype>

namespace tarnwick::test {

CanvasCall &RecordingCanvas::Record(std::string op, std::vector<int> args)
{
    calls_.push_back(CanvasCall{std::move(op), std::move(args), {}, 0, Pen(), Brush(), Font()});
    return calls_.back();
}

void RecordingCanvas::FillRect(const TRect &r) { Record("FillRect", {r.left, r.top, r.right, r.bottom}); }
void RecordingCanvas::Rectangle(const TRect &r) { Record("Rectangle", {r.left, r.top, r.right, r.bottom}); }
void RecordingCanvas::Ellipse(const TRect &r) { Record("Ellipse", {r.left, r.top, r.right, r.bottom}); }

void RecordingCanvas::Polygon(std::span<const TPoint> points)
{
    std::vector<int> args;
    for (const TPoint &p : points) {
        args.push_back(p.x);
        args.push_back(p.y);
    }
    Record("Polygon", std::move(args));
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) { Record("Line", {x1, y1, x2, y2}); }

void RecordingCanvas::SetPixel(int x, int y, TColor color) { Record("SetPixel", {x, y}).Color = color; }

void RecordingCanvas::TextOut(int x, int y, std::string_view text) { Record("TextOut", {x, y}).Text = text; }

bool RecordingCanvas::IsProportional(const TFont &font) const
{
    std::string name = font.Name;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ProportionalFonts.count(name) > 0;
}

TSize RecordingCanvas::TextExtent(std::string_view text)
{
    const bool proportional = IsProportional(Font());
    int width = 0;
    for (int i = 0, n = utf8::Length(text); i < n; ++i) {
        const char32_t c = utf8::At(text, i);
        const bool narrow = c == U'i' || c == U'l' || c == U'.' || c == U',';
        width += proportional && narrow ? kNarrowCharWidth : kCharWidth;
    }
    return {width, text.empty() ? 0 : kCharHeight};
}

std::unique_ptr<TBitmap> RecordingCanvas::CreateBitmap(int width, int height)
{
    return std::make_unique<RecordingBitmap>(width, height);
}

void RecordingCanvas::Draw(int x, int y, TBitmap &bitmap) { Record("Draw", {x, y, bitmap.Width(), bitmap.Height()}); }

void RecordingCanvas::StretchDraw(const TRect &d, TBitmap &)
{
    Record("StretchDraw", {d.left, d.top, d.right, d.bottom});
}

void RecordingCanvas::DrawTransparent(int x, int y, TBitmap &bitmap, TColor transparent)
{
    Record("DrawTransparent", {x, y, bitmap.Width(), bitmap.Height()}).Color = transparent;
}

void RecordingCanvas::CopyRect(const TRect &d, TBitmap &, const TRect &s)
{
    Record("CopyRect", {d.left, d.top, d.right, d.bottom, s.left, s.top, s.right, s.bottom});
}

void RecordingCanvas::SetClipRect(const TRect &r) { Record("SetClipRect", {r.left, r.top, r.right, r.bottom}); }
void RecordingCanvas::ResetClip() { Record("ResetClip", {}); }

std::vector<CanvasCall> RecordingCanvas::CallsOf(const std::string &op) const
{
    std::vector<CanvasCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [&](const CanvasCall &c) { return c.Op == op; });
    return out;
}

std::string RecordingCanvas::AllText() const
{
    std::string out;
    for (const CanvasCall &c : calls_)
        if (c.Op == "TextOut")
            out += c.Text;
    return out;
}

} // namespace tarnwick::test
