// A blocking queue of at most `capacity` items (or, given a cost, items whose
// costs add up to at most `capacity`; one item alone always fits) between the capture's drawing
// thread and its writer threads, so memory stays flat and a slow writer makes
// the drawing wait instead of dropping anything. Closing wakes everyone:
// pushes then fail, pops drain what is left and then fail.
#pragma once
#include <condition_variable>
#include <deque>
#include <mutex>

template <class T> class BoundedQueue {
  public:
    explicit BoundedQueue(size_t capacity, size_t (*cost)(const T&) = nullptr)
        : capacity_(capacity), cost_(cost) {}

    bool push(T&& item) {
        size_t c = cost_ ? cost_(item) : 1;
        std::unique_lock<std::mutex> lock(mutex_);
        notFull_.wait(lock, [&] { return closed_ || items_.empty() || used_ + c <= capacity_; });
        if (closed_) return false;
        used_ += c;
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    bool pop(T* item) {
        std::unique_lock<std::mutex> lock(mutex_);
        notEmpty_.wait(lock, [&] { return closed_ || !items_.empty(); });
        if (items_.empty()) return false;
        *item = std::move(items_.front());
        items_.pop_front();
        used_ -= cost_ ? cost_(*item) : 1;
        notFull_.notify_one();
        return true;
    }

    // No more pushes; pops drain the rest.
    void close() {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

    // No more pushes, and what is queued is dropped.
    void cancel() {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        items_.clear();
        used_ = 0;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

  private:
    size_t capacity_;
    size_t (*cost_)(const T&);
    size_t used_ = 0;
    std::mutex mutex_;
    std::condition_variable notEmpty_, notFull_;
    std::deque<T> items_;
    bool closed_ = false;
};
