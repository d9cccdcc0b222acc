// Value types shared by everything that draws: colours, font styles, fonts,
// points and rectangles. Plain data, no platform types.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace tarnwick {

// 0x00BBGGRR for plain colours (red in the low byte); 0xFF0000nn names
// system colour nn, resolved by the host when painting.
using TColor = uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clWindow = clSystemColor | 0x05;
inline constexpr TColor clWindowText = clSystemColor | 0x08;
inline constexpr TColor clBtnFace = clSystemColor | 0x0F;
inline constexpr TColor clHighlight = clSystemColor | 0x0D;
inline constexpr TColor clHighlightText = clSystemColor | 0x0E;
inline constexpr TColor clBtnShadow = clSystemColor | 0x10;
inline constexpr TColor clGrayText = clSystemColor | 0x11;
inline constexpr TColor clBtnText = clSystemColor | 0x12;
inline constexpr TColor clInfoText = clSystemColor | 0x17;
inline constexpr TColor clInfoBk = clSystemColor | 0x18;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == clSystemColor; }
constexpr uint8_t SystemColorIndex(TColor c) { return uint8_t(c & 0xFF); }
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) { return TColor(r) | TColor(g) << 8 | TColor(b) << 16; }
constexpr uint8_t GetRValue(TColor c) { return uint8_t(c); }
constexpr uint8_t GetGValue(TColor c) { return uint8_t(c >> 8); }
constexpr uint8_t GetBValue(TColor c) { return uint8_t(c >> 16); }

// A small set of enumeration values stored as bits; E's values are bit numbers.
template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items)
            bits_ |= Bit(e);
    }
    static constexpr TSet FromBits(uint32_t bits)
    {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr uint32_t Bits() const { return bits_; }
    constexpr TSet &Include(E e)
    {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr TSet &Exclude(E e)
    {
        bits_ &= ~Bit(e);
        return *this;
    }
    constexpr TSet operator|(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator&(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator+(E e) const { return FromBits(bits_ | Bit(e)); }
    constexpr TSet operator-(E e) const { return FromBits(bits_ & ~Bit(e)); }
    constexpr bool operator==(const TSet &) const = default;

private:
    static constexpr uint32_t Bit(E e) { return uint32_t(1) << static_cast<unsigned>(e); }
    uint32_t bits_ = 0;
};

// Bit numbers chosen so that Bits() gives bold = 1, italic = 2, underline = 4,
// strike-out = 8, the values stored in styler tables.
enum class TFontStyle : uint8_t { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };
using TFontStyles = TSet<TFontStyle>;
inline constexpr TFontStyle fsBold = TFontStyle::fsBold;
inline constexpr TFontStyle fsItalic = TFontStyle::fsItalic;
inline constexpr TFontStyle fsUnderline = TFontStyle::fsUnderline;
inline constexpr TFontStyle fsStrikeOut = TFontStyle::fsStrikeOut;

// A font by value. Height < 0 is the character height in pixels, the usual way
// fonts are given here; Size is in points at 96 pixels per inch.
struct TFont {
    std::string Name = "Courier New";
    int Height = -13;
    uint8_t Charset = 1; // "default charset"
    TColor Color = clBlack;
    TFontStyles Style;

    int Size() const { return Height < 0 ? (-Height * 72 + 48) / 96 : (Height * 72 + 48) / 96; }
    void SetSize(int points) { Height = -((points * 96 + 36) / 72); }
    bool operator==(const TFont &) const = default;
};

struct TPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TPoint &) const = default;
};

// Left/top inclusive, right/bottom exclusive.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const TRect &) const = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const TSize &) const = default;
};

} // namespace tarnwick
