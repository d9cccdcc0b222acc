// TAutoCompletion: settings of the completion pop-up (size, delay, colours of
// the entry kinds, font, the characters that open it and end its words). The
// completion logic reads them.
#pragma once

#include "editor/base/graphics_types.h"

#include <functional>
#include <string>

namespace tarnwick {

class TAutoCompletion {
public:
    // What a setter asks the editor to pass on at once.
    enum class TChange : uint8_t { Delay, Color, Font };

    TAutoCompletion();

    bool ShowImages() const { return showImages_; }
    void SetShowImages(bool v) { showImages_ = v; }
    bool Active() const { return active_; }
    void SetActive(bool v) { active_ = v; }
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    int Delay() const { return delay_; }
    void SetDelay(int ms);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    const TFont &Font() const { return font_; }
    void SetFont(const TFont &f);
    TColor ColorVar() const { return colorVar_; }
    void SetColorVar(TColor c) { colorVar_ = c; }
    TColor ColorProp() const { return colorProp_; }
    void SetColorProp(TColor c) { colorProp_ = c; }
    TColor ColorIdentifier() const { return colorIdentifier_; }
    void SetColorIdentifier(TColor c) { colorIdentifier_ = c; }
    TColor ColorFunc() const { return colorFunc_; }
    void SetColorFunc(TColor c) { colorFunc_ = c; }
    TColor ColorEvent() const { return colorEvent_; }
    void SetColorEvent(TColor c) { colorEvent_ = c; }
    TColor ColorProc() const { return colorProc_; }
    void SetColorProc(TColor c) { colorProc_ = c; }
    TColor ColorMethod() const { return colorMethod_; }
    void SetColorMethod(TColor c) { colorMethod_ = c; }
    bool SizeDropDown() const { return sizeDropDown_; }
    void SetSizeDropDown(bool v) { sizeDropDown_ = v; }
    bool AutoDisplay() const { return autoDisplay_; }
    void SetAutoDisplay(bool v) { autoDisplay_ = v; }
    // Typing one of these starts the completion timer (UTF-8).
    const std::string &StartChars() const { return startChars_; }
    void SetStartChars(const std::string &chars) { startChars_ = chars; }
    // Characters that end the words completion reads and replaces, beside
    // the fixed ones (a language whose names stand between "<" and ">" lists
    // those). A start character among them opens the list by itself, with
    // nothing typed after it yet.
    const std::string &WordDelimiters() const { return wordDelimiters_; }
    void SetWordDelimiters(const std::string &chars) { wordDelimiters_ = chars; }
    bool IsStartChar(char32_t c) const;
    bool IsWordDelimiter(char32_t c) const;

    std::function<void(TChange)> OnChange;

private:
    void Notify(TChange change);

    bool showImages_ = false;
    bool active_ = true;
    int height_ = 100;
    int width_ = 200;
    int delay_ = 500;
    TColor color_ = clWindow;
    TFont font_;
    TColor colorVar_ = 0xFF0000;
    TColor colorProp_ = 0x808000;
    TColor colorIdentifier_ = 0x808000;
    TColor colorFunc_ = 0x800000;
    TColor colorEvent_ = 0x0000FF;
    TColor colorProc_ = 0x800000;
    TColor colorMethod_ = 0x800000;
    bool sizeDropDown_ = true;
    bool autoDisplay_ = true;
    std::string startChars_ = ".(";
    std::string wordDelimiters_;
};

} // namespace tarnwick
