// TDodiUndoList: the editor's history of undo records, newest first. It
// listens to the line store and keeps every change of the text: the changes
// an operation makes go into the record it adds, so undo and redo give the
// text back exactly. Runs of typing and of deleting merge into one record.
#pragma once

#include "editor/document/lines_listener.h"
#include "editor/undo/undo_records.h"

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

class TUndoClient;

class TDodiUndoList : public TLinesListener {
public:
    static constexpr int kDefaultLimit = 100;

    explicit TDodiUndoList(TUndoClient *editor) : editor_(editor) {}
    ~TDodiUndoList() override;
    TDodiUndoList(const TDodiUndoList &) = delete;
    TDodiUndoList &operator=(const TDodiUndoList &) = delete;

    // The store whose changes are recorded; null stops recording.
    void Attach(REdoDodiStrings *lines);

    // 0 when the record was added; -1 when it was merged into the newest
    // record or dropped because a record is being replayed. The changes of the
    // text since the last record go into the record (or the one it merged into).
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
    // Brackets one editing operation (they nest). Changes of the text that no
    // record took by the time the outermost bracket closes, and changes made
    // outside any bracket, join the newest step, so that undo never leaves
    // them behind in the middle of older edits.
    void BeginEdit() { ++editDepth_; }
    // `settle` false (an exception is unwinding): the changes wait for the
    // next step instead of raising OnUndoChange now.
    void EndEdit(bool settle = true);

    int Count() const { return static_cast<int>(items_.size()); }
    // Index 0 is the newest record; null out of range.
    TUndo *Items(int index) const;
    // Records at the front that are undone (the redo side).
    int UndoPos() const { return undoPos_; }
    int Limit() const { return limit_; }
    bool CanUndo() const { return undoPos_ < Count(); }
    bool CanRedo() const { return undoPos_ > 0; }
    // True while an operation suspends recording: records offered meanwhile
    // are dropped, and the changes wait for the operation's own record.
    bool Performing() const { return performing_; }
    void SetPerforming(bool v) { performing_ = v; }
    TUndoClient *Editor() const { return editor_; }
    void SetEditor(TUndoClient *editor) { editor_ = editor; }

    void LinesChanging(REdoDodiStrings &lines, const TLinesChange &change) override;
    void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) override;

private:
    void NotifyChange();
    int AddStep(std::unique_ptr<TUndo> record);
    // Moves the changes no record has taken yet into `record`.
    void TakePending(TUndo &record);
    // Hands changes no record took to the newest step.
    void Settle();
    void DropRedoSide();
    // Undo or redo of one record, bracketed for the editor.
    template <typename F>
    void Replay(F &&step);

    // items_[0] is the newest record; items_[0 .. undoPos_-1] are undone.
    std::deque<std::unique_ptr<TUndo>> items_;
    int undoPos_ = 0;
    TUndoClient *editor_;
    REdoDodiStrings *lines_ = nullptr;
    bool performing_ = false;
    // A record is being undone or redone: its own edits are not recorded.
    bool replaying_ = false;
    int limit_ = kDefaultLimit;
    int groupDepth_ = 0;
    int editDepth_ = 0;
    std::vector<std::unique_ptr<TUndo>> group_;
    // Changes of the text that no record has taken yet.
    TTextEdits pending_;
    // What a change about to happen removes, read before it goes.
    std::string removedText_;
    std::vector<std::string> removedLines_;
    std::string removedEnds_;
    uint8_t styleBefore_ = 0;
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
