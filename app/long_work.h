// Work that may take long (opening, saving, formatting or validating a big
// document) runs on a thread of its own while the window stays alive: it
// keeps repainting, and once the work has taken half a second the status
// strip names the step and shows how far it got. Keys, the mouse and closing
// the window are held off until the work ends, so the document cannot change
// under it. The work must not touch widgets or the editor.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

class ProgressStrip;
class QWidget;

// What the work says of itself, from its own thread.
class TWorkProgress {
public:
    void SetStep(const QString &step);
    // From 0 to 1; negative while it cannot tell.
    void SetFraction(double fraction) { fraction_ = fraction; }

    QString Step() const;
    double Fraction() const { return fraction_; }

private:
    mutable std::mutex mutex_;
    QString step_;
    std::atomic<double> fraction_{-1};
};

class LongWork : public QObject {
public:
    // `window` is what input is held off from; `strip` shows the progress.
    LongWork(QWidget &window, ProgressStrip &strip);

    // Runs `work`, naming `step` as what it does, and returns once it ended;
    // an exception it threw is thrown here. Refused (std::runtime_error)
    // while other work runs.
    void Run(const QString &step, const std::function<void(TWorkProgress &)> &work);
    bool Busy() const { return busy_; }

    // How long the work runs before its progress shows.
    static constexpr int kShowAfterMs = 500;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window_;
    ProgressStrip &strip_;
    bool busy_ = false;
};
