// REdoDodiFindDialog: connects a modeless find dialog (text box, Match whole
// word only, Match case, Up/Down, Find Next) to one editor. Each Find Next runs
// the editor's SearchText; when nothing more is found a message is shown.
// The dialog window itself is a platform service behind FindDialogWindow.
#pragma once

#include "editor/base/graphics_types.h"
#include "editor/document/search.h"

#include <functional>
#include <memory>
#include <string>

namespace tarnwick {

class TCustomDodi;

// The modeless window the component drives. It keeps the user's choices
// between openings and calls back on Find Next and when it is closed.
class FindDialogWindow {
public:
    virtual ~FindDialogWindow() = default;
    virtual std::string FindText() const = 0;
    virtual void SetFindText(const std::string &text) = 0;
    virtual TFindOptions Options() const = 0;
    virtual void SetOptions(TFindOptions options) = 0;
    // Places the window's top-left corner at a screen point.
    virtual void SetTopLeft(TPoint screen) = 0;
    // The size of the desktop the window is placed on.
    virtual TSize DesktopSize() const = 0;
    virtual void Show() = 0;
    virtual bool Visible() const = 0;
    // Moves the window off a screen rectangle it covers (the hit just found).
    virtual void KeepClearOf(const TRect &screen) {}

    std::function<void()> OnFindNext;
    std::function<void()> OnClose;
};

class REdoDodiFindDialog {
public:
    using TNotifyEvent = std::function<void(REdoDodiFindDialog &sender)>;

    static constexpr const char *kDefaultNotFoundMessage =
        "Finished searching the document. The search item was not found.";

    explicit REdoDodiFindDialog(std::unique_ptr<FindDialogWindow> window);
    ~REdoDodiFindDialog();
    REdoDodiFindDialog(const REdoDodiFindDialog &) = delete;
    REdoDodiFindDialog &operator=(const REdoDodiFindDialog &) = delete;

    // A format: each %s is replaced by the search text, %% gives one %.
    const std::string &NotFoundMessage() const { return notFoundMessage_; }
    void SetNotFoundMessage(const std::string &message) { notFoundMessage_ = message; }
    bool DisplayMessage() const { return displayMessage_; }
    void SetDisplayMessage(bool v) { displayMessage_ = v; }
    // Reads the dialog's text box; a written value reaches the text box the
    // next time the dialog opens.
    std::string FindText() const;
    void SetFindText(const std::string &text) { findText_ = text; }
    bool FocusMemo() const { return focusMemo_; }
    void SetFocusMemo(bool v) { focusMemo_ = v; }
    // Not owned; cleared when the editor is destroyed.
    TCustomDodi *DidIzad() const { return didIzad_; }
    void SetDidIzad(TCustomDodi *editor);

    // Opens the dialog (modeless) over the editor; throws std::runtime_error
    // "No memo assigned." without an editor.
    void Execute();
    // Find Next and Find Previous without the dialog: the dialog's text and
    // options, in the direction given. Opens the dialog while it has no text.
    void FindAgain(bool down);

    FindDialogWindow &Window() { return *window_; }

    // Raised after a Find Next that found nothing (after the message) and
    // after one that found a hit.
    TNotifyEvent OnFindDone;
    TNotifyEvent OnFindText;
    // Raised when a search reached the end of the text (the start, searching
    // up) with nothing found, unless it began at the other end. Setting
    // Continue searches on from the other end; unassigned, the search ends.
    std::function<void(REdoDodiFindDialog &sender, bool down, bool &Continue)> OnWrapAround;

private:
    void FindNext(TFindOptions options);
    // Searches the editor from its caret; with OnWrapAround's consent goes on
    // from the other end. The hit's SelStart, or -1; `declined` tells that
    // the user chose not to go on.
    int Search(const std::string &text, TFindOptions options, bool &declined);
    void KeepDialogClearOfHit();
    void DialogClosed();

    std::unique_ptr<FindDialogWindow> window_;
    std::string notFoundMessage_ = kDefaultNotFoundMessage;
    bool displayMessage_ = true;
    std::string findText_;
    bool focusMemo_ = true;
    TCustomDodi *didIzad_ = nullptr;
};

// The not-found message with every %s replaced by the search text; no other
// directive is interpreted, so a message can never read past its argument.
std::string FormatNotFoundMessage(const std::string &format, const std::string &searchText);

} // namespace tarnwick
