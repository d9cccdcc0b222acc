// The "Configuration" dialog: three editable boxes holding the declaration
// version, the encoding Format writes, and the DOM vendor, and the folders
// besides a document's own that its DTDs, entities and schemas may be read
// from. The boxes' values live only for the run, the folders are kept
// between runs; Apply keeps what the boxes hold, Cancel (the button, Escape
// or the close box) puts back what they held when the dialog was shown.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

class TfrmConfig : public QDialog {
public:
    explicit TfrmConfig(QWidget *parent = nullptr);

    QComboBox *ComboBox1;   // version
    QComboBox *ComboBox2;   // encoding
    QComboBox *ComboBox3;   // DOM vendor
    QLineEdit *EditFolders; // folders external resources may be read from, parted by ':'

    QString Encoding() const;
    void SetVendorItems(const QStringList &descriptions);

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QStringList shownTexts_;
};
