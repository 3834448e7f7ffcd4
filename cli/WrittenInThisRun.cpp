// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WrittenInThisRun.h"

#include <algorithm>

#include "engine/Paths.h"

namespace vw::cli {
namespace {

std::filesystem::path Normal(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal();
}

} // namespace

void WrittenInThisRun::Add(const std::string& path) {
    paths_.push_back(Normal(path));
}

bool WrittenInThisRun::Holds(const std::string& path) const {
    return !path.empty() && std::find(paths_.begin(), paths_.end(), Normal(path)) != paths_.end();
}

bool WrittenInThisRun::MayReceive(const Options& one, bool protects) const {
    if (protects) return Holds(ProtectResultPath(one));
    const std::filesystem::path stem = Normal(WithoutExtension(OutputPathFor(one)));
    return std::any_of(paths_.begin(), paths_.end(), [&](const std::filesystem::path& written) {
        return Normal(WithoutExtension(written.string())) == stem;
    });
}

} // namespace vw::cli
