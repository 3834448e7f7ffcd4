// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/SecretWatch.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string_view>

namespace {

std::atomic<const std::string*> watched{nullptr};
std::atomic<bool> watchedReleased{false};

void Release(void* block) noexcept {
    const std::string* secret = watched.load();
    if (block && secret &&
        std::string_view(static_cast<const char*>(block), malloc_usable_size(block))
                .find(*secret) != std::string_view::npos)
        watchedReleased = true;
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}

namespace vw::test {

bool ReleasesSecret(const std::string& secret, const std::function<void()>& job) {
    watchedReleased = false;
    watched = &secret;
    job();
    watched = nullptr;
    return watchedReleased;
}

} // namespace vw::test
