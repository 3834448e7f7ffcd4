// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One file of a vwx run as planned before its job: its own options, its direction, its result,
// and why it cannot run.
#include <optional>
#include <string>

#include "cli/Arguments.h"
#include "cli/ExitStatus.h"
#include "cli/ResultPlan.h"
#include "cli/Secrets.h"
#include "engine/job/Job.h"

namespace vw::cli {

// Why a file cannot run is told before the password is asked when that can be known then, except
// in a test, whose lines keep the files' order.
struct FilePlan {
    Options options;
    bool protects = false;
    std::optional<Refusal> refusal = {};
    bool told = false; // the refusal was already reported
    PlannedResult result = {};
};

inline JobKind KindOf(const FilePlan& plan) {
    return plan.options.test ? JobKind::Test : plan.protects ? JobKind::Protect : JobKind::Restore;
}

// The job of a file, keyed with the run's password and private code.
inline JobRequest RequestFor(const FilePlan& plan, const Secrets& keys, const Overwrite& overwrite) {
    JobRequest request;
    request.kind = KindOf(plan);
    request.source = plan.options.file;
    request.output = OutputPathFor(plan.options);
    request.password = KeyText(keys.password);
    request.privateCode = KeyText(keys.privateCode);
    request.overwrite = overwrite;
    return request;
}

} // namespace vw::cli
