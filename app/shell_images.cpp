#include "app/shell_images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {

struct ImageEntry {
    const char *themeName;
    const char *fallbackGlyph; // drawn on a tile when the theme lacks the icon
    QRgb tile;
};

// Indexes follow the tool bar's image list: 0 Open, 1 Format, 2 About, 3 Exit,
// 4 Save, 5 Print, 6 Validate, 7 Search, 8 View in browser, 9 Add Node,
// 10 (unused), 11 Go to, 12 Close, 13 New, 14 Config.
constexpr std::array<ImageEntry, 15> kImages{{
    {"document-open", "O", 0xd9a441},
    {"format-justify-left", "F", 0x3f7fbf},
    {"help-about", "?", 0x3f9f5f},
    {"application-exit", "X", 0xbf3f3f},
    {"document-save", "S", 0x3f5fbf},
    {"document-print", "P", 0x6f6f6f},
    {"emblem-default", "V", 0x2f9f2f},
    {"edit-find", "Q", 0x7f5fbf},
    {"web-browser", "W", 0x2f7fcf},
    {"list-add", "+", 0x3f9f9f},
    {"document-properties", "*", 0x7f7f7f},
    {"go-jump", "G", 0x9f7f3f},
    {"window-close", "C", 0x9f3f3f},
    {"document-new", "N", 0x5f8fcf},
    {"preferences-system", "E", 0x6f6f9f},
}};

QPixmap DrawnImage(const ImageEntry &entry)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tile = QColor::fromRgb(entry.tile);
    QLinearGradient shade(0, 0, 0, 32);
    shade.setColorAt(0, tile.lighter(140));
    shade.setColorAt(1, tile.darker(120));
    painter.setBrush(shade);
    painter.setPen(tile.darker(160));
    painter.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(2, 2, 28, 28), Qt::AlignCenter, QString::fromLatin1(entry.fallbackGlyph));
    return pixmap;
}

QPixmap Gradient(QColor top, QColor bottom, int height)
{
    QPixmap pixmap(16, height);
    QPainter painter(&pixmap);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.fillRect(pixmap.rect(), fill);
    return pixmap;
}

// Outside a desktop session Qt knows no icon theme; fall back on the one the
// setup installs.
void EnsureIconTheme()
{
    static const bool chosen = [] {
        const QString current = QIcon::themeName();
        if (current.isEmpty() || current == QLatin1String("hicolor"))
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)chosen;
}

} // namespace

QIcon ToolBarImage(int index)
{
    if (index < 0 || index >= int(kImages.size()))
        return {};
    EnsureIconTheme();
    const ImageEntry &entry = kImages[size_t(index)];
    QIcon themed = QIcon::fromTheme(QString::fromLatin1(entry.themeName));
    if (!themed.isNull() && !themed.availableSizes().isEmpty())
        return themed;
    return QIcon(DrawnImage(entry));
}

QPixmap StripBackground(StripKind kind)
{
    switch (kind) {
    case StripKind::ToolBar:
        return Gradient(QColor(0xfd, 0xfd, 0xfe), QColor(0xdc, 0xe4, 0xef), 55);
    case StripKind::Caption:
        return Gradient(QColor(0xe9, 0xef, 0xf7), QColor(0xc5, 0xd3, 0xe6), 30);
    case StripKind::Status:
        return Gradient(QColor(0xee, 0xf2, 0xf8), QColor(0xcf, 0xda, 0xea), 43);
    case StripKind::DialogHeader:
        return Gradient(QColor(0xe9, 0xef, 0xf7), QColor(0xc5, 0xd3, 0xe6), 30);
    }
    return {};
}
