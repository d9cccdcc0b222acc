// Pop-up windows of the editor as Qt top-level widgets that stay on top:
// a plain one painted by the core (hints) and an owner-drawn list
// (completion).
#pragma once

#include "editor/platform/host.h"

#include <QWidget>

namespace tarnwick::qt {

// Shared by both kinds: the window calls back into the core's handlers.
template <typename Base>
class PopupWidget : public QWidget, public Base {
public:
    explicit PopupWidget(Qt::WindowFlags flags);

    void SetBounds(const TRect &screenRect) override;
    TRect Bounds() const override;
    void Show() override { show(); }
    void Hide() override { hide(); }
    bool Visible() const override { return isVisible(); }
    void Invalidate() override { update(); }
    void SetColor(TColor color) override;
    void SetFont(const TFont &font) override { font_ = font; }
    void SetCaption(const std::string &caption) override { setWindowTitle(QString::fromStdString(caption)); }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

    TColor color_ = clInfoBk;
    TFont font_;
};

class QtPopupWindow : public PopupWidget<PopupWindow> {
public:
    QtPopupWindow();

protected:
    void paintEvent(QPaintEvent *event) override;
};

class QtListPopup : public PopupWidget<ListPopup> {
public:
    QtListPopup();

    void SetItemCount(int count) override;
    int ItemCount() const override { return count_; }
    int ItemIndex() const override { return index_; }
    void SetItemIndex(int index) override;
    int TopIndex() const override { return top_; }
    void SetItemHeight(int height) override;
    int ItemHeight() const override { return itemHeight_; }
    void SetListFocus() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int VisibleItems() const;
    void KeepIndexVisible();

    int count_ = 0;
    int index_ = -1;
    int top_ = 0;
    int itemHeight_ = 16;
};

} // namespace tarnwick::qt
