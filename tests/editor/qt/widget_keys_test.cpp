// Keystroke scripts through the real editor widget offscreen, and the
// translation of Qt key events into the control's key codes and characters.
#include "editor/base/win_constants.h"
#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/key_translation.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace tarnwick;

namespace {

TEST(KeyTranslation, CtrlLettersEnterAndEscapeSendTheirControlCharacters)
{
    const qt::TKeyStroke ctrlA = qt::TranslateKeyPress(Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(ctrlA.Key, 'A');
    EXPECT_EQ(ctrlA.Shift, TShiftState{ssCtrl});
    EXPECT_EQ(ctrlA.Chars, U"\x01");
    EXPECT_EQ(qt::TranslateKeyPress(Qt::Key_Return, Qt::NoModifier, "\r").Chars, U"\r");
    EXPECT_EQ(qt::TranslateKeyPress(Qt::Key_Escape, Qt::NoModifier, "\x1b").Chars, U"\x1b");
    const qt::TKeyStroke backtab = qt::TranslateKeyPress(Qt::Key_Backtab, Qt::ShiftModifier, "");
    EXPECT_EQ(backtab.Key, VK_TAB);
    EXPECT_TRUE(backtab.Shift.Contains(ssShift));
}

TEST(KeyTranslation, TextKeysTypeTheirTextAndAltCombinationsTypeNothing)
{
    const qt::TKeyStroke e = qt::TranslateKeyPress(Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("\u00e9"));
    EXPECT_EQ(e.Chars, U"\u00e9");
    EXPECT_TRUE(qt::TranslateKeyPress(Qt::Key_X, Qt::AltModifier, "x").Chars.empty());
    EXPECT_TRUE(qt::TranslateKeyPress(Qt::Key_Left, Qt::ShiftModifier, "").Chars.empty());
    EXPECT_EQ(qt::TranslateKeyPress(Qt::Key_Left, Qt::NoModifier, "").Key, VK_LEFT);
    EXPECT_EQ(
        qt::TranslateKeyPress(Qt::Key_E, Qt::ControlModifier | Qt::AltModifier, QString::fromUtf8("\u20ac")).Chars,
        U"\u20ac")
        << "AltGr";
}

class WidgetKeys : public ::testing::Test {
protected:
    WidgetKeys()
    {
        widget.resize(420, 300);
        widget.show();
        ed.SetLines({"    <a>", "</a>"});
    }

    void Press(int key, Qt::KeyboardModifiers m = Qt::NoModifier, const QString &text = {}, bool repeat = false)
    {
        QKeyEvent down(QEvent::KeyPress, key, m, text, repeat);
        QApplication::sendEvent(&widget, &down);
        QKeyEvent up(QEvent::KeyRelease, key, m, text, repeat);
        QApplication::sendEvent(&widget, &up);
    }
    void Type(const QString &text)
    {
        for (QChar c : text)
            Press(Qt::Key_A, Qt::NoModifier, QString(c));
    }

    DodiWidget widget;
    REdoDodi &ed = widget.Control();
};

TEST_F(WidgetKeys, TypingEnterAndBackspaceEditTheText)
{
    ed.SetCaretCol(7);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    Type("<b/>");
    EXPECT_EQ(ed.Lines()->Get(1), "    <b/>");
    Press(Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(ed.Lines()->Get(1), "    <b/");
    Press(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(ed.Lines()->Get(1), "    <b/>") << "Alt+Backspace undoes";
    Press(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(ed.Lines()->Count(), 2) << "the typing and its new line were one step";
}

TEST_F(WidgetKeys, TabStaysInTheEditorAndCtrlShortcutsRunTheirCommands)
{
    ed.SetCaretLine(1);
    Press(Qt::Key_Tab, Qt::NoModifier, "\t");
    EXPECT_EQ(ed.Lines()->Get(1), "    </a>");
    Press(Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(ed.SelText(), "    <a>\r\n    </a>");
    Press(Qt::Key_Delete);
    EXPECT_EQ(ed.Lines()->ToVector(), std::vector<std::string>{""});
}

TEST_F(WidgetKeys, AutoRepeatKeepsTheCaretSteadyUntilTheRealRelease)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), false);
    QApplication::sendEvent(&widget, &down);
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&widget, &repeatUp);
    EXPECT_FALSE(ed.Flags().BlinkTimeSaved);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), false);
    QApplication::sendEvent(&widget, &up);
    EXPECT_TRUE(ed.Flags().BlinkTimeSaved);
}

TEST_F(WidgetKeys, InputMethodCommitsAreTyped)
{
    ed.SetCaretCol(7);
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8("\u65e5\u672c"));
    QApplication::sendEvent(&widget, &event);
    EXPECT_EQ(ed.Lines()->Get(0), "    <a>\u65e5\u672c");
}

} // namespace
