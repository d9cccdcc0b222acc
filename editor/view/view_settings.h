// TViewSettings: how the text is shown, as one plain value. The control's
// appearance properties are stored here, so the view reads them without
// asking the control, and a view test sets them directly.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/base/graphics_types.h"
#include "editor/highlight/char_style.h"

namespace tarnwick {

struct TViewSettings {
    // ---- colours ----
    TColor BkColor = clWhite;
    TColor SelBkColor = clNavy;
    TColor SelColor = clWhite;
    TColor BlockColor = 0xFFFF00;
    TColor BlockLineColor = clNone;
    TColor BorderColor = clGray;
    TColor BreakpointColor = clRed;
    TColor BreakpointTextColor = clWhite;
    TColor RightMarginColor = 0xE2E2E2;

    // ---- frame and text ----
    TFont Font;
    TCharStyle UrlStyle;
    TBorderStyle BorderStyle = bsSingle;
    bool Ctl3D = false;
    int RightMargin = 80;
    bool ShowRightMargin = true;
    bool BlockShow = true;
    bool HiddenCaret = false;
    bool HideSelection = true;
    TWordWrapStyle WordWrap = wwNone;

    // ---- scrolling ----
    TScrollStyle ScrollBars = ssBoth;
    bool ScrollHint = false;
    TScrollMode ScrollMode = smAuto;

    // ---- highlighting: what the tokenizer reads besides the styler ----
    bool UseStyler = true;
    bool CaseSensitive = false;
    bool UrlAware = true;
};

} // namespace tarnwick
