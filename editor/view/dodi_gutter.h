// TDodiGutter: settings of the strip left of the text (line numbers, marks).
// The editor paints it; the settings only store values and say what needs
// repainting.
#pragma once

#include "editor/base/graphics_types.h"

#include <functional>
#include <string>

namespace tarnwick {

class TDodiGutter {
public:
    // What a setter asks its editor to redo.
    enum class TChange : uint8_t {
        Gutter, // repaint the gutter rectangle
        Whole,  // repaint the gutter and the whole control
        Layout, // recompute the layout (scroll bars, wrap, caret), then repaint
        Font,   // the line-number font changed
    };

    TDodiGutter();

    int DigitCount() const { return digitCount_; }
    void SetDigitCount(int v);
    const TFont &Font() const { return font_; }
    void SetFont(const TFont &f);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor c);
    int GutterWidth() const { return gutterWidth_; }
    void SetGutterWidth(int w);
    int GutterMargin() const { return gutterMargin_; }
    void SetGutterMargin(int m);
    TColor GutterColor() const { return gutterColor_; }
    void SetGutterColor(TColor c);
    TColor GutterColorTo() const { return gutterColorTo_; }
    void SetGutterColorTo(TColor c);
    int LineNumberStart() const { return lineNumberStart_; }
    void SetLineNumberStart(int v);
    TColor LineNumberTextColor() const { return lineNumberTextColor_; }
    void SetLineNumberTextColor(TColor c);
    TColor ModifiedColorBkg() const { return modifiedColorBkg_; }
    void SetModifiedColorBkg(TColor c);
    TColor ModifiedColor() const { return modifiedColor_; }
    void SetModifiedColor(TColor c);
    const std::string &NumberSuffix() const { return numberSuffix_; }
    void SetNumberSuffix(const std::string &s);
    bool ShowLineNumbers() const { return showLineNumbers_; }
    void SetShowLineNumbers(bool v);
    bool ShowModified() const { return showModified_; }
    void SetShowModified(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool ShowLeadingZeros() const { return showLeadingZeros_; }
    void SetShowLeadingZeros(bool v);

    // Where the gutter sits in the editor's client area; its width follows
    // GutterWidth, the rest is placed by the editor.
    const TRect &Rect() const { return rect_; }
    void SetRect(const TRect &r) { rect_ = r; }
    void SetPlacement(int left, int top, int width);
    void SetHeight(int height) { rect_.bottom = rect_.top + height; }

    void Assign(const TDodiGutter &other);

    std::function<void(TChange)> OnChange;

private:
    void Notify(TChange change);

    int digitCount_ = 4;
    TFont font_;
    TColor borderColor_ = clGray;
    int gutterWidth_ = 45;
    int gutterMargin_ = 45;
    TColor gutterColor_ = clBtnFace;
    TColor gutterColorTo_ = clWhite;
    int lineNumberStart_ = 1;
    TColor lineNumberTextColor_ = clBlack;
    TColor modifiedColorBkg_ = clLime;
    TColor modifiedColor_ = clYellow;
    std::string numberSuffix_;
    bool showLineNumbers_ = true;
    bool showModified_ = false;
    bool visible_ = true;
    bool showLeadingZeros_ = false;
    TRect rect_;
};

} // namespace tarnwick
