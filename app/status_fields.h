// The status strip's fields beside the status text: where the caret is, the
// document's encoding and line breaks, whether typing inserts or overwrites,
// and a note on how the file was read when its bytes were not what it said.
#pragma once

#include <QWidget>

class QLabel;

class StatusFields : public QWidget {
public:
    explicit StatusFields(QWidget *parent = nullptr);

    // 0-based, as the editor counts; shown from 1 as the gutter numbers lines.
    void ShowCaret(int line, int column);
    void ShowEncoding(const QString &encoding);
    // "LF", "CRLF", "CR" or "Mixed".
    void ShowLineEnds(const QString &style);
    void ShowOverwrite(bool overwrite);
    // How the file was read when its bytes were not what it said, over the
    // encoding field; empty for none.
    void ShowNote(const QString &note);

    QString CaretText() const;
    QString EncodingText() const;
    QString LineEndsText() const;
    QString ModeText() const;
    QString NoteText() const;

private:
    QLabel *caret_ = nullptr;
    QLabel *encoding_ = nullptr;
    QLabel *lineEnds_ = nullptr;
    QLabel *mode_ = nullptr;
    QString note_;
};
