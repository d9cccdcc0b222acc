// TDodiUndoList: the editor's history of undo records, newest first. Runs of
// typing and of deleting merge into one record; undo and redo replay records
// through the editing operations that made them.
#pragma once

#include "editor/undo/undo_records.h"

#include <deque>
#include <memory>
#include <vector>

namespace tarnwick {

class TCustomDodi;

class TDodiUndoList {
public:
    static constexpr int kDefaultLimit = 100;

    explicit TDodiUndoList(TCustomDodi *editor) : editor_(editor) {}
    ~TDodiUndoList();
    TDodiUndoList(const TDodiUndoList &) = delete;
    TDodiUndoList &operator=(const TDodiUndoList &) = delete;

    // 0 when the record was added; -1 when it was merged into the newest
    // record or dropped because a record is being replayed.
    int Add(std::unique_ptr<TUndo> record);
    void Undo();
    void Redo();
    void Clear();
    // Values <= 0 become 10, values above 100 become 100; a new limit empties
    // the history.
    void SetLimit(int n);
    // Records added until the matching EndGroup (groups nest) become one
    // step of the history, merged where they can be.
    void BeginGroup() { ++groupDepth_; }
    void EndGroup();

    int Count() const { return static_cast<int>(items_.size()); }
    // Index 0 is the newest record; null out of range.
    TUndo *Items(int index) const;
    // Records at the front that are undone (the redo side).
    int UndoPos() const { return undoPos_; }
    int Limit() const { return limit_; }
    bool CanUndo() const { return undoPos_ < Count(); }
    bool CanRedo() const { return undoPos_ > 0; }
    // True while a record is replayed: records offered meanwhile are dropped.
    bool Performing() const { return performing_; }
    void SetPerforming(bool v) { performing_ = v; }
    TCustomDodi *Editor() const { return editor_; }
    void SetEditor(TCustomDodi *editor) { editor_ = editor; }

private:
    void NotifyChange();
    int AddStep(std::unique_ptr<TUndo> record);
    // Replays one record with the settings that would disturb replay off.
    template <typename F>
    void Replay(F &&step);

    // items_[0] is the newest record; items_[0 .. undoPos_-1] are undone.
    std::deque<std::unique_ptr<TUndo>> items_;
    int undoPos_ = 0;
    TCustomDodi *editor_;
    bool performing_ = false;
    int limit_ = kDefaultLimit;
    int groupDepth_ = 0;
    std::vector<std::unique_ptr<TUndo>> group_;
};

// Keeps the records of one operation together as one history step.
class TUndoGroup {
public:
    explicit TUndoGroup(TDodiUndoList &list) : list_(list) { list_.BeginGroup(); }
    // Closing the group raises OnUndoChange, whose handler may throw.
    ~TUndoGroup() noexcept(false) { list_.EndGroup(); }
    TUndoGroup(const TUndoGroup &) = delete;
    TUndoGroup &operator=(const TUndoGroup &) = delete;

private:
    TDodiUndoList &list_;
};

} // namespace tarnwick
