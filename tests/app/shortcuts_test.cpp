// The keys desktop users expect, pressed through Qt's shortcut handling on the
// main window: the file commands, find, go to, cut and quit, next to the keys
// the command table already gives (F2, F10).
#include "shell_fixture.h"

#include "app/goto_dialog.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/find_dialog_window.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace tarnwick;

namespace {

class Shortcuts : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        document = WriteFile(QStringLiteral("doc.xml"), "<root>\n  <item>alpha</item>\n  <item>beta</item>\n</root>\n");
        Activate();
    }
    void Activate()
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->EditorWidget().setFocus();
    }
    // A key as the user presses it in the editor: shortcuts first.
    void Press(const char *keys)
    {
        const QKeyCombination key = QKeySequence(QString::fromLatin1(keys))[0];
        QTest::keyClick(&window->EditorWidget(), key.key(), key.keyboardModifiers());
    }

    QString document;
};

TEST_F(Shortcuts, FileKeysRunOpenSaveSaveAsAndNew)
{
    nextOpenPath = document;
    Press("Ctrl+O");
    ASSERT_EQ(window->CurrentFileName(), document);
    InsertAt(0, 0, "<!-- note -->");
    Press("Ctrl+S");
    EXPECT_TRUE(ReadFile(document).contains("<!-- note -->"));
    nextSavePath = folder.filePath(QStringLiteral("copy.xml"));
    Press("Ctrl+Shift+S");
    EXPECT_EQ(window->CurrentFileName(), nextSavePath);
    Press("Ctrl+N");
    EXPECT_TRUE(window->CurrentFileName().isEmpty());
    Press("F2");
    EXPECT_EQ(window->CurrentFileName(), document) << "the table's own key for Open";
}

TEST_F(Shortcuts, FindGoToAndCutKeys)
{
    Open(document);
    Press("Ctrl+F");
    QtFindDialogWindow &dialog = window->FindWindow();
    ASSERT_TRUE(dialog.isVisible());
    dialog.FindWhatEdit()->setText(QStringLiteral("item"));
    dialog.reject();
    Activate();
    REdoDodi &ed = window->Editor();
    const std::vector<std::pair<const char *, TCaretPos>> steps = {
        {"F3", {3, 1}}, {"F3", {15, 1}}, {"F3", {3, 2}}, {"Shift+F3", {15, 1}}};
    for (const auto &[key, hit] : steps) {
        Press(key);
        EXPECT_EQ((TCaretPos{ed.CaretCol(), ed.CaretLine()}), hit) << key;
    }
    EXPECT_TRUE(dialog.DownButton()->isChecked()) << "Shift+F3 leaves the dialog's direction alone";

    Press("Ctrl+G");
    EXPECT_TRUE(window->GotoDialog().isVisible());
    Activate();
    ed.CaretState().SelStart = {2, 1};
    ed.CaretState().SelEnd = {8, 1};
    Press("Ctrl+X");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("<item>"));
    EXPECT_EQ(ed.Lines()->Get(1), "  alpha</item>");

    // Ctrl+F that reaches the editor itself (the editor's own binding) opens
    // the dialog as well.
    dialog.reject();
    QKeyEvent ctrlF(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier, QStringLiteral("\x06"));
    QApplication::sendEvent(&window->EditorWidget(), &ctrlF);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(Shortcuts, CtrlQAndF10QuitThroughTheCloseQuery)
{
    answer = MessageAnswer::Cancel;
    Press("Ctrl+Q");
    Press("F10");
    EXPECT_TRUE(window->isVisible()) << "the changed document keeps the window open";
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                            [](const Message &m) { return m.kind == MessageKind::ExitQuestion; }),
              2);
    answer = MessageAnswer::Discard;
    Press("Ctrl+Q");
    EXPECT_FALSE(window->isVisible());
}

} // namespace
