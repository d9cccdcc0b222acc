// The shell's message boxes. Every information, error and plain message and
// every question goes through here, so tests can capture them and give the
// answers instead of showing modal boxes.
#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class MessageKind {
    Information,
    Error,
    Plain,
    ExitQuestion,           // closing the window with unsaved changes
    SaveChangesQuestion,    // New or Open with unsaved changes
    SaveAsItIsQuestion,     // saving text that is not well-formed
    ContinueSearchQuestion, // a search reached the end of the text
};

// What the user chose in a question; boxes without a choice answer Ok.
enum class MessageAnswer { Ok, Save, Discard, Cancel, Yes, No };

// A replacement for the real boxes, answering for the user.
using MessageSink = std::function<MessageAnswer(MessageKind kind, const QString &text)>;

// Installs a sink in place of the real boxes; an empty sink restores them.
void SetMessageSink(MessageSink sink);

void ShowInfoMessage(const QString &text);
void ShowErrorMessage(const QString &text);
// A box with the text, one OK button and no icon.
void ShowPlainMessage(const QString &text);
// The close query's warning box: Save, Discard or Cancel.
MessageAnswer AskExitQuestion(QWidget *owner);
// Before New or Open replaces a changed document: Save, Discard or Cancel.
MessageAnswer AskSaveChangesQuestion(QWidget *owner);
// Before text that is not well-formed is saved, with the parse error `error`:
// Save (the text as it is) or Cancel. `unread` when what stopped the parse is
// a DTD or an entity the document reads, so the text itself was not judged.
MessageAnswer AskSaveAsItIsQuestion(QWidget *owner, const QString &error, bool unread = false);
// A search found nothing more toward the end (`down`) or the start of the
// text: Yes goes on from the other end, No stops.
MessageAnswer AskContinueSearchQuestion(QWidget *owner, bool down);
