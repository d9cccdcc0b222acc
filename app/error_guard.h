// The application's default error handler: a command that throws shows its
// message in an error box and the application goes on with whatever state the
// command had reached. No exception ever crosses the Qt event loop.
#pragma once

#include <QApplication>
#include <QGuiApplication>
#include <exception>
#include <stdexcept>
#include <utility>

void ShowException(const std::exception &error);

// Runs one shell command under the error handler; true when it ended normally.
template <typename Command>
bool RunGuarded(Command &&command)
{
    try {
        std::forward<Command>(command)();
        return true;
    } catch (const std::exception &error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
    return false;
}

// The busy cursor for the length of a scope, restored also when the scope throws.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// The application object: routes exceptions thrown from any event handler
// (keys, mouse, paint) to the error handler instead of letting them unwind Qt.
class TarnwickApplication : public QApplication {
public:
    TarnwickApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
