#pragma once

#include <cstdint>

#include "runtime/recursive_lock.h"

namespace zelvo {

// A doubly linked list of 32-bit values with its own re-entrant lock (a
// critical section on Windows); nodes come from the process heap. The
// operations marked "unlocked" do not take the lock: the caller holds it, or
// the list is not shared. The locked ones may be called from any thread.
class LockedList {
  public:
    LockedList() = default;
    // Empties the list under its lock.
    virtual ~LockedList();
    LockedList(const LockedList&) = delete;
    LockedList& operator=(const LockedList&) = delete;

    // Unlocked.
    virtual void pushFront(std::int32_t value);
    virtual void pushBack(std::int32_t value);
    // Value of the node at 0-based index; 0 when there is no such node.
    virtual std::int32_t valueAt(std::int32_t index) const;
    virtual std::int32_t size() const;
    // Unlinks the first node holding value; false (list unchanged) when none does.
    virtual bool removeValue(std::int32_t value);
    virtual void clear();
    // Starts an iteration at the head; true when the list is non-empty.
    virtual bool rewind();
    // False at the end of the iteration; else gives the value and advances.
    virtual bool next(std::int32_t& value);

    // Locked.
    virtual bool isNonEmpty() const;
    virtual std::int32_t lockedCount() const;
    // The head's value; false when the list is empty.
    virtual bool peekFirst(std::int32_t& value);
    virtual bool lockedPushBack(std::int32_t value);
    // Removes and gives the head's value; false when the list is empty.
    virtual bool takeFirst(std::int32_t& value);
    // pushFront under the lock; always true.
    virtual bool lockedPushFront(std::int32_t value);

  private:
    struct Node {
        std::int32_t value;
        Node* previous;
        Node* next;
    };

    void unlink(Node* node);

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    std::int32_t count_ = 0;
    Node* cursor_ = nullptr;
    mutable RecursiveLock lock_;
};

}  // namespace zelvo
