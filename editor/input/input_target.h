// TInputTarget: what keyboard and mouse input need of the editor beyond its
// commands and view: clipboard, undo, the gutter's and folding's mouse
// operations, and the pointer and completion state. The control implements it.
#pragma once

#include "editor/commands/edit_target.h"
#include "editor/platform/dodi_timer.h"

#include <string>

namespace tarnwick {

class TDodiKeyboard;
class TMouseInput;
class TPopupMenu;

class TInputTarget : public TEditTarget {
public:
    // ---- commands the keys and the context menu run ----
    virtual int SelLength() const = 0;
    virtual void SelectAll() = 0;
    virtual void CopyToClipboard() = 0;
    virtual void CutToClipboard() = 0;
    virtual void PasteFromClipboard() = 0;
    virtual void DeleteSelection(bool repaint = true) = 0;
    virtual void InsertText(const std::string &text) = 0;
    virtual void DeleteLine() = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;

    // ---- the input collaborators ----
    virtual TDodiKeyboard &Keyboard() = 0;
    virtual TMouseInput &Mouse() = 0;

    // ---- gutter and folding under the mouse ----
    // The existing line whose gutter row holds (x, y), else -1.
    virtual int GutterLineAt(int x, int y) const = 0;
    virtual void GutterMouseDown(TMouseButton button, int x, int y) = 0;
    // True when the double click ends in the gutter.
    virtual bool GutterDblClick(int x, int y) = 0;
    // Folding operations the mouse uses (fold_hooks.cpp).
    virtual void ToggleRegion(int line) = 0;
    virtual void SetExpanded(int line, bool expanded) = 0;
    // For a region start whose first word names a definition that shows its
    // comments: true, with the definition's index and the summary text.
    virtual bool RegionSummary(int line, int &definitionIndex, std::string &summary) const = 0;

    // ---- settings and pop-ups ----
    virtual void SetAutoExpand(bool v) = 0;
    virtual TCursor Cursor() const = 0;
    virtual bool DelErase() const = 0;
    virtual TPopupMenu *PopupMenu() const = 0;
    virtual bool ShowHint() const = 0;
    virtual bool UrlAware() const = 0;
    virtual TDodiTimer &CompletionTimer() = 0;
    // True while the completion pop-up may open (the AutoCompletion settings).
    virtual bool AutoCompletionActive() const = 0;
    // Typing `c` starts the completion timer.
    virtual bool StartsCompletion(char32_t c) const = 0;
    // Ctrl+Space and Ctrl+Shift+Space.
    virtual void OpenCompletionByKey() = 0;
    virtual void ShowParameterHintByKey() = 0;
    // A word-ending character is about to be typed: the checker's hooks and
    // auto-correct run on the word before the caret.
    virtual void WordEnding(char32_t ch) = 0;
};

} // namespace tarnwick
