#include "editor/control/background_checker.h"

#include "editor/control/custom_dodi.h"
#include "editor/platform/host.h"

#include <algorithm>

namespace tarnwick {

namespace {

// Between two looks whether the checking thread is done, and between two
// looks whether it has read the text handed to it.
constexpr int kPollInterval = 15;
constexpr int kCopyInterval = 2;

} // namespace

TBackgroundChecker::TBackgroundChecker(TCheck check, TExtent extent)
    : extent_(std::move(extent)), worker_(std::move(check))
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
    stream_.reset();
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
    checking_ = generation_;
    copyLine_ = 0;
    copyByte_ = 0;
    stream_ = std::make_shared<TTextStream>(kQueuedBytes);
    worker_.Start(stream_);
    inFlight_ = true;
    copying_ = true;
    CopySlice();
}

// A slice's worth at a turn of the event loop, and only while the check has
// read what came before, so a key pressed meanwhile is handled in between and
// the check never holds much of the text, however long its lines.
void TBackgroundChecker::CopySlice()
{
    const REdoDodiStrings &store = *Editor()->ActiveLines();
    // A check that ended early (at an error) reads no more.
    while (copyLine_ < store.Count() && stream_->HasRoom() && worker_.Busy()) {
        std::string slice;
        slice.reserve(kSliceBytes + 1);
        while (copyLine_ < store.Count() && slice.size() < kSliceBytes) {
            const std::string_view line = store.Get(copyLine_);
            const size_t n = std::min(line.size() - copyByte_, kSliceBytes - slice.size());
            slice.append(line.substr(copyByte_, n));
            copyByte_ += n;
            if (copyByte_ == line.size()) {
                slice += '\n';
                ++copyLine_;
                copyByte_ = 0;
            }
        }
        stream_->Write(std::move(slice));
    }
    const bool done = copyLine_ >= store.Count() || !worker_.Busy();
    if (done) {
        stream_->Close();
        copying_ = false;
    }
    workTimer_.Stop();
    workTimer_.SetInterval(done ? kPollInterval : kCopyInterval);
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
    REdoDodiStrings &store = *editor->ActiveLines();
    // The text is the one checked: the marks widen to what they name in it.
    for (TMark &mark : marks) {
        mark.Line = std::clamp(mark.Line, 0, std::max(0, store.Count() - 1));
        if (extent_ && mark.Line < store.Count())
            extent_(store.Get(mark.Line), mark.Column, mark.Length);
    }
    const bool changed = marks != marks_;
    ClearMarks();
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
    if (OnChecked)
        OnChecked(*this);
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
