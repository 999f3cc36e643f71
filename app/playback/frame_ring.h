#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <vector>

namespace tunvale::playback {

// Stereo frames handed from the audio thread to a writer thread: one producer, one consumer, no lock
// and no allocation after construction, so the audio thread never waits. Frames that find the ring
// full are dropped and counted.
class FrameRing
{
public:
    explicit FrameRing(size_t frames)
        : samples_(2 * (frames + 1))
    {
    }

    // Audio thread: copies what fits.
    void push(const float* left, const float* right, int frames)
    {
        const size_t capacity = samples_.size();
        size_t head = head_.load(std::memory_order_relaxed);
        const size_t tail = tail_.load(std::memory_order_acquire);
        const size_t free = (tail + capacity - head - 2) % capacity / 2;
        const size_t copied = std::min(free, size_t(std::max(frames, 0)));
        for (size_t i = 0; i < copied; ++i) {
            samples_[head] = left[i];
            samples_[head + 1] = right[i];
            head = (head + 2) % capacity;
        }
        head_.store(head, std::memory_order_release);
        dropped_.fetch_add(size_t(std::max(frames, 0)) - copied, std::memory_order_relaxed);
    }

    // Writer thread: takes every waiting frame, interleaved left and right, into `out`.
    void pop(std::vector<float>& out)
    {
        const size_t capacity = samples_.size();
        size_t tail = tail_.load(std::memory_order_relaxed);
        const size_t head = head_.load(std::memory_order_acquire);
        while (tail != head) {
            out.push_back(samples_[tail]);
            tail = (tail + 1) % capacity;
        }
        tail_.store(tail, std::memory_order_release);
    }

    size_t dropped() const { return dropped_.load(std::memory_order_relaxed); }

private:
    std::vector<float> samples_;
    std::atomic<size_t> head_ { 0 };
    std::atomic<size_t> tail_ { 0 };
    std::atomic<size_t> dropped_ { 0 };
};

} // namespace tunvale::playback
