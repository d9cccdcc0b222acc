// What the shell keeps between runs, in the test's own settings location: the
// recently used files on the File menu and the window's size, as the next
// window (standing for the next run) finds them.
#include "shell_fixture.h"

#include "app/recent_files.h"

#include <QMenu>

namespace {

class RecentFilesMenu : public ShellTest {
protected:
    QStringList Offered() const
    {
        QStringList paths;
        for (QAction *item : window->RecentFilesMenu().actions())
            if (!item->data().toString().isEmpty())
                paths << item->data().toString();
        return paths;
    }
    void Choose(int entry) { window->RecentFilesMenu().actions().value(entry)->trigger(); }
};

TEST_F(RecentFilesMenu, OpenedAndSavedFilesAndTheWindowSizeComeBackInTheNextRun)
{
    EXPECT_FALSE(window->RecentFilesMenu().isEnabled()) << "nothing used yet";
    const QString a = WriteFile(QStringLiteral("a.xml"), "<a/>\n");
    const QString b = WriteFile(QStringLiteral("b & c.xml"), "<b/>\n");
    Open(a);
    Open(b);
    nextSavePath = folder.filePath(QStringLiteral("saved.xml"));
    window->Run(CommandId::SaveAs);
    Open(a);
    window->resize(900, 640);
    window->close();
    ASSERT_FALSE(window->isVisible());

    window = std::make_unique<TForm1>();
    window->show();
    EXPECT_EQ(Offered(), (QStringList{a, nextSavePath, b}));
    EXPECT_EQ(window->size(), QSize(900, 640));
    Choose(2);
    EXPECT_EQ(window->CurrentFileName(), b) << "after the unsaved-changes question";
    EXPECT_EQ(Offered().first(), b);
}

TEST_F(RecentFilesMenu, KeepsTheLastTenAndDropsAFileThatIsGone)
{
    for (int i = 0; i < 12; ++i)
        Open(WriteFile(QStringLiteral("f%1.xml").arg(i), "<f/>\n"));
    const QStringList offered = Offered();
    ASSERT_EQ(offered.size(), RecentFiles::kLimit);
    EXPECT_EQ(offered.last(), folder.filePath(QStringLiteral("f2.xml")));
    QFile::remove(offered[3]);
    Choose(3);
    EXPECT_FALSE(Offered().contains(offered[3]));
    EXPECT_TRUE(Last(MessageKind::Error).contains(offered[3]));
    EXPECT_EQ(window->CurrentFileName(), offered.first()) << "the document stays";
}

} // namespace
