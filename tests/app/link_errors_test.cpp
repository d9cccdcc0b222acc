// Links say when nothing can open them: the two link labels, the About box's
// link and an address clicked in the text show an error box when no browser
// or handler can be started, as View in IE does.
#include "shell_fixture.h"

#include "editor/qt/dodi_widget.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

namespace {

void ClickLabel(QLabel *label)
{
    ASSERT_NE(label, nullptr);
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(label, &press);
    QApplication::sendEvent(label, &release);
}

} // namespace

class LinkErrors : public ShellTest {
protected:
    QLabel *StatusLink(const char *name)
    {
        for (QLabel *label : window->findChildren<QLabel *>(QString::fromLatin1(name)))
            if (label->window() == window.get())
                return label;
        return nullptr;
    }

    QLabel *AboutLink()
    {
        for (QLabel *label : window->findChildren<QLabel *>(QStringLiteral("Label1")))
            if (label->window() != window.get())
                return label;
        return nullptr;
    }

    // Clicks the text at (col, line) of the editor.
    void ClickText(int col, int line)
    {
        tarnwick::REdoDodi &ed = window->Editor();
        const tarnwick::TRect text = ed.TextArea();
        const QPoint p(text.left + (col - ed.LeftColumn()) * ed.CharWidth() + ed.CharWidth() / 2,
                       text.top + (line - ed.TopLine()) * ed.LineHeight() + ed.LineHeight() / 2);
        QWidget &widget = window->EditorWidget();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(widget.mapToGlobal(p)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), QPointF(widget.mapToGlobal(p)), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &press);
        QApplication::sendEvent(&widget, &release);
        QApplication::processEvents();
    }
};

TEST_F(LinkErrors, TheStatusStripLinksOpenTheirAddresses)
{
    ClickLabel(StatusLink("Label2"));
    ClickLabel(StatusLink("Label1"));
    ASSERT_EQ(openedUrls.size(), 2u);
    EXPECT_EQ(openedUrls[0], QUrl(QString::fromLatin1(kWebSiteAddress)));
    EXPECT_EQ(openedUrls[1], QUrl(QString::fromLatin1(kSocialPageAddress)));
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty());
}

TEST_F(LinkErrors, TheStatusStripLinksSayWhenNoBrowserStarts)
{
    browserStarts = false;
    ClickLabel(StatusLink("Label2"));
    EXPECT_EQ(Last(MessageKind::Error), QStringLiteral("No browser could be started for ") + kWebSiteAddress);
    ClickLabel(StatusLink("Label1"));
    EXPECT_EQ(Last(MessageKind::Error), QStringLiteral("No browser could be started for ") + kSocialPageAddress);
}

TEST_F(LinkErrors, TheAboutBoxLinkSaysWhenNoBrowserStarts)
{
    browserStarts = false;
    ClickLabel(AboutLink());
    EXPECT_EQ(openedUrls.size(), 1u);
    EXPECT_EQ(Last(MessageKind::Error), QStringLiteral("No browser could be started for ") + kWebSiteAddress);
}

TEST_F(LinkErrors, AnAddressClickedInTheTextSaysWhenNothingOpensIt)
{
    window->Editor().Lines()->SetText("<a href=\"http://example.org/page\"/>");
    ClickText(14, 0);
    ASSERT_EQ(openedUrls.size(), 1u);
    EXPECT_EQ(openedUrls[0], QUrl("http://example.org/page"));
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty());

    browserStarts = false;
    ClickText(14, 0);
    EXPECT_EQ(Last(MessageKind::Error), "No browser could be started for http://example.org/page");
}

TEST_F(LinkErrors, ViewInBrowserSaysTheSame)
{
    const QString path = WriteFile("doc.xml", "<a/>");
    Open(path);
    browserStarts = false;
    window->Run(CommandId::ViewInBrowser);
    EXPECT_EQ(Last(MessageKind::Error), "No browser could be started for " + path);
    EXPECT_EQ(openedUrls.back(), QUrl::fromLocalFile(path));
}
