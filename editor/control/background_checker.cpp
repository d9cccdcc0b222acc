#include "editor/control/background_checker.h"

#include "editor/control/custom_dodi.h"
#include "editor/platform/host.h"

#include <algorithm>

namespace tarnwick {

namespace {

// Between two looks whether the checking thread is done.
constexpr int kPollInterval = 15;

} // namespace

TBackgroundChecker::TBackgroundChecker(TCheck check) : worker_(std::move(check))
{
    pauseTimer_.OnTimer = [this] { PauseTick(); };
    workTimer_.OnTimer = [this] {
        if (copying_)
            CopySlice();
        else
            Poll();
    };
}

TBackgroundChecker::~TBackgroundChecker()
{
    worker_.Cancel();
    if (TCustomDodi *editor = Editor()) {
        editor->ActiveLines()->RemoveListener(this);
        ClearMarks();
    }
    pauseTimer_.SetHost(nullptr);
    workTimer_.SetHost(nullptr);
}

void TBackgroundChecker::EditorAttached(TCustomDodi &editor)
{
    editor.ActiveLines()->AddListener(this);
    pauseTimer_.SetHost(editor.GetHost());
    workTimer_.SetHost(editor.GetHost());
    ++generation_;
    lastChange_ = std::chrono::steady_clock::now();
    pauseTimer_.Start();
}

void TBackgroundChecker::EditorDetached(TCustomDodi &editor, bool destroying)
{
    pauseTimer_.Stop();
    workTimer_.Stop();
    pauseTimer_.SetHost(nullptr);
    workTimer_.SetHost(nullptr);
    worker_.Cancel();
    worker_.Wait();
    inFlight_ = false;
    copying_ = false;
    copy_.reset();
    if (!destroying) {
        editor.ActiveLines()->RemoveListener(this);
        for (const TMark &mark : marks_)
            if (TLineProp *prop = editor.ActiveLines()->LinePropOf(mark.Line))
                prop->ClearUnderlines();
        editor.Invalidate();
    }
    marks_.clear();
}

void TBackgroundChecker::SetPause(int ms)
{
    pause_ = std::max(0, ms);
    pauseTimer_.SetInterval(std::max(1, pause_ / 4));
}

void TBackgroundChecker::PauseTick()
{
    if (std::chrono::steady_clock::now() - lastChange_ < std::chrono::milliseconds(pause_))
        return;
    pauseTimer_.Stop();
    StartCopy();
}

// Typing costs this: the marks follow their lines, and the pause starts
// again from now.
void TBackgroundChecker::LinesChanged(REdoDodiStrings &, const TLinesChange &change)
{
    ++generation_;
    lastChange_ = std::chrono::steady_clock::now();
    if (copying_) {
        copying_ = false;
        workTimer_.Stop();
    }
    if (inFlight_)
        worker_.Cancel();
    if (change.Wholesale()) {
        marks_.clear(); // the records went with the old text
    } else {
        for (TMark &mark : marks_)
            mark.Line = LineAfterChange(mark.Line, change, lrDrop);
        std::erase_if(marks_, [](const TMark &m) { return m.Line < 0; });
    }
    pauseTimer_.Start();
}

void TBackgroundChecker::CheckNow()
{
    pauseTimer_.Stop();
    StartCopy();
}

void TBackgroundChecker::StartCopy()
{
    if (!Editor())
        return;
    worker_.Cancel();
    worker_.Wait();
    inFlight_ = false;
    checking_ = generation_;
    copying_ = true;
    copyLine_ = 0;
    // The buffer of the last check is written again: a long text is neither
    // allocated nor given back to the system anew for each check.
    if (!copy_ || copy_.use_count() > 1)
        copy_ = std::make_shared<std::string>();
    copy_->clear();
    CopySlice();
}

// Whole lines until a slice's worth is copied; the rest waits for the next
// turn of the event loop, so a key pressed meanwhile is handled in between.
void TBackgroundChecker::CopySlice()
{
    const REdoDodiStrings &store = *Editor()->ActiveLines();
    std::string &copy = *copy_;
    const size_t limit = copy.size() + kSliceBytes;
    while (copyLine_ < store.Count() && copy.size() < limit) {
        copy += store.Get(copyLine_++);
        copy += '\n';
    }
    if (copyLine_ < store.Count()) {
        workTimer_.SetInterval(1);
        workTimer_.Start();
        return;
    }
    copying_ = false;
    StartWorker();
}

void TBackgroundChecker::StartWorker()
{
    worker_.Start(copy_);
    inFlight_ = true;
    workTimer_.Stop();
    workTimer_.SetInterval(kPollInterval);
    workTimer_.Start();
}

void TBackgroundChecker::Poll()
{
    if (worker_.Busy())
        return;
    workTimer_.Stop();
    inFlight_ = false;
    std::optional<std::vector<TMark>> result = worker_.TakeResult();
    // A check of a text that changed meanwhile was cancelled, or is stale:
    // a newer check follows the pause.
    if (result && checking_ == generation_)
        Apply(std::move(*result));
}

void TBackgroundChecker::WaitForWorker() { worker_.Wait(); }

void TBackgroundChecker::ClearMarks()
{
    TCustomDodi *editor = Editor();
    for (const TMark &mark : marks_)
        if (TLineProp *prop = editor ? editor->ActiveLines()->LinePropOf(mark.Line) : nullptr)
            prop->ClearUnderlines();
    marks_.clear();
}

void TBackgroundChecker::Apply(std::vector<TMark> marks)
{
    TCustomDodi *editor = Editor();
    if (!editor)
        return;
    const bool changed = marks != marks_;
    ClearMarks();
    REdoDodiStrings &store = *editor->ActiveLines();
    for (const TMark &mark : marks) {
        TLineProp *prop = store.EnsureLineProp(mark.Line);
        if (!prop)
            continue;
        TUnderlineRanges &ranges = prop->EnsureUnderlineRanges();
        ranges.Starts.Add(mark.Column);
        ranges.Lengths.Add(std::max(1, mark.Length));
        marks_.push_back(mark);
    }
    if (changed)
        editor->Invalidate();
}

bool TBackgroundChecker::HintAt(int line, int column, std::string &hint) const
{
    for (const TMark &mark : marks_) {
        if (mark.Line == line && column >= mark.Column && column < mark.Column + std::max(1, mark.Length)) {
            hint = mark.Message;
            return true;
        }
    }
    return false;
}

} // namespace tarnwick
