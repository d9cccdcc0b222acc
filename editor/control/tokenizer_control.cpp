// TCustomDodi's highlighting: the control owns one tokenizer and hands it the
// settings, the active line store and the stored top-line state.
#include "editor/control/custom_dodi.h"

namespace tarnwick {

TTokenizerSettings TCustomDodi::TokenizerSettings() const
{
    return {ActiveStyler(), useStyler_, caseSensitive_, urlAware_};
}

void TCustomDodi::PrepareTokenizer() { tokenizer_.Prepare(TokenizerSettings()); }

RunState TCustomDodi::ComputeTopState(int line)
{
    PrepareTokenizer();
    REdoDodiStrings &lines = *ActiveLines();
    return tokenizer_.ComputeTopState(lines, lines.StateTracker(), line);
}

RunState TCustomDodi::TopLineState()
{
    PrepareTokenizer();
    REdoDodiStrings &lines = *ActiveLines();
    return tokenizer_.TopLineState(lines, lines.StateTracker(), viewState_.TopLine, viewState_.TopStateLine,
                                   viewState_.TopState);
}

} // namespace tarnwick
