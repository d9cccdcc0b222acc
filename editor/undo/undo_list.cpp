#include "editor/undo/undo_list.h"

#include "editor/document/line_store.h"
#include "editor/undo/undo_client.h"

namespace tarnwick {

TDodiUndoList::~TDodiUndoList() { Attach(nullptr); }

void TDodiUndoList::Attach(REdoDodiStrings *lines)
{
    if (lines_)
        lines_->RemoveListener(this);
    lines_ = lines;
    if (lines_)
        lines_->AddListener(this);
    pending_.clear();
}

TUndo *TDodiUndoList::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[index].get();
}

void TDodiUndoList::LinesChanging(REdoDodiStrings &lines, const TLinesChange &change)
{
    if (replaying_)
        return;
    if (change.Kind == TLinesChange::lcEdit) {
        removedText_ = lines.Get(change.Line).substr(change.Start, change.OldLength);
    } else if (change.Kind == TLinesChange::lcRemove) {
        removedLines_.clear();
        removedLines_.reserve(change.Count);
        for (int i = change.Line; i < change.Line + change.Count; ++i)
            removedLines_.push_back(lines.Get(i));
        removedEnds_ = lines.LineEnds(change.Line, change.Count);
    } else if (change.Kind == TLinesChange::lcEnds) {
        removedEnds_ = lines.LineEnds(change.Line, change.Count);
        styleBefore_ = lines.LineEndStyle();
    }
}

void TDodiUndoList::LinesChanged(REdoDodiStrings &lines, const TLinesChange &change)
{
    if (replaying_)
        return;
    TTextEdit edit;
    edit.Line = change.Line;
    switch (change.Kind) {
    case TLinesChange::lcEdit:
        edit.Kind = TTextEdit::teReplace;
        edit.Start = change.Start;
        edit.Removed = std::move(removedText_);
        edit.Inserted = lines.Get(change.Line).substr(change.Start, change.NewLength);
        break;
    case TLinesChange::lcInsert:
        edit.Kind = TTextEdit::teInsert;
        edit.Lines.reserve(change.Count);
        for (int i = change.Line; i < change.Line + change.Count; ++i)
            edit.Lines.push_back(lines.Get(i));
        edit.Ends = lines.LineEnds(change.Line, change.Count);
        break;
    case TLinesChange::lcRemove:
        edit.Kind = TTextEdit::teRemove;
        edit.Lines = std::move(removedLines_);
        edit.Ends = std::move(removedEnds_);
        break;
    case TLinesChange::lcEnds:
        edit.Kind = TTextEdit::teEnds;
        edit.Removed = std::move(removedEnds_);
        edit.Inserted = lines.LineEnds(change.Line, change.Count);
        edit.StyleBefore = styleBefore_;
        edit.StyleAfter = lines.LineEndStyle();
        break;
    default:
        // The whole text was replaced: nothing recorded before still fits it.
        Clear();
        return;
    }
    removedText_.clear();
    removedLines_.clear();
    removedEnds_.clear();
    AppendEdit(pending_, std::move(edit));
    if (editDepth_ == 0 && !performing_)
        Settle();
}

void TDodiUndoList::DropRedoSide()
{
    if (undoPos_ == 0)
        return;
    items_.erase(items_.begin(), items_.begin() + undoPos_);
    undoPos_ = 0;
    NotifyChange();
}

void TDodiUndoList::Settle()
{
    if (pending_.empty())
        return;
    DropRedoSide();
    TUndo *newest = groupDepth_ > 0 && !group_.empty() ? group_.back().get()
                    : items_.empty()                   ? nullptr
                                                       : items_.front().get();
    if (!newest) {
        // Nothing to join (trailing blanks trimmed before the first edit, say):
        // the changes are a step of their own, so undo still reaches the text
        // as it was loaded.
        const TCaretPos caret = editor_ ? editor_->UndoCaret() : TCaretPos{};
        auto record = std::make_unique<TUndo>(caret.Col, caret.Line, caret.Col, caret.Line, "");
        record->Edits = std::move(pending_);
        pending_.clear();
        AddStep(std::move(record));
        return;
    }
    for (TTextEdit &edit : pending_)
        AppendEdit(newest->Edits, std::move(edit));
    pending_.clear();
}

void TDodiUndoList::EndEdit(bool settle)
{
    if (editDepth_ > 0 && --editDepth_ == 0 && settle)
        Settle();
}

int TDodiUndoList::Add(std::unique_ptr<TUndo> record)
{
    if (!record || performing_ || replaying_)
        return -1;
    record->Editor = editor_;
    if (groupDepth_ > 0) {
        if (!group_.empty() && group_.back()->Merge(*record)) {
            TakePending(*group_.back());
        } else {
            TakePending(*record);
            group_.push_back(std::move(record));
        }
        return 0;
    }
    return AddStep(std::move(record));
}

// A record merged into the newest one adds its edits there: typing a run of
// characters then grows one edit instead of making one per key.
void TDodiUndoList::TakePending(TUndo &record)
{
    if (record.Edits.empty()) {
        std::swap(record.Edits, pending_);
    } else {
        for (TTextEdit &edit : pending_)
            AppendEdit(record.Edits, std::move(edit));
    }
    pending_.clear();
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
    if (undoPos_ == 0 && !items_.empty() && items_.front()->Merge(*record)) {
        for (TTextEdit &edit : record->Edits)
            AppendEdit(items_.front()->Edits, std::move(edit));
        TakePending(*items_.front());
        return -1;
    }
    TakePending(*record);
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
    // Restored also when a handler throws.
    struct Bracket {
        TUndoClient &ed;
        bool &replaying;
        Bracket(TUndoClient &e, bool &r) : ed(e), replaying(r)
        {
            replaying = true;
            ed.BeginReplay();
        }
        ~Bracket() noexcept(false)
        {
            replaying = false;
            ed.EndReplay();
        }
    } bracket(*editor_, replaying_);
    step();
}

void TDodiUndoList::Undo()
{
    Settle();
    if (!editor_ || undoPos_ >= Count())
        return;
    TUndo &record = *items_[undoPos_];
    Replay([&] {
        record.DoUndo();
        editor_->ReplayCaret(record.StartX, record.StartY);
    });
    ++undoPos_;
    NotifyChange();
}

void TDodiUndoList::Redo()
{
    Settle();
    if (!editor_ || undoPos_ <= 0)
        return;
    TUndo &record = *items_[undoPos_ - 1];
    Replay([&] {
        record.DoRedo();
        editor_->ReplayCaret(record.EndX, record.EndY);
    });
    --undoPos_;
    NotifyChange();
}

void TDodiUndoList::Clear()
{
    items_.clear();
    group_.clear();
    pending_.clear();
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
    if (editor_)
        editor_->UndoChanged(CanUndo(), CanRedo());
}

} // namespace tarnwick
