// What typing a word-ending character runs before the character is typed:
// the checker's line and word hooks, then auto-correct of the word at the
// caret from the correction table and OnWordComplete.
#include "editor/base/utf8.h"
#include "editor/control/completion.h"
#include "editor/control/completion_words.h"
#include "editor/control/custom_dodi.h"
#include "editor/control/redodi_checker.h"
#include "editor/undo/undo_list.h"

namespace tarnwick {

namespace {

// Replaces `span` of line `line` by `word` and records the old line as a
// correction, one undo step of its own.
void ReplaceWord(TCustomDodi &ed, int line, const TWordSpan &span, const std::string &word)
{
    REdoDodiStrings &store = *ed.ActiveLines();
    const std::string old = store.Get(line);
    std::string text = old.substr(0, span.StartByte) + word + old.substr(span.EndByte);
    store.Put(line, std::move(text));
    ed.UndoList().Add(std::make_unique<TCorrectUndo>(line, old));
}

} // namespace

void TCustomDodi::WordEnding(char32_t ch)
{
    REdoDodiChecker *checker = memoChecker_;
    REdoDodiStrings &store = *ActiveLines();
    const auto tokenEnd = [this](char32_t c) { return IsTokenDelimiter(c); };
    if (checker && ch == U'\r') {
        switch (checker->CheckMode()) {
        case REdoDodiChecker::LineCorrection:
            if (store.Count() > 0) {
                checker->CorrectLine(CaretLine());
                SetCaretCol(store.LineLength(CaretLine()));
            }
            break;
        case REdoDodiChecker::LineCheck:
            checker->CheckLine(CaretLine());
            break;
        case REdoDodiChecker::WordCheck:
            checker->CheckWord(CaretLine(), CaretCol(),
                               TextOf(completion_->CaretPlace(), WordBefore(completion_->CaretPlace(), tokenEnd)));
            break;
        default:
            break;
        }
    }
    if (checker && (ch == U'\t' || ch == U' ')) {
        const TLinePlace place = completion_->CaretPlace();
        const TWordSpan span = WordBefore(place, tokenEnd);
        std::string word = TextOf(place, span);
        if (!word.empty()) {
            if (checker->CheckMode() == REdoDodiChecker::WordCorrection) {
                const std::string typed = word;
                checker->CorrectWord(CaretLine(), CaretCol(), word);
                if (word != typed && checker == memoChecker_) {
                    ReplaceWord(*this, CaretLine(), span, word);
                    SetCaretCol(CaretCol() + utf8::Length(word) - span.Length());
                }
            } else if (checker->CheckMode() == REdoDodiChecker::WordCheck) {
                checker->CheckWord(CaretLine(), CaretCol(), word);
            }
        }
    }
    if (OnWordComplete || (autoCorrect_->Active && !autoCorrect_->OldValue.empty()))
        AutoCorrectWord();
}

// The whole word around the caret is replaced, also when the caret stands
// inside it; the caret keeps its place in the word, or follows its end.
void TCustomDodi::AutoCorrectWord()
{
    const TLinePlace place = completion_->CaretPlace();
    const TWordSpan span = WordAround(place, [this](char32_t c) { return IsDelimiter(c); });
    const std::string word = TextOf(place, span);
    if (word.empty())
        return;
    std::string newWord = word;
    const TAutoCorrect &table = *autoCorrect_;
    for (size_t i = 0; i < table.OldValue.size(); ++i) {
        if (table.OldValue[i] == word) {
            // An old value without a partner corrects nothing.
            if (i < table.NewValue.size())
                newWord = table.NewValue[i];
            break;
        }
    }
    if (OnWordComplete)
        OnWordComplete(*this, word, newWord);
    if (newWord == word)
        return;
    const int line = CaretLine();
    const int offset = CaretCol() - span.Start;
    ReplaceWord(*this, line, span, newWord);
    const int newLength = utf8::Length(newWord);
    const int column = offset >= span.Length() ? span.Start + newLength : span.Start + std::min(offset, newLength);
    SetCaretCol(column);
}

} // namespace tarnwick
