#pragma once

// A re-entrant lock: a critical section on Windows (zero-filled memory from
// the process heap, initialised here), std::recursive_mutex elsewhere. It is
// Lockable, so std::lock_guard and std::unique_lock take it.
namespace zelvo {

class RecursiveLock {
  public:
    RecursiveLock();
    ~RecursiveLock();
    RecursiveLock(const RecursiveLock&) = delete;
    RecursiveLock& operator=(const RecursiveLock&) = delete;

    // Blocks until the calling thread owns the lock; again for its owner.
    void lock();
    // Takes the lock if that needs no waiting; true when the caller owns it.
    bool try_lock();
    // Releases one level of ownership.
    void unlock();

  private:
    void* impl_;
};

}  // namespace zelvo
