// Text and files crossing from and to other programs: copied text breaks its
// lines with LF, pasted text may break them any way, and a file dropped on
// the window or on the editor opens as the document after the unsaved-changes
// question.
#include "shell_fixture.h"

#include "app/error_guard.h"
#include "editor/qt/dodi_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>

#include <sys/stat.h>

using namespace tarnwick;

namespace {

using Clipboard = ShellTest;

TEST_F(Clipboard, CopiesWithLineFeedsAndPastesAnyLineBreak)
{
    REdoDodi &ed = window->Editor();
    ed.CaretState().SelStart = {5, 1};
    ed.CaretState().SelEnd = {2, 3};
    window->Run(CommandId::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "\n    <a/>\n</");

    QGuiApplication::clipboard()->setText(QStringLiteral("<b/>\r\n<c/>\n<d/>\r<e/>"));
    ed.SetCaretLine(0);
    ed.SetCaretCol(0);
    ed.CollapseSelection();
    window->Run(CommandId::Paste);
    EXPECT_EQ(EditorText().substr(0, 27), "<b/>\r\n<c/>\r\n<d/>\r\n<e/><?xml");
}

class FileDrop : public ShellTest {
protected:
    // Drops `paths` on `target` as a file manager does, and lets the opening
    // that waits for the drop to end run.
    void Drop(QWidget *target, const QStringList &paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        mime.setUrls(urls);
        const QPoint at(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        QApplication::processEvents();
    }
};

TEST_F(FileDrop, OpensTheFirstFileOnTheWindowAndOnTheEditorAfterTheQuestion)
{
    const QString first = WriteFile(QStringLiteral("first.xml"), "<first/>\n");
    const QString second = WriteFile(QStringLiteral("second.xml"), "<second/>\n");
    QWidget *captionStrip = window->findChild<QWidget *>(QStringLiteral("Panel1"));
    answer = MessageAnswer::Cancel;
    Drop(captionStrip, {first, second});
    EXPECT_FALSE(Last(MessageKind::SaveChangesQuestion).isEmpty());
    EXPECT_TRUE(window->CurrentFileName().isEmpty()) << "cancelled";
    answer = MessageAnswer::Discard;
    Drop(captionStrip, {first, second});
    EXPECT_EQ(Title(), QStringLiteral("Tarnwick - ") + first);
    EXPECT_EQ(EditorText(), "<first/>\r\n");

    // On the editor the file opens as the document too, instead of replacing
    // the text of the document that stays open.
    InsertAt(0, 0, "<!-- mine -->");
    answer = MessageAnswer::Cancel;
    Drop(&window->EditorWidget(), {second});
    EXPECT_EQ(EditorText(), "<!-- mine --><first/>\r\n");
    answer = MessageAnswer::Discard;
    Drop(&window->EditorWidget(), {second});
    EXPECT_EQ(window->CurrentFileName(), second);
    EXPECT_EQ(EditorText(), "<second/>\r\n");
    EXPECT_FALSE(window->DocumentModified());
}

TEST_F(FileDrop, APipeOrADeviceDroppedOrNamedOnTheCommandLineIsRefusedAtOnce)
{
    const QString fifo = folder.filePath(QStringLiteral("fifo.xml"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const std::string before = EditorText();
    for (const QString &path : {fifo, QStringLiteral("/dev/zero")}) {
        messages.clear();
        Drop(&window->EditorWidget(), {path});
        EXPECT_TRUE(Last(MessageKind::Error).contains("not a file")) << Last(MessageKind::Error).toStdString();
        // As main() opens the file named on the command line.
        messages.clear();
        RunGuarded([&] { window->OpenFile(path); });
        EXPECT_TRUE(Last(MessageKind::Error).contains("not a file")) << Last(MessageKind::Error).toStdString();
    }
    EXPECT_EQ(EditorText(), before);
    EXPECT_TRUE(window->CurrentFileName().isEmpty());
}

} // namespace
