// Find as the main window offers it: whole words end at the editor's
// delimiters, a hit is scrolled fully into view and the dialog moves off it,
// and the end of the text offers to go on from the other end.
#include "shell_fixture.h"

#include "editor/qt/dodi_widget.h"
#include "editor/qt/find_dialog_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace tarnwick;

namespace {

class Find : public ShellTest {
protected:
    QtFindDialogWindow &Dialog() { return window->FindWindow(); }

    // Find Next for `text`, the dialog opened first when `open`.
    TCaretPos FindNext(const QString &text, bool open = false)
    {
        if (open)
            window->Run(CommandId::Search);
        Dialog().FindWhatEdit()->setText(text);
        Dialog().FindNextButton()->click();
        TCaretPos start, end;
        window->Editor().NormalizedSelection(start, end);
        return start;
    }
    int Count(MessageKind kind) const
    {
        return static_cast<int>(
            std::count_if(messages.begin(), messages.end(), [kind](const Message &m) { return m.kind == kind; }));
    }
};

TEST_F(Find, WholeWordsEndAtQuotesAngleBracketsAndTheOtherDelimiters)
{
    Open(WriteFile(QStringLiteral("lang.xml"), "<languages>\n<language_name>Norwegians</language_name>\n"
                                               "<language reference_name=\"Norwegian\">nb</language>\n</languages>\n"));
    Dialog().WholeWordBox()->setChecked(true);
    EXPECT_EQ(FindNext(QStringLiteral("Norwegian"), true), (TCaretPos{26, 2})) << "in quotes, not in Norwegians";
    window->Editor().SetCaretLine(0);
    EXPECT_EQ(FindNext(QStringLiteral("language"), true), (TCaretPos{1, 2})) << "after <, not in language_name";
    EXPECT_EQ(FindNext(QStringLiteral("language")), (TCaretPos{41, 2})) << "between </ and >";
    window->Editor().SetCaretLine(0);
    FindNext(QStringLiteral("name"), true);
    EXPECT_EQ(Last(MessageKind::Information),
              QStringLiteral("Finished searching the document. The search item was not found."))
        << "the underscore joins words";
}

TEST_F(Find, AHitFarRightIsScrolledFullyIntoViewAndTheDialogMovesOffIt)
{
    Open(WriteFile(QStringLiteral("wide.xml"),
                   "<r>\n<a>" + QByteArray(300, 'x') + " needle_at_the_far_end</a>\n</r>\n"));
    REdoDodi &ed = window->Editor();
    const TCaretPos hit = FindNext(QStringLiteral("needle_at_the_far_end"), true);
    ASSERT_EQ(hit.Line, 1);
    const int end = hit.Col + 21;
    EXPECT_GE(hit.Col, ed.LeftColumn());
    EXPECT_LE(end, ed.LeftColumn() + ed.VisibleColumns()) << "the hit's last character shows";

    // The dialog opened over the editor's top-left corner, where the hit is.
    const QPoint corner(ed.TextArea().left + (hit.Col - ed.LeftColumn()) * ed.CharWidth(),
                        ed.TextArea().top + ed.RowOfLine(1) * ed.LineHeight());
    const QRect hitOnScreen(window->EditorWidget().mapToGlobal(corner), QSize(21 * ed.CharWidth(), ed.LineHeight()));
    EXPECT_FALSE(Dialog().frameGeometry().intersects(hitOnScreen));
}

TEST_F(Find, TheEndOfTheTextOffersToGoOnFromTheOtherEnd)
{
    Open(WriteFile(QStringLiteral("two.xml"), "<r>\n<a>one</a>\n<b>two</b>\n</r>\n"));
    bool goOn = true;
    SetMessageSink([&](MessageKind kind, const QString &text) {
        messages.push_back({kind, text});
        return kind == MessageKind::ContinueSearchQuestion && goOn ? MessageAnswer::Yes : MessageAnswer::No;
    });
    window->Editor().SetCaretLine(2);
    EXPECT_EQ(FindNext(QStringLiteral("<a>"), true), (TCaretPos{0, 1})) << "found from the start";
    Dialog().UpButton()->setChecked(true);
    EXPECT_EQ(FindNext(QStringLiteral("</r>")), (TCaretPos{0, 3})) << "up from the first line: found from the end";
    EXPECT_EQ(Count(MessageKind::ContinueSearchQuestion), 2);

    // Declined: the search ends there, without a further message.
    goOn = false;
    Dialog().DownButton()->setChecked(true);
    FindNext(QStringLiteral("<a>"));
    EXPECT_EQ(window->Editor().CaretLine(), 3);
    EXPECT_EQ(Count(MessageKind::Information), 0);

    // A search from the very start covered the text already: no offer.
    window->Editor().SetCaretLine(0);
    window->Editor().SetCaretCol(0);
    FindNext(QStringLiteral("absent"));
    EXPECT_EQ(Count(MessageKind::ContinueSearchQuestion), 3);
    EXPECT_EQ(Count(MessageKind::Information), 1);
}

} // namespace
