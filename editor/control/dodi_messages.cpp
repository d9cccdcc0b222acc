// TCustomDodi's answers to the window messages it handles itself, as typed
// methods the platform adapter calls.
#include "editor/control/custom_dodi.h"

#include "editor/base/win_constants.h"
#include "editor/platform/host.h"

namespace tarnwick {

uint32_t TCustomDodi::DialogCode() const
{
    uint32_t code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (wantTab_)
        code |= DLGC_WANTTAB;
    return code;
}

void TCustomDodi::SetCursorRequest(int x, int y)
{
    if (!host_ || destroying_)
        return;
    host_->SetCursor(TextArea().Contains({x, y}) ? cursor_ : crArrow);
}

void TCustomDodi::FocusGained()
{
    if (destroying_)
        return;
    flags_.Focused = true;
    if (viewState_.LineHeight == 0)
        MeasureFont();
    if (host_) {
        host_->CreateCaret(2, viewState_.LineHeight - 2);
        flags_.SavedBlinkTime = host_->CaretBlinkTime();
        flags_.BlinkTimeSaved = true;
        host_->SetCaretBlinkTime(flags_.SavedBlinkTime);
        // The new caret has no position yet: placing it sets one and shows it.
        flags_.CaretShown = false;
        if (!settings_.HiddenCaret)
            PlaceCaret();
    }
    Invalidate();
}

void TCustomDodi::FocusLost(bool focusToOwnScrollBar)
{
    if (destroying_)
        return;
    flags_.Focused = false;
    hintTimer_.Start();
    if (hintWindow_ && hintWindow_->Visible() && !flags_.ShowingHint)
        hintWindow_->Hide();
    if (!focusToOwnScrollBar && host_) {
        if (flags_.BlinkTimeSaved)
            host_->SetCaretBlinkTime(flags_.SavedBlinkTime);
        host_->DestroyCaret();
    }
    if (!focusToOwnScrollBar)
        flags_.CaretShown = false;
    Invalidate();
}

bool TCustomDodi::SysChar(uint16_t key, TShiftState shift) const
{
    return !destroying_ && key == VK_BACK && shift.Contains(ssAlt);
}

bool TCustomDodi::WantsSpecialKey(uint16_t key) const { return !destroying_ && key == VK_RETURN; }

void TCustomDodi::GetSel(int *start, int *end) const
{
    const int s = SelStart();
    if (start)
        *start = s;
    if (end)
        *end = s + SelLength();
}

intptr_t TCustomDodi::EditMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == EM_GETSEL && !destroying_)
        GetSel(reinterpret_cast<int *>(wParam), reinterpret_cast<int *>(lParam));
    return 0;
}

void TCustomDodi::ThemeChanged()
{
    if (autoThemeAdapt_ && !destroying_)
        ThemeAdapt();
}

} // namespace tarnwick
