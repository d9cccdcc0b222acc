// The modeless find dialog on screen: Find what, Match whole word only, Match
// case, Up/Down, Find Next and Cancel. It only gathers the text and options and
// reports Find Next and closing; REdoDodiFindDialog does the searching.
#pragma once

#include "editor/control/find_dialog.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class QtFindDialogWindow : public QDialog, public tarnwick::FindDialogWindow {
public:
    explicit QtFindDialogWindow(QWidget *parent = nullptr);

    std::string FindText() const override;
    void SetFindText(const std::string &text) override;
    tarnwick::TFindOptions Options() const override;
    void SetOptions(tarnwick::TFindOptions options) override;
    void SetTopLeft(tarnwick::TPoint screen) override;
    tarnwick::TSize DesktopSize() const override;
    void Show() override;
    bool Visible() const override { return isVisible(); }
    // Below the rectangle where the screen has room, else above it.
    void KeepClearOf(const tarnwick::TRect &screen) override;

    // Closing by Cancel, Escape or the title bar all end here.
    void reject() override;

    // For tests, which press the buttons and fill in the box.
    QLineEdit *FindWhatEdit() const { return findWhat_; }
    QCheckBox *WholeWordBox() const { return wholeWord_; }
    QCheckBox *MatchCaseBox() const { return matchCase_; }
    QRadioButton *UpButton() const { return up_; }
    QRadioButton *DownButton() const { return down_; }
    QPushButton *FindNextButton() const { return findNext_; }
    QPushButton *CancelButton() const { return cancel_; }

private:
    void FindNextClicked();

    QLineEdit *findWhat_ = nullptr;
    QCheckBox *wholeWord_ = nullptr;
    QCheckBox *matchCase_ = nullptr;
    QRadioButton *up_ = nullptr;
    QRadioButton *down_ = nullptr;
    QPushButton *findNext_ = nullptr;
    QPushButton *cancel_ = nullptr;
};
