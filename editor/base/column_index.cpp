#include "editor/base/column_index.h"

#include "editor/base/text_case.h"
#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A character a sample may stand on: one that takes a cell or two.
bool TakesCells(std::string_view text, size_t at)
{
    if (static_cast<unsigned char>(text[at]) < 0x80)
        return true;
    return cells::WidthOf(NextCodePoint(text, at)) > 0;
}

// Gaps wider than this many strides are sampled again after an edit.
constexpr size_t kWidestGap = 4;

} // namespace

void TColumnIndex::Build(std::string_view text, int tabSize)
{
    tabSize_ = tabSize;
    samples_.assign(1, {0, 0, 0});
    samples_.reserve(text.size() / kStride + 2);
    Sample(text, samples_.front(), text.size(), 1);
    const TSample &last = samples_.back();
    cells_ = last.Cell + cells::Count(text.substr(last.Byte), tabSize_, last.Cell);
}

void TColumnIndex::Sample(std::string_view text, TSample from, size_t to, size_t at)
{
    std::vector<TSample> added;
    TSample last = from;
    while (to - last.Byte > kStride + kStride / 2) {
        size_t next = last.Byte + kStride;
        while (next < to && (IsContinuation(text[next]) || !TakesCells(text, next)))
            ++next;
        if (next >= to)
            break;
        const std::string_view part = text.substr(last.Byte, next - last.Byte);
        last = {next, last.Column + utf8::Length(part), last.Cell + cells::Count(part, tabSize_, last.Cell)};
        added.push_back(last);
    }
    samples_.insert(samples_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

const TColumnIndex::TSample &TColumnIndex::SampleAtByte(size_t byte) const
{
    auto it =
        std::upper_bound(samples_.begin(), samples_.end(), byte, [](size_t b, const TSample &s) { return b < s.Byte; });
    return *std::prev(it);
}

const TColumnIndex::TSample &TColumnIndex::SampleAtColumn(int column) const
{
    auto it = std::upper_bound(samples_.begin(), samples_.end(), column,
                               [](int c, const TSample &s) { return c < s.Column; });
    return *std::prev(it);
}

size_t TColumnIndex::ByteOf(std::string_view text, int column) const
{
    if (column <= 0)
        return 0;
    if (!Built())
        return utf8::ByteOffset(text, column);
    const TSample &s = SampleAtColumn(column);
    // Sample 0 may stand on a stray continuation byte; the others never do.
    if (s.Byte == 0)
        return utf8::ByteOffset(text, column);
    return s.Byte + utf8::ByteOffset(text.substr(s.Byte), column - s.Column);
}

const TColumnIndex::TSample &TColumnIndex::SampleAtCell(int cell) const
{
    auto it =
        std::upper_bound(samples_.begin(), samples_.end(), cell, [](int c, const TSample &s) { return c < s.Cell; });
    return *std::prev(it);
}

int TColumnIndex::CellOf(std::string_view text, int column) const
{
    if (!Built() || column <= 0)
        return cells::CellOfColumn(text, column, tabSize_);
    const TSample &s = SampleAtColumn(column);
    return s.Cell + cells::CellOfColumn(text.substr(s.Byte), column - s.Column, tabSize_, s.Cell);
}

int TColumnIndex::ColumnOfCell(std::string_view text, int cell) const
{
    if (!Built() || cell <= 0)
        return cells::ColumnOfCell(text, cell, tabSize_);
    const TSample &s = SampleAtCell(cell);
    return s.Column + cells::ColumnOfCell(text.substr(s.Byte), cell - s.Cell, tabSize_, s.Cell);
}

int TColumnIndex::ColumnOf(std::string_view text, size_t byte) const
{
    byte = std::min(byte, text.size());
    if (!Built())
        return utf8::Length(text.substr(0, byte));
    const TSample &s = SampleAtByte(byte);
    return s.Column + utf8::Length(text.substr(s.Byte, byte - s.Byte));
}

void TColumnIndex::Edited(std::string_view text, size_t start, std::string_view removed, size_t newLength,
                          int columnDelta)
{
    if (!Built())
        return;
    const size_t oldLength = removed.size();
    const std::string_view inserted = text.substr(start, newLength);
    const bool tabAfter = text.find('\t', start + newLength) != std::string_view::npos;
    // Samples before the edit keep their place; the one at `start` may now
    // stand on another character, and those inside the old bytes are gone.
    auto first = std::lower_bound(samples_.begin() + 1, samples_.end(), start,
                                  [](const TSample &s, size_t b) { return s.Byte < b; });
    auto last = std::lower_bound(first, samples_.end(), start + oldLength,
                                 [](const TSample &s, size_t b) { return s.Byte < b; });
    // The samples after the edit move by the cells it changed, unless a tab
    // follows it. The cells of the two texts depend on where they stand only
    // when they hold a tab.
    int cellDelta = 0;
    if (!tabAfter) {
        int at = 0;
        if (removed.find('\t') != std::string_view::npos || inserted.find('\t') != std::string_view::npos) {
            const TSample &before = *std::prev(first);
            at = before.Cell + cells::Count(text.substr(before.Byte, start - before.Byte), tabSize_, before.Cell);
        }
        cellDelta = cells::Count(inserted, tabSize_, at) - cells::Count(removed, tabSize_, at);
    }
    const std::ptrdiff_t byteDelta = static_cast<std::ptrdiff_t>(newLength) - static_cast<std::ptrdiff_t>(oldLength);
    for (auto it = last; it != samples_.end(); ++it) {
        it->Byte = static_cast<size_t>(static_cast<std::ptrdiff_t>(it->Byte) + byteDelta);
        it->Column += columnDelta;
        it->Cell += cellDelta;
    }
    const size_t at = static_cast<size_t>(samples_.erase(first, last) - samples_.begin());
    if (tabAfter) {
        // The tabs after the edit may reach other stops now: every sample
        // after it takes its cells from the one before.
        for (size_t k = at; k < samples_.size(); ++k) {
            const TSample &previous = samples_[k - 1];
            samples_[k].Cell =
                previous.Cell +
                cells::Count(text.substr(previous.Byte, samples_[k].Byte - previous.Byte), tabSize_, previous.Cell);
        }
        const TSample &end = samples_.back();
        cells_ = end.Cell + cells::Count(text.substr(end.Byte), tabSize_, end.Cell);
    } else {
        cells_ += cellDelta;
    }
    const TSample before = samples_[at - 1];
    const size_t after = at < samples_.size() ? samples_[at].Byte : text.size();
    if (after - before.Byte > kWidestGap * kStride)
        Sample(text, before, after, at);
}

} // namespace tarnwick
