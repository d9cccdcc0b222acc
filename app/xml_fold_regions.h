// TXmlFoldRegions: the main window's fold regions, from the XML structure of
// the text (elements over several lines, comments, CDATA sections, the
// document type declaration). The scanner's state is kept at the start of a
// line every few kilobytes; after an edit the scan resumes from the state
// kept above it and stops at the first kept state below it that the new scan
// meets again, so only the changed part is read.
#pragma once

#include "editor/document/fold_region_finder.h"
#include "editor/document/fold_regions.h"
#include "editor/document/line_keyed_list.h"
#include "xml/fold_scanner.h"

#include <cstddef>

namespace tarnwick {

class TXmlFoldRegions : public TFoldRegionFinder {
public:
    // Text read between two kept states.
    static constexpr size_t kSpacing = 8 << 10;
    // Changed text an unforced update reads at most.
    static constexpr size_t kUnforcedLimit = 1 << 20;

    void FindAll(const REdoDodiStrings &lines, TFoldRegions &regions) override;
    void Update(const REdoDodiStrings &lines, TFoldRegions &regions, bool force) override;
    bool Pending() const override { return !valid_ || dirtyFrom_ >= 0; }
    void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) override;

    // States kept, and lines the last search read; for tests and benchmarks.
    int CheckpointCount() const { return checkpoints_.Count(); }
    int LinesRead() const { return linesRead_; }

private:
    struct TCheckpoint {
        int32_t Line = 0;
        xml::FoldScanState State;
    };

    // Lines [from, to] changed.
    void Touch(int from, int to);
    // The marks of what the scanner found on lines [from, to).
    std::vector<TFoldRegions::TLineMarks> Marks(int from, int to);

    xml::FoldScanner scanner_;
    TLineKeyedList<TCheckpoint> checkpoints_;
    int dirtyFrom_ = -1;
    int dirtyTo_ = -1;
    int linesRead_ = 0;
    // Found for the text as it is, but for the lines changed since.
    bool valid_ = false;
};

} // namespace tarnwick
