// TCharStyle: the colours and font style of one kind of text run (comments,
// numbers, URLs).
#pragma once

#include "editor/base/graphics_types.h"

namespace tarnwick {

class TCharStyle {
public:
    TCharStyle() = default;
    TCharStyle(TColor textColor, TColor bkColor, TFontStyles style)
        : textColor_(textColor), bkColor_(bkColor), style_(style)
    {
    }

    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor c) { textColor_ = c; }
    // clNone stands for the editor's own background.
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor c) { bkColor_ = c; }
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s) { style_ = s; }

    void Assign(const TCharStyle &source) { *this = source; }
    bool operator==(const TCharStyle &) const = default;

private:
    TColor textColor_ = clBlack;
    TColor bkColor_ = clNone;
    TFontStyles style_;
};

} // namespace tarnwick
