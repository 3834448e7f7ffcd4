// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A program started with its standard streams closed gets /dev/null in their place.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/StandardStreams.h"

namespace vw {
namespace {

// In a child: closes the streams given, opens the call's replacements, then a file, and tells
// in its exit status whether the three streams lead to /dev/null and the file got number 3.
int StatusWithClosed(const std::vector<int>& closed) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const int fd : closed)
            ::close(fd);
        struct stat null = {};
        ::stat("/dev/null", &null);
        bool ok = OpenMissingStandardStreams();
        for (const int fd : closed) {
            struct stat info = {};
            ok = ok && ::fstat(fd, &info) == 0 && info.st_rdev == null.st_rdev;
        }
        ok = ok && ::open("/dev/null", O_RDONLY) > STDERR_FILENO;
        ::_exit(ok ? 0 : 1);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StandardStreams, ClosedOnesLeadToDevNullBeforeAnyFileIsOpened) {
    for (const std::vector<int>& closed : {std::vector<int>{}, {0}, {1}, {2}, {1, 2}, {0, 1, 2}})
        EXPECT_EQ(StatusWithClosed(closed), 0) << ::testing::PrintToString(closed);
}

} // namespace
} // namespace vw
