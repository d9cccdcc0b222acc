#include "editor/control/background_checker.h"

#include "editor/control/custom_dodi.h"
#include "editor/platform/host.h"

#include <algorithm>

namespace tarnwick {

namespace {

// Between two looks whether the checking thread is done.
constexpr int kPollInterval = 15;

} // namespace

TBackgroundChecker::TBackgroundChecker(TCheck check) : check_(std::move(check))
{
    pauseTimer_.OnTimer = [this] {
        pauseTimer_.Stop();
        StartCopy();
    };
    workTimer_.OnTimer = [this] {
        if (copying_)
            CopySlice();
        else
            Poll();
    };
}

TBackgroundChecker::~TBackgroundChecker()
{
    StopWorker();
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
    pauseTimer_.Start();
}

void TBackgroundChecker::EditorDetached(TCustomDodi &editor, bool destroying)
{
    pauseTimer_.Stop();
    workTimer_.Stop();
    pauseTimer_.SetHost(nullptr);
    workTimer_.SetHost(nullptr);
    StopWorker();
    copying_ = false;
    copy_.clear();
    if (!destroying) {
        editor.ActiveLines()->RemoveListener(this);
        for (const TMark &mark : marks_)
            if (TLineProp *prop = editor.ActiveLines()->LinePropOf(mark.Line))
                prop->ClearUnderlines();
        editor.Invalidate();
    }
    marks_.clear();
}

// Typing costs this: the marks follow their lines, and the pause restarts.
void TBackgroundChecker::LinesChanged(REdoDodiStrings &, const TLinesChange &change)
{
    ++generation_;
    if (copying_) {
        copying_ = false;
        copy_.clear();
        workTimer_.Stop();
    }
    if (cancel_)
        cancel_->store(true, std::memory_order_relaxed);
    if (change.Wholesale()) {
        marks_.clear(); // the records went with the old text
    } else {
        for (TMark &mark : marks_)
            mark.Line = LineAfterChange(mark.Line, change, lrDrop);
        std::erase_if(marks_, [](const TMark &m) { return m.Line < 0; });
    }
    pauseTimer_.Stop();
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
    StopWorker();
    checking_ = generation_;
    copying_ = true;
    copyLine_ = 0;
    copy_.clear();
    CopySlice();
}

// Whole lines until a slice's worth is copied; the rest waits for the next
// turn of the event loop, so a key pressed meanwhile is handled in between.
void TBackgroundChecker::CopySlice()
{
    const REdoDodiStrings &store = *Editor()->ActiveLines();
    const size_t limit = copy_.size() + kSliceBytes;
    while (copyLine_ < store.Count() && copy_.size() < limit) {
        copy_ += store.Get(copyLine_++);
        copy_ += '\n';
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
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    {
        std::lock_guard lock(resultLock_);
        result_.reset();
    }
    worker_ = std::thread([this, text = std::move(copy_), cancel = cancel_, check = check_] {
        std::vector<TMark> marks = check(text, *cancel);
        std::lock_guard lock(resultLock_);
        result_ = std::move(marks);
    });
    copy_.clear();
    workTimer_.Stop();
    workTimer_.SetInterval(kPollInterval);
    workTimer_.Start();
}

void TBackgroundChecker::Poll()
{
    std::optional<std::vector<TMark>> result;
    {
        std::lock_guard lock(resultLock_);
        result.swap(result_);
    }
    if (!result)
        return;
    workTimer_.Stop();
    StopWorker();
    // The text changed while it was being checked: a newer check follows
    // the pause.
    if (checking_ == generation_)
        Apply(std::move(*result));
}

void TBackgroundChecker::WaitForWorker()
{
    if (worker_.joinable())
        worker_.join();
}

void TBackgroundChecker::StopWorker()
{
    if (cancel_)
        cancel_->store(true, std::memory_order_relaxed);
    if (worker_.joinable())
        worker_.join();
    cancel_.reset();
}

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
