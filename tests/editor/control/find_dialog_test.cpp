// The find component: opening over its editor, placement, the text box and
// options it hands to the search, the not-found message, its events, the
// dialog-open flag and the editor reference going away.
#include "editor/control/find_dialog.h"
#include "editor/control/redodi.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace tarnwick;
using tarnwick::test::FakeHost;

namespace {

class FakeFindWindow : public FindDialogWindow {
public:
    std::string FindText() const override { return Text; }
    void SetFindText(const std::string &text) override { Text = text; }
    TFindOptions Options() const override { return OptionsValue; }
    void SetOptions(TFindOptions options) override { OptionsValue = options; }
    void SetTopLeft(TPoint p) override { TopLeft = p; }
    TSize DesktopSize() const override { return Desktop; }
    void Show() override { Shown = true; }
    bool Visible() const override { return Shown; }

    void PressFindNext() { OnFindNext(); }
    void Close()
    {
        Shown = false;
        OnClose();
    }

    std::string Text;
    TFindOptions OptionsValue;
    TPoint TopLeft{-1, -1};
    TSize Desktop{1024, 768};
    bool Shown = false;
};

class FindDialogTest : public ::testing::Test {
protected:
    FindDialogTest()
    {
        auto w = std::make_unique<FakeFindWindow>();
        window = w.get();
        dialog = std::make_unique<REdoDodiFindDialog>(std::move(w));
        editor = std::make_unique<REdoDodi>(&host);
        editor->SetLines({"one two", "two"});
        dialog->SetDidIzad(editor.get());
    }

    FakeHost host;
    FakeFindWindow *window = nullptr;
    std::unique_ptr<REdoDodiFindDialog> dialog;
    std::unique_ptr<REdoDodi> editor;
};

TEST_F(FindDialogTest, DefaultsAndTheFirstOpeningState)
{
    EXPECT_EQ(dialog->NotFoundMessage(), "Finished searching the document. The search item was not found.");
    EXPECT_TRUE(dialog->DisplayMessage());
    EXPECT_TRUE(dialog->FocusMemo());
    EXPECT_EQ(window->OptionsValue, TFindOptions{frDown});
}

TEST_F(FindDialogTest, ExecuteWithoutAnEditorFailsAndShowsNothing)
{
    dialog->SetDidIzad(nullptr);
    try {
        dialog->Execute();
        FAIL() << "Execute opened without an editor";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "No memo assigned.");
    }
    EXPECT_FALSE(window->Shown);
}

TEST_F(FindDialogTest, ExecuteEmptiesTheSelectionAtTheStartAndKeepsTheCaret)
{
    editor->SetCaretDirect(3, 1);
    editor->CaretState().SelStart = {1, 1};
    editor->CaretState().SelEnd = {3, 1};
    dialog->Execute();
    EXPECT_EQ(editor->CaretState().SelStart, (TCaretPos{0, 0}));
    EXPECT_EQ(editor->CaretState().SelEnd, (TCaretPos{0, 0}));
    EXPECT_EQ(editor->CaretCol(), 3);
    EXPECT_EQ(editor->CaretLine(), 1);
    EXPECT_TRUE(editor->Flags().FindDialogOpen);
    EXPECT_TRUE(window->Shown);
}

TEST_F(FindDialogTest, StoredFindTextReachesTheTextBoxOnOpening)
{
    dialog->SetFindText("two");
    EXPECT_EQ(window->Text, "");
    dialog->Execute();
    EXPECT_EQ(window->Text, "two");
    window->Text = "one";
    EXPECT_EQ(dialog->FindText(), "one");
}

TEST_F(FindDialogTest, OpensAtTheEditorsCornerOnScreenOrAtTheOrigin)
{
    editor->SetBounds(10, 20, 250, 350);
    dialog->Execute();
    EXPECT_EQ(window->TopLeft, (TPoint{110, 120})); // the fake host's client origin is (100, 100)

    host.ScreenOrigin = {2000, 100};
    dialog->Execute();
    EXPECT_EQ(window->TopLeft, (TPoint{0, 0}));
}

TEST_F(FindDialogTest, UserOptionsPersistBetweenOpenings)
{
    dialog->Execute();
    window->OptionsValue = TFindOptions{frMatchCase};
    window->Close();
    dialog->Execute();
    EXPECT_EQ(window->OptionsValue, TFindOptions{frMatchCase});
}

TEST_F(FindDialogTest, AHitFocusesTheEditorAndRaisesOnFindText)
{
    int found = 0, done = 0;
    dialog->OnFindText = [&](REdoDodiFindDialog &) { ++found; };
    dialog->OnFindDone = [&](REdoDodiFindDialog &) { ++done; };
    dialog->Execute();
    window->Text = "two";
    window->PressFindNext();
    EXPECT_EQ(editor->SelText(), "two");
    EXPECT_EQ(editor->CaretCol(), 4);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(host.FocusRequests, 1);
    EXPECT_TRUE(host.Messages.empty());

    dialog->SetFocusMemo(false);
    window->PressFindNext();
    EXPECT_EQ(editor->CaretLine(), 1);
    EXPECT_EQ(found, 2);
    EXPECT_EQ(host.FocusRequests, 1);
}

TEST_F(FindDialogTest, NoHitShowsTheMessageThenRaisesOnFindDone)
{
    std::vector<std::string> order;
    dialog->OnFindDone = [&](REdoDodiFindDialog &) {
        order.push_back(host.Messages.empty() ? "done before message" : "done after message");
    };
    dialog->SetNotFoundMessage("Cannot find \"%s\" (100%%).");
    dialog->Execute();
    window->Text = "three";
    window->PressFindNext();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text, "Cannot find \"three\" (100%).");
    EXPECT_EQ(host.Messages[0].Kind, TMessageKind::Information);
    EXPECT_EQ(order, std::vector<std::string>{"done after message"});
    EXPECT_EQ(editor->CaretState().SelStart, (TCaretPos{0, 0}));
    EXPECT_EQ(editor->CaretState().SelEnd, (TCaretPos{0, 0}));
}

TEST_F(FindDialogTest, DisplayMessageOffOnlyRaisesTheEvent)
{
    int done = 0;
    dialog->OnFindDone = [&](REdoDodiFindDialog &) { ++done; };
    dialog->SetDisplayMessage(false);
    dialog->Execute();
    window->Text = "three";
    window->PressFindNext();
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(done, 1);
}

TEST_F(FindDialogTest, ClosingTheDialogClearsTheEditorsFlag)
{
    dialog->Execute();
    window->Close();
    EXPECT_FALSE(editor->Flags().FindDialogOpen);
}

TEST_F(FindDialogTest, DestroyedEditorIsForgotten)
{
    dialog->Execute();
    editor.reset();
    EXPECT_EQ(dialog->DidIzad(), nullptr);
    window->Text = "two";
    window->PressFindNext(); // nothing to search, nothing happens
    window->Close();
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_THROW(dialog->Execute(), std::runtime_error);
}

TEST_F(FindDialogTest, DestroyedDialogLeavesTheEditorAlone)
{
    dialog.reset();
    editor.reset(); // must not call back into the freed component
    SUCCEED();
}

TEST(NotFoundMessageFormat, ReplacesOnlyStringPlaceholders)
{
    EXPECT_EQ(FormatNotFoundMessage("no %s here", "x"), "no x here");
    EXPECT_EQ(FormatNotFoundMessage("%s and %s", "x"), "x and x");
    EXPECT_EQ(FormatNotFoundMessage("%d %n %", "x"), "%d %n %");
    EXPECT_EQ(FormatNotFoundMessage("plain", "x"), "plain");
}

} // namespace
