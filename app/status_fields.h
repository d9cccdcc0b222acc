// The status strip's fields beside the status text: where the caret is, the
// document's encoding, and whether typing inserts or overwrites.
#pragma once

#include <QWidget>

class QLabel;

class StatusFields : public QWidget {
public:
    explicit StatusFields(QWidget *parent = nullptr);

    // 0-based, as the editor counts; shown from 1 as the gutter numbers lines.
    void ShowCaret(int line, int column);
    void ShowEncoding(const QString &encoding);
    void ShowOverwrite(bool overwrite);

    QString CaretText() const;
    QString EncodingText() const;
    QString ModeText() const;

private:
    QLabel *caret_ = nullptr;
    QLabel *encoding_ = nullptr;
    QLabel *mode_ = nullptr;
};
