#include "app/shell_editor_widget.h"

#include "app/message_helpers.h"

void ShellEditorWidget::ShowMessage(const std::string &text, tarnwick::TMessageKind kind)
{
    const QString message = QString::fromStdString(text);
    if (kind == tarnwick::TMessageKind::Information)
        ShowInfoMessage(message);
    else
        ShowErrorMessage(message);
}
