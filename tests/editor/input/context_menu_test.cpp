// The built-in context menu: its items in order, their greying, where it is
// offered, the application's own menu in its place, and the commands.
#include "editor/input/context_menu.h"
#include "editor/platform/popup_menu.h"
#include "support/mouse_fixture.h"

using namespace tarnwick;
using tarnwick::test::MouseTest;

namespace {

class ContextMenu : public MouseTest {
protected:
    // A right click well inside the text area, in screen coordinates.
    void RequestMenu()
    {
        const TPoint p = host.ClientToScreen(At(2, 0));
        ed.ContextMenu(p.x, p.y);
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> out;
        for (const TMenuItem &item : host.Menus.back())
            out.push_back(item.Caption);
        return out;
    }
    bool Enabled(int command) const
    {
        for (const TMenuItem &item : host.Menus.back())
            if (item.Command == command && item.Caption != "-")
                return item.Enabled;
        ADD_FAILURE() << "no item " << command;
        return false;
    }
};

TEST_F(ContextMenu, ItemsInOrderWithTheirShortcutTexts)
{
    SetText({"text"});
    RequestMenu();
    ASSERT_EQ(host.Menus.size(), 1u);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Undo", "Redo", "-", "Copy\tCtrl-C", "Cut\tCtrl-X", "Paste\tCtrl-V",
                                                    "Delete", "-", "Select All\tCtrl-A"}));
    std::vector<int> commands;
    for (const TMenuItem &item : host.Menus.back())
        commands.push_back(item.Command);
    EXPECT_EQ(commands, (std::vector<int>{5, 6, 0, 1, 2, 3, 7, 0, 4}));
}

TEST_F(ContextMenu, SelectionAndClipboardDecideWhatIsGreyed)
{
    SetText({"text"});
    RequestMenu();
    EXPECT_FALSE(Enabled(1));
    EXPECT_FALSE(Enabled(2));
    EXPECT_FALSE(Enabled(7));
    EXPECT_FALSE(Enabled(3)); // nothing on the clipboard
    EXPECT_TRUE(Enabled(4));

    ed.CaretState().SelEnd = {2, 0};
    host.Clipboard = "x";
    RequestMenu();
    EXPECT_TRUE(Enabled(1));
    EXPECT_TRUE(Enabled(2));
    EXPECT_TRUE(Enabled(7));
    EXPECT_TRUE(Enabled(3));
}

TEST_F(ContextMenu, ReadOnlyGreysUndoRedoAndPasteOnly)
{
    SetText({"text"});
    ed.CaretState().SelEnd = {2, 0};
    host.Clipboard = "x";
    ed.SetReadOnly(true);
    RequestMenu();
    EXPECT_FALSE(Enabled(5));
    EXPECT_FALSE(Enabled(6));
    EXPECT_FALSE(Enabled(3));
    EXPECT_TRUE(Enabled(1));
    EXPECT_TRUE(Enabled(2));
    EXPECT_TRUE(Enabled(7));
    EXPECT_TRUE(Enabled(4));
}

TEST_F(ContextMenu, NotOfferedOverTheGutter)
{
    const TPoint p = host.ClientToScreen({ed.Gutter()->GutterWidth(), 20});
    ed.ContextMenu(p.x, p.y);
    EXPECT_TRUE(host.Menus.empty());
    EXPECT_TRUE(host.HasFocus);
}

TEST_F(ContextMenu, TheApplicationsMenuTakesItsPlaceEverywhere)
{
    TPopupMenu menu;
    menu.Items = {{"Mine", 42, true}};
    int chosen = 0;
    menu.OnClick = [&](int command) { chosen = command; };
    ed.SetPopupMenu(&menu);
    host.MenuAnswer = 42;
    const TPoint p = host.ClientToScreen({5, 20});
    ed.ContextMenu(p.x, p.y);
    ASSERT_EQ(host.Menus.size(), 1u);
    EXPECT_EQ(host.Menus[0][0].Caption, "Mine");
    EXPECT_EQ(chosen, 42);
}

TEST_F(ContextMenu, ChosenCommandRunsAndThePointerComesBack)
{
    SetText({"text"});
    ed.CaretState().SelEnd = {3, 0};
    host.MenuAnswer = 1;
    const TPoint p = At(1, 0);
    ed.MouseMove({}, p.x, p.y);
    RequestMenu();
    EXPECT_EQ(host.Clipboard, "tex");
    EXPECT_EQ(host.CursorShape, crIBeam);

    host.MenuAnswer = 4;
    RequestMenu();
    EXPECT_EQ(ed.SelText(), "text");
}

TEST_F(ContextMenu, UnknownCommandsDoNothing)
{
    SetText({"text"});
    host.Clipboard = "x";
    ed.MenuCommand(0);
    ed.MenuCommand(8);
    ed.MenuCommand(0x10008);
    EXPECT_EQ(ed.Lines()->Text(), "text\r\n");
    EXPECT_EQ(host.Clipboard, "x");
}

TEST_F(ContextMenu, OnlyTheLowWordOfAMenuCommandCounts)
{
    SetText({"text"});
    ed.CaretState().SelEnd = {2, 0};
    ed.MenuCommand(0x10001);
    EXPECT_EQ(host.Clipboard, "te");
}

} // namespace
