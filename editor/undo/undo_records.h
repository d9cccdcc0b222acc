// The undo records: what one editing operation did, kept by TDodiUndoList and
// replayed backwards (DoUndo) or forwards (DoRedo) through the editing
// operations that made it. Replay runs with auto-indent and auto-expand off,
// ignores overwrite mode and smart tabs, and records nothing, so a record put
// back on the text it was made on gives back exactly the text before (or
// after) the operation.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class TCustomDodi;

class TUndo {
public:
    TUndo(int startX, int startY, int endX, int endY, std::string text)
        : StartX(startX), StartY(startY), EndX(endX), EndY(endY), Text(std::move(text))
    {
    }
    virtual ~TUndo() = default;
    TUndo(const TUndo &) = delete;
    TUndo &operator=(const TUndo &) = delete;

    // Takes a newer record into this one; true when it did.
    virtual bool Merge(TUndo &newer);
    // The newer record begins where this one left the caret.
    bool StartsAtEndOf(const TUndo &older) const { return StartX == older.EndX && StartY == older.EndY; }
    virtual void DoUndo() {}
    virtual void DoRedo() {}

    // Set by the list when the record is added.
    TCustomDodi *Editor = nullptr;
    // Caret before and after the operation.
    int StartX;
    int StartY;
    int EndX;
    int EndY;
    // What the operation inserted or removed; meaning per class. In the
    // character records a CR stands for a line break.
    std::string Text;
};

// Typed characters, Tab spaces, new lines (CR and the indent), smart-tab spaces.
class TInsertCharUndo : public TUndo {
public:
    using TUndo::TUndo;
    bool Merge(TUndo &newer) override;
    void DoUndo() override;
    void DoRedo() override;
};

// Characters removed by Delete or Backspace, and line joins (CR). A run of
// Delete presses keeps its text newest first: undo types each character back
// at the start, which puts the run back in its order.
class TDeleteCharUndo : public TUndo {
public:
    TDeleteCharUndo(int startX, int startY, int endX, int endY, std::string text, bool isBackspace)
        : TUndo(startX, startY, endX, endY, std::move(text)), IsBackspace(isBackspace)
    {
    }
    bool Merge(TUndo &newer) override;
    void DoUndo() override;
    void DoRedo() override;

    bool IsBackspace;
};

// A deleted line. Where it goes back depends on what the deletion did.
class TDeleteLineUndo : public TUndo {
public:
    enum TPlace : uint8_t {
        dlRemoved,     // a line with a line below it was removed
        dlRemovedLast, // the last line was removed; the caret went up
        dlEmptied,     // the only line was emptied
    };
    TDeleteLineUndo(int startX, int startY, int endX, int endY, std::string text, TPlace place)
        : TUndo(startX, startY, endX, endY, std::move(text)), Place(place)
    {
    }
    void DoUndo() override;
    void DoRedo() override;

    TPlace Place;
};

class TSelUndo : public TUndo {
public:
    TSelUndo(int startX, int startY, int endX, int endY, std::string text, int selStartX, int selStartY,
             int selEndX, int selEndY)
        : TUndo(startX, startY, endX, endY, std::move(text)), SelStartX(selStartX), SelStartY(selStartY),
          SelEndX(selEndX), SelEndY(selEndY)
    {
    }

    // The normalised selection the operation acted on.
    int SelStartX;
    int SelStartY;
    int SelEndX;
    int SelEndY;

protected:
    void SelectStored();
};

// A deleted selection; Text holds its lines joined by CR LF.
class TDeleteBufUndo : public TSelUndo {
public:
    using TSelUndo::TSelUndo;
    void DoUndo() override;
    void DoRedo() override;
};

// Text put in by InsertText (paste and every multi-character insertion).
class TPasteUndo : public TUndo {
public:
    using TUndo::TUndo;
    void DoUndo() override;
    void DoRedo() override;
};

// A checker's correction of one line: Text is the line before the correction;
// undo and redo swap it with the line's current text.
class TCorrectUndo : public TUndo {
public:
    TCorrectUndo(int line, std::string oldText) : TUndo(-1, -1, -1, line, std::move(oldText)) {}
    void DoUndo() override { Swap(); }
    void DoRedo() override { Swap(); }

private:
    void Swap();
};

// Characters typed in overwrite mode. Text holds the typed characters and
// OldText the ones they replaced, so undo can put them back; typing that goes
// on past the line end (and so inserts) continues the same record, making
// Text the longer of the two.
class TOverwriteUndo : public TUndo {
public:
    TOverwriteUndo(int startX, int startY, int endX, int endY, std::string text, std::string oldText)
        : TUndo(startX, startY, endX, endY, std::move(text)), OldText(std::move(oldText))
    {
    }
    bool Merge(TUndo &newer) override;
    void DoUndo() override { Put(OldText, Text); }
    void DoRedo() override { Put(Text, OldText); }

    std::string OldText;

private:
    // Replaces `current` at the start column by `wanted`.
    void Put(const std::string &wanted, const std::string &current);
};

// Several records that together make one edit: an operation that pads the
// line or drops blanks records that apart from its own record, and all undo
// and redo as one step. Text stays empty; the parts hold the texts.
class TCompoundUndo : public TUndo {
public:
    explicit TCompoundUndo(std::vector<std::unique_ptr<TUndo>> parts);
    // A newer record continues the last part (typing on after a new line).
    bool Merge(TUndo &newer) override;
    void DoUndo() override;
    void DoRedo() override;

    const std::vector<std::unique_ptr<TUndo>> &Parts() const { return parts_; }

private:
    std::vector<std::unique_ptr<TUndo>> parts_;
};

} // namespace tarnwick
