// The main window's editor as the benchmarks drive it: its styler and
// settings, offscreen, keys given as the widget gives them, and painting into
// an image the size of the view.
#pragma once

#include "app/main_editor_settings.h"
#include "app/main_styler.h"
#include "editor/control/redodi.h"
#include "editor/highlight/xml_styler.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/qt_canvas.h"

#include <QImage>
#include <QPainter>

#include <cstdint>

namespace tarnwick::bench {

class MainEditor {
public:
    MainEditor()
    {
        ConfigureMainStyler(styler_);
        ConfigureMainEditor(widget_.Control(), styler_);
    }

    REdoDodi &Editor() { return widget_.Control(); }

    // A widget never shown gets no resize events: the control is sized
    // directly.
    void Resize(int width, int height)
    {
        widget_.resize(width, height);
        Editor().SetBounds(0, 0, width, height);
    }

    // Sized until the view holds `rows` whole rows with the scroll bars the
    // text needs, and the image painting draws into with it.
    void ResizeToRows(int width, int rows)
    {
        int height = rows * 17;
        for (int pass = 0; pass < 4; ++pass) {
            Resize(width, height);
            height += (rows - Editor().VisibleRows()) * Editor().LineHeight();
        }
        image_ = QImage(widget_.width(), widget_.height(), QImage::Format_RGB32);
    }

    void Paint()
    {
        QPainter painter(&image_);
        qt::QtCanvas canvas(&painter);
        Editor().Paint(canvas);
    }

    // Key-down, the character, key-up.
    void Key(uint16_t vk, char32_t ch, TShiftState shift = {})
    {
        uint16_t key = vk;
        Editor().KeyDown(key, shift);
        Editor().KeyPress(ch);
        key = vk;
        Editor().KeyUp(key, shift);
    }

private:
    TDodiXMLStyler styler_;
    DodiWidget widget_;
    QImage image_;
};

} // namespace tarnwick::bench
