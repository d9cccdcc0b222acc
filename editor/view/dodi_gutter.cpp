#include "editor/view/dodi_gutter.h"

#include <algorithm>

namespace tarnwick {

namespace {
constexpr int kMinGutterMargin = 45;
}

TDodiGutter::TDodiGutter()
{
    font_.Name = "Courier New";
    font_.SetSize(10);
    rect_ = {0, 0, gutterWidth_, 0};
}

void TDodiGutter::Notify(TChange change)
{
    if (OnChange)
        OnChange(change);
}

void TDodiGutter::SetDigitCount(int v)
{
    digitCount_ = v;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetFont(const TFont &f)
{
    font_ = f;
    Notify(TChange::Font);
}

void TDodiGutter::SetBorderColor(TColor c)
{
    borderColor_ = c;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetGutterWidth(int w)
{
    gutterWidth_ = w;
    rect_.right = rect_.left + w;
    Notify(TChange::Layout);
}

void TDodiGutter::SetGutterMargin(int m) { gutterMargin_ = std::max(m, kMinGutterMargin); }

void TDodiGutter::SetGutterColor(TColor c)
{
    if (c == gutterColor_)
        return;
    gutterColor_ = c;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetGutterColorTo(TColor c)
{
    gutterColorTo_ = c;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetLineNumberStart(int v)
{
    if (v == lineNumberStart_ || v < 0)
        return;
    lineNumberStart_ = v;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetLineNumberTextColor(TColor c)
{
    if (c == lineNumberTextColor_)
        return;
    lineNumberTextColor_ = c;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetModifiedColorBkg(TColor c)
{
    modifiedColorBkg_ = c;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetModifiedColor(TColor c)
{
    modifiedColor_ = c;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetNumberSuffix(const std::string &s)
{
    numberSuffix_ = s;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetShowLineNumbers(bool v)
{
    showLineNumbers_ = v;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetShowModified(bool v)
{
    showModified_ = v;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetVisible(bool v)
{
    visible_ = v;
    Notify(TChange::Whole);
}

void TDodiGutter::SetShowLeadingZeros(bool v)
{
    showLeadingZeros_ = v;
    Notify(TChange::Gutter);
}

void TDodiGutter::SetPlacement(int left, int top, int width)
{
    int height = rect_.Height();
    rect_ = {left, top, left + width, top + height};
}

void TDodiGutter::Assign(const TDodiGutter &other)
{
    digitCount_ = other.digitCount_;
    font_ = other.font_;
    borderColor_ = other.borderColor_;
    gutterWidth_ = other.gutterWidth_;
    gutterMargin_ = other.gutterMargin_;
    gutterColor_ = other.gutterColor_;
    gutterColorTo_ = other.gutterColorTo_;
    lineNumberStart_ = other.lineNumberStart_;
    lineNumberTextColor_ = other.lineNumberTextColor_;
    modifiedColorBkg_ = other.modifiedColorBkg_;
    modifiedColor_ = other.modifiedColor_;
    numberSuffix_ = other.numberSuffix_;
    showLineNumbers_ = other.showLineNumbers_;
    showModified_ = other.showModified_;
    visible_ = other.visible_;
    showLeadingZeros_ = other.showLeadingZeros_;
    rect_.right = rect_.left + gutterWidth_;
    Notify(TChange::Layout);
}

} // namespace tarnwick
