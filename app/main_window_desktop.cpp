// The main window's ties to the desktop: the recently used files, files
// dropped on the window, and the status fields that follow the caret and
// the document's encoding.
#include "app/main_window.h"

#include "app/document_outline.h"
#include "app/error_guard.h"
#include "app/message_helpers.h"
#include "app/status_fields.h"
#include "app/xml_tools.h"
#include "editor/control/redodi.h"
#include "editor/document/line_cells.h"
#include "xml/declaration.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

using namespace tarnwick;

namespace {

// The first local file among the URLs, or empty.
QString FirstLocalFile(const QMimeData *mime)
{
    if (mime && mime->hasUrls())
        for (const QUrl &url : mime->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return {};
}

} // namespace

void TForm1::FillRecentMenu()
{
    recentMenu_->clear();
    const QStringList &paths = recentFiles_.Paths();
    for (int i = 0; i < paths.size(); ++i) {
        // "&" marks a mnemonic, so one in a path is written twice.
        QString caption = paths[i];
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *item = recentMenu_->addAction(number + QLatin1Char(' ') + caption);
        item->setData(paths[i]);
        connect(item, &QAction::triggered, this,
                [this, path = paths[i]] { RunGuarded([&] { OpenRecentFile(path); }); });
    }
    if (!paths.isEmpty()) {
        recentMenu_->addSeparator();
        QAction *clear = recentMenu_->addAction(QStringLiteral("&Clear List"));
        connect(clear, &QAction::triggered, this, [this] {
            recentFiles_.Clear();
            FillRecentMenu();
        });
    }
    recentMenu_->setEnabled(!paths.isEmpty());
}

void TForm1::OpenRecentFile(const QString &path)
{
    if (!MayReplaceDocument(false))
        return;
    if (!QFileInfo(path).isFile()) {
        recentFiles_.Remove(path);
        FillRecentMenu();
        ShowErrorMessage(QStringLiteral("The file \"%1\" no longer exists.").arg(path));
        return;
    }
    OpenFile(path);
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!FirstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent *event)
{
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty() || dropPending_) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drag source waits for the drop to end; the question about unsaved
    // changes comes after that.
    dropPending_ = true;
    QMetaObject::invokeMethod(
        this, [this, path] { OpenDroppedFile(path); }, Qt::QueuedConnection);
}

void TForm1::OpenDroppedFile(const QString &path)
{
    dropPending_ = false;
    RunGuarded([&] {
        if (MayReplaceDocument(false))
            OpenFile(path);
    });
}

// The column shown is the caret's cell on the grid, as editors count it: a
// tab reaches its stop, a wide character takes two.
void TForm1::UpdateCaretStatus()
{
    const int line = DidIzad1->CaretLine();
    statusFields_->ShowCaret(line, CellOfColumn(*DidIzad1->ActiveLines(), line, DidIzad1->CaretCol()));
    statusFields_->ShowOverwrite(DidIzad1->Overwrite());
    if (xmlTools_)
        xmlTools_->Outline().FollowCaret();
}

// The path is cut at its start when it is too long to show whole; its tip
// has all of it.
void TForm1::ShowElementPath(const QString &path)
{
    elementPath_->setText(elementPath_->fontMetrics().elidedText(path, Qt::ElideLeft, elementPath_->width()));
    elementPath_->setToolTip(path.isEmpty() ? QString()
                                            : path + QStringLiteral("\nClick to copy it as an XPath expression."));
}

void TForm1::UpdateEncodingStatus()
{
    // What Save writes: the file's own encoding while the declaration still
    // names what it named, else the newly declared one. Only the first line
    // is read: a declaration stands there.
    const REdoDodiStrings &lines = *DidIzad1->Lines();
    const xml::TFileFormat format = xml::FormatForSave(lines.Count() > 0 ? lines[0] : std::string(), fileFormat_);
    QString encoding = QString::fromStdString(format.encoding);
    if (format.byteOrderMark)
        encoding += QStringLiteral(" BOM");
    statusFields_->ShowEncoding(encoding);
    statusFields_->ShowLineEnds(lines.MixedLineEnds() ? QStringLiteral("Mixed")
                                                      : QString::fromLatin1(LineEndName(lines.LineEndStyle()).data()));
}

DialogStart TForm1::FileDialogStart() const { return {CurrentFileName_, recentFiles_.Paths().value(0)}; }
