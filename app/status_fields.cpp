#include "app/status_fields.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

namespace {

QLabel *Field(const char *name, QWidget *parent, QHBoxLayout *row)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    row->addWidget(label);
    return label;
}

} // namespace

StatusFields::StatusFields(QWidget *parent) : QWidget(parent)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(24);
    caret_ = Field("CaretPosition", this, row);
    encoding_ = Field("DocumentEncoding", this, row);
    lineEnds_ = Field("LineEnds", this, row);
    mode_ = Field("TypingMode", this, row);
    // The caret field keeps its width while the numbers grow and shrink, so
    // the fields after it do not jump as the caret moves.
    caret_->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("Line 000000, Column 0000")));
    ShowCaret(0, 0);
    ShowEncoding(QStringLiteral("UTF-8"));
    ShowLineEnds(QStringLiteral("LF"));
    ShowOverwrite(false);
    ShowNote({});
}

void StatusFields::ShowCaret(int line, int column)
{
    caret_->setText(QStringLiteral("Line %1, Column %2").arg(line + 1).arg(column + 1));
}

void StatusFields::ShowEncoding(const QString &encoding) { encoding_->setText(encoding); }

void StatusFields::ShowLineEnds(const QString &style) { lineEnds_->setText(style); }

// The strip has no room for a sentence beside the links: the note marks the
// encoding and is read over it.
void StatusFields::ShowNote(const QString &note)
{
    note_ = note;
    encoding_->setToolTip(note);
    encoding_->setStyleSheet(note.isEmpty() ? QString() : QStringLiteral("color: #a03000"));
}

void StatusFields::ShowOverwrite(bool overwrite)
{
    mode_->setText(overwrite ? QStringLiteral("Overwrite") : QStringLiteral("Insert"));
}

QString StatusFields::CaretText() const { return caret_->text(); }
QString StatusFields::EncodingText() const { return encoding_->text(); }
QString StatusFields::LineEndsText() const { return lineEnds_->text(); }
QString StatusFields::ModeText() const { return mode_->text(); }
QString StatusFields::NoteText() const { return note_; }
