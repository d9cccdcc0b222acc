#include "editor/highlight/element_style.h"

#include "editor/highlight/styler.h"
#include "editor/highlight/styler_client.h"

#include <algorithm>

namespace tarnwick {

namespace {

TFont DefaultElementFont()
{
    TFont font;
    font.Name = "Courier New";
    font.SetSize(8);
    font.Color = clBlack;
    return font;
}

} // namespace

TElementStyle::TElementStyle(TElementStyles *collection)
    : collection_(collection), font_(DefaultElementFont()),
      bgColor_(collection && collection->EditorLink() ? collection->EditorLink()->StylerBackground() : clWhite)
{
}

TElementStyle::~TElementStyle()
{
    if (collection_)
        collection_->itemsReset_ = true;
}

int TElementStyle::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TElementStyle::SetKeyWords(const TKeyWordList &words)
{
    keyWords_.Assign(words);
    Changed();
}

void TElementStyle::SetKeyWords(const std::vector<std::string> &words)
{
    keyWords_.Assign(words);
    Changed();
}

void TElementStyle::SetFont(const TFont &font)
{
    font_ = font;
    Changed();
}

void TElementStyle::SetBGColor(TColor color)
{
    bgColor_ = color;
    Changed();
}

void TElementStyle::SetStyleType(TStyleType type)
{
    styleType_ = type;
    Changed();
}

void TElementStyle::SetBracketStart(char32_t c)
{
    bracketStart_ = c;
    Changed();
}

void TElementStyle::SetBracketEnd(char32_t c)
{
    bracketEnd_ = c;
    Changed();
}

void TElementStyle::SetSymbols(std::string symbols)
{
    symbols_ = std::move(symbols);
    Changed();
}

void TElementStyle::SetBrackets(char32_t start, char32_t end)
{
    bracketStart_ = start;
    bracketEnd_ = end;
    Changed();
}

std::string TElementStyle::DisplayName() const { return info_.empty() ? "TElementStyle" : info_; }

void TElementStyle::Assign(const TElementStyle &source)
{
    if (&source == this)
        return;
    keyWords_.Assign(source.keyWords_);
    font_ = source.font_;
    bgColor_ = source.bgColor_;
    info_ = source.info_;
    styleType_ = source.styleType_;
    bracketStart_ = source.bracketStart_;
    bracketEnd_ = source.bracketEnd_;
    symbols_ = source.symbols_;
    Changed();
}

void TElementStyle::Changed()
{
    if (collection_)
        collection_->Update(this);
}

TElementStyles::~TElementStyles()
{
    destroying_ = true;
    items_.clear();
}

TElementStyle *TElementStyles::Items(int index) const
{
    return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

TElementStyle &TElementStyles::Add()
{
    items_.push_back(std::make_unique<TElementStyle>(this));
    return *items_.back();
}

void TElementStyles::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    Update(nullptr);
}

void TElementStyles::Clear()
{
    if (items_.empty())
        return;
    items_.clear();
    Update(nullptr);
}

void TElementStyles::Assign(const TElementStyles &source)
{
    if (&source == this)
        return;
    items_.clear();
    for (const auto &item : source.items_)
        Add().Assign(*item);
    Update(nullptr);
}

int TElementStyles::IndexOf(const TElementStyle *item) const
{
    auto at = std::find_if(items_.begin(), items_.end(), [item](const auto &p) { return p.get() == item; });
    return at == items_.end() ? -1 : static_cast<int>(at - items_.begin());
}

void TElementStyles::Update(TElementStyle *)
{
    if (destroying_ || !editorLink_)
        return;
    if (owner_)
        editorLink_->StylerChanged(*owner_);
}

TElementStyle &AddElementStyle(TElementStyles &styles, std::string info, TStyleType type, TColor color,
                               TFontStyles fontStyle)
{
    TElementStyle &style = styles.Add();
    style.SetInfo(std::move(info));
    style.SetStyleType(type);
    TFont font = style.Font();
    font.Color = color;
    font.Style = fontStyle;
    style.SetFont(font);
    return style;
}

} // namespace tarnwick
