#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, when they are missing.
# With VW_FUZZ=1 also clang and the runtime libraries (libFuzzer, sanitizers) of that clang;
# with VW_CHECKS=1 also the checkers of the licences (reuse) and of the Debian package (lintian).
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          dbus-daemon qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
          file dpkg-dev desktop-file-utils xdg-utils appstream)
if [[ "${VW_FUZZ:-}" == 1 ]]; then
    packages+=(clang)
fi
if [[ "${VW_CHECKS:-}" == 1 ]]; then
    packages+=(reuse lintian)
fi

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
updated=0
apt_update() {
    ((updated)) || "${sudo_cmd[@]}" apt-get update -q
    updated=1
}

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        apt_update
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends \
            "${missing[@]}"
    fi
}

# The package of the installed clang's runtime libraries: libclang-rt-N-dev from LLVM 14 on,
# libclang-common-N-dev before, N being clang's major version.
clang_runtime_package() {
    local major p
    major=$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)
    [[ -n "$major" ]] || major=$(clang -dumpversion | cut -d. -f1)
    for attempt in 1 2; do
        for p in "libclang-rt-$major-dev" "libclang-common-$major-dev"; do
            if [[ -n "$(apt-cache show "$p" 2>/dev/null)" ]]; then
                echo "$p"
                return
            fi
        done
        ((attempt == 2)) || apt_update >&2
    done
    echo "No package found for the runtime libraries of clang $major" >&2
    return 1
}

install_missing "${packages[@]}"
if [[ "${VW_FUZZ:-}" == 1 ]]; then
    runtime=$(clang_runtime_package)
    install_missing "$runtime"
fi
