// The Search button opens the find dialog over the main window's editor.
#include "shell_fixture.h"

#include "editor/qt/find_dialog_window.h"

#include <QLineEdit>
#include <QPushButton>

using SearchButton = ShellTest;

TEST_F(SearchButton, OpensTheFindDialogBoundToTheEditor)
{
    auto *dialog = window->findChild<QtFindDialogWindow *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isVisible());

    window->Run(CommandId::Search);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(window->Editor().Flags().FindDialogOpen);

    dialog->FindWhatEdit()->setText(QStringLiteral("encoding"));
    dialog->FindNextButton()->click();
    EXPECT_EQ(window->Editor().SelText(), "encoding");
    EXPECT_EQ(window->Editor().CaretLine(), 0);

    dialog->CancelButton()->click();
    EXPECT_FALSE(window->Editor().Flags().FindDialogOpen);
}
