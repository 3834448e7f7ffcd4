// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Jobs through ProcessFile with the fixed header, each checked to leave the cipher state wiped.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Driver.h"
#include "engine/ProtectedFileHooks.h"
#include "tests/support/ProtectedFileForge.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"

namespace vw::test {

inline constexpr const char* kPassword = "correct horse";

class JobTest : public ::testing::Test {
  protected:
    JobTest() { hooks::ProtectHeaderSource = &FixedHeader, TheCipher().Wipe(); }
    ~JobTest() override { hooks::ProtectHeaderSource = nullptr, hooks::WorkerEnding = nullptr; }

    std::string Run(const std::string& source, const std::string& output,
                    const std::string& password = kPassword, const std::string& privateCode = "",
                    Overwrite overwrite = Overwrite::Allowed) {
        const std::string result = ProcessFile(source, output, password, privateCode, overwrite);
        const Cipher& c = TheCipher();
        EXPECT_TRUE(c.IndexSum() == 0 && c.Feedback() == 0 &&
                    std::all_of(c.PermA(), c.PermA() + Cipher::kSizeA, [](auto v) { return !v; }))
            << "the cipher state outlived the job";
        return result;
    }
    void ClearRecords() { host.eventCalls = 0, host.progress.clear(), host.busyCalls.clear(); }

    TempDir dir;
    ScopedTestHost scope;
    TestHost& host = scope.host;
};

} // namespace vw::test
