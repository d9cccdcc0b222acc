// The colour the painter gives each byte of a line, for tests of what
// highlighting shows rather than of the runs it is made of.
#pragma once

#include "editor/highlight/tokenizer.h"
#include "editor/highlight/tokenizer_run_colour.h"

#include <string_view>
#include <vector>

namespace tarnwick {

// Tokenizes `line` from `state` (which becomes the next line's start state)
// and colours each byte by its run.
inline std::vector<TRunColour> PaintLine(TLineTokenizer &tokenizer, const TRunColourContext &context,
                                         std::string_view line, RunState &state)
{
    std::vector<TRunColour> colours;
    colours.reserve(line.size());
    tokenizer.OnRun = [&](int, std::string_view run, const RunState &runState) {
        colours.insert(colours.end(), run.size(), ColourOfRun(runState, context));
    };
    tokenizer.TokenizeText(line, state);
    tokenizer.OnRun = nullptr;
    return colours;
}

} // namespace tarnwick
