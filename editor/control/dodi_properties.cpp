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

void TCustomDodi::SetBkColor(TColor c) { SetColorField(settings_.BkColor, c); }
void TCustomDodi::SetSelColor(TColor c) { SetColorField(settings_.SelColor, c); }
void TCustomDodi::SetSelBkColor(TColor c) { SetColorField(settings_.SelBkColor, c); }
void TCustomDodi::SetBlockColor(TColor c) { SetColorAndRepaint(settings_.BlockColor, c); }
void TCustomDodi::SetBlockLineColor(TColor c) { SetColorAndRepaint(settings_.BlockLineColor, c); }
void TCustomDodi::SetBlockShow(bool v) { SetBoolAndRepaint(settings_.BlockShow, v); }
void TCustomDodi::SetBorderColor(TColor c) { SetColorAndRepaint(settings_.BorderColor, c); }
void TCustomDodi::SetBreakpointColor(TColor c) { SetColorAndRepaint(settings_.BreakpointColor, c); }
void TCustomDodi::SetBreakpointTextColor(TColor c) { SetColorAndRepaint(settings_.BreakpointTextColor, c); }
void TCustomDodi::SetRightMarginColor(TColor c) { SetColorAndRepaint(settings_.RightMarginColor, c); }
void TCustomDodi::SetShowRightMargin(bool v) { SetBoolAndRepaint(settings_.ShowRightMargin, v); }
// Cached line states skip URL pieces only while UrlAware is set.
void TCustomDodi::SetUrlAware(bool v)
{
    if (v != settings_.UrlAware) {
        InvalidateStateCaches();
        DropTopLineState();
    }
    SetBoolAndRepaint(settings_.UrlAware, v);
}

// The stored top-line state was computed with the other setting.
void TCustomDodi::SetUseStyler(bool v)
{
    if (v != settings_.UseStyler)
        DropTopLineState();
    SetBoolAndRepaint(settings_.UseStyler, v);
}

void TCustomDodi::SetRightMargin(int v)
{
    settings_.RightMargin = v;
    if (settings_.WordWrap == wwRightMargin)
        RelayoutRows();
    Invalidate();
}

void TCustomDodi::SetBorderStyle(TBorderStyle v)
{
    settings_.BorderStyle = v;
    ApplyBorderOffsets();
    Invalidate();
}

void TCustomDodi::SetCtl3D(bool v)
{
    settings_.Ctl3D = v;
    ApplyBorderOffsets();
    Invalidate();
}

void TCustomDodi::SetCaseSensitive(bool v)
{
    settings_.CaseSensitive = v;
    Invalidate();
}

void TCustomDodi::SetHiddenCaret(bool v)
{
    settings_.HiddenCaret = v;
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
    if (v == settings_.HideSelection)
        return;
    settings_.HideSelection = v;
    Invalidate();
}

void TCustomDodi::SetScrollBars(TScrollStyle v)
{
    settings_.ScrollBars = v;
    LayoutChanged();
}

void TCustomDodi::SetSyntaxStyles(TCustomDodiStyler *styler)
{
    if (syntaxStyles_ && syntaxStyles_ != styler)
        syntaxStyles_->DetachEditor(*this);
    syntaxStyles_ = styler;
    settings_.UseStyler = styler != nullptr;
    if (styler)
        styler->AttachEditor(*this, settings_.CaseSensitive);
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
    if (v == settings_.WordWrap)
        return;
    settings_.WordWrap = v;
    RelayoutRows();
}

void TCustomDodi::RelayoutRows()
{
    FollowLineCount();
    // The text at the top of the view stays there.
    const TCaretPos top{view_->Rows().SpanOfRow(TopRow()).Start, viewState_.TopLine};
    view_->Rows().Relayout(true);
    SetTopRowDirect(view_->Rows().RowOf(top));
    if (view_->Rows().Wrapping())
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
    settings_.UrlStyle.Assign(style);
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
