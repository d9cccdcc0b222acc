#include "app/goto_dialog.h"

#include "app/error_guard.h"
#include "app/shell_images.h"
#include "editor/control/custom_dodi.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kMinLine = 0;
constexpr int kMaxLine = 100;

int WholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw std::invalid_argument("'" + text.toStdString() + "' is not a valid integer value");
    return value;
}

} // namespace

TFrmGoto::TFrmGoto(tarnwick::TCustomDodi &editor, QWidget *parent) : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("FrmGoto"));
    setWindowTitle(QStringLiteral("Go to ..."));
    setFixedSize(300, 88);
    setModal(false);

    auto *background = new QLabel(this);
    background->setPixmap(StripBackground(StripKind::Caption));
    background->setScaledContents(true);
    background->setGeometry(rect());

    auto *label = new QLabel(QStringLiteral("Line Number"), this);
    label->move(25, 30);
    Edit1 = new QLineEdit(QStringLiteral("0"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(25, 45, 61, 21);

    auto *up = new QToolButton(this);
    up->setObjectName(QStringLiteral("UpDown1Up"));
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(86, 45, 16, 11);
    connect(up, &QToolButton::clicked, this, [this] { StepLine(1); });
    auto *down = new QToolButton(this);
    down->setObjectName(QStringLiteral("UpDown1Down"));
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(86, 56, 16, 10);
    connect(down, &QToolButton::clicked, this, [this] { StepLine(-1); });

    auto *ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(115, 40, 75, 25);
    connect(ok, &QPushButton::clicked, this, [this] { RunGuarded([this] { BitBtn1Click(); }); });
    auto *cancel =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    cancel->setGeometry(195, 40, 75, 25);
}

void MoveCaretToLine(tarnwick::TCustomDodi &editor, int line)
{
    editor.SetSelStart(editor.IndexOfPosition({0, line}));
    editor.SetCaretCol(0);
    editor.SetCaretLine(line);
}

void TFrmGoto::BitBtn1Click() { MoveCaretToLine(editor_, WholeNumber(Edit1->text())); }

void TFrmGoto::StepLine(int delta)
{
    bool ok = false;
    const int current = Edit1->text().trimmed().toInt(&ok);
    Edit1->setText(QString::number(std::clamp((ok ? current : 0) + delta, kMinLine, kMaxLine)));
}
