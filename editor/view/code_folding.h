// TCodeFolding: the folding switch and the look of the folding column.
#pragma once

#include "editor/base/graphics_types.h"
#include "editor/platform/canvas.h"

#include <functional>
#include <memory>

namespace tarnwick {

class TCodeFolding {
public:
    // Kinds reported to the editor: look changed, or folding switched.
    static constexpr int kLookChanged = 1;
    static constexpr int kEnabledChanged = 2;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor c);
    // Glyphs are images made by a canvas; null means the drawn plus/minus.
    const std::shared_ptr<TBitmap> &ExpandGlyph() const { return expandGlyph_; }
    void SetExpandGlyph(std::shared_ptr<TBitmap> glyph);
    const std::shared_ptr<TBitmap> &CollapsedGlyph() const { return collapsedGlyph_; }
    void SetCollapsedGlyph(std::shared_ptr<TBitmap> glyph);

    // Copies Enabled and LineColor only.
    void Assign(const TCodeFolding &other);

    std::function<void(int kind)> OnChange;

private:
    void Notify(int kind);

    bool enabled_ = false;
    TColor lineColor_ = clGray;
    std::shared_ptr<TBitmap> expandGlyph_;
    std::shared_ptr<TBitmap> collapsedGlyph_;
};

} // namespace tarnwick
