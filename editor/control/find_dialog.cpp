#include "editor/control/find_dialog.h"

#include "editor/control/custom_dodi.h"
#include "editor/platform/host.h"

#include <stdexcept>

namespace tarnwick {

REdoDodiFindDialog::REdoDodiFindDialog(std::unique_ptr<FindDialogWindow> window) : window_(std::move(window))
{
    window_->SetOptions({frDown});
    window_->OnFindNext = [this] { FindNext(); };
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

void REdoDodiFindDialog::FindNext()
{
    if (!didIzad_)
        return;
    const std::string text = window_->FindText();
    if (didIzad_->SearchText(text, window_->Options()) == -1) {
        if (displayMessage_)
            if (Host *host = didIzad_->GetHost())
                host->ShowMessage(FormatNotFoundMessage(notFoundMessage_, text), TMessageKind::Information);
        if (OnFindDone)
            OnFindDone(*this);
    } else {
        if (focusMemo_)
            if (Host *host = didIzad_->GetHost())
                host->SetFocus();
        if (OnFindText)
            OnFindText(*this);
    }
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
