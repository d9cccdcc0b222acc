#include "editor/commands/clipboard_commands.h"

#include "editor/commands/block_edits.h"
#include "editor/commands/edit_session.h"
#include "editor/commands/edit_target.h"
#include "editor/commands/line_edits.h"
#include "editor/platform/host.h"

namespace tarnwick {

namespace {

// The editor breaks its lines with CR LF; the desktop's other programs expect
// LF alone and would show the CR as a stray character.
std::string WithDesktopLineBreaks(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

} // namespace

void TClipboardCommands::Copy()
{
    if (Host *host = ed_.GetHost())
        host->SetClipboardText(WithDesktopLineBreaks(ed_.SelText()));
}

void TClipboardCommands::Cut()
{
    if (ed_.ReadOnly() || !ed_.CanModify())
        return;
    Copy();
    TBlockEdits(ed_).DeleteSelection(true);
}

void TClipboardCommands::Paste()
{
    if (ed_.ReadOnly() || !ed_.CanModify())
        return;
    Host *host = ed_.GetHost();
    const std::optional<std::string> clip = host ? host->ClipboardText() : std::nullopt;
    if (!clip)
        return;
    const std::string text = NormalizeLineBreaks(*clip);
    if (text.empty())
        return;
    TEditScope scope(ed_);
    const TCaretPos before{ed_.CaretCol(), ed_.CaretLine()};
    // Padding the caret line up to the caret is part of the insertion (and of
    // its undo record) when AutoExpand is on.
    TBlockEdits(ed_).InsertText(text);
    for (int line = before.Line; line <= ed_.CaretLine(); ++line)
        ed_.SetLineModified(line, true);
    ed_.CollapseSelection();
    if (ed_.WordWrap() != wwNone) {
        TLineEdits(ed_).MoveCaret(before);
        ed_.SetLeftColumn(0);
    } else {
        ed_.Invalidate();
    }
}

std::string TClipboardCommands::NormalizeLineBreaks(const std::string &text)
{
    const std::string_view source(text.data(), std::min(text.size(), text.find('\0')));
    std::string out;
    out.reserve(source.size() + source.size() / 16);
    for (size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < source.size() && source[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace tarnwick
