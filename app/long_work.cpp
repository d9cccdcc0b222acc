#include "app/long_work.h"

#include "app/progress_strip.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <stdexcept>
#include <thread>

namespace {

// Input a busy window does not take.
bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

// Waits for a thread when the scope ends, however it ends.
class Joined {
public:
    explicit Joined(std::thread &thread) : thread_(thread) {}
    ~Joined()
    {
        if (thread_.joinable())
            thread_.join();
    }
    Joined(const Joined &) = delete;
    Joined &operator=(const Joined &) = delete;

private:
    std::thread &thread_;
};

// Restores a flag when the scope ends, also when it ends in an exception.
class Raised {
public:
    explicit Raised(bool &flag) : flag_(flag) { flag_ = true; }
    ~Raised() { flag_ = false; }
    Raised(const Raised &) = delete;
    Raised &operator=(const Raised &) = delete;

private:
    bool &flag_;
};

} // namespace

void TWorkProgress::SetStep(const QString &step)
{
    std::lock_guard lock(mutex_);
    step_ = step;
}

QString TWorkProgress::Step() const
{
    std::lock_guard lock(mutex_);
    return step_;
}

LongWork::LongWork(QWidget &window, ProgressStrip &strip) : QObject(&window), window_(window), strip_(strip) {}

bool LongWork::eventFilter(QObject *watched, QEvent *event)
{
    if (!busy_)
        return false;
    if (IsUserInput(event->type()))
        return true;
    // Closing waits for the work; the user may ask again once it ended.
    if (event->type() == QEvent::Close && watched == &window_) {
        event->ignore();
        return true;
    }
    return false;
}

void LongWork::Run(const QString &step, const std::function<void(TWorkProgress &)> &work)
{
    // Commands come one at a time: a second one would share the document
    // with the work that runs.
    if (busy_)
        throw std::runtime_error("Wait until the command that runs has finished.");
    TWorkProgress progress;
    progress.SetStep(step);
    Raised busy(busy_);
    qApp->installEventFilter(this);
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    Joined joined(worker);

    QElapsedTimer elapsed;
    elapsed.start();
    QTimer tick;
    tick.setInterval(50);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (elapsed.elapsed() >= kShowAfterMs)
            strip_.Show(progress.Step(), progress.Fraction());
    });
    tick.start();
    if (!done)
        loop.exec();
    worker.join();
    tick.stop();
    strip_.Clear();
    qApp->removeEventFilter(this);
    if (failure)
        std::rethrow_exception(failure);
}
