// Fonts of the editor core as Qt fonts. Names go to fontconfig as they are
// ("COURIER NEW" finds Liberation Mono); "FixedSys" is the system fixed font.
#pragma once

#include "editor/base/graphics_types.h"

#include <QFont>
#include <QRawFont>
#include <QRectF>

#include <array>
#include <unordered_map>

namespace tarnwick::qt {

// A font with what drawing on the character grid needs of it.
struct TQtFont {
    QFont Font;
    int Ascent = 0;
    int Height = 0;
    // Advance of "W": the width of one grid cell.
    int CellWidth = 0;
    // Every printable ASCII character is one cell wide.
    bool FixedPitch = false;
    // The font's own glyphs, drawn without text shaping.
    QRawFont Raw;

    // The glyph of `c` in Raw; 0 when the font has none.
    quint32 GlyphOf(char32_t c) const;
    // Where the glyph of `c` comes from (Font or a fallback font found for
    // it, at Font's size), its advance and its ink relative to its origin on
    // the baseline; Ink is empty for characters that draw nothing.
    struct TGlyph {
        QRawFont Raw;
        quint32 Index = 0;
        double Advance = 0;
        QRectF Ink;
    };
    const TGlyph &GlyphWithFallback(char32_t c) const;

private:
    friend const TQtFont &QtFontOf(const TFont &font);
    std::array<quint32, 128> ascii_{};
    mutable std::unordered_map<char32_t, quint32> others_;
    mutable std::unordered_map<char32_t, TGlyph> fallbacks_;
};

// Made once per distinct font and kept.
const TQtFont &QtFontOf(const TFont &font);

} // namespace tarnwick::qt
