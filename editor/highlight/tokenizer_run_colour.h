// The colour of a run: text colour, font style and background chosen from a
// run's state, the styler and the editor's settings.
#pragma once

#include "editor/base/graphics_types.h"
#include "editor/base/run_state.h"
#include "editor/highlight/char_style.h"

namespace tarnwick {

class TCustomDodiStyler;

struct TRunColour {
    TColor TextColor = clBlack;
    TColor BkColor = clWhite;
    TFontStyles Style;
    bool operator==(const TRunColour &) const = default;
};

// What the choice reads of the editor and the line being drawn.
struct TRunColourContext {
    // Null when no styler is attached or UseStyler is off.
    const TCustomDodiStyler *Styler = nullptr;
    TColor FontColor = clBlack;
    TFontStyles FontStyle;
    TColor BkColor = clWhite;
    TCharStyle UrlStyle{clBlue, clWhite, {fsUnderline}};
    // The line is the active line and ShowActiveLine is set.
    bool ActiveLine = false;
    TColor ActiveLineTextColor = clBlack;
    TColor ActiveLineColor = clWhite;
    bool Breakpoint = false;
    TColor BreakpointTextColor = clWhite;
    TColor BreakpointColor = clRed;
    // The run is the summary text of a collapsed region.
    bool FoldSummary = false;
    TColor FoldLineColor = clGray;
};

// Later rules override earlier ones: the editor's font, then comment, number,
// symbol, keyword, URL or bracket style, then active line, breakpoint and
// fold summary. clNone backgrounds stand for the editor's BkColor.
TRunColour ColourOfRun(const RunState &state, const TRunColourContext &context);

} // namespace tarnwick
