// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/job/RestoreSink.h"

#include <algorithm>

#include "engine/io/Paths.h"

namespace vw {

void FileSink::Write(const std::uint8_t* data, std::size_t count) {
    if (!out_) Open();
    out_->Write(data, count);
}

void FileSink::Commit(unsigned mode, bool replaceExisting) {
    if (!out_) Open();
    out_->Commit(mode, replaceExisting);
}

void FileSink::Open() {
    RemoveStaleTempFiles(FolderOf(path_), start_, source_);
    out_.emplace(path_);
}

void MemorySink::Expect(std::size_t length) {
    length_ = length;
    refused_ = length > limit_;
    bytes_.reserve(refused_ ? std::min({length, limit_, kKeptOfRefused}) : length);
}

void MemorySink::Write(const std::uint8_t* data, std::size_t count) {
    if (!refused_) {
        bytes_.insert(bytes_.end(), data, data + count);
        return;
    }
    const std::size_t room = bytes_.capacity() - bytes_.size();
    bytes_.insert(bytes_.end(), data, data + std::min(count, room));
    if (count >= room) {
        Raise({.fault = Fault::MemoryLimit,
               .value = static_cast<std::int64_t>(length_),
               .limit = static_cast<std::int64_t>(limit_)});
    }
}

} // namespace vw
