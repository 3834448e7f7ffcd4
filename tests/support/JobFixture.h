// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Jobs as the desktop program's driver runs them (protect or restore by the source's name), with
// the fixed header, each checked to have reported progress that only moved on.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "engine/format/FileKind.h"
#include "engine/job/Job.h"
#include "tests/support/ProtectedFileForge.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"

namespace vw {

// How a test failure shows a failure.
inline void PrintTo(const Failure& f, std::ostream* out) {
    *out << "{fault " << static_cast<int>(f.fault) << ", \"" << f.path << "\", \"" << f.other
         << "\", error " << f.error << ", \"" << f.shown << "\", " << f.value << ", " << f.limit
         << ", stream " << static_cast<int>(f.stream) << "}";
}

} // namespace vw

namespace vw::test {

inline constexpr const char* kPassword = "correct horse";

// A protect or restore of source into output, by the source's name, keyed with the code-page
// texts given, replacing any file (as after the save dialog asked).
inline JobRequest RequestFor(const std::string& source, const std::string& output,
                             const std::string& password = kPassword,
                             const std::string& privateCode = "",
                             const Overwrite& overwrite = Overwrite::Allowed) {
    JobRequest request;
    request.kind =
        DetectFileKind(source) == FileKind::Protected ? JobKind::Restore : JobKind::Protect;
    request.source = source;
    request.output = output;
    request.password = KeyText(password);
    request.privateCode = KeyText(privateCode);
    request.overwrite = overwrite;
    request.header = &FixedHeader;
    return request;
}

class JobTest : public ::testing::Test {
  protected:
    // Runs the job; returns the written path, or the source when it failed (as the driver does).
    std::string Run(const std::string& source, const std::string& output,
                    const std::string& password = kPassword, const std::string& privateCode = "",
                    const Overwrite& overwrite = Overwrite::Allowed) {
        return Run(RequestFor(source, output, password, privateCode, overwrite));
    }
    std::string Run(const JobRequest& request) {
        const std::size_t before = control.progress.size();
        result = RunJob(request, control);
        const std::vector<int> shown(control.progress.begin() + static_cast<long>(before),
                                     control.progress.end());
        EXPECT_TRUE(
            std::is_sorted(shown.begin(), shown.end()) &&
            std::adjacent_find(shown.begin(), shown.end()) == shown.end() &&
            std::all_of(shown.begin(), shown.end(), [](int p) { return p > 0 && p <= 100; }))
            << "progress went back or repeated";
        EXPECT_TRUE(!result.Ok() || (!shown.empty() && shown.back() == 100)) << "not at 100";
        return result.Ok() ? result.written : request.source;
    }

    TempDir dir;
    TestControl control;
    JobResult result;
};

} // namespace vw::test
