#include "editor/highlight/styler.h"

#include "editor/base/text_case.h"
#include "editor/highlight/styler_client.h"

#include <algorithm>

namespace tarnwick {

TCustomDodiStyler::TCustomDodiStyler() = default;

TCustomDodiStyler::~TCustomDodiStyler()
{
    // A client may detach itself while being told; work on a copy.
    std::vector<TStylerClient *> clients;
    clients.swap(freeNotifies_);
    allStyles_.SetEditorLink(nullptr);
    for (TStylerClient *client : clients)
        client->StylerDestroyed(*this);
}

void TCustomDodiStyler::SetLineComment(std::string text)
{
    lineComment_ = std::move(text);
    NotifyLinkedEditor();
}

void TCustomDodiStyler::SetMultiCommentLeft(std::string text)
{
    multiCommentLeft_ = std::move(text);
    NotifyLinkedEditor();
}

void TCustomDodiStyler::SetMultiCommentRight(std::string text)
{
    multiCommentRight_ = std::move(text);
    NotifyLinkedEditor();
}

void TCustomDodiStyler::SetStringEscape(std::string text)
{
    stringEscape_ = std::move(text);
    NotifyLinkedEditor();
}

void TCustomDodiStyler::SetMarkupSyntax(bool markup)
{
    markupSyntax_ = markup;
    NotifyLinkedEditor();
}

void TCustomDodiStyler::SetStyle(int index, const TCharStyle &style)
{
    if (index == 1)
        commentStyle_.Assign(style);
    else if (index == 2)
        numberStyle_.Assign(style);
}

void TCustomDodiStyler::Loaded()
{
    if (!allStyles_.ItemsReset())
        allStyles_.Clear();
    NotifyLinkedEditor();
}

void TCustomDodiStyler::AttachEditor(TStylerClient &editor, bool caseSensitive)
{
    FreeNotification(editor);
    allStyles_.SetEditorLink(&editor);
    for (const auto &style : allStyles_) {
        if (style->StyleType() != stKeyword)
            continue;
        TKeyWordList &words = style->KeyWords();
        words.SetSorted(false);
        if (!caseSensitive)
            for (int i = 0; i < words.Count(); ++i)
                words.Put(i, LowerCaseUtf8(words[i]));
        words.SetSorted(true);
    }
}

void TCustomDodiStyler::DetachEditor(TStylerClient &editor)
{
    RemoveFreeNotification(editor);
    if (allStyles_.EditorLink() == &editor)
        allStyles_.SetEditorLink(nullptr);
}

void TCustomDodiStyler::FreeNotification(TStylerClient &editor)
{
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), &editor) == freeNotifies_.end())
        freeNotifies_.push_back(&editor);
}

void TCustomDodiStyler::RemoveFreeNotification(TStylerClient &editor) { std::erase(freeNotifies_, &editor); }

bool TCustomDodiStyler::IsStyleDelimiter(char32_t c) const
{
    for (const auto &style : allStyles_) {
        if (style->StyleType() == stSymbol) {
            const std::string &symbols = style->Symbols();
            for (size_t i = 0; i < symbols.size();)
                if (NextCodePoint(symbols, i) == c)
                    return true;
        } else if (style->StyleType() == stBracket) {
            if (style->BracketStart() == c || style->BracketEnd() == c)
                return true;
        }
    }
    return false;
}

void TCustomDodiStyler::NotifyLinkedEditor()
{
    if (TStylerClient *editor = allStyles_.EditorLink())
        editor->StylerChanged(*this);
}

} // namespace tarnwick
