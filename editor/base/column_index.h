// TColumnIndex: where the characters of a long UTF-8 line start and which
// grid cell each starts at, sampled every few kilobytes, so a column becomes
// a byte offset or a cell (and back) without counting from the start of the
// line, and an edit moves the samples after it instead of recounting the line.
// Samples hold cells counted from the line start, so the tabs after a sample
// reach the same stops as counted from the start.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnwick {

// Columns count code points as utf8::Length does: every byte that is no
// continuation byte starts one; cells are those of text_cells.h at the tab
// size the index was built with. Every answer equals the plain count from the
// line start.
class TColumnIndex {
public:
    // Bytes between samples (at least; a sample stands at a character start).
    static constexpr size_t kStride = 4096;

    void Build(std::string_view text, int tabSize);
    void Clear() { samples_.clear(); }
    bool Built() const { return !samples_.empty(); }
    int TabSize() const { return tabSize_; }

    // The byte at which character `column` starts; text.size() at or past
    // the end, 0 for a column <= 0 (utf8::ByteOffset).
    size_t ByteOf(std::string_view text, int column) const;
    // The characters that start before `byte` (utf8::Length of the text up
    // to it); `byte` is clamped to the text.
    int ColumnOf(std::string_view text, size_t byte) const;
    // cells::CellOfColumn, cells::ColumnOfCell and cells::Count of the text.
    int CellOf(std::string_view text, int column) const;
    int ColumnOfCell(std::string_view text, int cell) const;
    int Cells() const { return cells_; }

    // `text` is the line after its bytes `removed`, from `start` on, became
    // newLength bytes holding `columnDelta` characters more than before.
    // Costs the edit and the samples after it, not the text, unless the edit
    // left a gap of many strides between two samples, which is then sampled
    // anew, or a tab follows the edit: the cells it reaches then depend on
    // those before it, and the samples after the edit are counted again.
    void Edited(std::string_view text, size_t start, std::string_view removed, size_t newLength, int columnDelta);

    size_t SampleCount() const { return samples_.size(); }

private:
    struct TSample {
        size_t Byte;
        int Column;
        int Cell;
    };
    // The last sample at or before `byte`, `column` or `cell`.
    const TSample &SampleAtByte(size_t byte) const;
    const TSample &SampleAtColumn(int column) const;
    const TSample &SampleAtCell(int cell) const;
    // Samples every stride from `from` (a sample) up to `to`, inserted at `at`.
    void Sample(std::string_view text, TSample from, size_t to, size_t at);

    // samples_[0] is {0, 0, 0}; then strictly increasing bytes, each the
    // start of a character that takes a cell or two (no zero-width one, which
    // belongs to the character before it), with the characters and the cells
    // before it. Neighbours lie at least kStride apart, at most a few strides
    // apart after edits (Edited resamples wider gaps).
    std::vector<TSample> samples_;
    int cells_ = 0;
    int tabSize_ = 0;
};

} // namespace tarnwick
