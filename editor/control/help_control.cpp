// The control's side of completion, parameter hints and hover hints: the
// keys that open them, the characters that start the completion timer, and
// the hint the control shows over a cell.
#include "editor/base/utf8.h"
#include "editor/control/completion.h"
#include "editor/control/custom_dodi.h"
#include "editor/control/parameter_hint.h"
#include "editor/control/redodi_checker.h"
#include "editor/input/mouse_input.h"

namespace tarnwick {

void TCustomDodi::OpenCompletionByKey() { completion_->OpenByKey(); }

void TCustomDodi::ShowParameterHintByKey()
{
    if (autoHintParameters_ != hpNone)
        parameterHint_->Show();
}

bool TCustomDodi::StartsCompletion(char32_t c) const { return autoCompletion_->IsStartChar(c); }

TPoint TCustomDodi::CaretCellOrigin() const
{
    return view_->Rows().CellOrigin({caretState_.CaretCol, caretState_.CaretLine});
}

// The word handler speaks first; the token handler when it did not run,
// found no word, or declined.
bool TCustomDodi::HintAt(int x, int y, std::string &hint, TRect *area)
{
    const int gutter = gutter_->Visible() ? gutter_->GutterWidth() : 0;
    if (x <= gutter || viewState_.LineHeight <= 0 || viewState_.CharWidth <= 0)
        return false;
    const TCaretPos cell = mouse_->CellAt(x, y);
    mouse_->State().HintCell = cell;
    if (area) {
        const TPoint origin = view_->Rows().CellOrigin(cell);
        *area = {origin.x, origin.y, origin.x + viewState_.CharWidth, origin.y + viewState_.LineHeight};
    }
    if (memoChecker_ && memoChecker_->HintAt(cell.Line, cell.Col, hint))
        return true;
    const TLinePlace place = completion_->PlaceAt(cell.Col, cell.Line);
    if (place.Text.data() == nullptr || cell.Col >= place.Length)
        return false;
    bool show = true;
    bool asked = false;
    if (OnHintForWord) {
        const std::string word = TextOf(place, WordAround(place, [this](char32_t c) { return IsDelimiter(c); }));
        if (!word.empty()) {
            hint = word;
            OnHintForWord(*this, cell.Col, cell.Line, word, hint, show);
            if (show)
                return true;
            asked = true;
        }
    }
    if (OnHintForToken) {
        const std::string token = TextOf(place, WordAround(place, [this](char32_t c) { return IsTokenDelimiter(c); }));
        if (!token.empty()) {
            hint = token;
            if (!asked)
                show = true;
            OnHintForToken(*this, cell.Col, cell.Line, token, hint, show);
            return show;
        }
    }
    return false;
}

} // namespace tarnwick
