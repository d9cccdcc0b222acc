// GapVector: a sequence with a movable hole, so that a run of inserts and
// erases near one place (typing Enter in the middle of a huge document) moves
// only the elements between that place and the previous one, not every
// element after it.
#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <iterator>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace tarnwick {

template <typename T>
class GapVector {
    template <bool Const>
    class Iterator;

public:
    using value_type = T;
    using size_type = size_t;
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;

    GapVector() = default;
    GapVector(size_t count, const T &value) : slots_(count, value) {}
    // Takes over the elements of `items` in order, without copying them.
    explicit GapVector(std::vector<T> items) : slots_(std::move(items)) {}

    size_t size() const { return slots_.size() - gapLength_; }
    bool empty() const { return size() == 0; }
    // Elements it can hold before it must reallocate.
    size_t capacity() const { return slots_.capacity(); }

    T &operator[](size_t i) { return slots_[Slot(i)]; }
    const T &operator[](size_t i) const { return slots_[Slot(i)]; }

    void insert(size_t pos, T value)
    {
        OpenGapAt(pos, 1);
        slots_[gapStart_++] = std::move(value);
        --gapLength_;
        assert(Check());
    }
    // Inserts [first, last) before `pos`; pass move iterators to move them in.
    template <std::input_iterator It>
    requires std::sized_sentinel_for<It, It>
    void insert(size_t pos, It first, It last)
    {
        const auto count = static_cast<size_t>(last - first);
        OpenGapAt(pos, count);
        std::copy(first, last, slots_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
        gapStart_ += count;
        gapLength_ -= count;
        assert(Check());
    }
    void push_back(T value) { insert(size(), std::move(value)); }

    void erase(size_t pos) { erase(pos, 1); }
    // Erases `count` elements from `pos`; the range must lie inside.
    void erase(size_t pos, size_t count)
    {
        assert(pos + count <= size());
        // The gap swallows the erased elements from whichever side it is
        // nearer to; their resources go at once, not when the slot is reused.
        size_t firstSlot = pos;
        if (gapStart_ > pos) {
            MoveGapTo(pos + count);
            gapStart_ = pos;
        } else {
            MoveGapTo(pos);
            firstSlot = gapStart_ + gapLength_;
        }
        const auto first = slots_.begin() + static_cast<std::ptrdiff_t>(firstSlot);
        std::generate(first, first + static_cast<std::ptrdiff_t>(count), [] { return T(); });
        gapLength_ += count;
        assert(Check());
    }

    void clear()
    {
        slots_.clear();
        gapStart_ = gapLength_ = 0;
    }
    void reserve(size_t count)
    {
        if (count + gapLength_ > slots_.capacity())
            slots_.reserve(count + gapLength_);
    }

    // The elements in order as one vector, valid until the next change.
    // Costs a move of the gap to the end, nothing when it is there already.
    const std::vector<T> &Contiguous()
    {
        CloseGap();
        return slots_;
    }
    // Hands the elements over as a vector and leaves this one empty.
    std::vector<T> Release()
    {
        CloseGap();
        std::vector<T> out = std::move(slots_);
        clear();
        return out;
    }
    // The elements in order as the two runs before and after the gap, for
    // scans that should not pay for the index translation per element.
    std::array<std::span<const T>, 2> Runs() const
    {
        const std::span<const T> all(slots_);
        return {all.first(gapStart_), all.subspan(gapStart_ + gapLength_)};
    }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size()}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    bool operator==(const GapVector &other) const { return std::ranges::equal(*this, other); }

    // The invariant below; debug builds check it after every change.
    bool Check() const { return gapLength_ <= slots_.size() && gapStart_ <= slots_.size() - gapLength_; }

private:
    // slots_ holds the elements [0, gapStart_) in slots [0, gapStart_) and the
    // rest in the slots after the gap's gapLength_ slots, so
    // slots_.size() == size() + gapLength_ and gapStart_ <= size(). Gap slots
    // are live objects holding default or moved-from values, never an element.
    std::vector<T> slots_;
    size_t gapStart_ = 0;
    size_t gapLength_ = 0;

    size_t Slot(size_t i) const { return i < gapStart_ ? i : i + gapLength_; }

    // Costs the number of elements between the old and the new place.
    void MoveGapTo(size_t pos)
    {
        assert(pos <= size());
        if (gapLength_ == 0) {
            gapStart_ = pos;
            return;
        }
        const auto at = [this](size_t slot) { return slots_.begin() + static_cast<std::ptrdiff_t>(slot); };
        if (pos < gapStart_)
            std::move_backward(at(pos), at(gapStart_), at(gapStart_ + gapLength_));
        else if (pos > gapStart_)
            std::move(at(gapStart_ + gapLength_), at(pos + gapLength_), at(gapStart_));
        gapStart_ = pos;
    }

    // Makes the gap start at `pos` and hold at least `count` slots. Reserved
    // room is used first; past it the gap grows by half the size again
    // besides, so that growing stays amortised constant per element.
    void OpenGapAt(size_t pos, size_t count)
    {
        assert(pos <= size());
        if (gapLength_ < count) {
            if (gapLength_ + (slots_.capacity() - slots_.size()) >= count) {
                MoveGapTo(size());
                slots_.resize(slots_.capacity());
                gapLength_ = slots_.size() - gapStart_;
            } else {
                Regrow(pos, count + std::max<size_t>(size() / 2, 16));
                return;
            }
        }
        MoveGapTo(pos);
    }

    // A reallocation moves every element once anyway: they go straight to
    // their places around a new gap of `gap` slots at `pos`.
    void Regrow(size_t pos, size_t gap)
    {
        const size_t count = size();
        std::vector<T> fresh;
        fresh.reserve(count + gap);
        for (size_t i = 0; i < pos; ++i)
            fresh.push_back(std::move((*this)[i]));
        fresh.resize(pos + gap);
        for (size_t i = pos; i < count; ++i)
            fresh.push_back(std::move((*this)[i]));
        slots_ = std::move(fresh);
        gapStart_ = pos;
        gapLength_ = gap;
    }

    void CloseGap()
    {
        MoveGapTo(size());
        slots_.resize(gapStart_);
        gapLength_ = 0;
    }
};

// Random access by index; an iterator stays valid while the vector is not
// changed, wherever the gap is.
template <typename T>
template <bool Const>
class GapVector<T>::Iterator {
    using Owner = std::conditional_t<Const, const GapVector, GapVector>;

public:
    using iterator_concept = std::random_access_iterator_tag;
    using iterator_category = std::random_access_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using reference = std::conditional_t<Const, const T &, T &>;
    using pointer = std::conditional_t<Const, const T *, T *>;

    Iterator() = default;
    Iterator(Owner *owner, size_t index) : owner_(owner), index_(static_cast<difference_type>(index)) {}
    // A mutable iterator converts to a const one.
    template <bool OtherConst>
    requires(Const && !OtherConst) Iterator(const Iterator<OtherConst> &other)
        : owner_(other.owner_), index_(other.index_)
    {
    }

    reference operator*() const { return (*owner_)[static_cast<size_t>(index_)]; }
    pointer operator->() const { return &**this; }
    reference operator[](difference_type n) const { return *(*this + n); }

    Iterator &operator++() { return *this += 1; }
    Iterator operator++(int) { return std::exchange(*this, *this + 1); }
    Iterator &operator--() { return *this -= 1; }
    Iterator operator--(int) { return std::exchange(*this, *this - 1); }
    Iterator &operator+=(difference_type n)
    {
        index_ += n;
        return *this;
    }
    Iterator &operator-=(difference_type n) { return *this += -n; }
    friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
    friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
    friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const Iterator &a, const Iterator &b) { return a.index_ - b.index_; }
    friend bool operator==(const Iterator &a, const Iterator &b) { return a.index_ == b.index_; }
    friend auto operator<=>(const Iterator &a, const Iterator &b) { return a.index_ <=> b.index_; }

private:
    friend class Iterator<!Const>;
    Owner *owner_ = nullptr;
    difference_type index_ = 0;
};

} // namespace tarnwick
