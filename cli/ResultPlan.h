// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one vwx call writes, decided for each file in the files' order before any job starts: the
// job's result and the one existing file it may replace. No job replaces a file that the call
// names (a source, the password file; its own source only with --replace), a folder, nor the
// result of another file of the call, -f or not:
// files are compared as the system sees them (device and inode, or for a result not written yet,
// its folder's and its name), so two names for one file through a link are still one file.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/ExitStatus.h"
#include "engine/job/Job.h"

namespace vw::cli {

// A directory entry, whether it exists yet or not: an existing one by its device and inode, one
// still to be made by its folder's and its name.
struct Place {
    dev_t device = 0;
    ino_t inode = 0;
    std::string name; // empty for an existing entry
    bool operator==(const Place&) const = default;
};
// The place of the entry at path (a link itself, not what it leads to).
Place PlaceOf(const std::string& path);

struct PlannedResult {
    std::string path; // "" when it cannot be told before the job runs
    Overwrite overwrite{Overwrite::Refused};
    std::optional<Refusal> refusal; // why the job must not run
};

class ResultPlan {
  public:
    // Every file the call names, in order, and the other files it reads (the password file).
    explicit ResultPlan(const std::vector<std::string>& sources,
                        const std::vector<std::string>& read = {});

    // Decides the job of one file whose result would be `result` ("" when it cannot be told).
    PlannedResult Decide(const Options& one, bool protects, const std::string& result);
    // A job wrote its result there.
    void Written(const std::string& path);
    bool WrittenEarlier(const std::string& path) const;

  private:
    bool IsSource(const Place& place, const std::string& except) const;

    struct Source {
        std::string path;
        std::vector<Place> places; // the entry, and the file it leads to
    };
    std::vector<Source> sources_;
    std::vector<Place> results_; // decided so far
    std::vector<Place> written_;
};

// The refusal when the result would replace an existing file; force: -f was given, so the file
// appeared while the job ran.
Refusal ExistingFileRefusal(const std::string& path, bool force = false);

} // namespace vw::cli
