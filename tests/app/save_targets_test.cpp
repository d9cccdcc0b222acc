// Save and Save as where a save can go wrong: onto a pipe or a device, with
// the disk full, and in an encoding that cannot hold a character. The old
// file stays whole and the document stays marked changed whenever a save fails.
#include "shell_fixture.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>

namespace {

const QByteArray kDocument =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n  <item>caf\xe9</item>\n</root>\n";

bool IsFifo(const QString &path)
{
    struct stat status {};
    return ::lstat(path.toLocal8Bit().constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

} // namespace

class SaveTargets : public ShellTest {
protected:
    // The document opened from a file, then changed in the editor.
    QString OpenAndChange(const std::string &inserted = "<!-- note -->")
    {
        const QString path = WriteFile("doc.xml", kDocument);
        Open(path);
        InsertAt(2, 0, inserted);
        EXPECT_TRUE(window->DocumentModified());
        messages.clear();
        return path;
    }

    void ExpectStillChanged(const QString &path)
    {
        EXPECT_TRUE(window->DocumentModified());
        EXPECT_TRUE(Title().startsWith("* ")) << Title().toStdString();
        EXPECT_EQ(ReadFile(path), kDocument);
        // No temporary file left beside it.
        const QStringList names = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(names, QStringList{"doc.xml"});
    }
};

TEST_F(SaveTargets, SaveAsOntoAPipeWritesIntoItAndNeverReplacesIt)
{
    OpenAndChange();
    const QString fifo = folder.filePath("pipe");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);

    // Nothing reads it: the save fails at once and nothing changes.
    nextSavePath = fifo;
    window->Run(CommandId::SaveAs);
    EXPECT_TRUE(Last(MessageKind::Error).contains("nothing is reading")) << Last(MessageKind::Error).toStdString();
    EXPECT_TRUE(window->DocumentModified());
    EXPECT_TRUE(IsFifo(fifo));

    // With a reader it gets the document, and stays a pipe.
    const int reader = ::open(fifo.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    messages.clear();
    window->Run(CommandId::SaveAs);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    EXPECT_TRUE(IsFifo(fifo));
    ::fcntl(reader, F_SETFL, 0);
    QByteArray received;
    char buffer[4096];
    for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
        received.append(buffer, n);
    ::close(reader);
    EXPECT_TRUE(received.contains("<!-- note -->")) << received.toStdString();
    EXPECT_EQ(window->StatusText(), "Status: saved");
}

TEST_F(SaveTargets, ASaveThatFailsWritingLeavesTheOriginalAndTheDocumentChanged)
{
    // Larger than the file size limit below, so the write fails part way as
    // on a full disk.
    const QString path = OpenAndChange("<!--" + std::string(256 << 10, 'x') + "-->");
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit small = {64 << 10, limit.rlim_max};
    auto *const oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    window->Run(CommandId::Save);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(Last(MessageKind::Error).contains("Cannot save")) << Last(MessageKind::Error).toStdString();
    EXPECT_NE(window->StatusText(), "Status: saved");
    ExpectStillChanged(path);
}

TEST_F(SaveTargets, SaveRefusesACharacterTheEncodingCannotHoldInAComment)
{
    // Line 3 of the editor, in a Latin-1 document.
    const QString path = OpenAndChange("<!-- \xE6\x97\xA5 -->");
    window->Run(CommandId::Save);
    const QString message = Last(MessageKind::Error);
    EXPECT_TRUE(message.contains("U+65E5")) << message.toStdString();
    EXPECT_TRUE(message.contains("line 3, column 6")) << message.toStdString();
    ExpectStillChanged(path);

    // In text it is written as a character reference and read back.
    window->Editor().Lines()->SetText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                                      "<root><item>\xE6\x97\xA5</item></root>\r\n");
    messages.clear();
    window->Run(CommandId::Save);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    EXPECT_TRUE(ReadFile(path).contains("<item>&#26085;</item>")) << ReadFile(path).toStdString();
}

TEST_F(SaveTargets, SaveRefusesAReadOnlyFileAndSaveAsWritesAnotherName)
{
    const QString path = OpenAndChange();
    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), 0444), 0);
    window->Run(CommandId::Save);
    EXPECT_TRUE(Last(MessageKind::Error).contains("The file is read-only")) << Last(MessageKind::Error).toStdString();
    struct stat status {};
    ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0444u);
    ExpectStillChanged(path);

    messages.clear();
    nextSavePath = folder.filePath("copy.xml");
    window->Run(CommandId::SaveAs);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    EXPECT_TRUE(ReadFile(nextSavePath).contains("<!-- note -->"));
    EXPECT_FALSE(window->DocumentModified());
    EXPECT_EQ(ReadFile(path), kDocument);
}

TEST_F(SaveTargets, SaveWritesOverAFileWithOtherNamesAndSaysWhereItsOldTextIsKept)
{
    QTemporaryDir state;
    const QByteArray oldState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    const QString path = OpenAndChange();
    const QString other = folder.filePath("other-name.xml");
    ASSERT_EQ(::link(path.toLocal8Bit().constData(), other.toLocal8Bit().constData()), 0);
    window->Run(CommandId::Save);
    const QStringList kept = QDir(state.filePath("tarnwick/recovery")).entryList(QDir::Files);
    if (oldState.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", oldState);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    EXPECT_TRUE(ReadFile(other).contains("<!-- note -->"));
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(ReadFile(state.filePath("tarnwick/recovery/" + kept.front())), kDocument);
    EXPECT_TRUE(window->StatusText().contains("saved over")) << window->StatusText().toStdString();
    EXPECT_TRUE(window->StatusText().contains(kept.front())) << window->StatusText().toStdString();
    EXPECT_FALSE(window->DocumentModified());
}
