#include "editor/view/code_folding.h"

namespace tarnwick {

void TCodeFolding::Notify(int kind)
{
    if (OnChange)
        OnChange(kind);
}

void TCodeFolding::SetEnabled(bool v)
{
    if (v == enabled_)
        return;
    enabled_ = v;
    Notify(kEnabledChanged);
}

void TCodeFolding::SetLineColor(TColor c)
{
    if (c == lineColor_)
        return;
    lineColor_ = c;
    Notify(kLookChanged);
}

void TCodeFolding::SetExpandGlyph(std::shared_ptr<TBitmap> glyph)
{
    expandGlyph_ = std::move(glyph);
    Notify(kLookChanged);
}

void TCodeFolding::SetCollapsedGlyph(std::shared_ptr<TBitmap> glyph)
{
    collapsedGlyph_ = std::move(glyph);
    Notify(kLookChanged);
}

void TCodeFolding::Assign(const TCodeFolding &other)
{
    SetEnabled(other.enabled_);
    SetLineColor(other.lineColor_);
}

} // namespace tarnwick
