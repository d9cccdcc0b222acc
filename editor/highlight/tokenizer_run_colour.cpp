#include "editor/highlight/tokenizer_run_colour.h"

#include "editor/highlight/styler.h"

namespace tarnwick {

namespace {

TColor Background(TColor color, const TRunColourContext &context) { return color == clNone ? context.BkColor : color; }

void ApplyCharStyle(TRunColour &colour, const TCharStyle &style, const TRunColourContext &context)
{
    colour.TextColor = style.TextColor();
    colour.Style = style.Style();
    colour.BkColor = Background(style.BkColor(), context);
}

// An index that names no element style gives the editor's own colours.
void ApplyElementStyle(TRunColour &colour, int index, const TRunColourContext &context)
{
    const TElementStyle *style = context.Styler->AllStyles().Items(index);
    if (!style) {
        colour = {context.FontColor, context.BkColor, context.FontStyle};
        return;
    }
    colour.TextColor = style->Font().Color;
    colour.Style = style->Font().Style;
    colour.BkColor = Background(style->BGColor(), context);
}

} // namespace

TRunColour ColourOfRun(const RunState &state, const TRunColourContext &context)
{
    TRunColour colour{context.FontColor, context.BkColor, context.FontStyle};
    const TCustomDodiStyler *styler = context.Styler;
    if (styler && state.InComment && !state.Url) {
        ApplyCharStyle(colour, styler->CommentStyle(), context);
    } else if (!state.InBracket || state.Url) {
        if (styler && state.Number)
            ApplyCharStyle(colour, styler->NumberStyle(), context);
        if (styler && state.Symbol)
            ApplyElementStyle(colour, state.StyleIndex, context);
        if (styler && state.Keyword)
            ApplyElementStyle(colour, state.StyleIndex, context);
        if (state.Url)
            ApplyCharStyle(colour, context.UrlStyle, context);
    } else if (styler) {
        ApplyElementStyle(colour, state.StyleIndex, context);
    }
    if (context.ActiveLine) {
        colour.TextColor = context.ActiveLineTextColor;
        colour.BkColor = context.ActiveLineColor;
    }
    if (context.Breakpoint) {
        colour.TextColor = context.BreakpointTextColor;
        colour.BkColor = context.BreakpointColor;
    }
    if (context.FoldSummary)
        colour.TextColor = context.FoldLineColor;
    return colour;
}

} // namespace tarnwick
