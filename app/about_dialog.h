// The About box: product name, version and where to read more.
#pragma once

#include <QDialog>

class TAboutBox : public QDialog {
public:
    explicit TAboutBox(QWidget *parent = nullptr);
};
