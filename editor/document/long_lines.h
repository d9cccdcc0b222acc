// TLongLines: what the line store keeps beside each long line: a column
// index, so columns become bytes and cells without counting from the line
// start, and the tokenizer's checkpoints. Entries are made on first use and
// follow their lines as lines are inserted and removed above them.
#pragma once

#include "editor/base/column_index.h"
#include "editor/document/scan_points.h"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

class TLongLines {
public:
    // Lines shorter than this are counted from their start: that costs no
    // more than looking up an index.
    static constexpr size_t kLongLine = 4096;

    struct TEntry {
        TColumnIndex Columns;
        TLineScanPoints Points;
    };

    // The entry of `line` (whose text is `text`), made on first use; null
    // when the line is too short to need one. Its column index counts cells
    // at the current tab size.
    TEntry *Ensure(int line, std::string_view text);
    TEntry *Find(int line);

    // The cells between tab stops. A new size drops every column index; each
    // is built again when next asked for, the checkpoints stay.
    void SetTabSize(int tabSize);

    // The bytes `removed` of `line`, from `start` on, became newLength bytes
    // holding `columnDelta` characters more; `text` is the line after it.
    void Edited(int line, std::string_view text, size_t start, std::string_view removed, size_t newLength,
                int columnDelta);
    void Inserted(int line, int count);
    void Removed(int line, int count);
    // Forgets every checkpoint (the tokenizer's setup changed).
    void InvalidatePoints();
    void Clear() { entries_.clear(); }

private:
    using TSlot = std::pair<int, std::unique_ptr<TEntry>>;
    std::vector<TSlot>::iterator Slot(int line);

    // Sorted by line; a handful of entries even in huge documents.
    std::vector<TSlot> entries_;
    int tabSize_ = 0;
};

} // namespace tarnwick
