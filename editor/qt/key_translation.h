// What one Qt key event or input-method commit means to the editor control:
// the virtual key and shift state of its key-down, and the characters it
// types, control characters included, as the control's key tables expect
// them (Ctrl+A is character 1, Enter 13, Escape 27).
#pragma once

#include "editor/base/editor_types.h"

#include <QString>
#include <Qt>

#include <cstdint>
#include <string>

class QInputMethodEvent;
class QKeyEvent;

namespace tarnwick {
class TCustomDodi;
}

namespace tarnwick::qt {

struct TKeyStroke {
    // 0 when the editor has no code for the key.
    uint16_t Key = 0;
    TShiftState Shift;
    // Characters for character processing, in order; empty for keys that
    // type nothing (arrows, Alt combinations).
    std::u32string Chars;
};

TKeyStroke TranslateKeyPress(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text);
// The text an input method committed, as characters.
std::u32string CommittedText(const QString &commit);

// Feed the control: key-down then the characters; key-up (not for the
// releases of auto-repeat, which the control must not see between repeats);
// an input method's committed text.
void FeedKeyPress(TCustomDodi &control, const QKeyEvent &event);
void FeedKeyRelease(TCustomDodi &control, const QKeyEvent &event);
void FeedInputMethod(TCustomDodi &control, const QInputMethodEvent &event);

} // namespace tarnwick::qt
