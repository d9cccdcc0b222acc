// TClipboardCommands: cut, copy and paste of plain text through the host's
// clipboard.
#pragma once

#include <string>

namespace tarnwick {

class TEditTarget;

class TClipboardCommands {
public:
    explicit TClipboardCommands(TEditTarget &editor) : ed_(editor) {}

    // Puts the selected text on the clipboard (an empty text for an empty selection).
    void Copy();
    void Cut();
    // Inserts the clipboard's text at the caret, over the selection.
    void Paste();

    // Every line break of `text` (CR LF, lone CR, lone LF) as CR LF; the text
    // ends at its first NUL, as a clipboard block does.
    static std::string NormalizeLineBreaks(const std::string &text);

private:
    TEditTarget &ed_;
};

} // namespace tarnwick
