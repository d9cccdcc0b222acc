// The status strip's progress indicator for long commands: the step being
// worked on and a bar that fills as it goes (or sweeps while nobody can
// tell how far it is). Hidden while no long command runs.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

class ProgressStrip : public QWidget {
public:
    explicit ProgressStrip(QWidget *parent = nullptr);

    // `fraction` from 0 to 1, or negative when unknown.
    void Show(const QString &step, double fraction);
    void Clear();

    QString StepText() const;
    // The bar's value from 0 to 1000, -1 while it sweeps.
    int Permille() const;

private:
    QLabel *step_ = nullptr;
    QProgressBar *bar_ = nullptr;
};
