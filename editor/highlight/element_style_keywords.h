// TKeyWordList: the keyword list of a keyword element style, a string list
// that can be kept sorted under a case rule so that look-ups are binary searches.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TKeyWordList {
public:
    TKeyWordList() = default;

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    // Out-of-range reads give an empty string.
    const std::string &Get(int index) const;
    const std::string &operator[](int index) const { return Get(index); }
    // Ignored for an index out of range; a sorted list is re-sorted.
    void Put(int index, std::string word);
    // Appends, or inserts at the sorted position; returns the index.
    int Add(std::string word);
    void Delete(int index);
    void Clear() { items_.clear(); }
    void Assign(const std::vector<std::string> &words);
    void Assign(const TKeyWordList &source);
    const std::vector<std::string> &Items() const { return items_; }

    // Switching Sorted on sorts the list; switching it off keeps the order.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    // The comparison rule of sorting and searching; false compares the
    // lower-cased forms. Changing it re-sorts a sorted list.
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    // Index of `word` under the case rule, or -1. Binary search when sorted.
    int IndexOf(std::string_view word) const;
    bool Contains(std::string_view word) const { return IndexOf(word) >= 0; }
    // Length in code points of the longest entry, so a look-up can skip words
    // that are longer than every keyword.
    int LongestLength() const;

    bool operator==(const TKeyWordList &o) const { return items_ == o.items_; }

private:
    int Compare(std::string_view a, std::string_view b) const;
    void Sort();

    // When sorted_ is set, items_ is in ascending order under Compare.
    std::vector<std::string> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};

} // namespace tarnwick
