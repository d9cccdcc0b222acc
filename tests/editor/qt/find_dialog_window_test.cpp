// The find dialog on screen: its controls feed the find component, Find Next
// searches the bound editor, and closing it ends the dialog-open state.
#include "editor/control/redodi.h"
#include "editor/qt/find_dialog_window.h"
#include "support/fake_host.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace tarnwick;
using tarnwick::test::FakeHost;

namespace {

class FindDialogWindowTest : public ::testing::Test {
protected:
    FindDialogWindowTest()
    {
        auto w = std::make_unique<QtFindDialogWindow>();
        window = w.get();
        component = std::make_unique<REdoDodiFindDialog>(std::move(w));
        editor.SetLines({"Alpha beta", "alpha"});
        component->SetDidIzad(&editor);
    }

    FakeHost host;
    REdoDodi editor{&host};
    QtFindDialogWindow *window = nullptr;
    std::unique_ptr<REdoDodiFindDialog> component;
};

TEST_F(FindDialogWindowTest, OpensWithDownAndTheStoredText)
{
    component->SetFindText("beta");
    component->Execute();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->DownButton()->isChecked());
    EXPECT_FALSE(window->MatchCaseBox()->isChecked());
    EXPECT_FALSE(window->WholeWordBox()->isChecked());
    EXPECT_EQ(window->FindWhatEdit()->text(), QStringLiteral("beta"));
    EXPECT_TRUE(window->FindNextButton()->isEnabled());
}

TEST_F(FindDialogWindowTest, ControlsMapToTheSearchOptions)
{
    window->UpButton()->setChecked(true);
    window->MatchCaseBox()->setChecked(true);
    window->WholeWordBox()->setChecked(true);
    EXPECT_EQ(window->Options(), (TFindOptions{frMatchCase, frWholeWord}));
    window->SetOptions({frDown});
    EXPECT_TRUE(window->DownButton()->isChecked());
    EXPECT_FALSE(window->MatchCaseBox()->isChecked());
}

TEST_F(FindDialogWindowTest, FindNextSelectsEachHitInTurn)
{
    component->Execute();
    window->FindWhatEdit()->setText(QStringLiteral("ALPHA"));
    window->FindNextButton()->click();
    EXPECT_EQ(editor.SelText(), "Alpha");
    window->FindNextButton()->click();
    EXPECT_EQ(editor.CaretLine(), 1);
    EXPECT_EQ(editor.SelText(), "alpha");

    window->MatchCaseBox()->setChecked(true);
    window->FindNextButton()->click();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text, REdoDodiFindDialog::kDefaultNotFoundMessage);
}

TEST_F(FindDialogWindowTest, FindNextWaitsForText)
{
    component->Execute();
    window->FindWhatEdit()->clear();
    EXPECT_FALSE(window->FindNextButton()->isEnabled());
}

TEST_F(FindDialogWindowTest, CancelClosesAndClearsTheEditorsFlag)
{
    component->Execute();
    EXPECT_TRUE(editor.Flags().FindDialogOpen);
    window->CancelButton()->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(editor.Flags().FindDialogOpen);
}

} // namespace
