// FakeHost: a Host that records what the editor core asks of its window
// (repaints, caret, scroll bars, clipboard, timers, pop-ups, cursor, message
// boxes, URLs, print jobs) and lets a test answer and fire timers by hand.
#pragma once

#include "editor/platform/host.h"
#include "support/recording_canvas.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::test {

class FakePopup : public ListPopup {
public:
    explicit FakePopup(std::string kind) : Kind(std::move(kind)) {}
    void SetBounds(const TRect &r) override { BoundsValue = r; }
    TRect Bounds() const override { return BoundsValue; }
    void Show() override
    {
        VisibleValue = true;
        ++ShowCount;
    }
    void Hide() override { VisibleValue = false; }
    bool Visible() const override { return VisibleValue; }
    void Invalidate() override { ++InvalidateCount; }
    void SetColor(TColor c) override { Color = c; }
    void SetFont(const TFont &f) override { FontValue = f; }
    void SetCaption(const std::string &c) override { Caption = c; }
    void SetItemCount(int n) override { Count = n; }
    int ItemCount() const override { return Count; }
    int ItemIndex() const override { return Index; }
    void SetItemIndex(int i) override { Index = i; }
    int TopIndex() const override { return 0; }
    void SetItemHeight(int h) override { Height = h; }
    int ItemHeight() const override { return Height; }
    void SetListFocus() override { ++FocusCount; }

    std::string Kind;
    TRect BoundsValue;
    bool VisibleValue = false;
    int ShowCount = 0;
    int InvalidateCount = 0;
    int FocusCount = 0;
    TColor Color = clNone;
    TFont FontValue;
    std::string Caption = "?";
    int Count = 0;
    int Index = -1;
    int Height = 0;
};

class FakePrintJob : public PrintJob {
public:
    FakePrintJob(std::string name, int width, int height) : Name(std::move(name)), Width(width), Height(height) {}
    Canvas &GetCanvas() override { return Page; }
    int PageWidth() const override { return Width; }
    int PageHeight() const override { return Height; }
    void NewPage() override { ++Pages; }
    bool EndJob() override
    {
        Ended = true;
        return true;
    }
    void Abort() override { Aborted = true; }

    std::string Name;
    int Width;
    int Height;
    int Pages = 1;
    bool Ended = false;
    bool Aborted = false;
    RecordingCanvas Page;
};

struct FakeScrollBar {
    bool Visible = false;
    int Min = 0;
    int Max = 0;
    int Position = 0;
    int Page = 0;
};

struct FakeTimer {
    int Interval = 0;
    bool Running = false;
    std::function<void()> OnTimeout;
};

struct FakeMessage {
    std::string Text;
    TMessageKind Kind;
};

class FakeHost : public Host {
public:
    void Invalidate() override { ++InvalidateCount; }
    void InvalidateRect(const TRect &r) override { InvalidatedRects.push_back(r); }
    TSize ClientSize() const override { return Client; }
    TPoint ClientToScreen(TPoint p) const override { return {p.x + ScreenOrigin.x, p.y + ScreenOrigin.y}; }
    TPoint CursorPos() const override { return Cursor; }
    TRect WorkArea() const override { return Screen; }

    void CreateCaret(int w, int h) override;
    void DestroyCaret() override;
    void SetCaretPos(int x, int y) override
    {
        CaretPos = {x, y};
        ++CaretMoves;
    }
    void ShowCaret() override { CaretVisible = true; }
    void HideCaret() override { CaretVisible = false; }
    int CaretBlinkTime() const override { return BlinkTime; }
    void SetCaretBlinkTime(int ms) override
    {
        BlinkTime = ms;
        ++BlinkTimeSets;
    }

    void SetScrollBarVisible(TScrollBarKind bar, bool v) override { Bars[bar].Visible = v; }
    void SetScrollRange(TScrollBarKind bar, int min, int max) override;
    void SetScrollPosition(TScrollBarKind bar, int pos) override { Bars[bar].Position = pos; }
    void SetScrollPage(TScrollBarKind bar, int page) override { Bars[bar].Page = page; }
    int ScrollBarExtent(TScrollBarKind) const override { return 17; }

    std::optional<std::string> ClipboardText() const override { return Clipboard; }
    void SetClipboardText(const std::string &text) override { Clipboard = text; }

    void StartTimer(int id, int ms, std::function<void()> onTimeout) override;
    void StopTimer(int id) override { Timers[id].Running = false; }
    // Runs the timer's callback if it is running; false otherwise.
    bool FireTimer(int id);

    std::unique_ptr<PopupWindow> CreatePopup(TPopupKind kind) override;
    std::unique_ptr<ListPopup> CreateListPopup() override;
    void CancelHint() override { ++HintCancels; }
    int TrackPopupMenu(const std::vector<TMenuItem> &items, TPoint screen) override;

    bool Focused() const override { return HasFocus; }
    void SetFocus() override
    {
        HasFocus = true;
        ++FocusRequests;
    }
    void SetCursor(TCursor c) override { CursorShape = c; }
    void SetAcceptFiles(bool a) override { AcceptsFiles = a; }
    void BeginDrag(int threshold) override { DragThreshold = threshold; }

    void ShowMessage(const std::string &text, TMessageKind kind) override { Messages.push_back({text, kind}); }
    bool OpenUrl(const std::string &url) override
    {
        OpenedUrls.push_back(url);
        return true;
    }

    std::unique_ptr<PrintJob> BeginPrintJob(const std::string &jobName) override;

    TColor ResolveColor(TColor c) const override;
    Canvas &MeasuringCanvas() override { return Measure; }

    // Recorded state and scripted answers.
    int InvalidateCount = 0;
    std::vector<TRect> InvalidatedRects;
    TSize Client{250, 350};
    TPoint ScreenOrigin{100, 100};
    TPoint Cursor;
    TRect Screen{0, 0, 1024, 768};

    bool CaretExists = false;
    TSize CaretSize;
    TPoint CaretPos;
    int CaretMoves = 0;
    int CaretCreates = 0;
    int CaretDestroys = 0;
    bool CaretVisible = false;
    int BlinkTime = 530;
    int BlinkTimeSets = 0;

    std::map<TScrollBarKind, FakeScrollBar> Bars;
    std::optional<std::string> Clipboard;
    std::map<int, FakeTimer> Timers;
    std::vector<FakePopup *> Popups; // owned by the core
    int HintCancels = 0;
    std::vector<std::vector<TMenuItem>> Menus;
    int MenuAnswer = 0;
    bool HasFocus = false;
    int FocusRequests = 0;
    TCursor CursorShape = crDefault;
    bool AcceptsFiles = false;
    int DragThreshold = -1;
    std::vector<FakeMessage> Messages;
    std::vector<std::string> OpenedUrls;
    bool PrinterAvailable = true;
    std::vector<FakePrintJob *> PrintJobs; // owned by the core while printing
    std::vector<std::string> PrintJobNames;
    // System colour number -> RGB; unknown numbers resolve to grey.
    std::map<uint8_t, TColor> Palette{{0x05, 0xFFFFFF}, {0x08, 0x000000}, {0x0F, 0xF0F0F0}, {0x18, 0xE1FFFF}};
    RecordingCanvas Measure;
};

} // namespace tarnwick::test
