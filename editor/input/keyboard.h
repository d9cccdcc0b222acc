// TDodiKeyboard: key-down, character and key-up processing, and the keyboard
// state the control keeps between keys. Key-down dispatch walks a table of
// bindings (key, shift state, action); control characters and the keys that
// edit go on to the key-command tables.
#pragma once

#include "editor/base/editor_types.h"

#include <cstdint>
#include <string_view>

namespace tarnwick {

class TInputTarget;

// Blink time that keeps the host's caret lit without blinking, used while
// keys repeat.
inline constexpr int kSteadyCaretBlinkTime = 0;

class TDodiKeyboard {
public:
    explicit TDodiKeyboard(TInputTarget &editor);

    void KeyDown(uint16_t &key, TShiftState shift);
    // One character: printable ones are typed, control characters run the
    // key-command tables.
    void KeyPress(char32_t &key);
    void KeyUp(uint16_t &key, TShiftState shift);
    // Text an input method composed: typed like characters of keys.
    void InputText(std::u32string_view text);

    // Printable: not a C0 or C1 control, not DEL, a Unicode scalar value.
    static bool IsPrintable(char32_t c);

    // Set by every key-down; cleared by Ctrl+Space so that the space
    // character that follows is not typed.
    bool KeyDownSeen = false;
    // The latest key-down had no Ctrl.
    bool LastKeyWithoutCtrl = false;

private:
    void KeepCaretLit(uint16_t key);
    void WordEnded(char32_t ch);

    TInputTarget &ed_;
};

} // namespace tarnwick
