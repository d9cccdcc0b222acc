// DodiWidget: the widget that hosts the editor control in a Qt window. It
// owns the control and is its Host: it paints it through a QPainter canvas,
// draws its caret, holds its two scroll bars, timers and pop-ups, and feeds
// Qt's paint, resize, focus, wheel and pointer events to its handlers.
#pragma once

#include "editor/platform/host.h"
#include "editor/qt/qt_canvas.h"
#include "editor/qt/widget_caret.h"

#include <QWidget>

#include <map>
#include <memory>

class QScrollBar;
class QTimer;

namespace tarnwick {
class REdoDodi;
}
namespace tarnwick::qt {
class WidgetMouse;
}

class DodiWidget : public QWidget, public tarnwick::Host {
public:
    explicit DodiWidget(QWidget *parent = nullptr);
    ~DodiWidget() override;

    tarnwick::REdoDodi &Control() { return *control_; }
    QScrollBar *ScrollBar(tarnwick::TScrollBarKind bar) const;
    const tarnwick::qt::WidgetCaret &Caret() const { return caret_; }

    // ---- Host ----
    void Invalidate() override;
    void InvalidateRect(const tarnwick::TRect &rect) override;
    tarnwick::TSize ClientSize() const override;
    tarnwick::TPoint ClientToScreen(tarnwick::TPoint p) const override;
    tarnwick::TPoint CursorPos() const override;
    tarnwick::TRect WorkArea() const override;
    void CreateCaret(int width, int height) override;
    void DestroyCaret() override;
    void SetCaretPos(int x, int y) override;
    void ShowCaret() override;
    void HideCaret() override;
    int CaretBlinkTime() const override;
    void SetCaretBlinkTime(int ms) override;
    void SetScrollBarVisible(tarnwick::TScrollBarKind bar, bool visible) override;
    void SetScrollRange(tarnwick::TScrollBarKind bar, int min, int max) override;
    void SetScrollPosition(tarnwick::TScrollBarKind bar, int position) override;
    void SetScrollPage(tarnwick::TScrollBarKind bar, int page) override;
    int ScrollBarExtent(tarnwick::TScrollBarKind bar) const override;
    std::optional<std::string> ClipboardText() const override;
    void SetClipboardText(const std::string &text) override;
    void StartTimer(int id, int intervalMs, std::function<void()> onTimeout) override;
    void StopTimer(int id) override;
    std::unique_ptr<tarnwick::PopupWindow> CreatePopup(tarnwick::TPopupKind kind) override;
    std::unique_ptr<tarnwick::ListPopup> CreateListPopup() override;
    void CancelHint() override;
    int TrackPopupMenu(const std::vector<tarnwick::TMenuItem> &items, tarnwick::TPoint screen) override;
    bool Focused() const override;
    void SetFocus() override;
    void SetCursor(tarnwick::TCursor cursor) override;
    void SetAcceptFiles(bool accept) override;
    void BeginDrag(int threshold) override;
    void ShowMessage(const std::string &text, tarnwick::TMessageKind kind) override;
    bool OpenUrl(const std::string &url) override;
    std::unique_ptr<tarnwick::PrintJob> BeginPrintJob(const std::string &jobName) override;
    tarnwick::TColor ResolveColor(tarnwick::TColor color) const override;
    tarnwick::Canvas &MeasuringCanvas() override { return measureCanvas_; }

protected:
    // The hover hint: asks the control what to show over the pointer's cell.
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    // Tab stays in the editor while it wants the Tab key.
    bool focusNextPrevChild(bool next) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The scroll bars as the core models them: Qt's range stops where the
    // last page starts.
    struct BarModel {
        int Min = 0;
        int Max = 0;
        int Page = 0;
        int Position = 0;
    };
    QScrollBar *MakeScrollBar(tarnwick::TScrollBarKind bar);
    void ApplyBarModel(tarnwick::TScrollBarKind bar);
    void BarAction(tarnwick::TScrollBarKind bar, int action);
    // Places the bars where the core's layout puts them, once the current
    // event has been handled (the core may still be changing them).
    void ScheduleBarLayout();
    void LayOutBars();

    // Measures only: text extents need no painter.
    tarnwick::qt::QtCanvas measureCanvas_;
    tarnwick::qt::WidgetCaret caret_;
    QScrollBar *vertBar_ = nullptr;
    QScrollBar *horzBar_ = nullptr;
    std::map<tarnwick::TScrollBarKind, BarModel> bars_;
    std::map<int, QTimer *> timers_;
    bool layoutPending_ = false;
    int wheelRemainder_ = 0;
    std::unique_ptr<tarnwick::REdoDodi> control_;
    // Pointer, context-menu and drop events for the control (widget_mouse.cpp).
    std::unique_ptr<tarnwick::qt::WidgetMouse> mouse_;
};
