// An editor on a fake host, driven by mouse events at the pixels of text
// cells (8 x 17 pixels each).
#pragma once

#include "editor/control/redodi.h"
#include "editor/input/mouse_input.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::test {

class MouseTest : public ::testing::Test {
protected:
    void SetText(const std::vector<std::string> &lines) { ed.SetLines(lines); }

    // A point inside the cell (col, line) of the view.
    TPoint At(int col, int line) const
    {
        const TRect text = ed.TextArea();
        return {text.left + (col - ed.LeftColumn()) * ed.CharWidth() + 1,
                text.top + (line - ed.TopLine()) * ed.LineHeight() + 1};
    }

    void Press(int col, int line, TShiftState shift = {})
    {
        const TPoint p = At(col, line);
        ed.MouseDown(mbLeft, shift + ssLeft, p.x, p.y);
    }
    void Release(int col, int line, TShiftState shift = {})
    {
        const TPoint p = At(col, line);
        ed.MouseUp(mbLeft, shift, p.x, p.y);
    }
    void Click(int col, int line, TShiftState shift = {})
    {
        Press(col, line, shift);
        Release(col, line, shift);
    }
    void DragTo(int col, int line)
    {
        const TPoint p = At(col, line);
        ed.MouseMove(TShiftState{ssLeft}, p.x, p.y);
    }
    void DoubleClick(int col, int line)
    {
        Click(col, line);
        const TPoint p = At(col, line);
        ed.DblClick(p.x, p.y);
    }

    TCaretPos Caret() const { return {ed.CaretCol(), ed.CaretLine()}; }
    TCaretPos SelStartPos() const { return ed.CaretState().SelStart; }
    TCaretPos SelEndPos() const { return ed.CaretState().SelEnd; }
    TMouseState &Mouse() { return ed.Mouse().State(); }

    FakeHost host;
    REdoDodi ed{&host};
};

} // namespace tarnwick::test
