// TCustomDodiStyler: the base of all stylers, the non-visual description of
// how the editor colours a language (comment delimiters, comment and number
// styles, element styles, number characters, folding regions).
#pragma once

#include "editor/highlight/char_style.h"
#include "editor/highlight/element_style.h"
#include "editor/highlight/region_definition.h"
#include "editor/highlight/styler_hint_parameter.h"

#include <string>
#include <vector>

namespace tarnwick {

class TStylerClient;

class TCustomDodiStyler {
public:
    TCustomDodiStyler();
    // Tells every editor registered through FreeNotification.
    virtual ~TCustomDodiStyler();
    TCustomDodiStyler(const TCustomDodiStyler &) = delete;
    TCustomDodiStyler &operator=(const TCustomDodiStyler &) = delete;

    const std::string &Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // Element styles in order; the order decides ties when tokenizing.
    TElementStyles &AllStyles() { return allStyles_; }
    const TElementStyles &AllStyles() const { return allStyles_; }
    void SetAllStyles(const TElementStyles &styles) { allStyles_.Assign(styles); }

    // Delimiter setters tell the linked editor, whose cached line states
    // depend on them.
    const std::string &LineComment() const { return lineComment_; }
    void SetLineComment(std::string text);
    const std::string &MultiCommentLeft() const { return multiCommentLeft_; }
    void SetMultiCommentLeft(std::string text);
    const std::string &MultiCommentRight() const { return multiCommentRight_; }
    void SetMultiCommentRight(std::string text);
    // Its first character, inside a bracket run, makes the next one part of the run.
    const std::string &StringEscape() const { return stringEscape_; }
    void SetStringEscape(std::string text);

    // The language is XML: the tokenizer follows XML's own syntax for
    // comments, CDATA sections, processing instructions, the DOCTYPE and text
    // content, and colours what it finds with the styles above.
    bool MarkupSyntax() const { return markupSyntax_; }
    void SetMarkupSyntax(bool markup);

    const TCharStyle &CommentStyle() const { return commentStyle_; }
    void SetCommentStyle(const TCharStyle &style) { SetStyle(1, style); }
    const TCharStyle &NumberStyle() const { return numberStyle_; }
    void SetNumberStyle(const TCharStyle &style) { SetStyle(2, style); }
    // Index 1 sets the comment style, 2 the number style; other indexes do nothing.
    virtual void SetStyle(int index, const TCharStyle &style);

    std::vector<std::string> &CompletionList() { return completionList_; }
    const std::vector<std::string> &CompletionList() const { return completionList_; }
    void SetCompletionList(const std::vector<std::string> &list) { completionList_ = list; }
    THintParameter &ParameterHints() { return parameterHints_; }
    const THintParameter &ParameterHints() const { return parameterHints_; }
    void SetParameterHints(const THintParameter &hints) { parameterHints_.Assign(hints); }

    const std::string &NumberCharacters() const { return numberCharacters_; }
    void SetNumberCharacters(std::string chars) { numberCharacters_ = std::move(chars); }
    const std::string &HexPrefix() const { return hexPrefix_; }
    void SetHexPrefix(std::string prefix) { hexPrefix_ = std::move(prefix); }
    const std::string &BlockCloser() const { return blockCloser_; }
    void SetBlockCloser(std::string word) { blockCloser_ = std::move(word); }
    const std::string &BlockOpener() const { return blockOpener_; }
    void SetBlockOpener(std::string word) { blockOpener_ = std::move(word); }

    const std::string &Filter() const { return filter_; }
    void SetFilter(std::string text) { filter_ = std::move(text); }
    const std::string &DefaultExtension() const { return defaultExtension_; }
    void SetDefaultExtension(std::string text) { defaultExtension_ = std::move(text); }
    const std::string &Extensions() const { return extensions_; }
    void SetExtensions(std::string text) { extensions_ = std::move(text); }
    const std::string &Description() const { return description_; }
    void SetDescription(std::string text) { description_ = std::move(text); }
    const std::string &StylerName() const { return stylerName_; }
    void SetStylerName(std::string text) { stylerName_ = std::move(text); }

    TRegionDefinitions &Regions() { return regions_; }
    const TRegionDefinitions &Regions() const { return regions_; }
    void SetRegions(const TRegionDefinitions &regions) { regions_.Assign(regions); }

    // After reading a stored form: a form that did not rebuild AllStyles
    // leaves the construction defaults in it, which it did not ask for, so they
    // go. The linked editor is told either way.
    virtual void Loaded();

    // The styler side of an editor attaching it: register the editor for the
    // removal notification, link it, and prepare every keyword list for sorted
    // look-ups (lower-cased first unless matching is case-sensitive).
    void AttachEditor(TStylerClient &editor, bool caseSensitive);
    // An editor going away or switching stylers: no more notifications, and
    // the link is cleared when it points at that editor.
    void DetachEditor(TStylerClient &editor);
    void FreeNotification(TStylerClient &editor);
    void RemoveFreeNotification(TStylerClient &editor);

    // True when `c` is a symbol of a symbol style, or the start or end
    // character of a bracket style.
    bool IsStyleDelimiter(char32_t c) const;

protected:
    void NotifyLinkedEditor();

private:
    std::string name_;
    TElementStyles allStyles_{this};
    std::string lineComment_;
    std::string multiCommentLeft_;
    std::string multiCommentRight_;
    TCharStyle commentStyle_{clSilver, clWhite, {fsItalic}};
    TCharStyle numberStyle_{clNavy, clWhite, {fsBold}};
    std::vector<std::string> completionList_;
    THintParameter parameterHints_;
    std::string numberCharacters_ = "+-.0123456789";
    std::string hexPrefix_;
    std::string blockCloser_;
    std::string blockOpener_;
    std::string stringEscape_;
    bool markupSyntax_ = false;
    std::string filter_;
    std::string defaultExtension_;
    std::string extensions_;
    std::string description_;
    std::string stylerName_;
    TRegionDefinitions regions_{this};
    // Editors to tell when this styler is destroyed.
    std::vector<TStylerClient *> freeNotifies_;
};

} // namespace tarnwick
