// ScanCheckpoints: markup scanners stopped at the starts of lines of a long
// text, so that the next question about a place after them reads on from the
// nearest one instead of from the text's start. Whoever edits the text says
// from which line on the kept states no longer hold.
#pragma once

#include "xml/markup_scanner.h"
#include "xml/text_lines.h"

#include <map>

namespace tarnwick::xml {

class ScanCheckpoints {
public:
    // Line `line` (or anything after it) changed, or lines were inserted or
    // removed before it: states after its start are stale. The state at the
    // start of `line` itself still holds.
    void Forget(int line);
    void Clear() { states_.clear(); }
    int Count() const { return static_cast<int>(states_.size()); }

    // A scanner that has read every line before `line`, from the nearest
    // state kept at or before it; keeps states on the way.
    MarkupScanner ScannerBefore(const TextLines &text, int line);

    // Bytes of text between two kept states, and how many are kept at most.
    static constexpr size_t kSpacing = 1 << 20;
    static constexpr size_t kMaxStates = 1024;

private:
    void Keep(int line, const MarkupScanner &scanner);

    std::map<int, MarkupScanner> states_;
};

// The same without keeping anything: a scanner that read the lines before
// `line` from the start of the text.
MarkupScanner ScanLinesBefore(const TextLines &text, int line, ScanCheckpoints *checkpoints = nullptr);

} // namespace tarnwick::xml
