#include "editor/view/active_line_settings.h"

namespace tarnwick {

void TDodiActiveLineSettings::Notify(bool atCursor)
{
    if (OnChange)
        OnChange(atCursor);
}

void TDodiActiveLineSettings::SetShowActiveLine(bool v)
{
    showActiveLine_ = v;
    Notify();
}

void TDodiActiveLineSettings::SetActiveLineColor(TColor c)
{
    if (c == activeLineColor_)
        return;
    activeLineColor_ = c;
    Notify();
}

void TDodiActiveLineSettings::SetActiveLineTextColor(TColor c)
{
    if (c == activeLineTextColor_)
        return;
    activeLineTextColor_ = c;
    Notify();
}

void TDodiActiveLineSettings::SetShowActiveLineIndicator(bool v)
{
    if (v == showActiveLineIndicator_)
        return;
    showActiveLineIndicator_ = v;
    Notify();
}

void TDodiActiveLineSettings::SetActiveLineAtCursor(bool v)
{
    if (v == activeLineAtCursor_)
        return;
    activeLineAtCursor_ = v;
    Notify(v);
}

void TDodiActiveLineSettings::Assign(const TDodiActiveLineSettings &other)
{
    SetShowActiveLine(other.showActiveLine_);
    SetActiveLineColor(other.activeLineColor_);
    SetActiveLineTextColor(other.activeLineTextColor_);
    SetShowActiveLineIndicator(other.showActiveLineIndicator_);
    SetActiveLineAtCursor(other.activeLineAtCursor_);
}

} // namespace tarnwick
