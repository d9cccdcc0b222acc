#include "editor/document/long_lines.h"

#include <algorithm>

namespace tarnwick {

std::vector<TLongLines::TSlot>::iterator TLongLines::Slot(int line)
{
    return std::lower_bound(entries_.begin(), entries_.end(), line,
                            [](const TSlot &slot, int l) { return slot.first < l; });
}

TLongLines::TEntry *TLongLines::Find(int line)
{
    auto it = Slot(line);
    return it != entries_.end() && it->first == line ? it->second.get() : nullptr;
}

TLongLines::TEntry *TLongLines::Ensure(int line, std::string_view text)
{
    if (TEntry *entry = Find(line)) {
        if (!entry->Columns.Built())
            entry->Columns.Build(text, tabSize_);
        return entry;
    }
    if (text.size() < kLongLine)
        return nullptr;
    auto entry = std::make_unique<TEntry>();
    entry->Columns.Build(text, tabSize_);
    return entries_.insert(Slot(line), {line, std::move(entry)})->second.get();
}

void TLongLines::SetTabSize(int tabSize)
{
    if (tabSize == tabSize_)
        return;
    tabSize_ = tabSize;
    for (TSlot &slot : entries_)
        slot.second->Columns.Clear();
}

// A short line has no entry and costs nothing here.
void TLongLines::Edited(int line, std::string_view text, size_t start, std::string_view removed, size_t newLength,
                        int columnDelta)
{
    auto it = Slot(line);
    if (it == entries_.end() || it->first != line)
        return;
    if (text.size() < kLongLine / 2) {
        entries_.erase(it);
        return;
    }
    it->second->Columns.Edited(text, start, removed, newLength, columnDelta);
    it->second->Points.Edited(start, removed.size(), newLength);
}

void TLongLines::Inserted(int line, int count)
{
    for (auto it = Slot(line); it != entries_.end(); ++it)
        it->first += count;
}

void TLongLines::Removed(int line, int count)
{
    auto first = Slot(line);
    auto last = Slot(line + count);
    for (auto it = last; it != entries_.end(); ++it)
        it->first -= count;
    entries_.erase(first, last);
}

void TLongLines::InvalidatePoints()
{
    for (TSlot &slot : entries_)
        slot.second->Points.Invalidate();
}

} // namespace tarnwick
