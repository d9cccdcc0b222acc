// Canvas: the drawing surface the editor core paints on (window, off-screen
// line bitmap, printer page). The platform adapter implements it; tests use a
// recording canvas.
//
// The canvas keeps a current pen, brush and font, as the painting code is
// written in those terms; drawing calls use them. Coordinates are pixels of
// the surface, rectangles exclude their right and bottom edges.
#pragma once

#include "editor/base/graphics_types.h"

#include <memory>
#include <span>
#include <string_view>

namespace tarnwick {

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psClear };
enum TBrushStyle : uint8_t { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    bool operator==(const TPen &) const = default;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    bool operator==(const TBrush &) const = default;
};

class Canvas;

// An off-screen image with a canvas of its own (the line bitmap, glyphs,
// marker and completion images). Made by a canvas, drawn onto a canvas.
class TBitmap {
public:
    virtual ~TBitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // Resizing may drop the content.
    virtual void SetSize(int width, int height) = 0;
    virtual Canvas &GetCanvas() = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    const TPen &Pen() const { return pen_; }
    const TBrush &Brush() const { return brush_; }
    const TFont &Font() const { return font_; }
    TPoint PenPos() const { return penPos_; }
    void SetPen(const TPen &pen) { pen_ = pen; }
    void SetPenColor(TColor c) { pen_.Color = c; }
    void SetPenWidth(int w) { pen_.Width = w; }
    void SetBrush(const TBrush &brush) { brush_ = brush; }
    void SetBrushColor(TColor c)
    {
        brush_.Color = c;
        brush_.Style = bsSolid;
    }
    void SetBrushStyle(TBrushStyle s) { brush_.Style = s; }
    void SetFont(const TFont &font) { font_ = font; }

    // Fills with the brush; no outline.
    virtual void FillRect(const TRect &r) = 0;
    // Outline with the pen, inside filled with the brush (unless clear).
    virtual void Rectangle(const TRect &r) = 0;
    virtual void Ellipse(const TRect &r) = 0;
    virtual void Polygon(std::span<const TPoint> points) = 0;
    // A line from (x1, y1) to (x2, y2), the end point excluded.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y)
    {
        Line(penPos_.x, penPos_.y, x, y);
        penPos_ = {x, y};
    }
    virtual void SetPixel(int x, int y, TColor color) = 0;

    // One line of text, top-left at (x, y), in the font and its colour; with a
    // solid brush the character cells are filled with the brush colour first.
    // No clipping, no mnemonic prefixes, no tab expansion.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    virtual TSize TextExtent(std::string_view text) = 0;
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    virtual std::unique_ptr<TBitmap> CreateBitmap(int width, int height) = 0;
    virtual void Draw(int x, int y, TBitmap &bitmap) = 0;
    virtual void StretchDraw(const TRect &dest, TBitmap &bitmap) = 0;
    // Draws the bitmap leaving pixels of `transparent` untouched.
    virtual void DrawTransparent(int x, int y, TBitmap &bitmap, TColor transparent) = 0;
    // Copies `source` of the bitmap into `dest` of this canvas, scaling if the sizes differ.
    virtual void CopyRect(const TRect &dest, TBitmap &bitmap, const TRect &source) = 0;

    // Drawing is limited to the clip rectangle until ResetClip.
    virtual void SetClipRect(const TRect &r) = 0;
    virtual void ResetClip() = 0;

private:
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint penPos_;
};

} // namespace tarnwick
