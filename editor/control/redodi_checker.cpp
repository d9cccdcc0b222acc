#include "editor/control/redodi_checker.h"

#include "editor/control/custom_dodi.h"
#include "editor/undo/undo_list.h"

namespace tarnwick {

namespace {

// The subclass's changes of the text and its correction records land in one
// step: changes made outside an edit would join the step before.
class TCorrectionEdit {
public:
    explicit TCorrectionEdit(TCustomDodi &editor) : list_(editor.UndoList()) { list_.BeginEdit(); }
    ~TCorrectionEdit() { list_.EndEdit(); }
    TCorrectionEdit(const TCorrectionEdit &) = delete;
    TCorrectionEdit &operator=(const TCorrectionEdit &) = delete;

private:
    TDodiUndoList &list_;
};

} // namespace

REdoDodiChecker::~REdoDodiChecker()
{
    if (editor_) {
        editor_->DestroyNotifier().Unsubscribe(this);
        editor_->CheckerRemoved(this);
    }
}

void REdoDodiChecker::SetEditor(TCustomDodi *editor)
{
    if (editor == editor_)
        return;
    if (TCustomDodi *previous = editor_) {
        previous->DestroyNotifier().Unsubscribe(this);
        editor_ = nullptr;
        EditorDetached(*previous, false);
    }
    editor_ = editor;
    if (!editor_)
        return;
    editor_->DestroyNotifier().Subscribe(this, [this] {
        TCustomDodi *dying = editor_;
        editor_ = nullptr;
        EditorDetached(*dying, true);
    });
    EditorAttached(*editor_);
}

void REdoDodiChecker::CheckLine(int line)
{
    if (!editor_)
        return;
    if (TLineProp *prop = editor_->ActiveLines()->LinePropOf(line); prop && prop->UnderlineRanges) {
        prop->ClearUnderlines();
        editor_->Invalidate();
    }
}

void REdoDodiChecker::CheckAll()
{
    if (!editor_)
        return;
    for (int line = 0; editor_ && line < editor_->ActiveLines()->Count(); ++line)
        CheckLine(line);
}

void REdoDodiChecker::CorrectAll()
{
    if (!editor_)
        return;
    for (int line = 0; editor_ && line < editor_->ActiveLines()->Count(); ++line) {
        TCorrectionEdit edit(*editor_);
        CorrectLine(line);
    }
}

void REdoDodiChecker::RecordCorrection(int line, const std::string &oldText)
{
    if (editor_)
        editor_->UndoList().Add(std::make_unique<TCorrectUndo>(line, oldText));
}

void REdoDodiChecker::CorrectLineText(int line, const std::string &text)
{
    if (!editor_ || line < 0 || line >= editor_->ActiveLines()->Count())
        return;
    TCorrectionEdit edit(*editor_);
    const std::string old = editor_->ActiveLines()->Get(line);
    if (old == text)
        return;
    editor_->ActiveLines()->Put(line, text);
    RecordCorrection(line, old);
}

} // namespace tarnwick
