// TDodiScroller: moves the view over the text (its top row, LeftColumn), keeps
// the two scroll bars in step with it, follows the caret, answers the bars'
// notifications and the mouse wheel, and shows the row hint while the
// vertical thumb is dragged.
#pragma once

#include "editor/base/editor_types.h"

#include <cstdint>

namespace tarnwick {

class TViewTarget;

// What a scroll bar reports, as the platform's bar notifications name it.
enum TScrollCode : uint8_t {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll,
};

class TDodiScroller {
public:
    // Rows the wheel moves per notch.
    static constexpr int kWheelRows = 4;

    explicit TDodiScroller(TViewTarget &editor) : ed_(editor) {}

    // Shows `line` from its first row at the top, as far as the text allows.
    void SetTopLine(int line);
    // Shows the text from `row` on, as far as the text allows.
    void SetTopRow(int row);
    void SetLeftColumn(int column);
    void ScrollBy(TScrollBarKind bar, int delta);
    void MakeCaretVisible();
    // The caret moved to `line`: the active line follows, repainted and kept
    // in view when it is shown.
    void SetActiveLine(int line);
    void UpdateScrollBars(bool repaint);
    void LayoutChanged();
    // One notch of the wheel.
    void MouseWheel(bool down);

    // A scroll bar was operated by the user: `position` is where its thumb
    // was taken (for scTrack and scPosition).
    void BarScrolled(TScrollBarKind bar, TScrollCode code, int position);

    // While suspended, UpdateScrollBars only hides bars that may not show.
    void SuspendUpdates(bool suspend);

private:
    void ApplyVerticalBar();
    void ApplyHorizontalBar();
    // The largest top row the vertical bar allows.
    int TopRowLimit() const;
    int LeftColumnLimit() const;
    void UpdateBarsOnce(bool &changed);
    void ShowScrollHint(int position);
    void HideScrollHint();
    void TopLeftChanged();

    TViewTarget &ed_;
    int updateDepth_ = 0;
};

} // namespace tarnwick
