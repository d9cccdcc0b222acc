#include "editor/qt/dodi_widget.h"

#include "editor/control/redodi.h"
#include "editor/qt/key_translation.h"
#include "editor/qt/qt_keys.h"
#include "editor/qt/widget_mouse.h"
#include "editor/view/scroller.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

using namespace tarnwick;

namespace {

constexpr int kWheelNotch = 120;

TScrollCode ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return scLineDown;
    case QAbstractSlider::SliderSingleStepSub:
        return scLineUp;
    case QAbstractSlider::SliderPageStepAdd:
        return scPageDown;
    case QAbstractSlider::SliderPageStepSub:
        return scPageUp;
    case QAbstractSlider::SliderToMinimum:
        return scTop;
    case QAbstractSlider::SliderToMaximum:
        return scBottom;
    case QAbstractSlider::SliderMove:
        return scTrack;
    default:
        return scPosition;
    }
}

} // namespace

DodiWidget::DodiWidget(QWidget *parent) : QWidget(parent), caret_(this)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setMouseTracking(true);
    setCursor(Qt::IBeamCursor);
    vertBar_ = MakeScrollBar(sbVertical);
    horzBar_ = MakeScrollBar(sbHorizontal);
    // Last: the control asks its host for services while it is being built.
    control_ = std::make_unique<REdoDodi>(this);
    control_->SetBounds(0, 0, width(), height());
    mouse_ = std::make_unique<qt::WidgetMouse>(*this, *control_);
}

DodiWidget::~DodiWidget()
{
    mouse_.reset();
    control_.reset();
}

QScrollBar *DodiWidget::MakeScrollBar(TScrollBarKind kind)
{
    auto *bar = new QScrollBar(kind == sbVertical ? Qt::Vertical : Qt::Horizontal, this);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setSingleStep(1);
    bar->hide();
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, kind](int action) { BarAction(kind, action); });
    connect(bar, &QAbstractSlider::sliderReleased, this,
            [this, kind] { control_->ScrollBarScroll(kind, scEndScroll, bars_[kind].Position); });
    return bar;
}

QScrollBar *DodiWidget::ScrollBar(TScrollBarKind kind) const { return kind == sbVertical ? vertBar_ : horzBar_; }

// The user moved the bar: the control decides where the view goes, and the
// bar shows that instead of the step Qt computed on its own.
void DodiWidget::BarAction(TScrollBarKind kind, int action)
{
    QScrollBar *bar = ScrollBar(kind);
    const TScrollCode code = ScrollCodeOf(action);
    control_->ScrollBarScroll(kind, code, bar->sliderPosition());
    if (code != scTrack)
        bar->setSliderPosition(bars_[kind].Position);
}

void DodiWidget::ApplyBarModel(TScrollBarKind kind)
{
    QScrollBar *bar = ScrollBar(kind);
    const BarModel &m = bars_[kind];
    // The horizontal range reaches one column further, so the longest line
    // can be followed by a free cell.
    const int extra = kind == sbVertical ? 1 : 2;
    const QSignalBlocker block(bar);
    bar->setRange(m.Min, std::max(m.Min, m.Max - std::max(m.Page, 1) + extra));
    bar->setPageStep(std::max(1, m.Page));
    bar->setValue(m.Position);
}

void DodiWidget::ScheduleBarLayout()
{
    if (layoutPending_)
        return;
    layoutPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { LayOutBars(); }, Qt::QueuedConnection);
}

void DodiWidget::LayOutBars()
{
    layoutPending_ = false;
    for (TScrollBarKind kind : {sbVertical, sbHorizontal}) {
        const TRect r = control_->ScrollBarRect(kind);
        ScrollBar(kind)->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
    }
}

// ---- Qt events ----

void DodiWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    qt::QtCanvas canvas(&painter);
    control_->Paint(canvas);
    caret_.Paint(painter);
}

void DodiWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    control_->SetBounds(0, 0, width(), height());
    LayOutBars();
}

void DodiWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    control_->FocusGained();
}

void DodiWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    control_->FocusLost(false);
}

void DodiWidget::keyPressEvent(QKeyEvent *event) { qt::FeedKeyPress(*control_, *event); }
void DodiWidget::keyReleaseEvent(QKeyEvent *event) { qt::FeedKeyRelease(*control_, *event); }
void DodiWidget::inputMethodEvent(QInputMethodEvent *event) { qt::FeedInputMethod(*control_, *event); }

bool DodiWidget::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    std::string hint;
    tarnwick::TRect cell;
    // The hint goes when the pointer leaves the cell it belongs to.
    if (control_->HintAt(help->pos().x(), help->pos().y(), hint, &cell))
        QToolTip::showText(help->globalPos(), QString::fromStdString(hint), this,
                           QRect(cell.left, cell.top, cell.Width(), cell.Height()));
    else
        QToolTip::hideText();
    return true;
}

bool DodiWidget::focusNextPrevChild(bool next)
{
    return control_->WantTab() ? false : QWidget::focusNextPrevChild(next);
}

// Notches are counted in whole steps; fine-grained wheels add up to one.
void DodiWidget::wheelEvent(QWheelEvent *event)
{
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= kWheelNotch) {
        wheelRemainder_ -= kWheelNotch;
        control_->MouseWheel(false);
    }
    while (wheelRemainder_ <= -kWheelNotch) {
        wheelRemainder_ += kWheelNotch;
        control_->MouseWheel(true);
    }
    event->accept();
}

void DodiWidget::mouseMoveEvent(QMouseEvent *event) { mouse_->Move(event); }
void DodiWidget::mousePressEvent(QMouseEvent *event) { mouse_->Press(event); }
void DodiWidget::mouseReleaseEvent(QMouseEvent *event) { mouse_->Release(event); }
void DodiWidget::mouseDoubleClickEvent(QMouseEvent *event) { mouse_->DoubleClick(event); }
void DodiWidget::contextMenuEvent(QContextMenuEvent *event) { mouse_->ContextMenu(event); }
void DodiWidget::dragEnterEvent(QDragEnterEvent *event) { mouse_->DragEnter(event); }
void DodiWidget::dragMoveEvent(QDragMoveEvent *event) { mouse_->DragMove(event); }
void DodiWidget::dragLeaveEvent(QDragLeaveEvent *event) { mouse_->DragLeave(event); }
void DodiWidget::dropEvent(QDropEvent *event) { mouse_->Drop(event); }
