#pragma once
// A list with a fixed cap, oldest entry first, for the effects (track marks,
// smoke puffs, animals). It is a ring over one allocation made up front: when
// the list is full, dropping the oldest entry is O(1) instead of shifting the
// whole list on every insertion, and removing entries during an update keeps
// the order in one pass.

#include <cassert>
#include <cstddef>
#include <vector>

template <class T>
class CappedList {
public:
    explicit CappedList(std::size_t cap) : slots_(cap), cap_(cap) { assert(cap > 0); }

    std::size_t size() const { return size_; }
    std::size_t cap() const { return cap_; }
    bool empty() const { return size_ == 0; }
    bool full() const { return size_ >= cap_; }

    /// Entry `i`, counted from the oldest.
    T& operator[](std::size_t i) { return slots_[slot(i)]; }
    const T& operator[](std::size_t i) const { return slots_[slot(i)]; }
    T& newest() { return (*this)[size_ - 1]; }

    /// Appends at the new end; the list must not be full.
    T& push(const T& value)
    {
        assert(!full());
        T& place = slots_[slot(size_)];
        place = value;
        ++size_;
        return place;
    }
    /// Drops the oldest entry.
    void popOldest()
    {
        assert(size_ > 0);
        head_ = (head_ + 1) % cap_;
        --size_;
    }
    void clear()
    {
        head_ = 0;
        size_ = 0;
    }

    /// Visits every entry from the newest to the oldest; those for which
    /// `update` returns false are removed. The survivors keep their order.
    template <class F>
    void updateNewestFirst(F update)
    {
        std::size_t write = size_;
        for (std::size_t read = size_; read-- > 0;) {
            T& entry = (*this)[read];
            if (!update(entry))
                continue;
            --write;
            if (write != read)
                (*this)[write] = entry;
        }
        // The survivors now fill [write, size); the slots before them go.
        head_ = (head_ + write) % cap_;
        size_ -= write;
    }

private:
    std::size_t slot(std::size_t i) const { return (head_ + i) % cap_; }

    std::vector<T> slots_;
    std::size_t cap_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};
