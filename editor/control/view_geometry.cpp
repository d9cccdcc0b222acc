// Where things sit in the control's client area and how lines map to rows:
// the view works them out from the control's fields.
#include "editor/control/custom_dodi.h"

namespace tarnwick {

TRect TCustomDodi::TextArea() const { return view_->TextArea(); }
TRect TCustomDodi::FoldColumn() const { return view_->FoldColumn(); }
TRect TCustomDodi::ScrollBarRect(TScrollBarKind bar) const { return view_->ScrollBarRect(bar); }
int TCustomDodi::VisibleRows() const { return view_->VisibleRows(); }
int TCustomDodi::VisibleColumns() const { return view_->VisibleColumns(); }
int TCustomDodi::RowOfLine(int line) const { return VisibleIndexOf(line) - TopRow(); }
int TCustomDodi::VisibleIndexOf(int line) const { return view_->VisibleIndexOf(line); }
int TCustomDodi::LineOfVisibleIndex(int index) const { return view_->LineOfVisibleIndex(index); }

} // namespace tarnwick
