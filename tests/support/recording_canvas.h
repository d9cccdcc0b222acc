// RecordingCanvas: a Canvas that records every drawing call with its
// arguments and the pen, brush and font in force, and measures text on a
// fixed grid (8 x 16 pixels per character) so geometry is predictable.
#pragma once

#include "editor/platform/canvas.h"

#include <set>
#include <string>
#include <vector>

namespace tarnwick::test {

struct CanvasCall {
    std::string Op;        // "FillRect", "Rectangle", "TextOut", ...
    std::vector<int> Args; // coordinates in call order
    std::string Text;      // TextOut only
    TColor Color = 0;      // SetPixel / DrawTransparent colour
    TPen Pen;
    TBrush Brush;
    TFont Font;
};

class RecordingCanvas : public Canvas {
public:
    static constexpr int kCharWidth = 8;
    static constexpr int kNarrowCharWidth = 4;
    static constexpr int kCharHeight = 16;

    // Fonts with these names (compared case-insensitively) measure as
    // proportional: "i", "l", "." and "," are narrower than other characters.
    std::set<std::string> ProportionalFonts{"arial", "tahoma", "times new roman", "ms sans serif"};

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

    bool IsProportional(const TFont &font) const;

    const std::vector<CanvasCall> &Calls() const { return calls_; }
    // Calls with the given operation name, in order.
    std::vector<CanvasCall> CallsOf(const std::string &op) const;
    // All text drawn, in order, concatenated.
    std::string AllText() const;
    void ClearCalls() { calls_.clear(); }

private:
    CanvasCall &Record(std::string op, std::vector<int> args);
    std::vector<CanvasCall> calls_;
};

// A bitmap whose canvas records too.
class RecordingBitmap : public TBitmap {
public:
    RecordingBitmap(int width, int height) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetSize(int width, int height) override
    {
        width_ = width;
        height_ = height;
    }
    Canvas &GetCanvas() override { return canvas_; }
    RecordingCanvas &Recording() { return canvas_; }

private:
    int width_;
    int height_;
    RecordingCanvas canvas_;
};

} // namespace tarnwick::test
