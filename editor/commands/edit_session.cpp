#include "editor/commands/edit_session.h"

#include "editor/commands/edit_target.h"
#include "editor/undo/undo_list.h"

#include <exception>

namespace tarnwick {

TEditScope::TEditScope(TEditTarget &editor) : editor_(editor), uncaught_(std::uncaught_exceptions())
{
    TEditSession &session = editor_.EditSession();
    if (session.Depth++ == 0) {
        session.SavedChangeHandling = editor_.Flags().ChangeHandling;
        session.Pending = TChangeNotice::None;
    }
    editor_.Flags().ChangeHandling = false;
    editor_.UndoList().BeginEdit();
}

TEditScope::~TEditScope() noexcept(false)
{
    editor_.UndoList().EndEdit(std::uncaught_exceptions() == uncaught_);
    TEditSession &session = editor_.EditSession();
    if (--session.Depth > 0)
        return;
    editor_.Flags().ChangeHandling = session.SavedChangeHandling;
    const TChangeNotice notice = session.Pending;
    session.Pending = TChangeNotice::None;
    // While an exception unwinds, the handlers must not run: they could throw
    // a second time.
    if (std::uncaught_exceptions() != uncaught_ || !editor_.Flags().ChangeHandling)
        return;
    if (notice == TChangeNotice::Full) {
        editor_.LinesChanged();
    } else if (notice == TChangeNotice::Light) {
        editor_.Invalidate();
        editor_.DoChange();
    }
}

void TEditScope::Changed(TChangeNotice notice)
{
    TChangeNotice &pending = editor_.EditSession().Pending;
    if (static_cast<int>(notice) > static_cast<int>(pending))
        pending = notice;
}

bool TEditScope::Outermost() const { return editor_.EditSession().Depth == 1; }

} // namespace tarnwick
