#pragma once
// Batches of items handed from one thread to another: the producer fills a
// vector and swaps it into the queue, the consumer swaps it out, so the
// lock is taken once a batch, not once an item. At most `depth` batches
// wait at once (the producer waits for room), so memory stays bounded
// however large the input; spent vectors come back to the producer.
// The queue has its cache lines to itself: the threads meet only here,
// once a batch.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

template <typename T>
class alignas(64) BatchQueue {
public:
    explicit BatchQueue(size_t depth = 4) : depth_(depth < 1 ? 1 : depth) {}

    // Producer: hands over batch (not empty) and gets back an empty vector
    // with room. False, and nothing handed over, once the consumer stopped.
    bool Put(std::vector<T>& batch) {
        std::unique_lock<std::mutex> lock(mutex_);
        roomOrStop_.wait(lock, [this] { return stopped_ || full_.size() < depth_; });
        if (stopped_) return false;
        full_.push_back(std::move(batch));
        batch.clear();
        if (!spare_.empty()) {
            batch.swap(spare_.back());
            spare_.pop_back();
        }
        ready_.notify_one();
        return true;
    }
    // Producer: there are no more batches.
    void Close() {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        ready_.notify_one();
    }
    // Consumer: the next batch in batch (its old items given back as a
    // spare); false once the queue is closed and every batch taken.
    bool Get(std::vector<T>& batch) {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return closed_ || !full_.empty(); });
        batch.clear();
        if (batch.capacity() > 0 && spare_.size() < depth_) {
            spare_.push_back(std::vector<T>());
            spare_.back().swap(batch);
        }
        if (full_.empty()) return false;
        batch.swap(full_.front());
        full_.pop_front();
        roomOrStop_.notify_one();
        return true;
    }
    // Consumer: takes no more; the producer's next Put fails.
    void Stop() {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        roomOrStop_.notify_one();
    }

private:
    const size_t depth_;
    std::mutex mutex_;
    std::condition_variable ready_;        // a batch or the close
    std::condition_variable roomOrStop_;   // room for a batch or the stop
    std::deque<std::vector<T>> full_;
    std::vector<std::vector<T>> spare_;
    bool closed_ = false;
    bool stopped_ = false;
};
