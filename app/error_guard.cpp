#include "app/error_guard.h"

#include "app/message_helpers.h"

#include <stdexcept>

void ShowException(const std::exception &error) { ShowErrorMessage(QString::fromUtf8(error.what())); }

TarnwickApplication::TarnwickApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TarnwickApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
