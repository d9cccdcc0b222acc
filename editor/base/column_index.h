// TColumnIndex: where the characters of a long UTF-8 line start, sampled
// every few kilobytes, so a column becomes a byte offset (and back) without
// counting from the start of the line, and an edit moves the samples after
// it instead of recounting the line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnwick {

// Columns count code points as utf8::Length does: every byte that is no
// continuation byte starts one. Every answer equals the plain count.
class TColumnIndex {
public:
    // Bytes between samples (at least; a sample stands at a character start).
    static constexpr size_t kStride = 4096;

    void Build(std::string_view text);
    void Clear() { samples_.clear(); }
    bool Built() const { return !samples_.empty(); }

    // The byte at which character `column` starts; text.size() at or past
    // the end, 0 for a column <= 0 (utf8::ByteOffset).
    size_t ByteOf(std::string_view text, int column) const;
    // The characters that start before `byte` (utf8::Length of the text up
    // to it); `byte` is clamped to the text.
    int ColumnOf(std::string_view text, size_t byte) const;

    // `text` is the line after its bytes [start, start + oldLength) became
    // newLength bytes holding `columnDelta` characters more than before.
    // Costs the samples after the edit, not the text, unless the edit left a
    // gap of many strides between two samples, which is then sampled anew.
    void Edited(std::string_view text, size_t start, size_t oldLength, size_t newLength, int columnDelta);

    size_t SampleCount() const { return samples_.size(); }

private:
    struct TSample {
        size_t Byte;
        int Column;
    };
    // The last sample at or before `byte`, or before `column`'s start.
    const TSample &SampleAtByte(size_t byte) const;
    const TSample &SampleAtColumn(int column) const;
    // Samples every stride from `from` (a sample) up to `to`, inserted at `at`.
    void Sample(std::string_view text, TSample from, size_t to, size_t at);

    // samples_[0] is {0, 0}; then strictly increasing bytes, each the start
    // of a character (no continuation byte), its column the characters
    // before it. Neighbours lie at least kStride apart, at most a few
    // strides apart after edits (Edited resamples wider gaps).
    std::vector<TSample> samples_;
};

} // namespace tarnwick
