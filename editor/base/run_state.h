// RunState: the tokenizer's state, carried from one run to the next and from
// the end of one line to the start of the next.
#pragma once

#include <cstdint>

namespace tarnwick {

// Where a markup (XML) styler's scan stands, outside comments: in text
// content (or between declarations of a DOCTYPE's internal subset), inside a
// tag, a processing instruction, a declaration or a CDATA section.
enum TMarkupContext : uint32_t { mcText = 0, mcTag, mcInstruction, mcDeclaration, mcCData };

// Three 32-bit words, so a line record can cache one cheaply.
//
// InComment, InBracket, BracketEnd, BracketStart, StyleIndex, Markup and
// InSubset cross line ends; Number, Keyword, Symbol and Url describe only the
// run being emitted and are cleared after every run. Brackets are code points
// (21 bits hold them all). Markup and InSubset stay 0 for other stylers.
struct RunState {
    uint32_t InComment : 1 = 0;   // inside a multi-line comment or a line comment
    uint32_t InBracket : 1 = 0;   // inside a bracket run of a bracket element style
    uint32_t Number : 1 = 0;      // this run is a number
    uint32_t Keyword : 1 = 0;     // this run is a keyword
    uint32_t Symbol : 1 = 0;      // this run is a symbol character
    uint32_t Url : 1 = 0;         // this run is a URL piece
    uint32_t BracketEnd : 21 = 0; // closing character of the active bracket style
    uint32_t Markup : 3 = mcText; // a TMarkupContext
    uint32_t InSubset : 1 = 0;    // inside a DOCTYPE's internal subset
    uint32_t BracketStart = 0;    // opening character of the active bracket style
    int32_t StyleIndex = -1;      // element style colouring the run; -1 = none

    // Clears the per-run flags once a run has been handed on.
    void ClearRunFlags()
    {
        Number = 0;
        Keyword = 0;
        Symbol = 0;
        Url = 0;
    }

    friend bool operator==(const RunState &a, const RunState &b)
    {
        return a.InComment == b.InComment && a.InBracket == b.InBracket && a.Number == b.Number &&
               a.Keyword == b.Keyword && a.Symbol == b.Symbol && a.Url == b.Url && a.BracketEnd == b.BracketEnd &&
               a.BracketStart == b.BracketStart && a.StyleIndex == b.StyleIndex && a.Markup == b.Markup &&
               a.InSubset == b.InSubset;
    }
};

static_assert(sizeof(RunState) == 12, "a RunState is three 32-bit words");

} // namespace tarnwick
