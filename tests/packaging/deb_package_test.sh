#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package of a release build and checks it: the files it installs, that
# dpkg-shlibdeps found the Qt dependency, that it has no maintainer scripts, that after an
# install .vwx files open with the desktop program, and that the bash completion offers
# protected files after -d and --test. Exit 77 (skipped) without dpkg-deb.
# Usage: deb_package_test.sh BUILD_DIR INSTALL_PREFIX SOURCE_DIR
set -euo pipefail
build=$1 prefix=${2#/} source=$3
command -v dpkg-deb >/dev/null || { echo "no dpkg-deb: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
deb=$(find "$work" -maxdepth 1 -name '*.deb')
listing=$(dpkg-deb -c "$deb" | awk '{print $1, $6}')
for path in bin/vaultwise bin/vwx share/man/man1/vwx.1.gz share/man/man1/vaultwise.1.gz \
    share/bash-completion/completions/vwx share/applications/vaultwise.desktop \
    share/applications/vaultwise-protect.desktop share/mime/packages/vaultwise.xml \
    share/icons/hicolor/48x48/apps/vaultwise.png share/vaultwise/01.jpg \
    share/nemo/actions/vaultwise-protect.nemo_action share/nemo/actions/vaultwise-restore.nemo_action; do
    grep -q " ./$prefix/$path\$" <<<"$listing" || fail "$path missing from the package"
done
for menu in protect restore; do
    grep -q "^-rwxr-xr-x ./$prefix/share/kio/servicemenus/vaultwise-$menu.desktop\$" <<<"$listing" ||
        fail "no executable Dolphin service menu vaultwise-$menu.desktop"
done
# The system's file triggers refresh the desktop, MIME, icon and man caches: no maintainer scripts.
! dpkg-deb -I "$deb" | grep -qE '(pre|post)(inst|rm)' || fail "the package has maintainer scripts"
dpkg-deb -f "$deb" Depends | grep -q libqt6core6 || fail "Depends lacks libqt6core6 (no shlibdeps)"

# A straight install into a scratch prefix: its caches name vaultwise.desktop as the handler of
# .vwx files (double-click) and the "Open with" entry for text files.
if command -v xdg-mime >/dev/null && command -v update-desktop-database >/dev/null; then
    cmake --install "$build" --prefix "$work/prefix" >/dev/null
    handler=$(env -i PATH="$PATH" HOME="$work" XDG_DATA_HOME="$work/prefix/share" \
        XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$work/config" \
        xdg-mime query default application/x-vaultwise)
    [[ $handler == vaultwise.desktop ]] || fail "default handler of .vwx files: '$handler'"
    grep -q '^text/plain=.*vaultwise-protect.desktop' "$work/prefix/share/applications/mimeinfo.cache" ||
        fail "no Open-with entry for text files"
fi

# Completion: options, and after -d or --test only .vwx files and folders.
mkdir "$work/files" "$work/files/sub" && touch "$work/files/a.vwx" "$work/files/b.txt"
completions=$(cd "$work/files" && source "$source/packaging/completion/vwx.bash" && for line in \
    "vwx --pro" "vwx -d " "vwx -q --test " "vwx " "vwx -- -" "vwx --password-file "; do
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _vwx
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
done)
expected='--protect
a.vwx sub
a.vwx sub
a.vwx b.txt sub

a.vwx b.txt sub'
[[ $completions == "$expected" ]] || fail "completions:"$'\n'"$completions"
echo "package ok: $(basename "$deb")"
