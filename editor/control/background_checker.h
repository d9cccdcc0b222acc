// TBackgroundChecker: a checker that reads the whole text a short pause after
// it last changed and marks what its check function finds with wavy
// underlines, whose messages the hover hint shows. Typing only restarts the
// pause; the check runs in a thread of its own on the text, which is copied
// to it in slices between events, no faster than it reads them; a result for
// a text that changed since is dropped.
#pragma once

#include "editor/control/check_worker.h"
#include "editor/control/redodi_checker.h"
#include "editor/document/lines_listener.h"
#include "editor/platform/dodi_timer.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TBackgroundChecker : public REdoDodiChecker, public TLinesListener {
public:
    using TMark = TCheckMark;
    using TCheck = TCheckFunction;
    // Widens a mark the check found to what it names in its line's text.
    using TExtent = std::function<void(std::string_view line, int &column, int &length)>;

    // Timer ids asked of the editor's host, beside the editor's own.
    static constexpr int kPauseTimerId = 3;
    static constexpr int kWorkTimerId = 4;
    // Text copied per slice between two events, and at most waiting for the
    // check to read it.
    static constexpr size_t kSliceBytes = 4 << 20;
    static constexpr size_t kQueuedBytes = 2 * kSliceBytes;

    explicit TBackgroundChecker(TCheck check, TExtent extent = {});
    ~TBackgroundChecker() override;

    // Milliseconds between the last change and the check.
    int Pause() const { return pause_; }
    void SetPause(int ms);
    // Starts a check of the text as it is now.
    void CheckNow();
    // A check is being copied or run; being copied.
    bool Busy() { return copying_ || worker_.Busy(); }
    bool Copying() const { return copying_; }
    // Blocks until the checking thread has finished (tests, benchmarks).
    void WaitForWorker();
    // What the last check that finished on the current text found, at the
    // lines the marks moved to since.
    const std::vector<TMark> &Marks() const { return marks_; }
    // Raised when a check of the current text has put its marks in place.
    std::function<void(TBackgroundChecker &)> OnChecked;

    bool HintAt(int line, int column, std::string &hint) const override;
    void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) override;

protected:
    void EditorAttached(TCustomDodi &editor) override;
    void EditorDetached(TCustomDodi &editor, bool destroying) override;

private:
    void StartCopy();
    void CopySlice();
    void Poll();
    void Apply(std::vector<TMark> marks);
    void ClearMarks();

    void PauseTick();

    // The pause timer ticks a few times per pause and starts the check once
    // the last change is a pause old, so that a key costs no timer restart.
    int pause_ = 400;
    std::chrono::steady_clock::time_point lastChange_;
    TDodiTimer pauseTimer_{kPauseTimerId, 100};
    TDodiTimer workTimer_{kWorkTimerId, 1};
    // Bumped by every change; a check is for the generation it copied.
    uint64_t generation_ = 0;
    uint64_t checking_ = 0;
    bool copying_ = false;
    // Where the copy goes on: a line, and the bytes of it already copied.
    int copyLine_ = 0;
    size_t copyByte_ = 0;
    // The text on its way to the check in hand.
    std::shared_ptr<TTextStream> stream_;
    TExtent extent_;
    // A check was handed to the worker and its result not yet taken.
    bool inFlight_ = false;
    std::vector<TMark> marks_;
    TCheckWorker worker_;
};

} // namespace tarnwick
