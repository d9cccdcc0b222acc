// The control's code folding: regions found from the styler's region
// definitions or by a finder that reads the text's own structure, collapsed
// and expanded by the mouse, the keys and the menu, and the caret kept on a
// shown line. The regions and the rows they leave are TFoldRegions'.
#include "editor/control/custom_dodi.h"

#include "editor/highlight/region_scan.h"
#include "editor/highlight/styler.h"

namespace tarnwick {

void TCustomDodi::FoldLinesChanged(REdoDodiStrings &lines, const TLinesChange &change)
{
    foldRegions_.LinesChanged(lines, change);
    if (foldFinder_)
        foldFinder_->LinesChanged(lines, change);
    // Removed lines may have taken the last region, and the column, with them.
    viewState_.FoldRegionCount = foldRegions_.RegionCount();
}

void TCustomDodi::SetFoldRegionFinder(std::unique_ptr<TFoldRegionFinder> finder)
{
    foldFinder_ = std::move(finder);
    // A finder reads the text again around a removal; the other ends of the
    // removed lines' regions keep their marks until it has.
    foldRegions_.SetUnlinkPartners(!foldFinder_);
    ScanRegions();
}

void TCustomDodi::FoldRegionsChanged()
{
    viewState_.FoldRegionCount = foldRegions_.RegionCount();
    // Neither the caret nor the top of the view stays on a hidden line.
    if (foldRegions_.IsHidden(caretState_.CaretLine))
        SetCaretLine(foldRegions_.LineOfVisibleIndex(foldRegions_.VisibleIndexOf(caretState_.CaretLine)));
    if (foldRegions_.IsHidden(viewState_.TopLine))
        SetTopRowDirect(foldRegions_.VisibleIndexOf(viewState_.TopLine));
    UpdateScrollBars();
    Invalidate();
}

// The row map stays as long as the text, so that word wrap finds its lines
// whether folding is on or not.
void TCustomDodi::FollowLineCount()
{
    const int count = ActiveLines()->Count();
    if (foldRegions_.LineCount() == count)
        return;
    foldRegions_.Reset(count);
    view_->Rows().Relayout(true);
}

void TCustomDodi::ScanRegions()
{
    FollowLineCount();
    if (!codeFolding_->Enabled()) {
        // Switched off, folding leaves nothing hidden.
        if (foldRegions_.RegionCount() > 0) {
            foldRegions_.ClearRegions();
            FoldRegionsChanged();
        }
        return;
    }
    REdoDodiStrings &lines = *ActiveLines();
    if (foldFinder_) {
        foldFinder_->Update(lines, foldRegions_, true);
    } else {
        const TCustomDodiStyler *styler = SyntaxStyles();
        if (!styler || !settings_.UseStyler || styler->Regions().Count() == 0)
            return;
        foldRegions_.SetRegions(FindDefinedRegions(*styler, lines));
    }
    FoldRegionsChanged();
}

void TCustomDodi::UpdateFoldRegions(bool force)
{
    if (!codeFolding_->Enabled() || !foldFinder_)
        return;
    REdoDodiStrings &lines = *ActiveLines();
    FollowLineCount();
    if (!foldFinder_->Pending())
        return;
    const int rows = foldRegions_.VisibleCount();
    foldFinder_->Update(lines, foldRegions_, force);
    viewState_.FoldRegionCount = foldRegions_.RegionCount();
    if (foldRegions_.VisibleCount() != rows)
        UpdateScrollBars(false);
    // A change the finder left for later (a Format, a large paste) is read a
    // moment after the paint that left it.
    if (foldFinder_->Pending())
        foldTimer_.Start();
}

bool TCustomDodi::AddRegion(int start, int end)
{
    if (!foldRegions_.AddRegion(start, end))
        return false;
    FoldRegionsChanged();
    return true;
}

void TCustomDodi::ClearRegions()
{
    foldRegions_.ClearRegions();
    FoldRegionsChanged();
}

void TCustomDodi::SetExpanded(int line, bool expanded)
{
    if (!codeFolding_->Enabled() || !foldRegions_.SetExpanded(line, expanded))
        return;
    FoldRegionsChanged();
}

void TCustomDodi::ToggleRegion(int line) { SetExpanded(line, !foldRegions_.IsExpanded(line)); }

bool TCustomDodi::RegionSummary(int line, int &definitionIndex, std::string &summary) const
{
    return view_->RegionSummary(line, definitionIndex, summary);
}

void TCustomDodi::RemoveFoldRegionStartingAt(int line)
{
    foldRegions_.RemoveRegionStartingAt(line);
    FoldRegionsChanged();
}

void TCustomDodi::RemoveFoldRegionEndingAt(int line)
{
    foldRegions_.RemoveRegionEndingAt(line);
    FoldRegionsChanged();
}

void TCustomDodi::RevealLine(int line)
{
    if (!codeFolding_->Enabled())
        return;
    bool changed = false;
    while (foldRegions_.IsHidden(line)) {
        // The shown line above a hidden one starts the collapsed region that hides it.
        const int start = foldRegions_.LineOfVisibleIndex(foldRegions_.VisibleIndexOf(line));
        if (!foldRegions_.SetExpanded(start, true))
            break;
        changed = true;
    }
    if (changed)
        FoldRegionsChanged();
}

void TCustomDodi::CollapseRegionAtCaret()
{
    if (!codeFolding_->Enabled())
        return;
    UpdateFoldRegions(true);
    int start = foldRegions_.InnermostRegionAt(caretState_.CaretLine);
    while (start >= 0 && !foldRegions_.IsExpanded(start))
        start = foldRegions_.EnclosingRegionOf(start);
    if (start < 0)
        return;
    // The caret leaves the lines about to be hidden first.
    SetCaretLine(start);
    SetExpanded(start, false);
}

void TCustomDodi::ExpandRegionAtCaret()
{
    if (!codeFolding_->Enabled())
        return;
    UpdateFoldRegions(true);
    SetExpanded(caretState_.CaretLine, true);
}

void TCustomDodi::CollapseAllRegions()
{
    if (!codeFolding_->Enabled())
        return;
    UpdateFoldRegions(true);
    foldRegions_.SetAllExpanded(false);
    FoldRegionsChanged();
}

void TCustomDodi::ExpandAllRegions()
{
    if (!codeFolding_->Enabled())
        return;
    UpdateFoldRegions(true);
    foldRegions_.SetAllExpanded(true);
    FoldRegionsChanged();
}

} // namespace tarnwick
