// The main window's editor widget: the editor's own messages (nothing more
// found, a file that cannot be read) are shown by the shell's message boxes,
// like every other message of the window.
#pragma once

#include "editor/qt/dodi_widget.h"

class ShellEditorWidget : public DodiWidget {
public:
    using DodiWidget::DodiWidget;

    void ShowMessage(const std::string &text, tarnwick::TMessageKind kind) override;
};
