// TCustomDodi's highlighting: the control owns one tokenizer; the view
// prepares it from the settings and keeps the top line's state.
#include "editor/control/custom_dodi.h"

namespace tarnwick {

void TCustomDodi::PrepareTokenizer() { view_->PrepareTokenizer(); }
RunState TCustomDodi::ComputeTopState(int line) { return view_->ComputeTopState(line); }
RunState TCustomDodi::TopLineState() { return view_->TopLineState(); }

} // namespace tarnwick
