#include "editor/qt/find_dialog_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace tarnwick;

QtFindDialogWindow::QtFindDialogWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto *label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findWhat_ = new QLineEdit(this);
    label->setBuddy(findWhat_);
    wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);

    auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
    up_ = new QRadioButton(QStringLiteral("&Up"), direction);
    down_ = new QRadioButton(QStringLiteral("&Down"), direction);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    findNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
    findNext_->setDefault(true);
    findNext_->setEnabled(false);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);

    auto *grid = new QGridLayout;
    grid->addWidget(label, 0, 0);
    grid->addWidget(findWhat_, 0, 1, 1, 2);
    auto *boxes = new QVBoxLayout;
    boxes->addWidget(wholeWord_);
    boxes->addWidget(matchCase_);
    boxes->addStretch();
    grid->addLayout(boxes, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    // An empty search finds nothing, so the button waits for some text.
    connect(findWhat_, &QLineEdit::textChanged, this,
            [this](const QString &text) { findNext_->setEnabled(!text.isEmpty()); });
    connect(findNext_, &QPushButton::clicked, this, [this] { FindNextClicked(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

std::string QtFindDialogWindow::FindText() const { return findWhat_->text().toStdString(); }

void QtFindDialogWindow::SetFindText(const std::string &text) { findWhat_->setText(QString::fromStdString(text)); }

TFindOptions QtFindDialogWindow::Options() const
{
    TFindOptions options;
    if (down_->isChecked())
        options.Include(frDown);
    if (matchCase_->isChecked())
        options.Include(frMatchCase);
    if (wholeWord_->isChecked())
        options.Include(frWholeWord);
    return options;
}

void QtFindDialogWindow::SetOptions(TFindOptions options)
{
    (options.Contains(frDown) ? down_ : up_)->setChecked(true);
    matchCase_->setChecked(options.Contains(frMatchCase));
    wholeWord_->setChecked(options.Contains(frWholeWord));
}

void QtFindDialogWindow::SetTopLeft(TPoint screen) { move(screen.x, screen.y); }

TSize QtFindDialogWindow::DesktopSize() const
{
    const QScreen *s = screen();
    if (!s)
        return {};
    const QSize size = s->virtualSize();
    return {size.width(), size.height()};
}

void QtFindDialogWindow::KeepClearOf(const TRect &screen)
{
    const QRect hit(QPoint(screen.left, screen.top), QPoint(screen.right - 1, screen.bottom - 1));
    const QRect frame = frameGeometry();
    if (!frame.intersects(hit))
        return;
    const QScreen *s = this->screen();
    const QRect desk = s ? s->availableGeometry() : QRect();
    constexpr int kGap = 8;
    int y = hit.bottom() + 1 + kGap;
    if (s && y + frame.height() > desk.bottom() + 1)
        y = hit.top() - kGap - frame.height();
    if (s && y < desk.top())
        y = desk.top();
    // move() places the frame's corner, frameGeometry() includes the frame.
    move(frame.left(), y);
}

void QtFindDialogWindow::Show()
{
    show();
    raise();
    activateWindow();
    findWhat_->setFocus();
    findWhat_->selectAll();
}

void QtFindDialogWindow::reject()
{
    const bool wasVisible = isVisible();
    QDialog::reject();
    if (wasVisible && OnClose)
        OnClose();
}

void QtFindDialogWindow::FindNextClicked()
{
    if (OnFindNext && !findWhat_->text().isEmpty())
        OnFindNext();
}
