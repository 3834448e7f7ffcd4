// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a job ends: its status code, 0 for success. The programs give each its message.
#include <cstdint>

namespace vw {

enum StatusCode : std::int16_t {
    kStatusOk = 0,
    kStatusReserved1 = 1,
    kStatusReserved2 = 2,
    kStatusPasswordTooShort = 3,
    kStatusFileNotFound = 4,
    kStatusChecksum = 5,
    kStatusEmptyFile = 6,
    kStatusGeneric1 = 10,
    kStatusProtectCancelled = 11,
    kStatusProtectFailed = 12,
    kStatusUnknownFormat = 20,
    kStatusRestoreCancelled = 21,
    kStatusRestoreFailed = 22,
    kStatusWrongPassword = 23,
    kStatusCorrupt = 30,
    kStatusGeneric4 = 33,
};

} // namespace vw
