// WidgetCaret: the editor's caret as the widget draws it: a bar the core
// sizes and places, blinking at the desktop's cursor flash time.
#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

class QPainter;
class QWidget;

namespace tarnwick::qt {

class WidgetCaret : public QObject {
public:
    explicit WidgetCaret(QWidget *owner);

    void Create(int width, int height);
    void Destroy();
    void SetPos(int x, int y);
    void Show();
    void Hide();
    // A full on-off cycle in milliseconds; 0 or less keeps the caret steady.
    int BlinkTime() const { return blinkTime_; }
    void SetBlinkTime(int ms);

    bool Exists() const { return exists_; }
    bool Shown() const { return shown_; }
    // The caret is drawn in this paint (shown and in its on phase).
    bool Lit() const { return exists_ && shown_ && on_; }
    QRect Rect() const { return rect_; }
    // Inverts the pixels under the caret, so it shows on any background.
    void Paint(QPainter &painter) const;

private:
    void Toggle();
    // Shows the on phase now and starts a new cycle.
    void Restart();
    void Update();

    QWidget *owner_;
    QTimer timer_;
    QRect rect_;
    bool exists_ = false;
    bool shown_ = false;
    bool on_ = true;
    int blinkTime_;
};

} // namespace tarnwick::qt
