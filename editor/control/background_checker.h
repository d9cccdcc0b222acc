// TBackgroundChecker: a checker that reads the whole text a short pause after
// it last changed and marks what its check function finds with wavy
// underlines, whose messages the hover hint shows. Typing only restarts the
// pause; the text is copied in slices between events, the check runs on the
// copy in a thread of its own, and a result for a text that changed since is
// dropped.
#pragma once

#include "editor/control/redodi_checker.h"
#include "editor/document/lines_listener.h"
#include "editor/platform/dodi_timer.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tarnwick {

class TBackgroundChecker : public REdoDodiChecker, public TLinesListener {
public:
    // A place the check found: line and column 0-based, in characters.
    struct TMark {
        int Line = 0;
        int Column = 0;
        int Length = 1;
        std::string Message;
        bool operator==(const TMark &) const = default;
    };
    // Runs in the checking thread on the text (lines joined by LF); answers
    // early when `cancel` turns true.
    using TCheck = std::function<std::vector<TMark>(const std::string &text, const std::atomic<bool> &cancel)>;

    // Timer ids asked of the editor's host, beside the editor's own.
    static constexpr int kPauseTimerId = 3;
    static constexpr int kWorkTimerId = 4;
    // Text copied per slice between two events.
    static constexpr size_t kSliceBytes = 4 << 20;

    explicit TBackgroundChecker(TCheck check);
    ~TBackgroundChecker() override;

    // Milliseconds between the last change and the check.
    int Pause() const { return pauseTimer_.Interval(); }
    void SetPause(int ms) { pauseTimer_.SetInterval(ms); }
    // Starts a check of the text as it is now.
    void CheckNow();
    // A check is being copied or run; being copied.
    bool Busy() const { return copying_ || worker_.joinable(); }
    bool Copying() const { return copying_; }
    // Blocks until the checking thread has finished (tests, benchmarks).
    void WaitForWorker();
    // What the last check that finished on the current text found, at the
    // lines the marks moved to since.
    const std::vector<TMark> &Marks() const { return marks_; }

    bool HintAt(int line, int column, std::string &hint) const override;
    void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) override;

protected:
    void EditorAttached(TCustomDodi &editor) override;
    void EditorDetached(TCustomDodi &editor, bool destroying) override;

private:
    void StartCopy();
    void CopySlice();
    void StartWorker();
    void Poll();
    void StopWorker();
    void Apply(std::vector<TMark> marks);
    void ClearMarks();

    TCheck check_;
    TDodiTimer pauseTimer_{kPauseTimerId, 400};
    TDodiTimer workTimer_{kWorkTimerId, 1};
    // Bumped by every change; a check is for the generation it copied.
    uint64_t generation_ = 0;
    uint64_t checking_ = 0;
    bool copying_ = false;
    int copyLine_ = 0;
    std::string copy_;
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::mutex resultLock_;
    std::optional<std::vector<TMark>> result_;
    std::vector<TMark> marks_;
};

} // namespace tarnwick
