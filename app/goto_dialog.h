// The "Go to ..." dialog: moves the editor's caret to a line. Modeless; OK
// moves and leaves it open.
#pragma once

#include <QDialog>

class QLineEdit;

namespace tarnwick {
class TCustomDodi;
}

// The caret to column 0 of `line` (0-based), keeping the selection's length.
void MoveCaretToLine(tarnwick::TCustomDodi &editor, int line);

class TFrmGoto : public QDialog {
public:
    TFrmGoto(tarnwick::TCustomDodi &editor, QWidget *parent = nullptr);

    QLineEdit *Edit1;

    // OK: the caret to column 0 of the line in Edit1 (0-based).
    void BitBtn1Click();
    // The up-down arrows: step the number by one within 0..100.
    void StepLine(int delta);

private:
    tarnwick::TCustomDodi &editor_;
};
