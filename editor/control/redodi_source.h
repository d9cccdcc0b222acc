// REdoDodiSource: a text kept outside any editor (its lines, their undo
// history, a styler and a read-only flag). An editor whose MemoSource names
// the source shows and edits the source's text instead of its own, and hands
// its view state and bookmarks back when it lets go; so one editor can switch
// between documents, each in a source of its own.
#pragma once

#include "editor/base/destroy_notifier.h"
#include "editor/base/editor_types.h"
#include "editor/base/int_list.h"
#include "editor/highlight/styler_client.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class REdoDodiStrings;
class TCustomDodi;
class TCustomDodiStyler;
class TDodiUndoList;

class REdoDodiSource : public TStylerClient {
public:
    // Where the last editor that let go of the source stood.
    struct TViewState {
        TCaretPos Caret;
        int LeftColumn = 0;
        int TopLine = 0;
        TCaretPos SelStart;
        TCaretPos SelEnd;
    };

    REdoDodiSource();
    // An editor that uses the source goes back to its own text.
    ~REdoDodiSource() override;
    REdoDodiSource(const REdoDodiSource &) = delete;
    REdoDodiSource &operator=(const REdoDodiSource &) = delete;

    TCustomDodiStyler *SyntaxStyler() const { return styler_; }
    void SetSyntaxStyler(TCustomDodiStyler *styler);
    REdoDodiStrings *Lines() { return lines_.get(); }
    // Clears the text and appends the given lines.
    void SetLines(const std::vector<std::string> &lines);
    TDodiUndoList &UndoList() { return *undoList_; }
    // The editor attached, at most one; set by that editor's MemoSource.
    TCustomDodi *Editor() const { return editor_; }
    void SetEditor(TCustomDodi *editor);
    // While an editor is attached this is the editor's ReadOnly.
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    const TViewState &ViewState() const { return viewState_; }
    // The detached editor's ten bookmarks; empty before a first detach.
    const TIntList &Bookmarks() const { return bookmarks_; }
    // Editors that name the source subscribe here to forget it when it goes.
    TDestroyNotifier &DestroyNotifier() { return destroyNotifier_; }

    TColor StylerBackground() const override;
    void StylerChanged(const TCustomDodiStyler &styler) override {}
    void StylerDestroyed(const TCustomDodiStyler &styler) override;

private:
    void Detach(bool editorDestroying);
    void Attach(TCustomDodi &editor);

    std::unique_ptr<REdoDodiStrings> lines_;
    std::unique_ptr<TDodiUndoList> undoList_;
    TCustomDodiStyler *styler_ = nullptr;
    TCustomDodi *editor_ = nullptr;
    bool readOnly_ = false;
    TViewState viewState_;
    TIntList bookmarks_;
    // Last, so that it tells the editors while the rest is still whole.
    TDestroyNotifier destroyNotifier_;
};

} // namespace tarnwick
