// The completion settings, and the changes the editor passes on at once.
#include "editor/control/auto_completion.h"

#include "editor/base/utf8.h"

namespace tarnwick {

TAutoCompletion::TAutoCompletion()
{
    // The toolkit's default font: a proportional UI face at 8 points.
    font_.Name = "Tahoma";
    font_.SetSize(8);
}

void TAutoCompletion::Notify(TChange change)
{
    if (OnChange)
        OnChange(change);
}

void TAutoCompletion::SetDelay(int ms)
{
    delay_ = ms;
    Notify(TChange::Delay);
}

void TAutoCompletion::SetColor(TColor c)
{
    color_ = c;
    Notify(TChange::Color);
}

void TAutoCompletion::SetFont(const TFont &f)
{
    font_ = f;
    Notify(TChange::Font);
}

namespace {

bool Holds(const std::string &chars, char32_t c)
{
    for (int i = 0, n = utf8::Length(chars); i < n; ++i)
        if (utf8::At(chars, i) == c)
            return true;
    return false;
}

} // namespace

bool TAutoCompletion::IsStartChar(char32_t c) const { return Holds(startChars_, c); }
bool TAutoCompletion::IsWordDelimiter(char32_t c) const { return Holds(wordDelimiters_, c); }

} // namespace tarnwick
