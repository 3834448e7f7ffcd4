#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as a distribution would and checks it: a release build of both
# programs in build-deb/ with Debian's compiler and linker flags (hardening included), then
# `cpack -G DEB`, then build-deb/packaging/check-package on the package: its files under /usr,
# lintian (no error, no warning), an install with dpkg into a scratch root and `vwx --version`
# from there. The package is left in build-deb/ (`sudo apt install ./build-deb/vaultwise_*.deb`).
set -euo pipefail
cd "$(dirname "$0")/.."
VW_CHECKS=1 scripts/setup.sh

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DVW_BUILD_GUI=ON -DVW_BUILD_CLI=ON \
    -DVW_BUILD_TESTS=OFF -DVW_BUILD_BENCH=OFF -DVW_SANITIZE=OFF -DVW_TSAN=OFF \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build-deb -j"$(nproc)"
rm -f build-deb/vaultwise_*.deb
(cd build-deb && cpack -G DEB >/dev/null)
deb=$(find build-deb -maxdepth 1 -name 'vaultwise_*.deb')
build-deb/packaging/check-package "$deb"
echo "$deb"
