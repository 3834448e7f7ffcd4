// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files one call of vwx has written so far. A later job of the same call never replaces
// one of them, -f or not: two sources whose results share a name (notes.txt and notes.md, both
// protected into notes.vwx) must not cost the first one its only copy.
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace vw::cli {

class WrittenInThisRun {
  public:
    void Add(const std::string& path);
    bool Holds(const std::string& path) const;
    // Whether the job for one file could land on a file written earlier: a protect's result is
    // known in advance, a restore's only up to the extension stored in the file.
    bool MayReceive(const Options& one, bool protects) const;

  private:
    std::vector<std::filesystem::path> paths_;
};

} // namespace vw::cli
