#include "editor/qt/qt_fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <tuple>

namespace tarnwick::qt {

namespace {

bool IsFixedSys(const std::string &name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "fixedsys";
}

QFont MakeFont(const TFont &font)
{
    QFont f = IsFixedSys(font.Name) ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                    : QFont(QString::fromStdString(font.Name));
    // Negative heights are character heights in pixels; positive ones
    // include the internal leading.
    const int pixels = font.Height < 0 ? -font.Height : std::max(1, font.Height * 4 / 5);
    f.setPixelSize(std::max(1, pixels));
    f.setBold(font.Style.Contains(fsBold));
    f.setItalic(font.Style.Contains(fsItalic));
    f.setUnderline(font.Style.Contains(fsUnderline));
    f.setStrikeOut(font.Style.Contains(fsStrikeOut));
    f.setKerning(false);
    return f;
}

bool AsciiIsFixed(const QFontMetrics &metrics, int cell)
{
    for (char c = ' '; c <= '~'; ++c)
        if (metrics.horizontalAdvance(QChar(c)) != cell)
            return false;
    return true;
}

quint32 LookUpGlyph(const QRawFont &raw, char32_t c)
{
    if (!raw.isValid() || !raw.supportsCharacter(static_cast<uint>(c)))
        return 0;
    const QString one = QString::fromUcs4(&c, 1);
    quint32 glyph = 0;
    int count = 1;
    raw.glyphIndexesForChars(one.constData(), static_cast<int>(one.size()), &glyph, &count);
    return count == 1 ? glyph : 0;
}

} // namespace

quint32 TQtFont::GlyphOf(char32_t c) const
{
    if (c < ascii_.size())
        return ascii_[c];
    auto it = others_.find(c);
    if (it == others_.end())
        it = others_.emplace(c, LookUpGlyph(Raw, c)).first;
    return it->second;
}

// Laid out alone, the character gets the glyph that text drawing would give
// it, from whichever font the platform's fallback picks.
const TQtFont::TGlyph &TQtFont::GlyphWithFallback(char32_t c) const
{
    auto it = fallbacks_.find(c);
    if (it != fallbacks_.end())
        return it->second;
    TGlyph found;
    QTextLayout layout(QString::fromUcs4(&c, 1), Font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        if (run.glyphIndexes().isEmpty())
            continue;
        found.Raw = run.rawFont();
        found.Index = run.glyphIndexes().front();
        found.Advance = found.Raw.advancesForGlyphIndexes(QList<quint32>{found.Index}).value(0).x();
        found.Ink = found.Raw.boundingRect(found.Index);
        break;
    }
    return fallbacks_.emplace(c, std::move(found)).first->second;
}

const TQtFont &QtFontOf(const TFont &font)
{
    using Key = std::tuple<std::string, int, uint32_t>;
    // Never freed: fonts must not outlive the application object at exit.
    static auto &cache = *new std::map<Key, std::unique_ptr<TQtFont>>;
    const Key key{font.Name, font.Height, font.Style.Bits()};
    auto it = cache.find(key);
    if (it != cache.end())
        return *it->second;
    auto made = std::make_unique<TQtFont>();
    made->Font = MakeFont(font);
    const QFontMetrics metrics(made->Font);
    made->Ascent = metrics.ascent();
    made->Height = metrics.height();
    made->CellWidth = metrics.horizontalAdvance(QChar('W'));
    made->FixedPitch = AsciiIsFixed(metrics, made->CellWidth);
    made->Raw = QRawFont::fromFont(made->Font);
    for (char32_t c = 0; c < made->ascii_.size(); ++c)
        made->ascii_[c] = LookUpGlyph(made->Raw, c);
    return *cache.emplace(key, std::move(made)).first->second;
}

} // namespace tarnwick::qt
