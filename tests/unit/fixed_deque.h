// FixedDeque: a ring buffer of fixed capacity with insertion and erasure at any position. The reference
// planner of the tests keeps its sorted open list in one. Nothing here allocates except resize.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

namespace rt {

template <class T> class FixedDeque
{
  public:
    FixedDeque() = default;
    ~FixedDeque() { release(); }
    FixedDeque(const FixedDeque&) = delete;
    FixedDeque& operator=(const FixedDeque&) = delete;

    // Drop the contents and both arrays, then make room for n entries. False (and capacity 0) when the
    // memory cannot be had.
    bool resize(uint32_t n)
    {
        release();
        if (n == 0) return true;
        items_ = new (std::nothrow) T[n];
        scratch_ = new (std::nothrow) T[n];
        if (!items_ || !scratch_) {
            release();
            return false;
        }
        capacity_ = n;
        clear();
        return true;
    }

    void clear()
    {
        head_ = tail_ = 0;
        empty_ = true;
    }

    bool isEmpty() const { return empty_; }
    bool isFull() const { return !empty_ && head_ == tail_; }
    uint32_t capacity() const { return capacity_; }
    uint32_t size() const
    {
        if (empty_) return 0;
        if (head_ < tail_) return tail_ - head_;
        return capacity_ + tail_ - head_;
    }

    // The entry i places after the front (i < size()).
    T& at(uint32_t i) const { return items_[wrap(head_ + i)]; }
    T& back() const { return items_[tail_ == 0 ? capacity_ - 1 : tail_ - 1]; }

    bool pushBack(const T& value)
    {
        if (capacity_ == 0 || isFull()) return false;
        items_[tail_] = value;
        tail_ = wrap(tail_ + 1);
        empty_ = false;
        return true;
    }

    bool pushFront(const T& value)
    {
        if (capacity_ == 0 || isFull()) return false;
        head_ = head_ == 0 ? capacity_ - 1 : head_ - 1;
        items_[head_] = value;
        empty_ = false;
        return true;
    }

    bool popBack()
    {
        if (empty_) return false;
        tail_ = tail_ == 0 ? capacity_ - 1 : tail_ - 1;
        empty_ = head_ == tail_;
        return true;
    }

    bool popFront()
    {
        if (empty_) return false;
        head_ = wrap(head_ + 1);
        empty_ = head_ == tail_;
        return true;
    }

    // Insert so that the value becomes entry i (i <= size()); false when full or i is past the end.
    bool insertAt(uint32_t i, const T& value)
    {
        uint32_t count = size();
        if (i > count || capacity_ == 0 || isFull()) return false;
        if (i == count) return pushBack(value);
        if (i == 0) return pushFront(value);
        for (uint32_t k = 0; k < i; ++k)
            scratch_[k] = at(k);
        scratch_[i] = value;
        for (uint32_t k = i; k < count; ++k)
            scratch_[k + 1] = at(k);
        takeScratch(count + 1);
        return true;
    }

    // Remove entry i (i < size()); false when i is past the end.
    bool eraseAt(uint32_t i)
    {
        uint32_t count = size();
        if (i >= count) return false;
        if (i == count - 1) return popBack();
        if (i == 0) return popFront();
        for (uint32_t k = 0; k < i; ++k)
            scratch_[k] = at(k);
        for (uint32_t k = i + 1; k < count; ++k)
            scratch_[k - 1] = at(k);
        takeScratch(count - 1);
        return true;
    }

  private:
    uint32_t wrap(uint32_t index) const { return index >= capacity_ ? index - capacity_ : index; }

    // The scratch array holds the entries in order from index 0: the two arrays swap roles.
    void takeScratch(uint32_t count)
    {
        std::swap(items_, scratch_);
        head_ = 0;
        tail_ = count == capacity_ ? 0 : count;
        empty_ = count == 0;
    }

    void release()
    {
        delete[] items_;
        delete[] scratch_;
        items_ = scratch_ = nullptr;
        capacity_ = 0;
        clear();
    }

    T* items_ = nullptr;
    T* scratch_ = nullptr; // same capacity; receives the entries when one is inserted or erased inside
    uint32_t capacity_ = 0;
    uint32_t head_ = 0; // index of the front entry
    uint32_t tail_ = 0; // index one past the back entry, wrapping to 0 at the capacity
    bool empty_ = true; // tells empty from full when head equals tail
};

} // namespace rt
