// An editor on a fake host painted onto a recording canvas, with the line
// bitmap's own recording at hand. Cells are 8 x 16 pixels, rows 17.
#pragma once

#include "editor/control/redodi.h"
#include "support/fake_host.h"
#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::test {

// Keeps the bitmaps it makes, so a test can read what was drawn into them.
class KeepingCanvas : public RecordingCanvas {
public:
    std::unique_ptr<TBitmap> CreateBitmap(int width, int height) override
    {
        auto bitmap = std::make_unique<RecordingBitmap>(width, height);
        Last = bitmap.get();
        return bitmap;
    }
    RecordingBitmap *Last = nullptr;
};

class PaintTest : public ::testing::Test {
protected:
    static constexpr int kCell = RecordingCanvas::kCharWidth;
    static constexpr int kRow = RecordingCanvas::kCharHeight + 1;

    void SetText(const std::string &text) { ed.Lines()->SetText(text); }

    void Paint()
    {
        window.ClearCalls();
        if (window.Last)
            window.Last->Recording().ClearCalls();
        ed.Paint(window);
    }

    // What painting `line` on the screen draws into the line bitmap.
    std::vector<CanvasCall> LineCalls(int line)
    {
        if (!window.Last)
            Paint();
        window.Last->Recording().ClearCalls();
        RunState state = ed.ComputeTopState(line);
        const TRect text = ed.TextArea();
        ed.PaintLine(window, line, {text.left, text.top + 1, text.right, text.top + 1 + kRow}, 0, state);
        return window.Last->Recording().Calls();
    }

    static std::vector<CanvasCall> Only(const std::vector<CanvasCall> &calls, const std::string &op)
    {
        std::vector<CanvasCall> out;
        for (const CanvasCall &c : calls)
            if (c.Op == op)
                out.push_back(c);
        return out;
    }

    FakeHost host;
    REdoDodi ed{&host};
    KeepingCanvas window;
};

} // namespace tarnwick::test
