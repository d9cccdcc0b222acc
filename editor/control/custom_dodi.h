// TCustomDodi: the code editor control, free of any toolkit. It is the public
// face (properties, events, operations, message answers) and owns the line
// store, the settings objects and the shared editor state; the work of each
// concern lives in its own collaborator.
#pragma once

#include "editor/base/destroy_notifier.h"
#include "editor/base/editor_types.h"
#include "editor/base/graphics_types.h"
#include "editor/control/auto_completion.h"
#include "editor/control/auto_correct.h"
#include "editor/document/bookmarks.h"
#include "editor/document/caret_state.h"
#include "editor/document/fold_region_finder.h"
#include "editor/document/fold_regions.h"
#include "editor/document/line_store.h"
#include "editor/document/lines_listener.h"
#include "editor/document/search.h"
#include "editor/highlight/char_style.h"
#include "editor/highlight/styler_client.h"
#include "editor/highlight/tokenizer.h"
#include "editor/input/input_target.h"
#include "editor/platform/canvas.h"
#include "editor/platform/dodi_scroll_bar.h"
#include "editor/platform/dodi_timer.h"
#include "editor/undo/undo_client.h"
#include "editor/view/active_line_settings.h"
#include "editor/view/code_folding.h"
#include "editor/view/control_flags.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/dodi_markers.h"
#include "editor/view/editor_view.h"
#include "editor/view/print_options.h"
#include "editor/view/view_host.h"
#include "editor/view/view_settings.h"
#include "editor/view/view_state.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class Host;
class PopupWindow;
class ListPopup;
class TCustomDodiStyler;
class REdoDodiSource;
class REdoDodiChecker;
class TImageList;
class TPopupMenu;
class TDodiScroller;
class TDodiUndoList;
class TDodiKeyboard;
struct TEditSession;
class TEditScope;
class TMouseInput;
class TCompletion;
class TParameterHint;
enum TScrollCode : uint8_t;

class TCustomDodi : public TInputTarget,
                    public TViewHost,
                    public TStylerClient,
                    public TLinesOwner,
                    public TUndoClient {
public:
    // Timer ids the control asks its host for.
    static constexpr int kHintTimerId = 1;
    static constexpr int kCompletionTimerId = 2;
    // Ids 3 and 4 are the background checker's.
    static constexpr int kFoldTimerId = 5;

    explicit TCustomDodi(Host *host = nullptr);
    ~TCustomDodi() override;
    TCustomDodi(const TCustomDodi &) = delete;
    TCustomDodi &operator=(const TCustomDodi &) = delete;

    // ---- platform ----
    Host *GetHost() const override { return host_; }
    // Attaching a host creates the pop-ups and shows the scroll bars' state.
    void SetHost(Host *host);
    // Repaint requests; nothing happens without a host.
    void Invalidate() override;
    void InvalidateRect(const TRect &r) override;
    void InvalidateGutter() override;

    // ---- state, by owner ----
    // Caret, view state and flags are held by TViewTarget.
    // The bookmarks of the text; they follow its lines.
    TBookmarks &Bookmarks() override { return bookmarks_; }
    const TBookmarks &Bookmarks() const override { return bookmarks_; }

    // ---- virtual operations ----
    void DoSelectionChange() override;
    void DoStatusChange() override;
    bool IsDelimiter(char32_t c) const override;
    virtual bool IsTokenDelimiter(char32_t c) const;
    void BlockMatch() override;
    bool CanModify() const override;
    void DoChange() override;
    void DoGutterClick(int line) override;
    virtual void DoGetAutoCompletionList(const std::string &token, TCompletionItems &list);
    virtual bool IsUrl(const std::string &word) const;
    virtual uint32_t VersionNumber() const;
    virtual std::string VersionText() const;
    // Bracket around applying stored settings: while loading, layout is not
    // recomputed and the marker list keeps its default image settings.
    void BeginLoading();
    // The step after the control's stored settings were applied.
    virtual void Loaded();
    bool Loading() const override { return loading_; }

    // ---- line store ----
    REdoDodiStrings *Lines() { return lines_.get(); }
    const REdoDodiStrings *Lines() const { return lines_.get(); }
    // Copies the lines in.
    void SetLines(const std::vector<std::string> &lines);
    void SetLines(const REdoDodiStrings &lines);
    // The store every operation works on: the shared source's when one is
    // attached, else the control's own.
    REdoDodiStrings *ActiveLines() override;
    const REdoDodiStrings *ActiveLines() const override;

    // ---- caret, selection and editing ----
    void SetCaretCol(int col) override;
    void SetCaretLine(int line) override;
    int SelStart() const override;
    void SetSelStart(int index) override;
    int SelLength() const override;
    void SetSelLength(int count) override;
    std::string SelText() const override;
    void SelectAll() override;
    // Selection start and end in document order.
    void NormalizedSelection(TCaretPos &start, TCaretPos &end) const override;
    // Character index <-> position; every line break counts 2 characters,
    // except before a soft-wrapped continuation line.
    TCaretPos PositionOfIndex(int index) const override;
    int IndexOfPosition(TCaretPos pos) const override;
    void CollapseSelection() override;
    void ExtendSelection() override;
    void Clear();
    // Every line break becomes `style`, as one undoable step (block_edits.h).
    void ConvertLineEnds(TLineEnd style);
    void CopyToClipboard() override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    void DeleteSelection(bool repaint = true) override;
    void InsertText(const std::string &text) override;
    void DeleteLine() override;
    void SetModified(bool modified);
    // Sets the line's Modified flag (creating its record), repainting after.
    void SetLineModified(int line, bool modified) override;
    // The single edits the keys run; each is one undoable change with one
    // change notification (editing_api.cpp).
    void TypeCharacter(char32_t ch);
    void NewLine();
    void TabKey(TShiftState shift);
    void Backspace();
    void DeleteWordLeft();
    void DeleteCharacter();
    // The key-command tables: what a control character or key code does.
    void EditCommand(int code, TShiftState shift);
    // Bracket state of the edit scopes (edit_session.h).
    TEditSession &EditSession() override { return *editSession_; }

    // ---- undo ----
    void Undo() override;
    void Redo() override;
    bool CanUndo() const override;
    bool CanRedo() const override;
    void ClearUndo();
    // The history edits record into: the shared source's when one is attached.
    TDodiUndoList &UndoList() override;

    // ---- keyboard (keyboard.cpp) ----
    void KeyDown(uint16_t &key, TShiftState shift);
    void KeyPress(char32_t &key);
    void KeyUp(uint16_t &key, TShiftState shift);
    // Text an input method composed, typed as if keyed.
    void InputText(std::u32string_view text);
    TDodiKeyboard &Keyboard() override { return *keyboard_; }

    // ---- printing (printer.cpp) ----
    // Prints the whole text on the default printer; false when nothing could
    // be printed (no host, no printer, or the job failed).
    bool Print();
    int PageCount(Canvas &canvas, int pageWidth, int pageHeight);
    void PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight);

    // ---- find (search_control.cpp) ----
    // Selects the next hit of `text` from the caret line on and returns its
    // SelStart, or -1 with the selection emptied at (0, 0). No wrap-around.
    int SearchText(const std::string &text, TFindOptions options);
    // Components referencing the control subscribe here to forget it when it goes.
    TDestroyNotifier &DestroyNotifier() { return destroyNotifier_; }

    // ---- view ----
    void SetTopLine(int line) override;
    void SetTopRow(int row) override;
    void SetLeftColumn(int column) override;
    TRect TextArea() const override;
    void MakeCaretVisible() override;
    void UpdateScrollBars(bool repaint = true) override;
    void LayoutChanged();
    // Recomputes MaxLineLength from the line lengths when they are complete.
    void RecomputeMaxLineLength() override;
    TDodiScrollBar &VertScrollBar() override { return vertScrollBar_; }
    TDodiScrollBar &HorzScrollBar() override { return horzScrollBar_; }

    // ---- changes of the text model (text_model_upkeep.cpp) ----
    // The line store's OnChange handler: raises OnChange and refreshes.
    void LinesChanged() override;
    // What follows each change of the text: markers and the view move with
    // the lines; a load or reset starts the view afresh.
    void LinesChanging(REdoDodiStrings &lines, const TLinesChange &change) override;
    void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) override;
    // The store's Delete: the undoable line deletion, the caret kept in place.
    void DeleteStoreLine(int index) override;

    // ---- undo replay (text_model_upkeep.cpp) ----
    REdoDodiStrings &UndoLines() override { return *ActiveLines(); }
    void BeginReplay() override;
    void EndReplay() override;
    TCaretPos UndoCaret() const override { return {caretState_.CaretCol, caretState_.CaretLine}; }
    void ReplayCaret(int col, int line) override;
    void ReplaySelection(TCaretPos start, TCaretPos end) override;
    void UndoChanged(bool canUndo, bool canRedo) override;

    // ---- view upkeep ----
    // Places the caret without any event or side effect.
    void SetCaretDirect(int col, int line) override;
    void RemoveFoldRegionStartingAt(int line) override;
    void RemoveFoldRegionEndingAt(int line) override;
    void ScanRegions() override;
    // Lays the lines out again when the wrap width changed.
    void Rewrap() override;
    void InvalidateStateCaches() override;
    void Refresh();

    // ---- highlighting (tokenizer_control.cpp) ----
    TLineTokenizer &Tokenizer() override { return tokenizer_; }
    // Brings the tokenizer up to date with the settings; painting and printing
    // call it before they tokenize.
    void PrepareTokenizer() override;
    // The tokenizer state at the start of `line`, from the cached states above it.
    RunState ComputeTopState(int line) override;
    // The state at the start of TopLine: the stored one while it is still
    // right for the current top line, else computed and stored.
    RunState TopLineState() override;

    // ---- painting, gutter, scrolling and wrap (view_control.cpp) ----
    // The paint handler: draws the whole client area.
    void Paint(Canvas &canvas);
    // One line: mode 0 onto the screen row whose top is rect.top, mode 2
    // (printing) into `rect` of the print canvas; `state` carries on.
    void PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state) override;
    void PaintGutter(Canvas &canvas) override;
    // Shows the caret in its cell, or hides it while the cell is out of view.
    void PlaceCaret() override;
    void SetActiveLine(int line) override;
    // The folding column left of the text area; empty while folding is off.
    TRect FoldColumn() const override;
    TRect ScrollBarRect(TScrollBarKind bar) const override;
    // Whole rows and columns the text area shows.
    int VisibleRows() const override;
    int VisibleColumns() const override;
    // A line <-> its first row of the view; every mapping between the two
    // goes here. RowLayout() adds where in its line a row starts.
    int VisibleIndexOf(int line) const override;
    int LineOfVisibleIndex(int index) const override;
    const TRowLayout &RowLayout() const override { return view_->Rows(); }
    // The view row of `line`'s first row, counted from the view's top.
    int RowOfLine(int line) const override;
    void ScrollBy(TScrollBarKind bar, int delta);
    // The user operated a scroll bar; `position` is where the thumb was taken.
    void ScrollBarScroll(TScrollBarKind bar, TScrollCode code, int position);
    // One notch of the mouse wheel.
    void MouseWheel(bool down);
    // The existing line whose gutter row holds (x, y), else -1.
    int GutterLineAt(int x, int y) const override;
    void GutterMouseDown(TMouseButton button, int x, int y) override;
    // True when the double click ends in the gutter.
    bool GutterDblClick(int x, int y) override;
    // Markers added and removed through these raise OnMarkerAdded and
    // OnMarkerRemoved.
    void AddMarker(int line, const std::string &text, int imageIndex);
    void RemoveMarker(int line);

    // ---- mouse (mouse_control.cpp) ----
    // Buttons, moves and double clicks at client pixels.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void DblClick(int x, int y);
    // The context-menu request at a screen point, and a command of the menu.
    void ContextMenu(int screenX, int screenY);
    void MenuCommand(int command);
    // Something dragged over or dropped on the control; `source` is the
    // control itself when its own selection is dragged. DragOver answers
    // whether the drop would be accepted.
    bool DragOver(void *source, int x, int y, TDragState state);
    void DragDrop(void *source, int x, int y, TShiftState shift);
    // The drag of the selection begun by a mouse move has ended.
    void EndDrag(void *target, int x, int y);
    // Files dropped from the desktop, in order.
    void DropFiles(const std::vector<std::string> &fileNames);
    TMouseInput &Mouse() override { return *mouse_; }
    // Folding operations the mouse uses (fold_hooks.cpp).
    void ToggleRegion(int line) override;
    void SetExpanded(int line, bool expanded) override;
    // For a region start whose first word names a definition that shows its
    // comments: true, with the definition's index and the summary text.
    bool RegionSummary(int line, int &definitionIndex, std::string &summary) const override;

    // ---- code folding (fold_hooks.cpp) ----
    const TFoldRegions &FoldRegions() const override { return foldRegions_; }
    void UpdateFoldRegions(bool force) override;
    // Regions found from the text's own structure instead of the styler's
    // words; the control keeps the finder and tells it of every change.
    void SetFoldRegionFinder(std::unique_ptr<TFoldRegionFinder> finder);
    TFoldRegionFinder *FoldRegionFinder() const { return foldFinder_.get(); }
    // Refused when a line does not exist, start >= end, or a region starts on
    // `start` already.
    bool AddRegion(int start, int end);
    void ClearRegions();
    int RegionCount() const { return foldRegions_.RegionCount(); }
    // The line that ends the region starting on `start`; -1 when none does.
    int RegionEndOf(int start) const { return foldRegions_.RegionEndOf(start); }
    bool IsRegionStart(int line) const { return foldRegions_.IsRegionStart(line); }
    // True for a line that starts no region.
    bool IsExpanded(int line) const { return foldRegions_.IsExpanded(line); }
    // Collapses the innermost expanded region that starts on or holds the
    // caret line; the caret goes to the region's first line.
    void CollapseRegionAtCaret();
    // Expands the collapsed region that starts on the caret line.
    void ExpandRegionAtCaret();
    void CollapseAllRegions();
    void ExpandAllRegions();
    // Expands the collapsed regions that hide `line`.
    void RevealLine(int line) override;

    // ---- message answers, called by the platform adapter ----
    // The dialog-code query: arrows and characters, and Tab when WantTab.
    uint32_t DialogCode() const;
    // The background is never erased separately.
    bool EraseBackground() const { return true; }
    // The pointer shape at (x, y) of the client area; sets it on the host.
    void SetCursorRequest(int x, int y);
    void FocusGained();
    // focusToOwnScrollBar: one of the control's scroll bars took the focus.
    void FocusLost(bool focusToOwnScrollBar);
    // True when the control swallows the system character (Alt+Backspace).
    bool SysChar(uint16_t key, TShiftState shift) const;
    bool WantsSpecialKey(uint16_t key) const;
    void CutMessage() { CutToClipboard(); }
    void CopyMessage() { CopyToClipboard(); }
    void PasteMessage() { PasteFromClipboard(); }
    // Selection as the edit-control query reports it; null targets are skipped.
    void GetSel(int *start, int *end) const;
    // The edit-control messages: EM_GETSEL fills its targets; every other one
    // is ignored and answers 0.
    intptr_t EditMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    void ThemeChanged();
    bool Destroying() const { return destroying_; }

    // ---- published properties ----
    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool v);
    TDodiActiveLineSettings *ActiveLineSettings() override { return activeLineSettings_.get(); }
    void SetActiveLineSettings(const TDodiActiveLineSettings &v) { activeLineSettings_->Assign(v); }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign v) { align_ = v; }
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors v) { anchors_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool ShowHint() const override { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v) { tabOrder_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    TAutoCompletion *AutoCompletion() { return autoCompletion_.get(); }
    bool AutoCompletionActive() const override { return autoCompletion_->Active(); }
    TImageList *AutoCompletionListImages() const { return autoCompletionListImages_; }
    void SetAutoCompletionListImages(TImageList *images) { autoCompletionListImages_ = images; }
    TAutoCorrect *AutoCorrect() { return autoCorrect_.get(); }
    void SetAutoCorrect(const TAutoCorrect &v) { autoCorrect_->Assign(v); }
    bool AutoExpand() const override { return autoExpand_; }
    void SetAutoExpand(bool v) override { autoExpand_ = v; }
    int AutoHintParameterDelay() const { return autoHintParameterDelay_; }
    void SetAutoHintParameterDelay(int ms);
    TAutoHintParameterPosition AutoHintParameterPosition() const { return autoHintParameterPosition_; }
    void SetAutoHintParameterPosition(TAutoHintParameterPosition v) { autoHintParameterPosition_ = v; }
    TAutoHintParameters AutoHintParameters() const { return autoHintParameters_; }
    void SetAutoHintParameters(TAutoHintParameters v);
    bool AutoIndent() const override { return autoIndent_; }
    void SetAutoIndent(bool v) { autoIndent_ = v; }
    bool AutoThemeAdapt() const { return autoThemeAdapt_; }
    void SetAutoThemeAdapt(bool v);
    TColor BkColor() const override { return settings_.BkColor; }
    void SetBkColor(TColor c);
    TColor BlockColor() const override { return settings_.BlockColor; }
    void SetBlockColor(TColor c);
    TColor BlockLineColor() const override { return settings_.BlockLineColor; }
    void SetBlockLineColor(TColor c);
    bool BlockShow() const override { return settings_.BlockShow; }
    void SetBlockShow(bool v);
    TColor BorderColor() const override { return settings_.BorderColor; }
    void SetBorderColor(TColor c);
    TBorderStyle BorderStyle() const override { return settings_.BorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TColor BreakpointColor() const override { return settings_.BreakpointColor; }
    void SetBreakpointColor(TColor c);
    TColor BreakpointTextColor() const override { return settings_.BreakpointTextColor; }
    void SetBreakpointTextColor(TColor c);
    bool CaseSensitive() const { return settings_.CaseSensitive; }
    void SetCaseSensitive(bool v);
    TCodeFolding *CodeFolding() override { return codeFolding_.get(); }
    const TCodeFolding *CodeFolding() const override { return codeFolding_.get(); }
    void SetCodeFolding(const TCodeFolding &v) { codeFolding_->Assign(v); }
    bool Ctl3D() const override { return settings_.Ctl3D; }
    void SetCtl3D(bool v);
    TCursor Cursor() const override { return cursor_; }
    void SetCursor(TCursor c) { cursor_ = c; }
    bool DelErase() const override { return delErase_; }
    void SetDelErase(bool v) { delErase_ = v; }
    bool EnhancedHomeKey() const override { return enhancedHomeKey_; }
    void SetEnhancedHomeKey(bool v) { enhancedHomeKey_ = v; }
    const TFont &Font() const override { return settings_.Font; }
    void SetFont(const TFont &font) override;
    TDodiGutter *Gutter() override { return gutter_.get(); }
    const TDodiGutter *Gutter() const override { return gutter_.get(); }
    void SetGutter(const TDodiGutter &v) { gutter_->Assign(v); }
    bool HiddenCaret() const override { return settings_.HiddenCaret; }
    void SetHiddenCaret(bool v);
    bool HideSelection() const override { return settings_.HideSelection; }
    void SetHideSelection(bool v);
    TDodiMarkerList *MarkerList() override { return markerList_.get(); }
    REdoDodiChecker *MemoChecker() const { return memoChecker_; }
    void SetMemoChecker(REdoDodiChecker *checker);
    REdoDodiSource *MemoSource() const { return memoSource_; }
    void SetMemoSource(REdoDodiSource *source);
    TPopupMenu *PopupMenu() const override { return popupMenu_; }
    void SetPopupMenu(TPopupMenu *menu) { popupMenu_ = menu; }
    TPrintOptions *PrintOptions() override { return printOptions_.get(); }
    void SetPrintOptions(const TPrintOptions &v) { printOptions_->Assign(v); }
    bool ReadOnly() const override { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    int RightMargin() const override { return settings_.RightMargin; }
    void SetRightMargin(int v);
    TColor RightMarginColor() const override { return settings_.RightMarginColor; }
    void SetRightMarginColor(TColor c);
    TScrollStyle ScrollBars() const override { return settings_.ScrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool ScrollHint() const override { return settings_.ScrollHint; }
    void SetScrollHint(bool v) { settings_.ScrollHint = v; }
    TScrollMode ScrollMode() const override { return settings_.ScrollMode; }
    void SetScrollMode(TScrollMode v) { settings_.ScrollMode = v; }
    TColor SelBkColor() const override { return settings_.SelBkColor; }
    void SetSelBkColor(TColor c);
    TColor SelColor() const override { return settings_.SelColor; }
    void SetSelColor(TColor c);
    bool ShowRightMargin() const override { return settings_.ShowRightMargin; }
    void SetShowRightMargin(bool v);
    bool SmartTabs() const override { return smartTabs_; }
    void SetSmartTabs(bool v) { smartTabs_ = v; }
    TCustomDodiStyler *SyntaxStyles() const override { return syntaxStyles_; }
    void SetSyntaxStyles(TCustomDodiStyler *styler);
    // The styler every operation uses: the shared source's when one is set
    // (even none), else SyntaxStyles.
    TCustomDodiStyler *ActiveStyler() const override;
    int TabSize() const override { return tabSize_; }
    void SetTabSize(int v);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    bool TrimTrailingSpaces() const override { return trimTrailingSpaces_; }
    void SetTrimTrailingSpaces(bool v) { trimTrailingSpaces_ = v; }
    int UndoLimit() const { return undoLimit_; }
    void SetUndoLimit(int v);
    bool UrlAware() const override { return settings_.UrlAware; }
    void SetUrlAware(bool v);
    const TCharStyle &UrlStyle() const override { return settings_.UrlStyle; }
    void SetUrlStyle(const TCharStyle &style);
    bool UseStyler() const override { return settings_.UseStyler; }
    void SetUseStyler(bool v);
    std::string Version() const;
    // Accepted and ignored: the version is fixed.
    void SetVersion(const std::string &) {}
    bool WantTab() const { return wantTab_; }
    void SetWantTab(bool v) { wantTab_ = v; }
    TWordWrapStyle WordWrap() const override { return settings_.WordWrap; }
    void SetWordWrap(TWordWrapStyle v);

    // ---- bounds ----
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const override { return bounds_.Width(); }
    int Height() const override { return bounds_.Height(); }
    const TRect &BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }

    // The theme adaptation: gutter colours from the desktop colour scheme.
    void ThemeAdapt();
    // Component removal notifications for the referenced components.
    void StylerRemoved(TCustomDodiStyler *styler);
    // The styler's side of the link.
    TColor StylerBackground() const override { return settings_.BkColor; }
    void StylerChanged(const TCustomDodiStyler &styler) override;
    void StylerDestroyed(const TCustomDodiStyler &styler) override;
    // Draws the standard content of one gutter row.
    void PaintGutterLine(Canvas &canvas, int line, const TRect &rect);
    void SourceRemoved(REdoDodiSource *source);
    void CheckerRemoved(REdoDodiChecker *checker);
    // The shared source's side of attaching and detaching (redodi_source.cpp):
    // the view follows the source's text and styler.
    void SourceAttached(REdoDodiSource &source, int leftColumn, int topLine);
    void SourceDetached(REdoDodiSource &source);
    void StylerSwitched();

    // ---- completion, hints and auto-correct (completion.cpp, word_hooks.cpp) ----
    TCompletion &Completion() { return *completion_; }
    TParameterHint &ParameterHint() { return *parameterHint_; }
    // Ctrl+Space and Ctrl+Shift+Space.
    void OpenCompletionByKey() override;
    void ShowParameterHintByKey() override;
    // Typing `c` starts the completion timer.
    bool StartsCompletion(char32_t c) const override;
    // A word-ending character is about to be typed: the checker's hooks, then
    // auto-correct of the word at the caret.
    void WordEnding(char32_t ch) override;
    void AutoCorrectWord();
    // The hover hint at client pixel (x, y): the checker's message for a cell
    // it marked, else what OnHintForWord and OnHintForToken say. False when
    // no hint shows; `cell` gets the rectangle the hint belongs to.
    bool HintAt(int x, int y, std::string &hint, TRect *cell = nullptr);
    // Top-left of the caret's cell in client pixels.
    TPoint CaretCellOrigin() const;
    // The stylers of the owner form, offered to SyntaxStyles.
    std::vector<TCustomDodiStyler *> &StylerList() { return stylerList_; }
    TCompletionItems &CompletionEntries() { return completionEntries_; }
    TDodiTimer &HintTimer() { return hintTimer_; }
    TDodiTimer &CompletionTimer() override { return completionTimer_; }
    PopupWindow *HintWindow() override { return hintWindow_.get(); }
    PopupWindow *ScrollHintWindow() override { return scrollHintWindow_.get(); }
    ListPopup *CompletionPopup() { return completionPopup_.get(); }
    // The flag glyph drawn in the gutter; made on first use by a canvas.

    // The events are declared in TEditorEvents (view/editor_events.h).
    TCustomDodi &Sender() override { return *this; }

    // ---- what the view asks of the control (view_host.h) ----
    TShownText ShownText() const override;
    void MeasureCells() override;
    bool DrawGutterRow(Canvas &canvas, int row, const TRect &rect) override;
    void GutterClicked(TMouseButton button, int line) override;
    void GutterDblClicked(int line) override;

protected:
    void Repaint() { Invalidate(); }
    // Sets the appearance colours BkColor, SelColor and SelBkColor; repaints
    // only when the value changed.
    void SetColorField(TColor &field, TColor value);
    void SetBoolAndRepaint(bool &field, bool value);
    void SetColorAndRepaint(TColor &field, TColor value);
    void ApplyBorderOffsets();
    void MeasureFont();
    void RecreateCaret();
    void GutterChanged(TDodiGutter::TChange change);
    void CodeFoldingChanged(int kind);
    // The line store's changes, told to the fold regions and their finder
    // before anything else follows them.
    void FoldLinesChanged(REdoDodiStrings &lines, const TLinesChange &change);
    // After regions or their states changed: the column, scroll bars, repaint.
    void FoldRegionsChanged();
    // Resets the fold regions (and lays the rows out again) when their line
    // count is not the active text's.
    void FollowLineCount();
    // Lays every line out again after the wrap mode or width was set.
    void RelayoutRows();
    void ActiveLineSettingsChanged(bool atCursorSwitchedOn);
    void AutoCompletionChanged(TAutoCompletion::TChange change);
    void CreatePopups();

    Host *host_ = nullptr;
    TBookmarks bookmarks_;
    bool destroying_ = false;
    bool loading_ = false;

    // Owned parts, in construction order.
    std::unique_ptr<REdoDodiStrings> lines_;
    std::unique_ptr<TPrintOptions> printOptions_;
    std::unique_ptr<TAutoCorrect> autoCorrect_;
    std::unique_ptr<TAutoCompletion> autoCompletion_;
    std::unique_ptr<TDodiMarkerList> markerList_;
    std::vector<TCustomDodiStyler *> stylerList_;
    TDodiScrollBar vertScrollBar_{sbVertical};
    TDodiScrollBar horzScrollBar_{sbHorizontal};
    std::unique_ptr<TDodiActiveLineSettings> activeLineSettings_;
    std::unique_ptr<TDodiGutter> gutter_;
    std::unique_ptr<ListPopup> completionPopup_;
    std::unique_ptr<PopupWindow> hintWindow_;
    TDodiTimer hintTimer_{kHintTimerId, 2500};
    TDodiTimer completionTimer_{kCompletionTimerId, 500};
    // Reads a change too large to read while painting, once the editor is idle.
    TDodiTimer foldTimer_{kFoldTimerId, 300};
    TCompletionItems completionEntries_;
    std::unique_ptr<PopupWindow> scrollHintWindow_;
    std::unique_ptr<TCodeFolding> codeFolding_;
    // The fold regions of the active text, and what finds them besides the styler.
    TFoldRegions foldRegions_;
    std::unique_ptr<TFoldRegionFinder> foldFinder_;
    TLineTokenizer tokenizer_;
    std::unique_ptr<TDodiScroller> scroller_;
    // Paints, lays out the client area and prints, reading the fields above.
    std::unique_ptr<TEditorView> view_;
    std::unique_ptr<TEditSession> editSession_;
    std::unique_ptr<TDodiUndoList> undoList_;
    // The edit bracket around an undo or redo.
    std::unique_ptr<TEditScope> replayScope_;
    std::unique_ptr<TDodiKeyboard> keyboard_;
    std::unique_ptr<TMouseInput> mouse_;
    std::unique_ptr<TCompletion> completion_;
    std::unique_ptr<TParameterHint> parameterHint_;

    // References, not owned.
    TCustomDodiStyler *syntaxStyles_ = nullptr;
    REdoDodiSource *memoSource_ = nullptr;
    REdoDodiChecker *memoChecker_ = nullptr;
    TImageList *autoCompletionListImages_ = nullptr;
    TPopupMenu *popupMenu_ = nullptr;

    // Property values; the appearance ones in the struct the view reads.
    TViewSettings settings_;
    TRect bounds_;
    bool acceptFiles_ = false;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    bool enabled_ = true;
    bool showHint_ = false;
    int tabOrder_ = -1;
    bool visible_ = true;
    bool autoExpand_ = true;
    int autoHintParameterDelay_ = 2500;
    TAutoHintParameterPosition autoHintParameterPosition_ = hpBelowCode;
    TAutoHintParameters autoHintParameters_ = hpAuto;
    bool autoIndent_ = true;
    bool autoThemeAdapt_ = false;
    TCursor cursor_ = crIBeam;
    bool delErase_ = false;
    bool enhancedHomeKey_ = false;
    bool readOnly_ = false;
    bool smartTabs_ = false;
    int tabSize_ = 4;
    bool tabStop_ = true;
    bool trimTrailingSpaces_ = false;
    int undoLimit_ = 100;
    bool wantTab_ = true;
    bool doubleBuffered_ = false;

    // Tells referencing components, while the control is being destroyed, to
    // drop their reference.
    TDestroyNotifier destroyNotifier_;
};

} // namespace tarnwick
