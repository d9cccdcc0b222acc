// TElementStyle and TElementStyles: the styler's element styles (keyword
// lists, bracket pairs, symbol sets) and the collection that owns them.
#pragma once

#include "editor/base/graphics_types.h"
#include "editor/highlight/element_style_keywords.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class TCustomDodiStyler;
class TElementStyles;
class TStylerClient;

enum TStyleType : uint8_t { stKeyword, stBracket, stSymbol };

class TElementStyle {
public:
    // A style made outside a collection starts on a white background.
    explicit TElementStyle(TElementStyles *collection = nullptr);
    ~TElementStyle();
    TElementStyle(const TElementStyle &) = delete;
    TElementStyle &operator=(const TElementStyle &) = delete;

    TElementStyles *Collection() const { return collection_; }
    // Position in the collection; -1 outside one.
    int Index() const;

    // Every setter but SetInfo stores the value and asks the collection to
    // update this item.
    const TKeyWordList &KeyWords() const { return keyWords_; }
    // Direct access for the editor's keyword folding; call Changed() after
    // editing through it.
    TKeyWordList &KeyWords() { return keyWords_; }
    void SetKeyWords(const TKeyWordList &words);
    void SetKeyWords(const std::vector<std::string> &words);
    const TFont &Font() const { return font_; }
    void SetFont(const TFont &font);
    TColor BGColor() const { return bgColor_; }
    void SetBGColor(TColor color);
    const std::string &Info() const { return info_; }
    void SetInfo(std::string info) { info_ = std::move(info); }
    TStyleType StyleType() const { return styleType_; }
    void SetStyleType(TStyleType type);
    char32_t BracketStart() const { return bracketStart_; }
    void SetBracketStart(char32_t c);
    char32_t BracketEnd() const { return bracketEnd_; }
    void SetBracketEnd(char32_t c);
    // UTF-8; each code point is one symbol.
    const std::string &Symbols() const { return symbols_; }
    void SetSymbols(std::string symbols);
    void SetBrackets(char32_t start, char32_t end);

    // Info when set, otherwise the collection's standard item name.
    std::string DisplayName() const;

    void Assign(const TElementStyle &source);
    void Changed();

private:
    friend class TElementStyles;

    TElementStyles *collection_;
    TKeyWordList keyWords_;
    TFont font_;
    TColor bgColor_;
    std::string info_;
    TStyleType styleType_ = stKeyword;
    char32_t bracketStart_ = 0;
    char32_t bracketEnd_ = 0;
    std::string symbols_;
};

class TElementStyles {
public:
    explicit TElementStyles(TCustomDodiStyler *owner = nullptr) : owner_(owner) {}
    ~TElementStyles();
    TElementStyles(const TElementStyles &) = delete;
    TElementStyles &operator=(const TElementStyles &) = delete;

    TCustomDodiStyler *Owner() const { return owner_; }

    int Count() const { return static_cast<int>(items_.size()); }
    // Null for an index out of range.
    TElementStyle *Items(int index) const;
    TElementStyle &operator[](int index) const { return *items_.at(index); }
    TElementStyle &Add();
    void Delete(int index);
    void Clear();
    // Replaces the items by copies of the source's items.
    void Assign(const TElementStyles &source);
    int IndexOf(const TElementStyle *item) const;

    // The editor that last attached the styler; new styles take its background.
    TStylerClient *EditorLink() const { return editorLink_; }
    void SetEditorLink(TStylerClient *editor) { editorLink_ = editor; }
    // Set once any element style has been destroyed, so a styler read from a
    // stored form knows whether the form rebuilt the collection.
    bool ItemsReset() const { return itemsReset_; }

    // Called by an item after a change; tells the linked editor.
    void Update(TElementStyle *item);

    std::vector<std::unique_ptr<TElementStyle>>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::unique_ptr<TElementStyle>>::const_iterator end() const { return items_.end(); }

private:
    friend class TElementStyle;

    TCustomDodiStyler *owner_;
    std::vector<std::unique_ptr<TElementStyle>> items_;
    TStylerClient *editorLink_ = nullptr;
    bool itemsReset_ = false;
    bool destroying_ = false;
};

// Adds a style of the given type whose font has the given colour and style.
TElementStyle &AddElementStyle(TElementStyles &styles, std::string info, TStyleType type, TColor color,
                               TFontStyles fontStyle);

} // namespace tarnwick
