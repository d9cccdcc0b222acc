#include "app/message_helpers.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageSink &Sink()
{
    static MessageSink sink;
    return sink;
}

QWidget *DefaultOwner() { return QApplication::activeWindow(); }

MessageAnswer AnswerOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Save:
        return MessageAnswer::Save;
    case QMessageBox::Discard:
        return MessageAnswer::Discard;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

// Every box shows its text as it is: a parser's message may start with
// something that looks like a tag, which rich text would swallow.
MessageAnswer ShowBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                      QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton, QWidget *owner)
{
    QMessageBox box(icon, title, text, buttons, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return AnswerOf(static_cast<QMessageBox::StandardButton>(box.exec()));
}

// A warning box owned by `owner`; Cancel is the default and what Escape gives.
MessageAnswer AskWarning(QWidget *owner, const QString &title, const QString &text,
                         QMessageBox::StandardButtons buttons)
{
    return ShowBox(QMessageBox::Warning, title, text, buttons, QMessageBox::Cancel, owner);
}

} // namespace

void SetMessageSink(MessageSink sink) { Sink() = std::move(sink); }

void ShowInfoMessage(const QString &text)
{
    if (Sink()) {
        Sink()(MessageKind::Information, text);
        return;
    }
    ShowBox(QMessageBox::Information, QObject::tr("Information"), text, QMessageBox::Ok, QMessageBox::Ok,
            DefaultOwner());
}

void ShowErrorMessage(const QString &text)
{
    if (Sink()) {
        Sink()(MessageKind::Error, text);
        return;
    }
    ShowBox(QMessageBox::Critical, QObject::tr("Error"), text, QMessageBox::Ok, QMessageBox::Ok, DefaultOwner());
}

void ShowPlainMessage(const QString &text)
{
    if (Sink()) {
        Sink()(MessageKind::Plain, text);
        return;
    }
    ShowBox(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, QMessageBox::Ok,
            DefaultOwner());
}

MessageAnswer AskExitQuestion(QWidget *owner)
{
    const QString text = QStringLiteral("Are you sure you wish to exit");
    if (Sink())
        return Sink()(MessageKind::ExitQuestion, text);
    return AskWarning(owner, QStringLiteral("Unsaved chances"), text,
                      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
}

MessageAnswer AskSaveChangesQuestion(QWidget *owner)
{
    const QString text = QStringLiteral("Do you wish to save the changes to the document first?");
    if (Sink())
        return Sink()(MessageKind::SaveChangesQuestion, text);
    return AskWarning(owner, QStringLiteral("Unsaved changes"), text,
                      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
}

MessageAnswer AskSaveAsItIsQuestion(QWidget *owner, const QString &error, bool unread)
{
    const QString text =
        error + (unread ? QStringLiteral("\n\nA DTD or an entity the document reads could not be read, so the "
                                         "text was not checked. Do you wish to save it as it is?")
                        : QStringLiteral("\n\nThe text is not well-formed XML. Do you wish to save it as it is?"));
    if (Sink())
        return Sink()(MessageKind::SaveAsItIsQuestion, text);
    return AskWarning(owner, QStringLiteral("Not well-formed"), text, QMessageBox::Save | QMessageBox::Cancel);
}

MessageAnswer AskContinueSearchQuestion(QWidget *owner, bool down)
{
    const QString text = down ? QStringLiteral("Reached the end of the document. Continue from the beginning?")
                              : QStringLiteral("Reached the beginning of the document. Continue from the end?");
    if (Sink())
        return Sink()(MessageKind::ContinueSearchQuestion, text);
    return ShowBox(QMessageBox::Question, QStringLiteral("Find"), text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes, owner);
}
