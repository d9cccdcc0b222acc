// TControlFlags: the control's own switches between events: focus and caret
// display, change handling, and the pop-ups and dialogs it is showing. The
// control owns them; painting reads focus and the find dialog's state.
#pragma once

#include <string>

namespace tarnwick {

struct TControlFlags {
    // While false the line store's change handler does nothing, so that one
    // edit raises one change notification.
    bool ChangeHandling = true;
    bool CaretShown = false;
    bool Focused = false;
    int SavedBlinkTime = 0;
    bool BlinkTimeSaved = false;
    // The parameter hint window is being shown and may take the focus briefly.
    bool ShowingHint = false;
    // The find dialog is open: the selection stays painted without the focus
    // so that the hit remains visible.
    bool FindDialogOpen = false;
    // A key was typed on the caret line, which may have opened or closed a
    // fold region: regions are found again when the caret leaves the line.
    bool RegionRescanPending = false;
    // Characters the tokenizer treats as word separators.
    std::string WordSeparators = " \"',";
};

} // namespace tarnwick
