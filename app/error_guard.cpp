#include "app/error_guard.h"

#include "app/message_helpers.h"

#include <new>
#include <stdexcept>

void ShowException(const std::exception &error)
{
    // What an allocation failure says of itself ("std::bad_alloc") tells a user nothing.
    if (dynamic_cast<const std::bad_alloc *>(&error) != nullptr)
        ShowErrorMessage(QStringLiteral("There is not enough memory to finish this command."));
    else
        ShowErrorMessage(QString::fromUtf8(error.what()));
}

TarnwickApplication::TarnwickApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TarnwickApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
