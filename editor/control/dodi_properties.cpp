// Setters of TCustomDodi's published properties: store the value, then
// repaint or pass it on as each property requires.
#include "editor/control/custom_dodi.h"

#include "editor/highlight/styler.h"
#include "editor/platform/host.h"
#include "editor/undo/undo_list.h"

#include <algorithm>

namespace tarnwick {

void TCustomDodi::SetColorField(TColor &field, TColor value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TCustomDodi::SetBoolAndRepaint(bool &field, bool value)
{
    field = value;
    Invalidate();
}

void TCustomDodi::SetColorAndRepaint(TColor &field, TColor value)
{
    field = value;
    Invalidate();
}

void TCustomDodi::SetAcceptFiles(bool v)
{
    acceptFiles_ = v;
    if (host_)
        host_->SetAcceptFiles(v);
}

void TCustomDodi::SetEnabled(bool v)
{
    if (v == enabled_)
        return;
    enabled_ = v;
    Invalidate();
}

void TCustomDodi::SetAutoHintParameterDelay(int ms)
{
    autoHintParameterDelay_ = ms;
    if (ms > 0)
        hintTimer_.SetInterval(ms);
}

void TCustomDodi::SetAutoHintParameters(TAutoHintParameters v)
{
    autoHintParameters_ = v;
    if (hintWindow_ && hintWindow_->Visible())
        hintWindow_->Hide();
}

void TCustomDodi::SetAutoThemeAdapt(bool v)
{
    autoThemeAdapt_ = v;
    if (v && !loading_)
        ThemeAdapt();
}

void TCustomDodi::SetBkColor(TColor c) { SetColorField(bkColor_, c); }
void TCustomDodi::SetSelColor(TColor c) { SetColorField(selColor_, c); }
void TCustomDodi::SetSelBkColor(TColor c) { SetColorField(selBkColor_, c); }
void TCustomDodi::SetBlockColor(TColor c) { SetColorAndRepaint(blockColor_, c); }
void TCustomDodi::SetBlockLineColor(TColor c) { SetColorAndRepaint(blockLineColor_, c); }
void TCustomDodi::SetBlockShow(bool v) { SetBoolAndRepaint(blockShow_, v); }
void TCustomDodi::SetBorderColor(TColor c) { SetColorAndRepaint(borderColor_, c); }
void TCustomDodi::SetBreakpointColor(TColor c) { SetColorAndRepaint(breakpointColor_, c); }
void TCustomDodi::SetBreakpointTextColor(TColor c) { SetColorAndRepaint(breakpointTextColor_, c); }
void TCustomDodi::SetRightMarginColor(TColor c) { SetColorAndRepaint(rightMarginColor_, c); }
void TCustomDodi::SetShowRightMargin(bool v) { SetBoolAndRepaint(showRightMargin_, v); }
// Cached line states skip URL pieces only while UrlAware is set.
void TCustomDodi::SetUrlAware(bool v)
{
    if (v != urlAware_) {
        InvalidateStateCaches();
        DropTopLineState();
    }
    SetBoolAndRepaint(urlAware_, v);
}

// The stored top-line state was computed with the other setting.
void TCustomDodi::SetUseStyler(bool v)
{
    if (v != useStyler_)
        DropTopLineState();
    SetBoolAndRepaint(useStyler_, v);
}

void TCustomDodi::SetRightMargin(int v)
{
    rightMargin_ = v;
    if (wordWrap_ == wwRightMargin)
        RelayoutRows();
    Invalidate();
}

void TCustomDodi::SetBorderStyle(TBorderStyle v)
{
    borderStyle_ = v;
    ApplyBorderOffsets();
    Invalidate();
}

void TCustomDodi::SetCtl3D(bool v)
{
    ctl3D_ = v;
    ApplyBorderOffsets();
    Invalidate();
}

void TCustomDodi::SetCaseSensitive(bool v)
{
    caseSensitive_ = v;
    Invalidate();
}

void TCustomDodi::SetHiddenCaret(bool v)
{
    hiddenCaret_ = v;
    if (!host_ || !flags_.Focused)
        return;
    if (v && flags_.CaretShown) {
        host_->HideCaret();
        flags_.CaretShown = false;
    } else if (!v && !flags_.CaretShown) {
        host_->ShowCaret();
        flags_.CaretShown = true;
    }
}

void TCustomDodi::SetHideSelection(bool v)
{
    if (v == hideSelection_)
        return;
    hideSelection_ = v;
    Invalidate();
}

void TCustomDodi::SetScrollBars(TScrollStyle v)
{
    scrollBars_ = v;
    LayoutChanged();
}

void TCustomDodi::SetSyntaxStyles(TCustomDodiStyler *styler)
{
    if (syntaxStyles_ && syntaxStyles_ != styler)
        syntaxStyles_->DetachEditor(*this);
    syntaxStyles_ = styler;
    useStyler_ = styler != nullptr;
    if (styler)
        styler->AttachEditor(*this, caseSensitive_);
    InvalidateStateCaches();
    DropTopLineState();
    Invalidate();
}

void TCustomDodi::StylerChanged(const TCustomDodiStyler &styler)
{
    if (&styler != ActiveStyler())
        return;
    InvalidateStateCaches();
    DropTopLineState();
}

void TCustomDodi::StylerDestroyed(const TCustomDodiStyler &styler)
{
    StylerRemoved(const_cast<TCustomDodiStyler *>(&styler));
}

void TCustomDodi::StylerRemoved(TCustomDodiStyler *styler)
{
    std::erase(stylerList_, styler);
    if (styler != syntaxStyles_)
        return;
    syntaxStyles_ = nullptr;
    DropTopLineState();
    Invalidate();
}

// Wrapping changes rows only: the text, the caret and the history stay.
void TCustomDodi::SetWordWrap(TWordWrapStyle v)
{
    if (v == wordWrap_)
        return;
    wordWrap_ = v;
    RelayoutRows();
}

void TCustomDodi::RelayoutRows()
{
    FollowLineCount();
    // The text at the top of the view stays there.
    const TCaretPos top{rowLayout_->SpanOfRow(TopRow()).Start, viewState_.TopLine};
    rowLayout_->Relayout(true);
    SetTopRowDirect(rowLayout_->RowOf(top));
    if (rowLayout_->Wrapping())
        viewState_.LeftColumn = 0;
    UpdateScrollBars(false);
    Invalidate();
}

void TCustomDodi::SetUndoLimit(int v)
{
    undoLimit_ = std::clamp(v, 1, 100);
    UndoList().SetLimit(undoLimit_);
}

void TCustomDodi::SetUrlStyle(const TCharStyle &style)
{
    urlStyle_.Assign(style);
    Invalidate();
}

void TCustomDodi::SetBounds(int left, int top, int width, int height)
{
    const bool resized = width != bounds_.Width() || height != bounds_.Height();
    bounds_ = {left, top, left + width, top + height};
    if (resized)
        LayoutChanged();
}

} // namespace tarnwick
