// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a job needs to work through a file in chunks on several threads: chunk buffers, the
// queues that pass them from one thread to the next, and the worker threads with their first
// failure. How the calling thread follows the workers is Follow (JobParts.h).
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vw::stream {

// A job reads and passes on its file in chunks of this size.
inline constexpr std::size_t kChunkSize = std::size_t{1} << 20;
// Chunks in flight between two threads.
inline constexpr int kChunksInFlight = 4;
// A restore reads its file in pieces of this size. Each piece's buffer holds, after the piece,
// two key parts per byte (Cipher::DecryptFirstHalf), so that a buffer fits one huge page.
inline constexpr std::size_t kRestorePiece = kChunkSize / 2;
// The cipher publishes its progress after every piece of this size.
inline constexpr std::size_t kCipherStep = std::size_t{64} << 10;

// One chunk's memory, in huge pages where the system offers them (HugePages.h), with
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
    void Release() noexcept;

    std::uint8_t* memory_ = nullptr;
    std::size_t capacity_ = 0;
};

// Chunks passed from one thread to another, first in first out. The producer closes it; an
// abort wakes everyone waiting on it. A pipeline has kChunksInFlight chunks of each kind, so a
// queue holds that many at most, in place: a job of a few bytes spent more on allocating its
// queues than on its bytes.
class ChunkQueue {
  public:
    // False when aborted. A chunk more than the queue can hold is a fault of the pipeline.
    bool Push(ChunkBuffer&& chunk);
    // False when aborted, or closed with nothing left.
    bool Pop(ChunkBuffer& chunk);
    void Close();
    void Abort();

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::array<ChunkBuffer, kChunksInFlight> chunks_; // a ring: count_ of them from first_
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    bool closed_ = false;
    bool aborted_ = false;
};

// The worker threads of one job, each named for what it does. A failure raised in a worker is
// kept (the first one) and aborts the others; the destructor aborts and joins whatever still
// runs, so no thread outlives the job however it ends.
class Workers {
  public:
    // ending: called last by every worker (a test makes workers end late). firstProcessor: where
    // the first pinned worker goes, the next one on the processor after it, and so on.
    explicit Workers(std::function<void()> ending = {}, int firstProcessor = 0)
        : ending_(std::move(ending)), firstProcessor_(firstProcessor) {}
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Queues to abort along with the workers.
    void Watch(ChunkQueue& queue) { queues_.push_back(&queue); }
    // name: at most 15 characters, shown as the thread's name. A pinned worker keeps to a
    // processor of its own where there are several.
    void Start(const char* name, std::function<void()> body, bool pinned = true);
    void Abort();
    bool Aborted() const { return aborted_.load(std::memory_order_relaxed); }

    // From a worker: progress was published; wakes the calling thread.
    void Notify();
    // On the calling thread: waits until done() is true or a worker failed.
    void WaitUntil(const std::function<bool()>& done);
    // The same for at most `most`; returns done().
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds most);
    // On the calling thread: when a worker failed, waits for every worker to stop and raises
    // the failure.
    void RaiseIfFailed();
    // On the calling thread: waits for every worker to end, then raises a failure of any.
    void Finish();

  private:
    void Join();
    void Fail(std::exception_ptr failure);
    std::exception_ptr KeptFailure();

    std::vector<std::thread> threads_;
    std::vector<ChunkQueue*> queues_;
    std::atomic<bool> aborted_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::exception_ptr failure_;
    std::function<void()> ending_;
    int firstProcessor_;
};

} // namespace vw::stream
