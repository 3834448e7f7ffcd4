#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and starts it; arguments go to the program (a file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVW_SANITIZE=OFF -DVW_TSAN=OFF -DVW_BUILD_GUI=ON \
    -DVW_BUILD_CLI=ON >/dev/null
cmake --build build -j"$(nproc)" --target vaultwise vwx
exec build/ui/vaultwise "$@"
