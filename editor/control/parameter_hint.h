// TParameterHint: the one-line pop-up under (or above) the caret line that
// shows the parameter list of the call the caret is in, the current
// parameter in bold. The hints come from the styler's ParameterHints or
// from the host.
#pragma once

#include "editor/base/graphics_types.h"

#include <string>

namespace tarnwick {

class Canvas;
class TCustomDodi;

class TParameterHint {
public:
    explicit TParameterHint(TCustomDodi &editor);

    // Computes the hint at the caret and shows it, or hides the window
    // when there is none.
    void Show();
    // True when a hint for the caret's place is ready in the parts.
    bool Compute();
    void Hide();
    bool Visible() const;

    // The hint in three parts (before, current, after) and which is bold:
    // 1 the first, 2 the second.
    const std::string &Part(int index) const { return parts_[index]; }
    int BoldPart() const { return boldPart_; }
    // The caret moved: with automatic hints the hint follows it. (Leaving
    // the line hides the window; the caret's own code does that.)
    void CaretMoved();
    void Paint(Canvas &canvas, const TRect &client);
    // A press on the window gives the editor its focus back.
    void WindowPressed();

    // How far back from the caret the call's "(" is looked for.
    static constexpr int kMaxScan = 4096;

private:
    bool CaretLineOnScreen() const;
    void Place();

    TCustomDodi &ed_;
    std::string parts_[3];
    int boldPart_ = 2;
};

} // namespace tarnwick
