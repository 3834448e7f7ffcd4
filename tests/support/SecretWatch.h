// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether code leaves copies of a secret in the heap: while a secret is watched, every heap block
// is searched for it before it is released (SecretWatch.cpp replaces the program's operator new
// and delete for that).
#include <functional>
#include <string>

namespace vw::test {

// True when job released a heap block holding secret: a copy it did not wipe.
bool ReleasesSecret(const std::string& secret, const std::function<void()>& job);

} // namespace vw::test
