// The widget that hosts the editor control in a Qt window.
#pragma once

#include <QWidget>
#include <memory>

namespace tarnwick { class REdoDodi; }

class DodiWidget : public QWidget {
public:
    explicit DodiWidget(QWidget *parent = nullptr);
    ~DodiWidget() override;

    tarnwick::REdoDodi &Control() { return *control_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    std::unique_ptr<tarnwick::REdoDodi> control_;
    int topLine_ = 0;
};
