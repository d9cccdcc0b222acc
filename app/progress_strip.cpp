#include "app/progress_strip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <cmath>

namespace {

constexpr int kSteps = 1000;

} // namespace

ProgressStrip::ProgressStrip(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Progress"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    step_ = new QLabel(this);
    step_->setObjectName(QStringLiteral("ProgressStep"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setTextVisible(false);
    bar_->setFixedSize(160, 12);
    row->addWidget(step_);
    row->addWidget(bar_);
    hide();
}

void ProgressStrip::Show(const QString &step, double fraction)
{
    step_->setText(step);
    if (fraction < 0) {
        bar_->setRange(0, 0);
    } else {
        bar_->setRange(0, kSteps);
        bar_->setValue(static_cast<int>(std::lround(std::min(fraction, 1.0) * kSteps)));
    }
    show();
}

void ProgressStrip::Clear()
{
    hide();
    step_->clear();
    bar_->setRange(0, kSteps);
    bar_->setValue(0);
}

QString ProgressStrip::StepText() const { return isHidden() ? QString() : step_->text(); }

int ProgressStrip::Permille() const { return bar_->maximum() == 0 ? -1 : bar_->value(); }
