// REdoDodiChecker: the base of checkers that mark or correct words and lines
// as the user types. The editor calls its hooks at fixed points of typing
// (CheckMode says which); this base does almost nothing and a subclass fills
// in the checks. Marks are wavy underlines (a line's UnderlineRanges);
// corrections are undoable through TCorrectUndo records.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

class TCustomDodi;

class REdoDodiChecker {
public:
    enum TCheckMode : uint8_t { NoCheck, LineCorrection, LineCheck, WordCorrection, WordCheck };

    REdoDodiChecker() = default;
    // The editor that uses the checker forgets it.
    virtual ~REdoDodiChecker();
    REdoDodiChecker(const REdoDodiChecker &) = delete;
    REdoDodiChecker &operator=(const REdoDodiChecker &) = delete;

    TCustomDodi *Editor() const { return editor_; }
    // Set by the editor's MemoChecker setter; cleared when that editor goes.
    void SetEditor(TCustomDodi *editor);
    TCheckMode CheckMode() const { return checkMode_; }
    void SetCheckMode(TCheckMode mode) { checkMode_ = mode; }

    // Base: clears the line's underlines.
    virtual void CheckLine(int line);
    virtual void CheckWord(int line, int column, const std::string &word) {}
    virtual void CorrectLine(int line) {}
    virtual void CorrectWord(int line, int column, std::string &word) {}
    // CheckLine / CorrectLine for every line, first to last.
    virtual void CheckAll();
    virtual void CorrectAll();

    // Records that `line` was corrected from `oldText`: one undo step that
    // puts the old text back. Called after the line was changed, within the
    // edit the hooks and CorrectAll bracket the subclass's work in.
    void RecordCorrection(int line, const std::string &oldText);
    // Replaces the line's text and records the correction, as one undo step.
    void CorrectLineText(int line, const std::string &text);

    // The text the hover hint shows over a cell the checker marked; false for
    // a cell it has nothing to say about.
    virtual bool HintAt(int line, int column, std::string &hint) const { return false; }

protected:
    // The checker starts or stops serving an editor; a destroying one may
    // not be called into.
    virtual void EditorAttached(TCustomDodi &editor) {}
    virtual void EditorDetached(TCustomDodi &editor, bool destroying) {}

private:
    TCustomDodi *editor_ = nullptr;
    TCheckMode checkMode_ = NoCheck;
};

} // namespace tarnwick
