#include "editor/highlight/element_style_keywords.h"

#include "editor/base/text_case.h"
#include "editor/base/utf8.h"

#include <algorithm>

namespace tarnwick {

const std::string &TKeyWordList::Get(int index) const
{
    static const std::string empty;
    return index >= 0 && index < Count() ? items_[index] : empty;
}

void TKeyWordList::Put(int index, std::string word)
{
    if (index < 0 || index >= Count())
        return;
    items_[index] = std::move(word);
    if (sorted_)
        Sort();
}

int TKeyWordList::Add(std::string word)
{
    if (!sorted_) {
        items_.push_back(std::move(word));
        return Count() - 1;
    }
    auto at = std::upper_bound(items_.begin(), items_.end(), word,
                               [this](const std::string &a, const std::string &b) { return Compare(a, b) < 0; });
    at = items_.insert(at, std::move(word));
    return static_cast<int>(at - items_.begin());
}

void TKeyWordList::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TKeyWordList::Assign(const std::vector<std::string> &words)
{
    items_ = words;
    if (sorted_)
        Sort();
}

void TKeyWordList::Assign(const TKeyWordList &source)
{
    if (&source != this)
        Assign(source.items_);
}

void TKeyWordList::SetSorted(bool sorted)
{
    if (sorted == sorted_)
        return;
    sorted_ = sorted;
    if (sorted_)
        Sort();
}

void TKeyWordList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == caseSensitive_)
        return;
    caseSensitive_ = caseSensitive;
    if (sorted_)
        Sort();
}

int TKeyWordList::IndexOf(std::string_view word) const
{
    if (!sorted_) {
        for (int i = 0; i < Count(); ++i)
            if (Compare(items_[i], word) == 0)
                return i;
        return -1;
    }
    auto at = std::lower_bound(items_.begin(), items_.end(), word,
                               [this](const std::string &a, std::string_view b) { return Compare(a, b) < 0; });
    if (at == items_.end() || Compare(*at, word) != 0)
        return -1;
    return static_cast<int>(at - items_.begin());
}

int TKeyWordList::LongestLength() const
{
    int longest = 0;
    for (const std::string &w : items_)
        longest = std::max(longest, utf8::Length(w));
    return longest;
}

int TKeyWordList::Compare(std::string_view a, std::string_view b) const
{
    if (caseSensitive_)
        return a.compare(b);
    // Code point by code point, so a look-up allocates nothing.
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = LowerCodePoint(NextCodePoint(a, i));
        char32_t cb = LowerCodePoint(NextCodePoint(b, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

void TKeyWordList::Sort()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const std::string &a, const std::string &b) { return Compare(a, b) < 0; });
}

} // namespace tarnwick
