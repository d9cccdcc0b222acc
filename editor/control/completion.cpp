// Opening, narrowing, keys, insertion and closing of the completion list.
#include "editor/control/completion.h"

#include "editor/base/text_case.h"
#include "editor/base/utf8.h"
#include "editor/base/win_constants.h"
#include "editor/control/custom_dodi.h"
#include "editor/control/parameter_hint.h"
#include "editor/highlight/styler.h"
#include "editor/platform/host.h"
#include "editor/undo/undo_list.h"

#include <algorithm>

namespace tarnwick {

namespace {

// Keys of the list's table that the key codes shared with the rest of the
// editor do not name: the left and right Shift and Alt keys, and minus.
constexpr uint16_t kLeftShift = 0xA0;
constexpr uint16_t kRightShift = 0xA1;
constexpr uint16_t kLeftAlt = 0xA4;
constexpr uint16_t kRightAlt = 0xA5;
constexpr uint16_t kMinusKey = 0xBD;

// An entry without its kind word (everything up to its first space).
std::string_view WithoutKindWord(std::string_view entry)
{
    const size_t space = entry.find(' ');
    return space == std::string_view::npos ? entry : entry.substr(space + 1);
}

std::string_view AfterFirstDot(std::string_view entry)
{
    const size_t dot = entry.find('.');
    return dot == std::string_view::npos ? entry : entry.substr(dot + 1);
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

} // namespace

TCompletion::TCompletion(TCustomDodi &editor) : ed_(editor) {}

TCompletion::~TCompletion() = default;

bool TCompletion::EndsCompletionWord(char32_t c) const
{
    return IsCompletionWordDelimiter(c) || ed_.AutoCompletion()->IsWordDelimiter(c);
}

bool TCompletion::EndsToken(char32_t c) const
{
    return ed_.IsTokenDelimiter(c) || ed_.AutoCompletion()->IsWordDelimiter(c);
}

bool TCompletion::EndsWord(char32_t c) const { return ed_.IsDelimiter(c) || ed_.AutoCompletion()->IsWordDelimiter(c); }

TLinePlace TCompletion::PlaceAt(int column, int line) const
{
    const REdoDodiStrings &store = *ed_.ActiveLines();
    TLinePlace place;
    if (line < 0 || line >= store.Count())
        return place;
    place.Text = store.Get(line);
    place.Length = store.LineLength(line);
    place.Column = std::max(0, column);
    place.Byte = store.ByteOfColumn(line, place.Column);
    return place;
}

TLinePlace TCompletion::CaretPlace() const { return PlaceAt(ed_.CaretCol(), ed_.CaretLine()); }

std::string TCompletion::CompletionWord() const
{
    const TLinePlace place = CaretPlace();
    return TextOf(place, WordAround(place, [this](char32_t c) { return EndsCompletionWord(c); }));
}

bool TCompletion::Visible() const
{
    const ListPopup *popup = ed_.CompletionPopup();
    return popup && popup->Visible();
}

void TCompletion::OpenByKey()
{
    const std::string word = CompletionWord();
    if (word.find('.') != std::string::npos) {
        const TLinePlace place = CaretPlace();
        const TWordSpan token = WordAround(place, [this](char32_t c) { return EndsToken(c); });
        memberContext_ = true;
        memberStart_ = {ed_.CaretCol() - token.Length(), ed_.CaretLine()};
    } else {
        memberContext_ = false;
    }
    ShowCompletion();
}

// A start character that also ends words (a "<" before a tag's name) opens
// the list with nothing typed after it; others need a word at the caret.
void TCompletion::TimerFired()
{
    ed_.CompletionTimer().Stop();
    const TAutoCompletion &settings = *ed_.AutoCompletion();
    if (!settings.Active() || !settings.AutoDisplay())
        return;
    const TLinePlace place = CaretPlace();
    const char32_t before =
        place.Column > 0 && place.Column <= place.Length ? utf8::At(place.Text, place.Column - 1) : 0;
    const bool opensAlone = before && settings.IsStartChar(before) && settings.IsWordDelimiter(before);
    if (CompletionWord().empty() && !opensAlone)
        return;
    memberContext_ = true;
    memberStart_ = {ed_.CaretCol(), ed_.CaretLine()};
    ShowCompletion();
}

// The styler's list may be empty when the host supplies the entries.
void TCompletion::ShowCompletion()
{
    const TAutoCompletion &settings = *ed_.AutoCompletion();
    const TCustomDodiStyler *styler = ed_.ActiveStyler();
    ListPopup *popup = ed_.CompletionPopup();
    if (!settings.Active() || ed_.ReadOnly() || !styler || !ed_.UseStyler() || !popup)
        return;
    if (styler->CompletionList().empty() && !ed_.OnGetAutoCompletionList)
        return;
    const std::string token = UpperCaseUtf8(CompletionWord());
    bool show = true;
    if (ed_.OnBeforeAutoCompletion)
        ed_.OnBeforeAutoCompletion(ed_, token, show);
    if (!show)
        return;
    TCompletionItems &items = ed_.CompletionEntries();
    items.clear();
    for (const std::string &entry : styler->CompletionList())
        if (token.empty() || StartsWith(UpperCaseUtf8(WithoutKindWord(entry)), token))
            items.push_back({entry, 0});
    ed_.DoGetAutoCompletionList(token, items);
    if (items.empty())
        return;

    look_ = settings;
    look_.OnChange = nullptr;
    listItems_ = items;
    popup->Hide();
    Place();
    popup->SetItemCount(static_cast<int>(listItems_.size()));
    AttachHandlers();
    if (ed_.OnStartAutoCompletion)
        ed_.OnStartAutoCompletion(ed_);
    Measure();
    if (look_.SizeDropDown()) {
        TRect bounds = popup->Bounds();
        bounds.right = bounds.left + measuredWidth_;
        popup->SetBounds(bounds);
    }
    popup->Show();
    popup->SetListFocus();
    if (memberContext_) {
        const TLinePlace place = PlaceAt(memberStart_.Col, memberStart_.Line);
        const std::string at = TextOf(place, WordAround(place, [this](char32_t c) { return EndsToken(c); }));
        if (!at.empty()) {
            FilterCompletion(UpperCaseUtf8(at));
            return;
        }
    }
    popup->SetItemIndex(0);
}

// Below the caret's cell; above it when the screen ends first.
void TCompletion::Place()
{
    ListPopup &popup = *ed_.CompletionPopup();
    Host *host = ed_.GetHost();
    const TPoint caret = ed_.CaretCellOrigin();
    const TPoint below = host->ClientToScreen({caret.x, caret.y + ed_.LineHeight() + 2});
    TRect bounds{below.x, below.y, below.x + look_.Width(), below.y + look_.Height()};
    const TRect work = host->WorkArea();
    if (bounds.bottom > work.bottom) {
        const int top = host->ClientToScreen(caret).y - look_.Height() - 2;
        bounds = {bounds.left, top, bounds.right, top + look_.Height()};
    }
    popup.SetBounds(bounds);
}

void TCompletion::FilterCompletion(const std::string &token)
{
    ListPopup *popup = ed_.CompletionPopup();
    if (!popup)
        return;
    listItems_.clear();
    TCompletionItems &items = ed_.CompletionEntries();
    ed_.DoGetAutoCompletionList(token, items);
    for (const TCompletionItem &item : items) {
        const std::string name = UpperCaseUtf8(AfterFirstDot(WithoutKindWord(item.Text)));
        if (token.empty() || StartsWith(name, token))
            listItems_.push_back(item);
    }
    popup->SetItemCount(static_cast<int>(listItems_.size()));
    popup->SetItemIndex(listItems_.empty() ? -1 : 0);
    Measure();
    if (look_.SizeDropDown()) {
        TRect bounds = popup->Bounds();
        bounds.right = bounds.left + measuredWidth_;
        popup->SetBounds(bounds);
    }
    popup->Invalidate();
}

void TCompletion::Refilter()
{
    if (memberContext_) {
        const TLinePlace place = PlaceAt(memberStart_.Col, memberStart_.Line);
        FilterCompletion(UpperCaseUtf8(TextOf(place, WordAround(place, [this](char32_t c) { return EndsWord(c); }))));
    } else {
        FilterCompletion(UpperCaseUtf8(CompletionWord()));
    }
}

// Typed as the editor types a character: the host sees it as a key press.
void TCompletion::TypeIntoEditor(char32_t c) { ed_.InputText(std::u32string(1, c)); }

void TCompletion::ListKeyDown(uint16_t &key, TShiftState shift)
{
    switch (key) {
    case VK_BACK:
        key = 0;
        if (!ed_.ReadOnly())
            ed_.Backspace();
        if (memberContext_ && CompletionWord().find('.') == std::string::npos) {
            HideCompletion();
            return;
        }
        Refilter();
        return;
    case VK_TAB:
    case VK_ESCAPE:
        key = 0;
        HideCompletion();
        ed_.PlaceCaret();
        return;
    case VK_RETURN:
    case VK_SPACE:
    case 53:
        key = 0;
        InsertCompletion(true);
        return;
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case kLeftShift:
    case kRightShift:
    case kLeftAlt:
    case kRightAlt:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return; // the list moves its own selection
    case VK_DELETE:
        key = 0;
        if (!ed_.ReadOnly())
            ed_.DeleteCharacter();
        return;
    default:
        break;
    }
    char32_t typed = 0;
    if (key >= 'A' && key <= 'Z')
        typed = shift.Contains(ssShift) ? key : key - 'A' + 'a';
    else if (key >= '0' && key <= '9')
        typed = key;
    else if (key == kMinusKey)
        typed = shift.Contains(ssShift) ? U'_' : U'-';
    if (typed) {
        key = 0;
        TypeIntoEditor(typed);
        Refilter();
        ed_.Invalidate();
        return;
    }
    // Any other key closes the list; the character it sends is typed by
    // the editor (ListKeyPress).
    CancelCompletion();
}

void TCompletion::ListKeyPress(char32_t &key)
{
    if (Visible() || key < 0x20)
        return;
    TypeIntoEditor(key);
    key = 0;
}

void TCompletion::InsertCompletion(bool keyboard)
{
    ListPopup *popup = ed_.CompletionPopup();
    const int index = popup ? popup->ItemIndex() : -1;
    if (index < 0 || index >= static_cast<int>(listItems_.size()))
        return;
    const std::string chosen = listItems_[index].Text;
    std::string entry = chosen;
    if (ed_.OnInsertAutoCompletionEntry)
        ed_.OnInsertAutoCompletionEntry(ed_, entry);
    bool inParentheses = false;
    if (entry == chosen) {
        const std::string_view rest = WithoutKindWord(entry);
        std::string name(rest.substr(0, rest.find_first_of("(; ")));
        if (keyboard && rest.find('(') != std::string_view::npos) {
            name += "()";
            inParentheses = true;
        }
        entry = name;
    }

    const int line = ed_.CaretLine();
    TCaretPos from{ed_.CaretCol(), line}, to{ed_.CaretCol(), line};
    if (!memberContext_ || entry.find('.') != std::string::npos) {
        const auto bound = [this, keyboard](char32_t c) {
            return c == U' ' || (keyboard && (c == U'(' || c == U')')) || ed_.AutoCompletion()->IsWordDelimiter(c);
        };
        const TWordSpan word = WordAround(CaretPlace(), bound);
        from.Col = word.Start;
        to.Col = word.End;
    } else {
        from.Col = memberStart_.Col;
    }
    {
        TUndoGroup step(ed_.UndoList());
        ed_.CaretState().SelStart = from;
        ed_.CaretState().SelEnd = to;
        ed_.CaretState().SelAnchor = to;
        if (ed_.OnAutoCompletion)
            ed_.OnAutoCompletion(ed_);
        ed_.InsertText(entry);
    }
    if (inParentheses) {
        ed_.SetCaretCol(ed_.CaretCol() - 1);
        ed_.CollapseSelection();
        ed_.ParameterHint().Show();
    }
    DetachHandlers();
    HideCompletion();
    ed_.PlaceCaret();
}

void TCompletion::CancelCompletion()
{
    if (ed_.OnCancelAutoCompletion)
        ed_.OnCancelAutoCompletion(ed_);
    HideCompletion();
}

void TCompletion::HideCompletion()
{
    ListPopup *popup = ed_.CompletionPopup();
    if (!popup || !popup->Visible())
        return;
    popup->Hide();
    if (Host *host = ed_.GetHost())
        host->SetFocus();
}

void TCompletion::AttachHandlers()
{
    ListPopup &popup = *ed_.CompletionPopup();
    popup.OnDeactivate = [this] { CancelCompletion(); };
    popup.OnExit = [this] {
        if (Visible())
            CancelCompletion();
    };
    popup.OnKeyDown = [this](uint16_t &key, TShiftState shift) { ListKeyDown(key, shift); };
    popup.OnKeyPress = [this](char32_t &key) { ListKeyPress(key); };
    popup.OnMouseUp = [this](TMouseButton, TShiftState, int, int) { InsertCompletion(false); };
    popup.OnDrawItem = [this](Canvas &canvas, int index, const TRect &rect, bool selected) {
        DrawItem(canvas, index, rect, selected);
    };
}

void TCompletion::DetachHandlers()
{
    ListPopup *popup = ed_.CompletionPopup();
    if (!popup)
        return;
    popup->OnDeactivate = nullptr;
    popup->OnExit = nullptr;
    popup->OnKeyDown = nullptr;
    popup->OnMouseUp = nullptr;
}

} // namespace tarnwick
