#include "editor/control/redodi.h"

#include "editor/highlight/styler.h"

namespace tarnwick {

REdoDodi::REdoDodi(Host *host) : TCustomDodi(host)
{
    SetBounds(0, 0, 250, 350);
    SetBkColor(clWhite);
    SetHiddenCaret(false);
    SetDelErase(true);
    SetCaseSensitive(false);
    SetReadOnly(false);
    TFont font;
    font.Name = "COURIER NEW";
    font.Charset = 1;
    font.Color = clBlack;
    font.Height = -13;
    SetFont(font);
    SetDoubleBuffered(true);
    OnGutterClick = [](TCustomDodi &sender, int line) { sender.SetCaretLine(line); };
    OnGutterDraw = [](TCustomDodi &sender, Canvas &canvas, int line, const TRect &rect) {
        sender.PaintGutterLine(canvas, line, rect);
    };
    OnChange = [](TCustomDodi &sender) { sender.Invalidate(); };
}

bool REdoDodi::IsDelimiter(char32_t c) const
{
    if (TCustomDodi::IsDelimiter(c))
        return true;
    return UseStyler() && ActiveStyler() && ActiveStyler()->IsStyleDelimiter(c);
}

void REdoDodi::Loaded()
{
    TCustomDodi::Loaded();
    if (AutoThemeAdapt())
        ThemeAdapt();
    RecomputeMaxLineLength();
    UpdateScrollBars();
}

} // namespace tarnwick
