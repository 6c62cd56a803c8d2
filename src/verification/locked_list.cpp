#include "verification/locked_list.h"

#include <mutex>
#include <new>

#include "runtime/process_heap.h"

namespace zelvo {

namespace {

template <typename Node>
Node* NewNode(const Node& fields) {
    void* block = ProcessHeapAlloc(sizeof(Node));
    if (block == nullptr) throw std::bad_alloc();
    return new (block) Node(fields);
}

template <typename Node>
void DeleteNode(Node* node) {
    node->~Node();
    ProcessHeapFree(node);
}

}  // namespace

LockedList::~LockedList() {
    std::lock_guard guard(lock_);
    clear();
}

void LockedList::pushFront(std::int32_t value) {
    Node* node = NewNode(Node{value, nullptr, head_});
    if (head_ != nullptr) {
        head_->previous = node;
    } else {
        tail_ = node;
    }
    head_ = node;
    ++count_;
}

void LockedList::pushBack(std::int32_t value) {
    Node* node = NewNode(Node{value, tail_, nullptr});
    if (tail_ != nullptr) {
        tail_->next = node;
    } else {
        head_ = node;
    }
    tail_ = node;
    ++count_;
}

std::int32_t LockedList::valueAt(std::int32_t index) const {
    if (index < 0) return 0;
    Node* node = head_;
    for (; node != nullptr && index > 0; --index) node = node->next;
    return node != nullptr ? node->value : 0;
}

std::int32_t LockedList::size() const { return count_; }

void LockedList::unlink(Node* node) {
    (node->previous != nullptr ? node->previous->next : head_) = node->next;
    (node->next != nullptr ? node->next->previous : tail_) = node->previous;
    // An iteration standing on the removed node continues with its successor.
    if (cursor_ == node) cursor_ = node->next;
    DeleteNode(node);
    --count_;
}

bool LockedList::removeValue(std::int32_t value) {
    for (Node* node = head_; node != nullptr; node = node->next) {
        if (node->value == value) {
            unlink(node);
            return true;
        }
    }
    return false;
}

void LockedList::clear() {
    Node* node = head_;
    while (node != nullptr) {
        Node* following = node->next;
        DeleteNode(node);
        node = following;
    }
    head_ = tail_ = cursor_ = nullptr;
    count_ = 0;
}

bool LockedList::rewind() {
    cursor_ = head_;
    return head_ != nullptr;
}

bool LockedList::next(std::int32_t& value) {
    if (cursor_ == nullptr) return false;
    value = cursor_->value;
    cursor_ = cursor_->next;
    return true;
}

bool LockedList::isNonEmpty() const {
    std::lock_guard guard(lock_);
    return count_ != 0;
}

std::int32_t LockedList::lockedCount() const {
    std::lock_guard guard(lock_);
    return count_;
}

bool LockedList::peekFirst(std::int32_t& value) {
    std::lock_guard guard(lock_);
    if (!rewind()) return false;
    next(value);
    return true;
}

bool LockedList::lockedPushBack(std::int32_t value) {
    std::lock_guard guard(lock_);
    pushBack(value);
    return true;
}

bool LockedList::lockedPushFront(std::int32_t value) {
    std::lock_guard guard(lock_);
    pushFront(value);
    return true;
}

bool LockedList::takeFirst(std::int32_t& value) {
    std::lock_guard guard(lock_);
    // Re-entrant: peekFirst takes the same lock again.
    if (!peekFirst(value)) return false;
    removeValue(value);
    return true;
}

}  // namespace zelvo
