// Host: the window services the editor core asks of its platform (repaint,
// caret, scroll bars, clipboard, timers, pop-ups, focus, cursor, message box,
// URLs, printing, colours, font metrics). The Qt adapter implements it; tests
// use a fake host. The core holds it through a pointer that may be null: a
// control without a window then simply has nobody to ask.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/platform/canvas.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

// A tool window that stays on top (parameter hint, scroll hint) and is painted
// by the core. Bounds are in screen coordinates.
class PopupWindow {
public:
    virtual ~PopupWindow() = default;
    virtual void SetBounds(const TRect &screenRect) = 0;
    virtual TRect Bounds() const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Visible() const = 0;
    virtual void Invalidate() = 0;
    virtual void SetColor(TColor color) = 0;
    virtual void SetFont(const TFont &font) = 0;
    virtual void SetCaption(const std::string &caption) = 0;

    // Paints the whole client area (0, 0, width, height).
    std::function<void(Canvas &canvas, const TRect &client)> OnPaint;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    // The window lost activation or was closed by the window system; it is
    // hidden but stays usable.
    std::function<void()> OnDeactivate;
};

// An owner-drawn list in a pop-up (the completion list). The list itself
// holds only the item count; the core draws each item.
class ListPopup : public PopupWindow {
public:
    virtual void SetItemCount(int count) = 0;
    virtual int ItemCount() const = 0;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
    virtual int TopIndex() const = 0;
    virtual void SetItemHeight(int height) = 0;
    virtual int ItemHeight() const = 0;
    virtual void SetListFocus() = 0;

    std::function<void(Canvas &canvas, int index, const TRect &rect, bool selected)> OnDrawItem;
    // Key may be set to 0 to swallow it.
    std::function<void(uint16_t &key, TShiftState shift)> OnKeyDown;
    std::function<void(char32_t &key)> OnKeyPress;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    // The list lost the keyboard focus.
    std::function<void()> OnExit;
};

enum class TPopupKind : uint8_t { Hint, ScrollHint };

// A print job on the default printer, begun by Host::BeginPrintJob.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    virtual Canvas &GetCanvas() = 0;
    virtual int PageWidth() const = 0; // printable area, device pixels
    virtual int PageHeight() const = 0;
    virtual void NewPage() = 0;
    // Finishes the job; false when the output could not be produced.
    virtual bool EndJob() = 0;
    virtual void Abort() = 0;
};

struct TMenuItem {
    std::string Caption; // "-" is a separator
    int Command = 0;
    bool Enabled = true;
};

enum class TMessageKind : uint8_t { Information, Error, Warning };

class Host {
public:
    virtual ~Host() = default;

    // Repaint requests; painting happens later, in the control's paint handler.
    virtual void Invalidate() = 0;
    virtual void InvalidateRect(const TRect &rect) = 0;

    virtual TSize ClientSize() const = 0;
    virtual TPoint ClientToScreen(TPoint p) const = 0;
    // The mouse pointer in screen coordinates.
    virtual TPoint CursorPos() const = 0;
    // The screen area pop-ups must fit in.
    virtual TRect WorkArea() const = 0;

    // The caret is drawn by the host; the core tells it where and how big.
    virtual void CreateCaret(int width, int height) = 0;
    virtual void DestroyCaret() = 0;
    virtual void SetCaretPos(int x, int y) = 0;
    virtual void ShowCaret() = 0;
    virtual void HideCaret() = 0;
    virtual int CaretBlinkTime() const = 0;
    virtual void SetCaretBlinkTime(int ms) = 0;

    virtual void SetScrollBarVisible(TScrollBarKind bar, bool visible) = 0;
    virtual void SetScrollRange(TScrollBarKind bar, int min, int max) = 0;
    virtual void SetScrollPosition(TScrollBarKind bar, int position) = 0;
    virtual void SetScrollPage(TScrollBarKind bar, int page) = 0;
    // System width of the vertical bar / height of the horizontal bar.
    virtual int ScrollBarExtent(TScrollBarKind bar) const = 0;

    virtual std::optional<std::string> ClipboardText() const = 0;
    virtual void SetClipboardText(const std::string &text) = 0;

    // Calls onTimeout every intervalMs until stopped; starting a running id
    // restarts it with the new interval.
    virtual void StartTimer(int id, int intervalMs, std::function<void()> onTimeout) = 0;
    virtual void StopTimer(int id) = 0;

    virtual std::unique_ptr<PopupWindow> CreatePopup(TPopupKind kind) = 0;
    virtual std::unique_ptr<ListPopup> CreateListPopup() = 0;
    // Hides the mouse-hover hint currently shown, if any.
    virtual void CancelHint() = 0;
    // Shows a modal pop-up menu and returns the chosen command, 0 for none.
    virtual int TrackPopupMenu(const std::vector<TMenuItem> &items, TPoint screen) = 0;

    virtual bool Focused() const = 0;
    virtual void SetFocus() = 0;
    virtual void SetCursor(TCursor cursor) = 0;
    // Registers the control as a target for files dropped from the desktop.
    virtual void SetAcceptFiles(bool accept) = 0;
    // Starts a drag of the control once the mouse moved `threshold` pixels.
    virtual void BeginDrag(int threshold) = 0;

    virtual void ShowMessage(const std::string &text, TMessageKind kind) = 0;
    // False when nothing could handle the URL.
    virtual bool OpenUrl(const std::string &url) = 0;

    // Null when no printer is available.
    virtual std::unique_ptr<PrintJob> BeginPrintJob(const std::string &jobName) = 0;

    // Plain colours pass through; system colours (0xFF0000nn) become RGB.
    virtual TColor ResolveColor(TColor color) const = 0;
    // A canvas for measuring text in the control's fonts.
    virtual Canvas &MeasuringCanvas() = 0;
};

} // namespace tarnwick
