// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/job/StreamPipeline.h"

#include <cstdlib>
#include <new>
#include <stdexcept>

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

#include "engine/io/Bytes.h"
#include "engine/io/HugePages.h"

namespace vw {
namespace stream {
namespace {

// Each worker keeps to a processor of its own when there are several: a thread woken by the
// other tends to be placed on the waker's processor, and with a third program busy on the
// remaining one the two workers would then share a single processor for long stretches.
void PinToOwnProcessor(int index) {
#if defined(__linux__)
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0 || CPU_COUNT(&allowed) < 2) return;
    int wanted = (index % CPU_COUNT(&allowed) + CPU_COUNT(&allowed)) % CPU_COUNT(&allowed);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &allowed) || wanted-- > 0) continue;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        ::pthread_setaffinity_np(::pthread_self(), sizeof one, &one);
        return;
    }
#else
    (void)index;
#endif
}

} // namespace

// Huge pages only for buffers that fill some: a small job's buffers are sized to it.
ChunkBuffer::ChunkBuffer(std::size_t capacity)
    : memory_(static_cast<std::uint8_t*>(capacity >= kHugePageSize
                                             ? AllocateHugePages(kHeadroom + capacity)
                                             : std::malloc(kHeadroom + capacity))),
      capacity_(capacity) {
    if (!memory_) throw std::bad_alloc();
}

// Chunks carry plain data: wiped before the memory goes back.
void ChunkBuffer::Release() noexcept {
    if (memory_) SecureWipe(memory_, kHeadroom + capacity_);
    std::free(memory_);
}

ChunkBuffer::~ChunkBuffer() {
    Release();
}

ChunkBuffer& ChunkBuffer::operator=(ChunkBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        memory_ = other.memory_;
        capacity_ = other.capacity_;
        begin = other.begin;
        size = other.size;
        other.memory_ = nullptr;
        other.capacity_ = other.begin = other.size = 0;
    }
    return *this;
}

bool ChunkQueue::Push(ChunkBuffer&& chunk) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (aborted_) return false;
        if (count_ == chunks_.size())
            throw std::logic_error("chunk queue: more chunks than in flight");
        chunks_[(first_ + count_++) % chunks_.size()] = std::move(chunk);
    }
    ready_.notify_one();
    return true;
}

bool ChunkQueue::Pop(ChunkBuffer& chunk) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return aborted_ || closed_ || count_ > 0; });
    if (aborted_ || count_ == 0) return false;
    chunk = std::move(chunks_[first_]);
    first_ = (first_ + 1) % chunks_.size();
    --count_;
    return true;
}

void ChunkQueue::Close() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    ready_.notify_all();
}

void ChunkQueue::Abort() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        aborted_ = true;
    }
    ready_.notify_all();
}

Workers::~Workers() {
    Abort();
    Join();
}

void Workers::Start(const char* name, std::function<void()> body, bool pinned) {
    const int index = firstProcessor_ + static_cast<int>(threads_.size());
    threads_.emplace_back([this, index, name, pinned, body = std::move(body)] {
#if defined(__linux__)
        ::pthread_setname_np(::pthread_self(), name);
#endif
        if (pinned) PinToOwnProcessor(index);
        try {
            body();
        } catch (...) {
            Fail(std::current_exception());
        }
        if (ending_) ending_();
        Notify();
    });
}

void Workers::Abort() {
    aborted_.store(true, std::memory_order_relaxed);
    for (ChunkQueue* queue : queues_)
        queue->Abort();
    Notify();
}

void Workers::Join() {
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
}

void Workers::Notify() {
    { std::lock_guard<std::mutex> lock(mutex_); }
    changed_.notify_all();
}

void Workers::WaitUntil(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || done(); });
}

bool Workers::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds most) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, most, [&] { return failure_ || done(); });
    return done();
}

std::exception_ptr Workers::KeptFailure() {
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
}

void Workers::RaiseIfFailed() {
    if (KeptFailure()) Finish();
}

void Workers::Finish() {
    Join();
    if (const std::exception_ptr failure = KeptFailure()) std::rethrow_exception(failure);
}

void Workers::Fail(std::exception_ptr failure) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_) failure_ = std::move(failure);
    }
    Abort();
}

} // namespace stream
} // namespace vw
