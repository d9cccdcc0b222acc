// TEditSession and TEditScope: the bracket every editing operation runs in,
// so that one user edit raises exactly one change notification however many
// lines it rewrites and however many smaller operations it is built from.
#pragma once

#include <cstdint>

namespace tarnwick {

class TEditTarget;

// What the outermost scope raises when it closes. Light is the typing path's
// notification (OnChange and a repaint); Full runs the control's whole
// change handler (OnChange, longest line, scroll bars, status, repaint).
enum class TChangeNotice : uint8_t { None, Light, Full };

// Per-control state of the brackets; the control owns one.
struct TEditSession {
    // Open scopes; only the outermost one switches change handling and notifies.
    int Depth = 0;
    // The strongest notice asked for by any scope since the outermost opened.
    TChangeNotice Pending = TChangeNotice::None;
    // Change handling as the outermost scope found it.
    bool SavedChangeHandling = true;
    // MaxLineLength may be larger than the longest line: a line shrank or
    // went away, or the caret was allowed past every line end. While false,
    // MaxLineLength is the true maximum and needs no rescan.
    bool MaxLengthStale = false;
};

// Opens a bracket: change handling goes off until the outermost scope closes,
// which restores it and raises the pending notification once.
class TEditScope {
public:
    explicit TEditScope(TEditTarget &editor);
    ~TEditScope() noexcept(false);
    TEditScope(const TEditScope &) = delete;
    TEditScope &operator=(const TEditScope &) = delete;

    // The text changed; the notice is raised when the outermost scope closes.
    void Changed(TChangeNotice notice = TChangeNotice::Full);
    bool Outermost() const;

private:
    TEditTarget &editor_;
    int uncaught_;
};

} // namespace tarnwick
