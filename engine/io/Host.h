// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the engine reads the settings and the computer's name: the desktop program and vwx pass
// their own (platform/QtHost.h), tests theirs. A job's own dealings with its caller go through
// its JobControl (job/Job.h).
#include <string>

namespace vw {

class Host {
  public:
    virtual ~Host() = default;
    // Reads a value of the "Config" section of the per-user settings store.
    virtual std::string ReadSetting(const std::string& key, const std::string& defaultValue) {
        (void)key;
        return defaultValue;
    }
    // The computer's name in the single-byte code page, or empty text when it cannot be had.
    virtual std::string ComputerName() { return {}; }
};

} // namespace vw
