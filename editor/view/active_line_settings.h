// TDodiActiveLineSettings: how the active line is shown and whether it
// follows the caret.
#pragma once

#include "editor/base/graphics_types.h"

#include <functional>

namespace tarnwick {

class TDodiActiveLineSettings {
public:
    bool ShowActiveLine() const { return showActiveLine_; }
    void SetShowActiveLine(bool v);
    TColor ActiveLineColor() const { return activeLineColor_; }
    void SetActiveLineColor(TColor c);
    TColor ActiveLineTextColor() const { return activeLineTextColor_; }
    void SetActiveLineTextColor(TColor c);
    bool ShowActiveLineIndicator() const { return showActiveLineIndicator_; }
    void SetShowActiveLineIndicator(bool v);
    bool ActiveLineAtCursor() const { return activeLineAtCursor_; }
    void SetActiveLineAtCursor(bool v);

    void Assign(const TDodiActiveLineSettings &other);

    // Raised after a setter stored a new value (ShowActiveLine: always);
    // the editor repaints. atCursorSwitchedOn tells that the active line must
    // now follow the caret.
    std::function<void(bool atCursorSwitchedOn)> OnChange;

private:
    void Notify(bool atCursor = false);

    bool showActiveLine_ = false;
    TColor activeLineColor_ = clNavy;
    TColor activeLineTextColor_ = clYellow;
    bool showActiveLineIndicator_ = false;
    bool activeLineAtCursor_ = false;
};

} // namespace tarnwick
