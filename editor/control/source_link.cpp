// The shared text source and the checker as the control sees them: which
// store and styler are active, attaching and letting go of a source, and
// pointing a checker at the control.
#include "editor/control/custom_dodi.h"
#include "editor/control/redodi_checker.h"
#include "editor/control/redodi_source.h"

namespace tarnwick {

TCustomDodiStyler *TCustomDodi::ActiveStyler() const { return ShownText().Styler; }

void TCustomDodi::SetMemoSource(REdoDodiSource *source)
{
    if (source == memoSource_)
        return;
    if (REdoDodiSource *old = memoSource_) {
        old->DestroyNotifier().Unsubscribe(this);
        if (old->Editor() == this)
            old->SetEditor(nullptr);
    }
    memoSource_ = source;
    if (source) {
        source->DestroyNotifier().Subscribe(this, [this, source] { SourceRemoved(source); });
        if (!loading_) {
            source->SetEditor(this);
            SetTopLine(0);
            SetCaretCol(0);
            SetCaretLine(0);
        }
    } else {
        StylerSwitched();
        ScanRegions();
    }
    RecomputeMaxLineLength();
    UpdateScrollBars();
}

// The source is going away: back to the control's own text, without a word
// to the source.
void TCustomDodi::SourceRemoved(REdoDodiSource *source)
{
    if (source != memoSource_)
        return;
    memoSource_ = nullptr;
    StylerSwitched();
    ScanRegions();
    RecomputeMaxLineLength();
    UpdateScrollBars();
}

void TCustomDodi::SourceAttached(REdoDodiSource &source, int leftColumn, int topLine)
{
    lines_->RemoveListener(&bookmarks_);
    source.Lines()->AddListener(&bookmarks_);
    viewState_.LeftColumn = leftColumn;
    viewState_.TopLine = topLine;
    viewState_.TopSubRow = 0;
    StylerSwitched();
    ScanRegions();
    RecomputeMaxLineLength();
    UpdateScrollBars();
    if (flags_.CaretShown)
        PlaceCaret();
}

void TCustomDodi::SourceDetached(REdoDodiSource &source)
{
    source.Lines()->RemoveListener(&bookmarks_);
    lines_->AddListener(&bookmarks_);
    Invalidate();
}

// What the tokenizer derived from the previous styler or text is stale.
void TCustomDodi::StylerSwitched()
{
    DropTopLineState();
    InvalidateStateCaches();
    Invalidate();
}

// A checker let go of forgets the control; the new one is pointed at it.
void TCustomDodi::SetMemoChecker(REdoDodiChecker *checker)
{
    if (checker == memoChecker_)
        return;
    REdoDodiChecker *old = memoChecker_;
    memoChecker_ = checker;
    if (old && old->Editor() == this)
        old->SetEditor(nullptr);
    if (checker)
        checker->SetEditor(this);
}

void TCustomDodi::CheckerRemoved(REdoDodiChecker *checker)
{
    if (checker == memoChecker_)
        memoChecker_ = nullptr;
}

} // namespace tarnwick
