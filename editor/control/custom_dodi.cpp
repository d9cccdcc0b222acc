#include "editor/control/custom_dodi.h"

#include "editor/base/utf8.h"
#include "editor/commands/edit_session.h"
#include "editor/control/completion.h"
#include "editor/control/parameter_hint.h"
#include "editor/control/redodi_source.h"
#include "editor/highlight/styler.h"
#include "editor/highlight/tokenizer_url_pieces.h"
#include "editor/input/keyboard.h"
#include "editor/input/mouse_input.h"
#include "editor/platform/host.h"
#include "editor/undo/undo_list.h"
#include "editor/view/gutter_painter.h"
#include "editor/view/row_layout.h"
#include "editor/view/scroller.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tarnwick {

namespace {

constexpr std::array<uint8_t, 4> kVersion = {2, 1, 6, 1};
constexpr const char *kVersionDate = "Aug, 2008";

} // namespace

TCustomDodi::TCustomDodi(Host *host)
{
    // Members start at the construction defaults; what follows are the parts
    // that need the control itself.
    bounds_ = {0, 0, 100, 40};
    settings_.Font.Name = "Courier New";
    settings_.Font.SetSize(10);
    settings_.UrlStyle = TCharStyle(clBlue, clWhite, TFontStyles{fsUnderline});
    editSession_ = std::make_unique<TEditSession>();
    undoList_ = std::make_unique<TDodiUndoList>(this);
    keyboard_ = std::make_unique<TDodiKeyboard>(*this);

    lines_ = std::make_unique<REdoDodiStrings>();
    lines_->Add("");

    printOptions_ = std::make_unique<TPrintOptions>();
    autoCorrect_ = std::make_unique<TAutoCorrect>();
    autoCompletion_ = std::make_unique<TAutoCompletion>();
    autoCompletion_->OnChange = [this](TAutoCompletion::TChange c) { AutoCompletionChanged(c); };
    markerList_ = std::make_unique<TDodiMarkerList>();

    activeLineSettings_ = std::make_unique<TDodiActiveLineSettings>();
    activeLineSettings_->OnChange = [this](bool atCursor) { ActiveLineSettingsChanged(atCursor); };
    gutter_ = std::make_unique<TDodiGutter>();
    gutter_->SetRect({1, 1, 1 + gutter_->GutterWidth(), 1});
    gutter_->OnChange = [this](TDodiGutter::TChange c) { GutterChanged(c); };

    hintTimer_.SetInterval(autoHintParameterDelay_);
    codeFolding_ = std::make_unique<TCodeFolding>();
    codeFolding_->OnChange = [this](int kind) { CodeFoldingChanged(kind); };

    scroller_ = std::make_unique<TDodiScroller>(*this);
    TViewModel model;
    model.Caret = &caretState_;
    model.View = &viewState_;
    model.Flags = &flags_;
    model.Folds = &foldRegions_;
    model.Tokenizer = &tokenizer_;
    model.Settings = &settings_;
    model.Gutter = gutter_.get();
    model.Folding = codeFolding_.get();
    model.ActiveLine = activeLineSettings_.get();
    model.Markers = markerList_.get();
    model.Print = printOptions_.get();
    model.VertBar = &vertScrollBar_;
    model.HorzBar = &horzScrollBar_;
    model.Bounds = &bounds_;
    view_ = std::make_unique<TEditorView>(*this, model);
    mouse_ = std::make_unique<TMouseInput>(*this);
    completion_ = std::make_unique<TCompletion>(*this);
    parameterHint_ = std::make_unique<TParameterHint>(*this);
    completionTimer_.OnTimer = [this] { completion_->TimerFired(); };
    foldTimer_.OnTimer = [this] {
        foldTimer_.Stop();
        UpdateFoldRegions(true);
        FoldRegionsChanged();
    };
    hintTimer_.OnTimer = [this] {
        hintTimer_.Stop();
        parameterHint_->Hide();
    };

    // The store reports to the control from here on, when every part its
    // changes reach exists.
    lines_->SetOwnerMemo(this);
    lines_->SetTabSize(tabSize_);
    lines_->OnChange = [this](REdoDodiStrings &) { LinesChanged(); };
    undoList_->Attach(lines_.get());
    lines_->AddListener(&bookmarks_);
    foldRegions_.Reset(lines_->Count());

    ApplyBorderOffsets();
    SetHost(host);
}

TCustomDodi::~TCustomDodi()
{
    destroying_ = true;
    if (syntaxStyles_)
        syntaxStyles_->DetachEditor(*this);
    // An attached source and the checker hear of the end through the
    // destroy notifier; the source stops telling this control of its own.
    if (memoSource_)
        memoSource_->DestroyNotifier().Unsubscribe(this);
    if (lines_)
        lines_->OnChange = nullptr;
    undoList_->Attach(nullptr);
    if (lines_)
        lines_->RemoveListener(&bookmarks_);
    hintTimer_.Stop();
    completionTimer_.Stop();
    foldTimer_.Stop();
    // Parts that call back into the control go first.
    view_.reset();
    completionPopup_.reset();
    hintWindow_.reset();
    scrollHintWindow_.reset();
    printOptions_.reset();
    lines_.reset();
    gutter_.reset();
    activeLineSettings_.reset();
    autoCorrect_.reset();
    autoCompletion_.reset();
    markerList_.reset();
    codeFolding_.reset();
    hintTimer_.SetHost(nullptr);
    completionTimer_.SetHost(nullptr);
    foldTimer_.SetHost(nullptr);
}

void TCustomDodi::SetHost(Host *host)
{
    host_ = host;
    view_->SetPlatform(host);
    vertScrollBar_.SetHost(host);
    horzScrollBar_.SetHost(host);
    hintTimer_.SetHost(host);
    completionTimer_.SetHost(host);
    foldTimer_.SetHost(host);
    CreatePopups();
    if (host_) {
        host_->SetAcceptFiles(acceptFiles_);
        MeasureFont();
    }
}

void TCustomDodi::CreatePopups()
{
    completionPopup_.reset();
    hintWindow_.reset();
    scrollHintWindow_.reset();
    if (!host_)
        return;
    completionPopup_ = host_->CreateListPopup();
    hintWindow_ = host_->CreatePopup(TPopupKind::Hint);
    scrollHintWindow_ = host_->CreatePopup(TPopupKind::ScrollHint);
    if (completionPopup_) {
        completionPopup_->SetCaption("");
        completionPopup_->SetColor(autoCompletion_->Color());
        completionPopup_->SetFont(autoCompletion_->Font());
    }
    if (hintWindow_) {
        hintWindow_->OnPaint = [this](Canvas &canvas, const TRect &client) { parameterHint_->Paint(canvas, client); };
        hintWindow_->OnMouseDown = [this](TMouseButton, TShiftState, int, int) { parameterHint_->WindowPressed(); };
    }
}

void TCustomDodi::Invalidate()
{
    if (host_ && !destroying_)
        host_->Invalidate();
}

void TCustomDodi::InvalidateRect(const TRect &r)
{
    if (host_ && !destroying_)
        host_->InvalidateRect(r);
}

void TCustomDodi::InvalidateGutter() { InvalidateRect(gutter_->Rect()); }

// ---- virtual operations ----

void TCustomDodi::DoSelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange(*this);
}

void TCustomDodi::DoStatusChange()
{
    if (OnStatusChange)
        OnStatusChange(*this);
    // Caret moves show the parameter hint of the call the caret is in.
    if (parameterHint_)
        parameterHint_->CaretMoved();
}

bool TCustomDodi::IsDelimiter(char32_t c) const { return c == U' ' || c == U'"' || c == U'\''; }

bool TCustomDodi::IsTokenDelimiter(char32_t c) const
{
    switch (c) {
    case U' ':
    case U'"':
    case U'(':
    case U')':
    case U',':
    case U'.':
    case U':':
    case U';':
    case U'=':
    case U'[':
    case U']':
    case U'\'':
        return true;
    default:
        return false;
    }
}

bool TCustomDodi::CanModify() const { return true; }

void TCustomDodi::DoChange()
{
    if (OnChange)
        OnChange(*this);
}

void TCustomDodi::DoGutterClick(int line)
{
    if (OnGutterClick)
        OnGutterClick(*this, line);
}

void TCustomDodi::DoGetAutoCompletionList(const std::string &token, TCompletionItems &list)
{
    if (OnGetAutoCompletionList)
        OnGetAutoCompletionList(*this, token, list);
}

bool TCustomDodi::IsUrl(const std::string &word) const { return IsUrlPiece(word); }

uint32_t TCustomDodi::VersionNumber() const
{
    return uint32_t(kVersion[0]) << 24 | uint32_t(kVersion[1]) << 16 | uint32_t(kVersion[2]) << 8 | kVersion[3];
}

std::string TCustomDodi::Version() const
{
    return std::to_string(kVersion[0]) + "." + std::to_string(kVersion[1]) + "." + std::to_string(kVersion[2]) + "." +
           std::to_string(kVersion[3]);
}

std::string TCustomDodi::VersionText() const { return Version() + " " + kVersionDate; }

void TCustomDodi::BeginLoading()
{
    loading_ = true;
    markerList_->SetLoading(true);
}

void TCustomDodi::Loaded()
{
    loading_ = false;
    markerList_->SetLoading(false);
    if (memoSource_ && memoSource_->Editor() != this)
        memoSource_->SetEditor(this);
}

// ---- line store ----

REdoDodiStrings *TCustomDodi::ActiveLines() { return ShownText().Lines; }
const REdoDodiStrings *TCustomDodi::ActiveLines() const { return ShownText().Lines; }

void TCustomDodi::SetLines(const std::vector<std::string> &lines)
{
    REdoDodiStrings &store = *ActiveLines();
    store.Clear();
    store.AddStrings(lines);
    if (trimTrailingSpaces_) {
        for (int i = 0; i < store.Count(); ++i) {
            const std::string &s = store.Get(i);
            size_t end = s.find_last_not_of(' ');
            if (end + 1 != s.size())
                store.Put(i, s.substr(0, end + 1));
        }
    }
    DoSelectionChange();
    Invalidate();
}

void TCustomDodi::SetLines(const REdoDodiStrings &lines)
{
    if (&lines == ActiveLines())
        return;
    SetLines(lines.ToVector());
}

void TCustomDodi::LinesChanged()
{
    if (!flags_.ChangeHandling)
        return;
    DoChange();
    RecomputeMaxLineLength();
    UpdateScrollBars();
    DoStatusChange();
    Invalidate();
}

void TCustomDodi::RecomputeMaxLineLength()
{
    const REdoDodiStrings &store = *ActiveLines();
    if (store.LineLengths().Count() != store.Count())
        return;
    viewState_.MaxLineLength = store.LongestLineLength();
}

// Tabs reach to other stops: every wrapped row and painted cell moves.
void TCustomDodi::SetTabSize(int v)
{
    if (v == tabSize_)
        return;
    tabSize_ = v;
    lines_->SetTabSize(v);
    RelayoutRows();
    RecomputeMaxLineLength();
    UpdateScrollBars();
    Invalidate();
}

void TCustomDodi::SetCaretDirect(int col, int line)
{
    caretState_.CaretCol = col;
    caretState_.CaretLine = line;
}

void TCustomDodi::InvalidateStateCaches() { ActiveLines()->InvalidateStateCaches(); }

void TCustomDodi::Refresh() { Invalidate(); }

void TCustomDodi::SetLineModified(int line, bool modified)
{
    REdoDodiStrings &store = *ActiveLines();
    if (line < 0 || line >= store.Count())
        return;
    const TLineProp *existing = store.LinePropOf(line);
    if ((existing ? existing->Modified : false) == modified)
        return;
    {
        REdoDodiStrings::TNotifyEvent detached = std::move(store.OnChange);
        store.OnChange = nullptr;
        store.EnsureLineProp(line)->Modified = modified;
        store.OnChange = std::move(detached);
    }
    Invalidate();
}

// ---- font and geometry ----

// A proportional font would break the fixed character grid, so it is
// replaced by the system's fixed font.
void TCustomDodi::SetFont(const TFont &font)
{
    settings_.Font = font;
    if (host_) {
        Canvas &c = host_->MeasuringCanvas();
        c.SetFont(settings_.Font);
        if (c.TextWidth("W") != c.TextWidth("i"))
            settings_.Font.Name = "FixedSys";
    }
    MeasureFont();
    if (flags_.CaretShown)
        RecreateCaret();
    Invalidate();
}

void TCustomDodi::MeasureFont()
{
    if (!host_)
        return;
    Canvas &c = host_->MeasuringCanvas();
    c.SetFont(settings_.Font);
    viewState_.CharWidth = c.TextWidth("W");
    viewState_.LineHeight = c.TextHeight("W_") + 1;
}

void TCustomDodi::RecreateCaret()
{
    if (!host_)
        return;
    host_->DestroyCaret();
    host_->CreateCaret(2, viewState_.LineHeight - 2);
    host_->ShowCaret();
}

void TCustomDodi::ApplyBorderOffsets()
{
    const int width = gutter_->GutterWidth();
    if (settings_.BorderStyle == bsSingle) {
        const int offset = settings_.Ctl3D ? 2 : 1;
        gutter_->SetPlacement(offset, offset, width);
    } else {
        gutter_->SetPlacement(0, 0, width + 2);
    }
}

// There is no desktop theme library to ask, so the no-theme colours apply.
void TCustomDodi::ThemeAdapt()
{
    gutter_->SetGutterColor(clWhite);
    gutter_->SetGutterColorTo(clBtnFace);
}

// ---- settings objects reporting changes ----

void TCustomDodi::GutterChanged(TDodiGutter::TChange change)
{
    switch (change) {
    case TDodiGutter::TChange::Gutter:
    case TDodiGutter::TChange::Font:
        InvalidateGutter();
        break;
    case TDodiGutter::TChange::Whole:
        InvalidateGutter();
        Invalidate();
        break;
    case TDodiGutter::TChange::Layout:
        if (!loading_)
            LayoutChanged();
        break;
    }
}

void TCustomDodi::CodeFoldingChanged(int kind)
{
    if (kind == TCodeFolding::kEnabledChanged) {
        if (host_ && flags_.Focused && !settings_.HiddenCaret)
            host_->ShowCaret();
        ScanRegions();
    }
    Invalidate();
}

void TCustomDodi::ActiveLineSettingsChanged(bool atCursorSwitchedOn)
{
    if (atCursorSwitchedOn)
        viewState_.ActiveLine = caretState_.CaretLine;
    Invalidate();
}

void TCustomDodi::AutoCompletionChanged(TAutoCompletion::TChange change)
{
    switch (change) {
    case TAutoCompletion::TChange::Delay:
        completionTimer_.SetInterval(autoCompletion_->Delay());
        break;
    case TAutoCompletion::TChange::Color:
        if (completionPopup_)
            completionPopup_->SetColor(autoCompletion_->Color());
        break;
    case TAutoCompletion::TChange::Font:
        if (completionPopup_)
            completionPopup_->SetFont(autoCompletion_->Font());
        break;
    }
}

} // namespace tarnwick
