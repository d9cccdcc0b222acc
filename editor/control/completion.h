// TCompletion: the completion pop-up's behaviour. It opens by Ctrl+Space or
// by the completion timer with the styler's entries and the host's, narrows
// as the user types in it, inserts the chosen entry over the word at the
// caret as one undo step, and closes. The list window itself is the host's;
// this draws its items (completion_list.cpp).
#pragma once

#include "editor/base/editor_types.h"
#include "editor/control/auto_completion.h"
#include "editor/control/completion_words.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tarnwick {

class Canvas;
class TBitmap;
class TCustomDodi;

class TCompletion {
public:
    explicit TCompletion(TCustomDodi &editor);
    ~TCompletion();
    TCompletion(const TCompletion &) = delete;
    TCompletion &operator=(const TCompletion &) = delete;

    // Ctrl+Space: the word at the caret decides whether it is a member's.
    void OpenByKey();
    // The completion timer fired after "." or "(" (or another start
    // character) was typed.
    void TimerFired();
    void ShowCompletion();
    void FilterCompletion(const std::string &token);
    // keyboard: chosen by a key (the entry's parameter part adds "()"),
    // else by the mouse.
    void InsertCompletion(bool keyboard);
    void CancelCompletion();
    void HideCompletion();
    bool Visible() const;

    bool MemberContext() const { return memberContext_; }
    TCaretPos MemberStart() const { return memberStart_; }
    // What the list shows, in order; the selected one is the list's index.
    const TCompletionItems &ListItems() const { return listItems_; }
    int KindWordWidth() const { return kindWordWidth_; }
    int MeasuredWidth() const { return measuredWidth_; }

    // The list window's notifications.
    void ListKeyDown(uint16_t &key, TShiftState shift);
    void ListKeyPress(char32_t &key);
    void DrawItem(Canvas &canvas, int index, const TRect &rect, bool selected);

    // Delimiter tests: the fixed ones and the settings' word delimiters.
    bool EndsCompletionWord(char32_t c) const;
    bool EndsToken(char32_t c) const;
    bool EndsWord(char32_t c) const;
    TLinePlace PlaceAt(int column, int line) const;
    TLinePlace CaretPlace() const;

private:
    std::string CompletionWord() const;
    void Place();
    void Measure();
    void AttachHandlers();
    void DetachHandlers();
    // After the text changed under the open list: narrow it again.
    void Refilter();
    void TypeIntoEditor(char32_t c);
    TBitmap *Glyph(Canvas &canvas, int kind);

    TCustomDodi &ed_;
    TCompletionItems listItems_;
    bool memberContext_ = false;
    TCaretPos memberStart_;
    int kindWordWidth_ = 0;
    int measuredWidth_ = 0;
    // The look the list opened with: colours, font, images.
    TAutoCompletion look_;
    std::unique_ptr<TBitmap> glyphs_[5];
};

} // namespace tarnwick
