// THintParameter: the parameter-hint settings a styler carries for the
// editor's hint pop-up (which words have hints, and how they are delimited).
#pragma once

#include "editor/base/graphics_types.h"

#include <string>
#include <vector>

namespace tarnwick {

class THintParameter {
public:
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor c) { textColor_ = c; }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor c) { bkColor_ = c; }
    char32_t HintCharStart() const { return hintCharStart_; }
    void SetHintCharStart(char32_t c) { hintCharStart_ = c; }
    char32_t HintCharEnd() const { return hintCharEnd_; }
    void SetHintCharEnd(char32_t c) { hintCharEnd_ = c; }
    char32_t HintCharDelimiter() const { return hintCharDelimiter_; }
    void SetHintCharDelimiter(char32_t c) { hintCharDelimiter_ = c; }
    char32_t HintCharWriteDelimiter() const { return hintCharWriteDelimiter_; }
    void SetHintCharWriteDelimiter(char32_t c) { hintCharWriteDelimiter_ = c; }
    // One hint per entry: a name followed by its parameter list.
    const std::vector<std::string> &Parameters() const { return parameters_; }
    void SetParameters(const std::vector<std::string> &parameters) { parameters_ = parameters; }

    void Assign(const THintParameter &source) { *this = source; }

private:
    TColor textColor_ = clBlack;
    TColor bkColor_ = clInfoBk;
    char32_t hintCharStart_ = U'(';
    char32_t hintCharEnd_ = U')';
    char32_t hintCharDelimiter_ = U';';
    char32_t hintCharWriteDelimiter_ = U',';
    std::vector<std::string> parameters_;
};

} // namespace tarnwick
