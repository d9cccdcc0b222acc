// A control with a fake host for the editing, undo and keyboard suites: text
// in and out as lines, the caret placed as a click would, keys sent as the
// widget sends them, and a count of change notifications.
#pragma once

#include "editor/base/win_constants.h"
#include "editor/control/redodi.h"
#include "editor/undo/undo_list.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::test {

class EditingFixture : public ::testing::Test {
protected:
    EditingFixture()
    {
        ed.OnChange = [this](TCustomDodi &) { ++changes; };
        ed.SetBounds(0, 0, 400, 200);
    }

    // Replaces the text the way a file load does (caret, undo reset) and
    // forgets the notification that raised.
    void SetText(const std::vector<std::string> &lines)
    {
        std::string text;
        for (const std::string &l : lines)
            text += l + "\r\n";
        ed.Lines()->LoadFromString(text);
        changes = 0;
    }

    std::vector<std::string> Text() const { return ed.Lines()->ToVector(); }
    std::string Line(int i) const { return ed.Lines()->Get(i); }
    TCaretPos Caret() const { return {ed.CaretCol(), ed.CaretLine()}; }
    bool Modified(int line) const
    {
        const TLineProp *p = ed.Lines()->LinePropOf(line);
        return p && p->Modified;
    }

    // Where a click would put the caret: the selection collapses there.
    void Place(int col, int line)
    {
        ed.SetCaretLine(line);
        ed.SetCaretCol(col);
        ed.CollapseSelection();
    }

    void Select(TCaretPos from, TCaretPos to)
    {
        Place(to.Col, to.Line);
        ed.CaretState().SelStart = from;
        ed.CaretState().SelEnd = to;
        ed.CaretState().SelAnchor = to;
    }

    void Key(uint16_t vk, TShiftState shift = {})
    {
        uint16_t key = vk;
        ed.KeyDown(key, shift);
        key = vk;
        ed.KeyUp(key, shift);
    }

    // A key that sends a character: key-down, the character, key-up.
    void Char(char32_t c, uint16_t vk = 'A', TShiftState shift = {})
    {
        uint16_t key = vk;
        ed.KeyDown(key, shift);
        ed.KeyPress(c);
        key = vk;
        ed.KeyUp(key, shift);
    }

    void Type(std::u32string_view text)
    {
        for (char32_t c : text)
            Char(c);
    }

    void Enter() { Char(U'\r', VK_RETURN); }
    void Ctrl(char letter) { Char(static_cast<char32_t>(letter - 'A' + 1), static_cast<uint16_t>(letter), {ssCtrl}); }

    FakeHost host;
    REdoDodi ed{&host};
    int changes = 0;
};

} // namespace tarnwick::test
