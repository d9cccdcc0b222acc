#include "editor/qt/key_translation.h"

#include "editor/control/custom_dodi.h"
#include "editor/qt/qt_keys.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace tarnwick::qt {

namespace {

// The character a key sends by itself, whatever text the platform attached:
// these are the ones the key tables are written for.
char32_t ControlCharacterOf(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ctrl ? U'\n' : U'\r';
    case Qt::Key_Backspace:
        return ctrl ? 0x7F : 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return U'\t';
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return ctrl ? U' ' : 0;
    default:
        break;
    }
    if (ctrl && !(modifiers & Qt::AltModifier) && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<char32_t>(qtKey - Qt::Key_A + 1);
    return 0;
}

} // namespace

TKeyStroke TranslateKeyPress(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text)
{
    TKeyStroke stroke;
    stroke.Key = VirtualKeyOf(qtKey);
    stroke.Shift = ShiftStateOf(modifiers);
    const bool alt = modifiers & Qt::AltModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    // Alt combinations are menu keys and type nothing; Ctrl+Alt is AltGr on
    // some keyboards and types what its text says.
    if (alt && !ctrl)
        return stroke;
    if (const char32_t c = ControlCharacterOf(qtKey, modifiers)) {
        stroke.Chars.push_back(c);
        return stroke;
    }
    if (ctrl && !alt)
        return stroke;
    for (char32_t c : text.toStdU32String())
        stroke.Chars.push_back(c);
    return stroke;
}

std::u32string CommittedText(const QString &commit) { return commit.toStdU32String(); }

void FeedKeyPress(TCustomDodi &control, const QKeyEvent &event)
{
    const TKeyStroke stroke = TranslateKeyPress(event.key(), event.modifiers(), event.text());
    uint16_t key = stroke.Key;
    control.KeyDown(key, stroke.Shift);
    for (char32_t c : stroke.Chars) {
        char32_t ch = c;
        control.KeyPress(ch);
    }
}

void FeedKeyRelease(TCustomDodi &control, const QKeyEvent &event)
{
    if (event.isAutoRepeat())
        return;
    uint16_t key = VirtualKeyOf(event.key());
    control.KeyUp(key, ShiftStateOf(event.modifiers()));
}

void FeedInputMethod(TCustomDodi &control, const QInputMethodEvent &event)
{
    const std::u32string text = CommittedText(event.commitString());
    if (!text.empty())
        control.InputText(text);
}

} // namespace tarnwick::qt
