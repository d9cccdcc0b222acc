#include "editor/highlight/region_definition.h"

namespace tarnwick {

namespace {

// Blanks are spaces and control characters, as typed into a property editor.
std::string TrimBlanks(std::string_view word)
{
    size_t first = 0, last = word.size();
    while (first < last && static_cast<unsigned char>(word[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(word[last - 1]) <= ' ')
        --last;
    return std::string(word.substr(first, last - first));
}

} // namespace

void TRegionDefinition::SetIdentifier(std::string_view word) { identifier_ = TrimBlanks(word); }

void TRegionDefinition::SetRegionStart(std::string_view word) { regionStart_ = TrimBlanks(word); }

void TRegionDefinition::SetRegionEnd(std::string_view word) { regionEnd_ = TrimBlanks(word); }

void TRegionDefinition::Assign(const TRegionDefinition &source)
{
    regionType_ = source.regionType_;
    identifier_ = source.identifier_;
    regionStart_ = source.regionStart_;
    regionEnd_ = source.regionEnd_;
}

TRegionDefinition *TRegionDefinitions::Items(int index) const
{
    return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

TRegionDefinition &TRegionDefinitions::Add()
{
    items_.push_back(std::make_unique<TRegionDefinition>());
    return *items_.back();
}

void TRegionDefinitions::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TRegionDefinitions::Assign(const TRegionDefinitions &source)
{
    if (&source == this)
        return;
    items_.clear();
    for (const auto &item : source.items_)
        Add().Assign(*item);
}

} // namespace tarnwick
