#include "editor/control/find_dialog.h"

#include "editor/control/custom_dodi.h"
#include "editor/document/line_cells.h"
#include "editor/platform/host.h"

#include <algorithm>
#include <stdexcept>

namespace tarnwick {

namespace {

// Whether a search from the caret covers the whole text: down from the start
// of the first line, or up from the end of the last.
bool SearchCoversTheText(const TCustomDodi &ed, bool down)
{
    TCaretPos start, end;
    ed.NormalizedSelection(start, end);
    const int line = ed.CaretState().CaretLine;
    if (down)
        return line == 0 && !(start.Line == 0 && end.Line == 0 && end.Col > 0);
    const int last = ed.ActiveLines()->Count() - 1;
    return line >= last && !(start.Line == last && end.Line == last && start.Col < ed.ActiveLines()->LineLength(last));
}

// Puts the caret and an empty selection where a search from the other end
// begins.
void MoveToTheOtherEnd(TCustomDodi &ed, bool down)
{
    const int last = std::max(0, ed.ActiveLines()->Count() - 1);
    const TCaretPos edge = down ? TCaretPos{0, 0} : TCaretPos{ed.ActiveLines()->LineLength(last), last};
    ed.SetCaretLine(edge.Line);
    ed.SetCaretCol(edge.Col);
    TCaretState &caret = ed.CaretState();
    caret.SelStart = caret.SelEnd = edge;
}

} // namespace

REdoDodiFindDialog::REdoDodiFindDialog(std::unique_ptr<FindDialogWindow> window) : window_(std::move(window))
{
    window_->SetOptions({frDown});
    window_->OnFindNext = [this] { FindNext(window_->Options()); };
    window_->OnClose = [this] { DialogClosed(); };
}

REdoDodiFindDialog::~REdoDodiFindDialog()
{
    window_->OnFindNext = nullptr;
    window_->OnClose = nullptr;
    SetDidIzad(nullptr);
}

std::string REdoDodiFindDialog::FindText() const { return window_->FindText(); }

void REdoDodiFindDialog::SetDidIzad(TCustomDodi *editor)
{
    if (editor == didIzad_)
        return;
    if (didIzad_)
        didIzad_->DestroyNotifier().Unsubscribe(this);
    didIzad_ = editor;
    if (didIzad_)
        didIzad_->DestroyNotifier().Subscribe(this, [this] { didIzad_ = nullptr; });
}

void REdoDodiFindDialog::Execute()
{
    if (!didIzad_)
        throw std::runtime_error("No memo assigned.");
    TCaretState &caret = didIzad_->CaretState();
    caret.SelStart = caret.SelEnd = {0, 0};
    didIzad_->Flags().FindDialogOpen = true;
    didIzad_->Invalidate();

    window_->SetFindText(findText_);

    TPoint corner{didIzad_->Left(), didIzad_->Top()};
    if (Host *host = didIzad_->GetHost())
        corner = host->ClientToScreen(corner);
    const TSize desktop = window_->DesktopSize();
    if (!TRect{0, 0, desktop.cx, desktop.cy}.Contains(corner))
        corner = {0, 0};
    window_->SetTopLeft(corner);
    window_->Show();
}

void REdoDodiFindDialog::DialogClosed()
{
    if (!didIzad_)
        return;
    didIzad_->Flags().FindDialogOpen = false;
    didIzad_->Invalidate();
}

void REdoDodiFindDialog::FindAgain(bool down)
{
    if (!didIzad_)
        return;
    if (window_->FindText().empty()) {
        Execute();
        return;
    }
    TFindOptions options = window_->Options();
    if (down)
        options.Include(frDown);
    else
        options.Exclude(frDown);
    FindNext(options);
}

void REdoDodiFindDialog::FindNext(TFindOptions options)
{
    if (!didIzad_)
        return;
    const std::string text = window_->FindText();
    bool declined = false;
    const int hit = Search(text, options, declined);
    if (!didIzad_)
        return;
    if (hit == -1) {
        // Declining to go on from the other end already ended the search.
        if (displayMessage_ && !declined)
            if (Host *host = didIzad_->GetHost())
                host->ShowMessage(FormatNotFoundMessage(notFoundMessage_, text), TMessageKind::Information);
        if (OnFindDone)
            OnFindDone(*this);
    } else {
        KeepDialogClearOfHit();
        if (focusMemo_)
            if (Host *host = didIzad_->GetHost())
                host->SetFocus();
        if (OnFindText)
            OnFindText(*this);
    }
}

int REdoDodiFindDialog::Search(const std::string &text, TFindOptions options, bool &declined)
{
    const bool down = options.Contains(frDown);
    const bool coversTheText = SearchCoversTheText(*didIzad_, down);
    const int hit = didIzad_->SearchText(text, options);
    if (hit != -1 || coversTheText || text.empty() || !OnWrapAround)
        return hit;
    // The failed search emptied the selection; the caret stays where it was.
    const TCaretState before = didIzad_->CaretState();
    bool goOn = false;
    OnWrapAround(*this, down, goOn);
    declined = !goOn;
    if (!goOn || !didIzad_)
        return -1;
    MoveToTheOtherEnd(*didIzad_, down);
    const int wrapped = didIzad_->SearchText(text, options);
    if (wrapped == -1) {
        didIzad_->SetCaretLine(before.CaretLine);
        didIzad_->SetCaretCol(before.CaretCol);
    }
    return wrapped;
}

void REdoDodiFindDialog::KeepDialogClearOfHit()
{
    Host *host = didIzad_->GetHost();
    if (!host || !window_->Visible() || didIzad_->CharWidth() <= 0)
        return;
    TCaretPos start, end;
    didIzad_->NormalizedSelection(start, end);
    const TRect text = didIzad_->TextArea();
    const int cw = didIzad_->CharWidth();
    const REdoDodiStrings &store = *didIzad_->ActiveLines();
    const int startCell = CellOfColumn(store, start.Line, start.Col);
    const int endCell = CellOfColumn(store, end.Line, end.Col);
    const TPoint origin = didIzad_->RowLayout().CellOrigin(start);
    const int left = std::max(text.left, origin.x);
    const int right = std::min(text.right, origin.x + (endCell - startCell) * cw);
    const int top = origin.y;
    const TPoint corner = host->ClientToScreen({left, top});
    window_->KeepClearOf(
        {corner.x, corner.y, corner.x + std::max(right - left, cw), corner.y + didIzad_->LineHeight()});
}

std::string FormatNotFoundMessage(const std::string &format, const std::string &searchText)
{
    std::string out;
    out.reserve(format.size() + searchText.size());
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == '%')) {
            out += format[i + 1] == 's' ? searchText : std::string("%");
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

} // namespace tarnwick
