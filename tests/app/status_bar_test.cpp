// The status strip's fields follow caret moves, the document's encoding and
// the Insert key; the gutter widens as line numbers grow past four digits and
// keeps them whole.
#include "shell_fixture.h"

#include "app/config_dialog.h"
#include "app/status_fields.h"
#include "editor/qt/dodi_widget.h"
#include "editor/view/dodi_gutter.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

using namespace tarnwick;

namespace {

using StatusBar = ShellTest;

TEST_F(StatusBar, FieldsFollowCaretMovesEncodingChangesAndTheInsertKey)
{
    StatusFields &fields = window->StatusBarFields();
    const auto press = [this](int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&window->EditorWidget(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(&window->EditorWidget(), &up);
    };
    window->Editor().SetCaretLine(0);
    window->Editor().SetCaretCol(0);
    press(Qt::Key_Down);
    press(Qt::Key_End);
    EXPECT_EQ(fields.CaretText(), QStringLiteral("Line 2, Column 6")) << "after <xml>";
    InsertAt(2, 4, "\xc3\xa9\xc3\xa9");
    EXPECT_EQ(fields.CaretText(), QStringLiteral("Line 3, Column 7")) << "characters, not bytes";

    EXPECT_EQ(fields.EncodingText(), QStringLiteral("ISO-8859-1")) << "the generated document's";
    window->ConfigDialog().ComboBox2->setEditText(QStringLiteral("UTF-16"));
    window->Run(CommandId::Format);
    EXPECT_EQ(fields.EncodingText(), QStringLiteral("UTF-16LE BOM")) << "what Save writes";
    Open(WriteFile(QStringLiteral("plain.xml"), "<r/>\n"));
    EXPECT_EQ(fields.EncodingText(), QStringLiteral("UTF-8")) << "no declaration";
    InsertAt(0, 0, "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n");
    EXPECT_EQ(fields.EncodingText(), QStringLiteral("windows-1252")) << "typed by hand";

    EXPECT_EQ(fields.ModeText(), QStringLiteral("Insert"));
    press(Qt::Key_Insert);
    EXPECT_EQ(fields.ModeText(), QStringLiteral("Overwrite"));
    press(Qt::Key_Insert);
    EXPECT_EQ(fields.ModeText(), QStringLiteral("Insert"));
}

TEST_F(StatusBar, GutterWidensForLongerLineNumbersAndKeepsThemWhole)
{
    REdoDodi &ed = window->Editor();
    const int fourDigits = ed.Gutter()->GutterWidth();
    std::string text;
    for (int i = 0; i < 99999; ++i)
        text += "<a/>\r\n";
    ed.Lines()->LoadFromString(text);
    ASSERT_EQ(ed.Lines()->Count(), 99999);
    const int fiveDigits = ed.Gutter()->GutterWidth();
    EXPECT_GT(fiveDigits, fourDigits);
    InsertAt(99998, 4, "\r\n");
    EXPECT_GT(ed.Gutter()->GutterWidth(), fiveDigits) << "line 100000";

    // Line 100000's number and line 1's end in one column, clear of the
    // gutter's border.
    const auto lastInk = [&](int line) {
        ed.SetCaretLine(line);
        window->EditorWidget().repaint();
        const QImage image = window->EditorWidget().grab().toImage();
        const TRect gutter = ed.Gutter()->Rect();
        const int y = ed.TextArea().top + ed.RowOfLine(line) * ed.LineHeight() + ed.LineHeight() / 2;
        int ink = -1;
        for (int x = gutter.left; x < gutter.right - 2; ++x) // left of the border lines
            if (image.pixelColor(x, y).lightness() < 100)
                ink = x;
        return ink;
    };
    const int wide = lastInk(99999);
    EXPECT_LT(wide, ed.Gutter()->Rect().right - 4);
    EXPECT_NEAR(wide, lastInk(0), 2);

    window->Run(CommandId::Undo);
    EXPECT_EQ(ed.Gutter()->GutterWidth(), fiveDigits);
}

} // namespace
