#include "app/message_helpers.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageSink &Sink()
{
    static MessageSink sink;
    return sink;
}

QWidget *DefaultOwner()
{
    return QApplication::activeWindow();
}

} // namespace

void SetMessageSink(MessageSink sink)
{
    Sink() = std::move(sink);
}

void ShowInfoMessage(const QString &text)
{
    if (Sink()) {
        Sink()(MessageKind::Information, text);
        return;
    }
    QMessageBox::information(DefaultOwner(), QObject::tr("Information"), text);
}

void ShowErrorMessage(const QString &text)
{
    if (Sink()) {
        Sink()(MessageKind::Error, text);
        return;
    }
    QMessageBox::critical(DefaultOwner(), QObject::tr("Error"), text);
}

void ShowPlainMessage(const QString &text)
{
    if (Sink()) {
        Sink()(MessageKind::Plain, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    DefaultOwner());
    box.exec();
}

bool AskExitQuestion(QWidget *owner)
{
    const QString text = QStringLiteral("Are you sure you wish to exit");
    if (Sink())
        return Sink()(MessageKind::ExitQuestion, text);
    return QMessageBox::warning(owner, QStringLiteral("Unsaved chances"), text,
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}
