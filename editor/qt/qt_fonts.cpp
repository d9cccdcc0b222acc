#include "editor/qt/qt_fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>

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

} // namespace

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
    return *cache.emplace(key, std::move(made)).first->second;
}

} // namespace tarnwick::qt
