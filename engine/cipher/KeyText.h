// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A key text, the password or the private code, as the cipher takes it: one Windows-1252 byte
// per character (text/Cp1252.h converts). Every copy is wiped when it goes.
#include <string>
#include <string_view>

#include "engine/io/Bytes.h"

namespace vw {

class KeyText {
  public:
    KeyText() = default;
    explicit KeyText(std::string_view codePageBytes) : bytes_(codePageBytes) {}
    KeyText(const KeyText& other) : bytes_(other.bytes_) {}
    // Moved, the text is copied and the original wiped: a short string's characters would
    // otherwise stay behind in the object moved from.
    KeyText(KeyText&& other) : bytes_(other.bytes_) { SecureWipe(other.bytes_); }
    KeyText& operator=(KeyText other) {
        SecureWipe(bytes_);
        bytes_ = other.bytes_;
        return *this;
    }
    ~KeyText() { SecureWipe(bytes_); }

    std::string_view View() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }
    bool Empty() const { return bytes_.empty(); }

  private:
    std::string bytes_;
};

} // namespace vw
