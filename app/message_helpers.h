// The shell's message boxes. Every information, error and plain message goes
// through here, so tests can capture them instead of showing modal boxes.
#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class MessageKind { Information, Error, Plain, ExitQuestion };

// A replacement for the real boxes; returns true for "Yes" where a question is asked.
using MessageSink = std::function<bool(MessageKind kind, const QString &text)>;

// Installs a sink in place of the real boxes; an empty sink restores them.
void SetMessageSink(MessageSink sink);

void ShowInfoMessage(const QString &text);
void ShowErrorMessage(const QString &text);
// A box with the text, one OK button and no icon.
void ShowPlainMessage(const QString &text);
// The close query's warning box; true when the user answers Yes.
bool AskExitQuestion(QWidget *owner);
