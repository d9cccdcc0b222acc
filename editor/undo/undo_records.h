// The undo records: what one editing operation did, kept by TDodiUndoList.
// Each holds the text edits its operation made (Edits); undo takes them back
// newest first and redo makes them again, so a record put back on the text it
// was made on gives back exactly the text before (or after) the operation,
// whatever the editor's settings. The other fields say where the caret and
// selection go and which records merge into one step.
#pragma once

#include "editor/undo/text_edit.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class TUndoClient;

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
    // Take the edits back (or make them again) and collapse the selection;
    // the list then puts the caret at the start (or end).
    virtual void DoUndo();
    virtual void DoRedo();

    // Set by the list when the record is added.
    TUndoClient *Editor = nullptr;
    // Caret before and after the operation.
    int StartX;
    int StartY;
    int EndX;
    int EndY;
    // What the operation inserted or removed; meaning per class. In the
    // character records a CR stands for a line break.
    std::string Text;
    // The edits of the text the operation made, oldest first.
    TTextEdits Edits;
};

// Typed characters, Tab spaces, new lines (CR and the indent), smart-tab spaces.
class TInsertCharUndo : public TUndo {
public:
    using TUndo::TUndo;
    bool Merge(TUndo &newer) override;
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

    bool IsBackspace;
};

// A deleted line; Place says what the deletion did.
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

    TPlace Place;
};

class TSelUndo : public TUndo {
public:
    TSelUndo(int startX, int startY, int endX, int endY, std::string text, int selStartX, int selStartY, int selEndX,
             int selEndY)
        : TUndo(startX, startY, endX, endY, std::move(text)), SelStartX(selStartX), SelStartY(selStartY),
          SelEndX(selEndX), SelEndY(selEndY)
    {
    }

    // The normalised selection the operation acted on.
    int SelStartX;
    int SelStartY;
    int SelEndX;
    int SelEndY;
};

// A deleted selection; Text holds its lines joined by CR LF. Undo selects the
// text it puts back.
class TDeleteBufUndo : public TSelUndo {
public:
    using TSelUndo::TSelUndo;
    void DoUndo() override;
};

// Text put in by InsertText (paste and every multi-character insertion).
class TPasteUndo : public TUndo {
public:
    using TUndo::TUndo;
};

// A checker's correction of one line: Text is the line before the correction.
class TCorrectUndo : public TUndo {
public:
    TCorrectUndo(int line, std::string oldText) : TUndo(-1, -1, -1, line, std::move(oldText)) {}
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

    std::string OldText;
};

// Several records that together make one edit (an operation built from
// smaller ones), undone and redone as one step. Text stays empty; the parts
// keep their fields, and the compound holds all their edits in order.
class TCompoundUndo : public TUndo {
public:
    explicit TCompoundUndo(std::vector<std::unique_ptr<TUndo>> parts);
    // A newer record continues the last part (typing on after a new line).
    bool Merge(TUndo &newer) override;

    const std::vector<std::unique_ptr<TUndo>> &Parts() const { return parts_; }

private:
    std::vector<std::unique_ptr<TUndo>> parts_;
};

} // namespace tarnwick
