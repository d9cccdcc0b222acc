#include "editor/control/auto_completion.h"

namespace tarnwick {

TAutoCompletion::TAutoCompletion()
{
    // The toolkit's default font: a proportional UI face at 8 points.
    font_.Name = "Tahoma";
    font_.SetSize(8);
}

void TAutoCompletion::Notify(TChange change)
{
    if (OnChange)
        OnChange(change);
}

void TAutoCompletion::SetDelay(int ms)
{
    delay_ = ms;
    Notify(TChange::Delay);
}

void TAutoCompletion::SetColor(TColor c)
{
    color_ = c;
    Notify(TChange::Color);
}

void TAutoCompletion::SetFont(const TFont &f)
{
    font_ = f;
    Notify(TChange::Font);
}

} // namespace tarnwick
