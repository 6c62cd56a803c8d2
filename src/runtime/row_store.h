#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

// The rows of a list control: a sequence with the indices and order of a
// vector, kept as a gap buffer. A list's rows are inserted and deleted one at
// a time near one another (a filter pass deletes from the last row to the
// first, a run appends at the end); a vector moves every later row each
// time, which makes such a pass quadratic. Here the free slots sit at the
// last place edited, so an edit costs the distance from the previous one and
// reading a row stays a constant-time lookup.
//
// T must be default-constructible and movable. Slots in the gap hold
// moved-from or default values.
namespace zelvo {

template <class T>
class RowStore {
  public:
    std::size_t size() const { return slots_.size() - gapLength(); }
    bool empty() const { return size() == 0; }

    T& operator[](std::size_t index) { return slots_[slot(index)]; }
    const T& operator[](std::size_t index) const { return slots_[slot(index)]; }

    // Inserts before position (size() appends); later rows move up by one.
    void insert(std::size_t position, T value) {
        assert(position <= size());
        if (gapStart_ == gapEnd_) grow(position);
        moveGapTo(position);
        slots_[gapStart_++] = std::move(value);
    }

    void push_back(T value) { insert(size(), std::move(value)); }

    // Removes the row at index; later rows move down by one.
    void erase(std::size_t index) {
        assert(index < size());
        moveGapTo(index);
        slots_[gapEnd_++] = T();  // release what the row held now, as a vector would
    }

    void clear() {
        slots_.clear();
        gapStart_ = gapEnd_ = 0;
    }

  private:
    std::size_t gapLength() const { return gapEnd_ - gapStart_; }
    std::size_t slot(std::size_t index) const {
        assert(index < size());
        return index < gapStart_ ? index : index + gapLength();
    }

    void moveGapTo(std::size_t position) {
        if (gapStart_ == gapEnd_) {  // nothing to move, and no row moved onto itself
            gapStart_ = gapEnd_ = position;
        } else if (position < gapStart_) {
            const std::size_t count = gapStart_ - position;
            std::move_backward(slots_.begin() + static_cast<std::ptrdiff_t>(position),
                               slots_.begin() + static_cast<std::ptrdiff_t>(gapStart_),
                               slots_.begin() + static_cast<std::ptrdiff_t>(gapEnd_));
            gapStart_ -= count;
            gapEnd_ -= count;
        } else if (position > gapStart_) {
            const std::size_t count = position - gapStart_;
            std::move(slots_.begin() + static_cast<std::ptrdiff_t>(gapEnd_),
                      slots_.begin() + static_cast<std::ptrdiff_t>(gapEnd_ + count),
                      slots_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
            gapStart_ += count;
            gapEnd_ += count;
        }
    }

    // Makes room by doubling, with the new gap at position.
    void grow(std::size_t position) {
        const std::size_t count = size();
        const std::size_t gap = std::max<std::size_t>(count, 16);
        std::vector<T> larger(count + gap);
        for (std::size_t i = 0; i < count; ++i) {
            larger[i < position ? i : i + gap] = std::move((*this)[i]);
        }
        slots_ = std::move(larger);
        gapStart_ = position;
        gapEnd_ = position + gap;
    }

    std::vector<T> slots_;
    std::size_t gapStart_ = 0;  // slots_[gapStart_, gapEnd_) are free
    std::size_t gapEnd_ = 0;
};

}  // namespace zelvo
