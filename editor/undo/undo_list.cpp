#include "editor/undo/undo_list.h"

#include "editor/control/custom_dodi.h"

namespace tarnwick {

TDodiUndoList::~TDodiUndoList() = default;

TUndo *TDodiUndoList::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[index].get();
}

int TDodiUndoList::Add(std::unique_ptr<TUndo> record)
{
    if (!record || performing_)
        return -1;
    record->Editor = editor_;
    if (groupDepth_ > 0) {
        if (group_.empty() || !group_.back()->Merge(*record))
            group_.push_back(std::move(record));
        return 0;
    }
    return AddStep(std::move(record));
}

void TDodiUndoList::EndGroup()
{
    if (groupDepth_ == 0 || --groupDepth_ > 0 || group_.empty())
        return;
    std::vector<std::unique_ptr<TUndo>> parts = std::move(group_);
    group_.clear();
    if (parts.size() == 1)
        AddStep(std::move(parts.front()));
    else
        AddStep(std::make_unique<TCompoundUndo>(std::move(parts)));
}

int TDodiUndoList::AddStep(std::unique_ptr<TUndo> record)
{
    // Only a record that is not undone takes a newer one in: merged into an
    // undone record, the edit would stay on the redo side and be dropped
    // with it by the next edit.
    if (undoPos_ == 0 && !items_.empty() && items_.front()->Merge(*record))
        return -1;
    record->Editor = editor_;
    items_.erase(items_.begin(), items_.begin() + undoPos_);
    undoPos_ = 0;
    items_.push_front(std::move(record));
    if (Count() > limit_)
        items_.pop_back();
    NotifyChange();
    return 0;
}

template <typename F>
void TDodiUndoList::Replay(F &&step)
{
    TCustomDodi &ed = *editor_;
    // Auto-indent would add spaces to a replayed line break and auto-expand
    // would pad lines when the caret is put back: neither was part of the
    // recorded text. Restored also when a handler throws.
    struct Settings {
        TCustomDodi &ed;
        bool autoIndent = ed.AutoIndent();
        bool autoExpand = ed.AutoExpand();
        bool &performing;
        ~Settings()
        {
            ed.SetAutoIndent(autoIndent);
            ed.SetAutoExpand(autoExpand);
            performing = false;
        }
    } saved{ed, ed.AutoIndent(), ed.AutoExpand(), performing_};
    ed.SetAutoIndent(false);
    ed.SetAutoExpand(false);
    performing_ = true;
    step();
}

void TDodiUndoList::Undo()
{
    if (!editor_ || undoPos_ >= Count())
        return;
    TUndo &record = *items_[undoPos_];
    Replay([&] {
        TCustomDodi &ed = *editor_;
        ed.SetCaretLine(record.EndY);
        ed.SetCaretCol(record.EndX);
        record.DoUndo();
        ed.SetCaretLine(record.StartY);
        ed.SetCaretCol(record.StartX);
    });
    ++undoPos_;
    NotifyChange();
}

void TDodiUndoList::Redo()
{
    if (!editor_ || undoPos_ <= 0)
        return;
    TUndo &record = *items_[undoPos_ - 1];
    Replay([&] {
        TCustomDodi &ed = *editor_;
        ed.SetCaretLine(record.StartY);
        ed.SetCaretCol(record.StartX);
        record.DoRedo();
        ed.SetCaretLine(record.EndY);
        ed.SetCaretCol(record.EndX);
    });
    --undoPos_;
    NotifyChange();
}

void TDodiUndoList::Clear()
{
    items_.clear();
    undoPos_ = 0;
    NotifyChange();
}

void TDodiUndoList::SetLimit(int n)
{
    if (n == limit_)
        return;
    if (n <= 0)
        n = 10;
    else if (n > 100)
        n = 100;
    limit_ = n;
    Clear();
}

void TDodiUndoList::NotifyChange()
{
    if (editor_ && !editor_->Destroying() && editor_->OnUndoChange)
        editor_->OnUndoChange(*editor_, CanUndo(), CanRedo());
}

} // namespace tarnwick
