// DodiWidget's side of the Host interface: the window services the editor
// control asks for.
#include "editor/qt/dodi_widget.h"

#include "editor/control/redodi.h"
#include "editor/qt/qt_colors.h"
#include "editor/qt/qt_popups.h"
#include "editor/qt/qt_print_job.h"
#include "editor/qt/widget_mouse.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

using namespace tarnwick;

namespace {

QRect ToQRect(const TRect &r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

Qt::CursorShape ShapeOf(TCursor cursor)
{
    switch (cursor) {
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crDrag:
        return Qt::DragMoveCursor;
    case crNoDrop:
        return Qt::ForbiddenCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

void DodiWidget::Invalidate() { update(); }

void DodiWidget::InvalidateRect(const TRect &rect)
{
    if (!rect.IsEmpty())
        update(ToQRect(rect));
}

TSize DodiWidget::ClientSize() const { return {width(), height()}; }

TPoint DodiWidget::ClientToScreen(TPoint p) const
{
    const QPoint g = mapToGlobal(QPoint(p.x, p.y));
    return {g.x(), g.y()};
}

TPoint DodiWidget::CursorPos() const
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

TRect DodiWidget::WorkArea() const
{
    const QScreen *s = screen();
    const QRect r = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void DodiWidget::CreateCaret(int width, int height) { caret_.Create(width, height); }
void DodiWidget::DestroyCaret() { caret_.Destroy(); }
void DodiWidget::SetCaretPos(int x, int y) { caret_.SetPos(x, y); }
void DodiWidget::ShowCaret() { caret_.Show(); }
void DodiWidget::HideCaret() { caret_.Hide(); }
int DodiWidget::CaretBlinkTime() const { return caret_.BlinkTime(); }
void DodiWidget::SetCaretBlinkTime(int ms) { caret_.SetBlinkTime(ms); }

void DodiWidget::SetScrollBarVisible(TScrollBarKind kind, bool visible)
{
    ScrollBar(kind)->setVisible(visible);
    ScheduleBarLayout();
}

void DodiWidget::SetScrollRange(TScrollBarKind kind, int min, int max)
{
    bars_[kind].Min = min;
    bars_[kind].Max = max;
    ApplyBarModel(kind);
}

void DodiWidget::SetScrollPosition(TScrollBarKind kind, int position)
{
    bars_[kind].Position = position;
    ApplyBarModel(kind);
}

void DodiWidget::SetScrollPage(TScrollBarKind kind, int page)
{
    bars_[kind].Page = page;
    ApplyBarModel(kind);
    ScheduleBarLayout();
}

int DodiWidget::ScrollBarExtent(TScrollBarKind) const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

std::optional<std::string> DodiWidget::ClipboardText() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

void DodiWidget::SetClipboardText(const std::string &text)
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void DodiWidget::StartTimer(int id, int intervalMs, std::function<void()> onTimeout)
{
    QTimer *&timer = timers_[id];
    if (!timer)
        timer = new QTimer(this);
    timer->disconnect();
    timer->callOnTimeout(this, std::move(onTimeout));
    timer->start(std::max(0, intervalMs));
}

void DodiWidget::StopTimer(int id)
{
    if (auto it = timers_.find(id); it != timers_.end())
        it->second->stop();
}

std::unique_ptr<PopupWindow> DodiWidget::CreatePopup(TPopupKind) { return std::make_unique<qt::QtPopupWindow>(); }

std::unique_ptr<ListPopup> DodiWidget::CreateListPopup() { return std::make_unique<qt::QtListPopup>(); }

void DodiWidget::CancelHint() { QToolTip::hideText(); }

int DodiWidget::TrackPopupMenu(const std::vector<TMenuItem> &items, TPoint screen)
{
    QMenu menu(this);
    for (const TMenuItem &item : items) {
        if (item.Caption == "-") {
            menu.addSeparator();
            continue;
        }
        QAction *action = menu.addAction(QString::fromStdString(item.Caption));
        action->setData(item.Command);
        action->setEnabled(item.Enabled);
    }
    const QAction *chosen = menu.exec(QPoint(screen.x, screen.y));
    return chosen ? chosen->data().toInt() : 0;
}

bool DodiWidget::Focused() const { return hasFocus(); }
// The editor's window comes first: a pop-up that had the focus (the
// completion list) may have taken its activation.
void DodiWidget::SetFocus()
{
    if (!window()->isActiveWindow())
        window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
}
void DodiWidget::SetCursor(TCursor cursor) { setCursor(ShapeOf(cursor)); }
// Drops are always let in and taken or refused per event (widget_mouse.cpp),
// since the control's own selection may be dropped whatever AcceptFiles says.
void DodiWidget::SetAcceptFiles(bool) {}
void DodiWidget::BeginDrag(int threshold)
{
    if (mouse_)
        mouse_->BeginDrag(threshold);
}

void DodiWidget::ShowMessage(const std::string &text, TMessageKind kind)
{
    const QString title = QApplication::applicationDisplayName();
    const QString message = QString::fromStdString(text);
    switch (kind) {
    case TMessageKind::Error:
        QMessageBox::critical(this, title, message);
        break;
    case TMessageKind::Warning:
        QMessageBox::warning(this, title, message);
        break;
    case TMessageKind::Information:
        QMessageBox::information(this, title, message);
        break;
    }
}

bool DodiWidget::OpenUrl(const std::string &url)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}

std::unique_ptr<PrintJob> DodiWidget::BeginPrintJob(const std::string &jobName)
{
    return qt::QtPrintJob::OnDefaultPrinter(jobName);
}

TColor DodiWidget::ResolveColor(TColor color) const { return qt::ResolveColor(color); }
