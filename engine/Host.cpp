// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Host.h"

namespace vw {
namespace {
Host defaultHost;
Host* currentHost = &defaultHost;
} // namespace

Host& CurrentHost() {
    return *currentHost;
}

void SetHost(Host* host) {
    currentHost = host ? host : &defaultHost;
}

ScopedHost::ScopedHost(Host& host) : previous_(&CurrentHost()) {
    SetHost(&host);
}

ScopedHost::~ScopedHost() {
    SetHost(previous_);
}

} // namespace vw
