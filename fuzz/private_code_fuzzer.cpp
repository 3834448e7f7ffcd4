// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary text as the stored private code.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/cipher/PrivateCode.h"
#include "tests/support/TestHost.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vw::test::TestHost host;
    host.settings = {{"OFB", std::string(reinterpret_cast<const char*>(data), size)}};
    host.computerName = size % 2 ? "workstation" : "";
    // Two hex digits make one byte: the code is never longer than half the text, rounded up.
    if (vw::ReadPrivateCode(host).size() > (size + 1) / 2) __builtin_trap();
    return 0;
}
