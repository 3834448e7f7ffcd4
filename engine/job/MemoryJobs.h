// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Jobs on bytes in memory instead of files, through the same code as the file jobs: a protect
// of data into a protected file's bytes, and a restore of those bytes. The fuzzers and the tests
// run them, many thousands a second; nothing reaches the disk.
#include <string_view>

#include "engine/io/Bytes.h"
#include "engine/job/Job.h"

namespace vw {

class RestoreSink;

// Protects data, stored with the given extension (code-page bytes), into out, keyed with the
// request's password and private code (and its header, when it gives one).
JobResult ProtectBytes(const Bytes& data, std::string_view extension, const JobRequest& keys,
                       Bytes& out, JobControl& control);

// Restores a protected file held in memory into sink (nothing: the file is only tested), keyed
// with the request's password and private code. The result holds the stored extension.
JobResult RestoreBytes(const Bytes& file, const JobRequest& keys, RestoreSink* sink,
                       JobControl& control);

} // namespace vw
