#pragma once
// What a job needs to work through a file in chunks on several threads: chunk buffers, the
// queues that pass them from one thread to the next, and the worker threads with their first
// failure. Only the calling (user-interface) thread passes yield points: the workers publish
// how far they are, and the calling thread replays the yield points of each stage from that.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vw::stream {

// A job reads and passes on its file in chunks of this size.
inline constexpr std::size_t kChunkSize = std::size_t{1} << 20;

// One chunk's memory, 2 MiB aligned and in huge pages where the system offers them, with
// kHeadroom writable bytes in front of Data(). The bytes in use are [begin, begin + size).
class ChunkBuffer {
  public:
    static constexpr std::size_t kHeadroom = 64;

    ChunkBuffer() = default;
    explicit ChunkBuffer(std::size_t capacity);
    ~ChunkBuffer();
    ChunkBuffer(ChunkBuffer&& other) noexcept { *this = std::move(other); }
    ChunkBuffer& operator=(ChunkBuffer&& other) noexcept;
    ChunkBuffer(const ChunkBuffer&) = delete;
    ChunkBuffer& operator=(const ChunkBuffer&) = delete;

    std::uint8_t* Data() const { return memory_ + kHeadroom; }
    std::size_t Capacity() const { return capacity_; }
    std::uint8_t* Begin() const { return Data() + begin; }

    std::size_t begin = 0;
    std::size_t size = 0;

  private:
    std::uint8_t* memory_ = nullptr;
    std::size_t capacity_ = 0;
};

// Chunks passed from one thread to another, first in first out. The producer closes it; an
// abort wakes everyone waiting on it.
class ChunkQueue {
  public:
    // False when aborted.
    bool Push(ChunkBuffer&& chunk);
    // False when aborted, or closed with nothing left.
    bool Pop(ChunkBuffer& chunk);
    void Close();
    void Abort();

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<ChunkBuffer> chunks_;
    bool closed_ = false;
    bool aborted_ = false;
};

// The worker threads of one job. A failure raised in a worker is kept (the first one) and
// aborts the others; the destructor aborts and joins whatever still runs, so no thread outlives
// the job however it ends.
class Workers {
  public:
    Workers() = default;
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Queues to abort along with the workers.
    void Watch(ChunkQueue& queue) { queues_.push_back(&queue); }
    void Start(std::function<void()> body);
    void Abort();
    bool Aborted() const { return aborted_.load(std::memory_order_relaxed); }
    void Join();

    // From a worker: progress was published; wakes the calling thread.
    void Notify();
    // On the calling thread: waits until done() is true or a worker failed.
    void WaitUntil(const std::function<bool()>& done);
    bool Failed();
    // Raises the kept failure, if any, on the calling thread (after Join).
    void RethrowFailure();

  private:
    void Fail(std::exception_ptr failure);

    std::vector<std::thread> threads_;
    std::vector<ChunkQueue*> queues_;
    std::atomic<bool> aborted_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::exception_ptr failure_;
};

// The yield points of one stage whose elements another thread processes: after element i for
// every multiple i of the interval, replayed with the stage's own indices and percentages.
class YieldReplay {
  public:
    YieldReplay(std::uint64_t interval, std::function<double(double)> percent)
        : interval_(interval), percent_(std::move(percent)) {}
    // Passes the yield points of the elements before `processed`; false when cancelled.
    bool Upto(std::uint64_t processed);

  private:
    std::uint64_t interval_;
    std::function<double(double)> percent_;
    std::uint64_t next_ = 0;
};

} // namespace vw::stream
