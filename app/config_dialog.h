// The "Configuration" dialog: three editable boxes holding the declaration
// version, the encoding Format writes, and the DOM vendor. Its values live only
// for the run; Apply keeps what the boxes hold, Cancel (the button, Escape or
// the close box) puts back what they held when the dialog was shown.
#pragma once

#include <QDialog>

class QComboBox;

class TfrmConfig : public QDialog {
public:
    explicit TfrmConfig(QWidget *parent = nullptr);

    QComboBox *ComboBox1; // version
    QComboBox *ComboBox2; // encoding
    QComboBox *ComboBox3; // DOM vendor

    QString Encoding() const;
    void SetVendorItems(const QStringList &descriptions);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QStringList shownTexts_;
};
