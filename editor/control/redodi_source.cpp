// Attaching and detaching: the text and its history stay in the source; the
// view state, bookmarks, read-only flag and the text's change notification
// move between source and editor.
#include "editor/control/redodi_source.h"

#include "editor/control/custom_dodi.h"
#include "editor/highlight/styler.h"
#include "editor/undo/undo_list.h"

namespace tarnwick {

REdoDodiSource::REdoDodiSource()
    : lines_(std::make_unique<REdoDodiStrings>()), undoList_(std::make_unique<TDodiUndoList>(nullptr))
{
    undoList_->Attach(lines_.get());
}

REdoDodiSource::~REdoDodiSource()
{
    if (styler_)
        styler_->RemoveFreeNotification(*this);
    if (editor_)
        Detach(false);
    undoList_->Attach(nullptr);
    // Every editor naming the source forgets it (destroyNotifier_ goes first).
}

void REdoDodiSource::SetSyntaxStyler(TCustomDodiStyler *styler)
{
    if (styler == styler_)
        return;
    if (styler_) {
        styler_->RemoveFreeNotification(*this);
        if (editor_ && editor_->SyntaxStyles() != styler_)
            styler_->DetachEditor(*editor_);
    }
    styler_ = styler;
    if (styler_) {
        styler_->FreeNotification(*this);
        if (editor_)
            styler_->AttachEditor(*editor_, editor_->CaseSensitive());
    }
    if (editor_)
        editor_->StylerSwitched();
}

void REdoDodiSource::StylerDestroyed(const TCustomDodiStyler &styler)
{
    if (&styler != styler_)
        return;
    styler_ = nullptr;
    if (editor_)
        editor_->StylerSwitched();
}

TColor REdoDodiSource::StylerBackground() const { return editor_ ? editor_->BkColor() : clWhite; }

void REdoDodiSource::SetLines(const std::vector<std::string> &lines)
{
    lines_->Clear();
    lines_->AddStrings(lines);
}

bool REdoDodiSource::ReadOnly() const { return editor_ ? editor_->ReadOnly() : readOnly_; }

void REdoDodiSource::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (editor_)
        editor_->SetReadOnly(readOnly);
}

void REdoDodiSource::SetEditor(TCustomDodi *editor)
{
    if (editor == editor_)
        return;
    if (editor_)
        Detach(false);
    if (editor)
        Attach(*editor);
}

void REdoDodiSource::Detach(bool editorDestroying)
{
    TCustomDodi &editor = *editor_;
    editor_ = nullptr;
    lines_->SetOwnerMemo(nullptr);
    lines_->OnChange = nullptr;
    undoList_->SetEditor(nullptr);
    if (editorDestroying)
        return;
    editor.DestroyNotifier().Unsubscribe(this);
    if (styler_ && editor.SyntaxStyles() != styler_)
        styler_->DetachEditor(editor);
    readOnly_ = editor.ReadOnly();
    const TCaretState &caret = editor.CaretState();
    viewState_ = {
        {caret.CaretCol, caret.CaretLine}, editor.LeftColumn(), editor.TopLine(), caret.SelStart, caret.SelEnd};
    bookmarks_.Clear();
    if (editor.Bookmarks().Slots.Count() == TBookmarks::kSlots)
        bookmarks_ = editor.Bookmarks().Slots;
    editor.SourceDetached(*this);
}

void REdoDodiSource::Attach(TCustomDodi &editor)
{
    editor_ = &editor;
    editor.DestroyNotifier().Subscribe(this, [this] { Detach(true); });
    if (styler_)
        styler_->AttachEditor(editor, editor.CaseSensitive());
    lines_->SetOwnerMemo(&editor);
    lines_->SetTabSize(editor.TabSize());
    lines_->OnChange = [&editor](REdoDodiStrings &) { editor.LinesChanged(); };
    undoList_->SetEditor(&editor);
    TCaretState &caret = editor.CaretState();
    caret.CaretCol = viewState_.Caret.Col;
    caret.CaretLine = viewState_.Caret.Line;
    caret.SelStart = viewState_.SelStart;
    caret.SelEnd = viewState_.SelEnd;
    caret.SelAnchor = viewState_.SelEnd;
    if (bookmarks_.Count() == TBookmarks::kSlots)
        editor.Bookmarks().Slots = bookmarks_;
    editor.SetReadOnly(readOnly_);
    editor.SourceAttached(*this, viewState_.LeftColumn, viewState_.TopLine);
}

} // namespace tarnwick
