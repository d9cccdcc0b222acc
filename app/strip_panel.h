// A panel that paints a background image stretched over its whole area, with a
// line along its bottom edge when asked; the shell's strips are made of these.
#pragma once

#include <QPixmap>
#include <QWidget>

class StripPanel : public QWidget {
public:
    StripPanel(const QPixmap &background, int height, QWidget *parent = nullptr);
    void SetBottomEdge(bool on) { bottomEdge_ = on; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap background_;
    bool bottomEdge_ = false;
};
