#include "editor/qt/qt_colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace tarnwick::qt {

namespace {

// The desktop's colour numbers in order, each with the palette role that
// plays its part here.
constexpr std::array<QPalette::ColorRole, 31> kRoles = {
    QPalette::Button,          // 0x00 scroll bar
    QPalette::Window,          // 0x01 desktop background
    QPalette::Highlight,       // 0x02 active caption
    QPalette::Mid,             // 0x03 inactive caption
    QPalette::Window,          // 0x04 menu
    QPalette::Base,            // 0x05 window background
    QPalette::Shadow,          // 0x06 window frame
    QPalette::WindowText,      // 0x07 menu text
    QPalette::Text,            // 0x08 window text
    QPalette::HighlightedText, // 0x09 caption text
    QPalette::Window,          // 0x0A active border
    QPalette::Window,          // 0x0B inactive border
    QPalette::Mid,             // 0x0C application workspace
    QPalette::Highlight,       // 0x0D highlight
    QPalette::HighlightedText, // 0x0E highlight text
    QPalette::Button,          // 0x0F button face
    QPalette::Dark,            // 0x10 button shadow
    QPalette::PlaceholderText, // 0x11 grey text
    QPalette::ButtonText,      // 0x12 button text
    QPalette::WindowText,      // 0x13 inactive caption text
    QPalette::Light,           // 0x14 button highlight
    QPalette::Shadow,          // 0x15 3-D dark shadow
    QPalette::Midlight,        // 0x16 3-D light
    QPalette::ToolTipText,     // 0x17 tooltip text
    QPalette::ToolTipBase,     // 0x18 tooltip background
    QPalette::Button,          // 0x19 (unused number)
    QPalette::Link,            // 0x1A hot-tracked item
    QPalette::Highlight,       // 0x1B active caption gradient
    QPalette::Mid,             // 0x1C inactive caption gradient
    QPalette::Highlight,       // 0x1D menu highlight
    QPalette::Window,          // 0x1E menu bar
};

QColor PlainColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

} // namespace

QColor ToQColor(TColor color)
{
    if (!IsSystemColor(color))
        return PlainColor(color);
    const uint8_t index = SystemColorIndex(color);
    const QPalette palette = QGuiApplication::palette();
    return palette.color(index < kRoles.size() ? kRoles[index] : QPalette::Window);
}

TColor ResolveColor(TColor color)
{
    if (!IsSystemColor(color))
        return color;
    const QColor c = ToQColor(color);
    return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

} // namespace tarnwick::qt
