#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package of a release build and checks it: everything under /usr whatever the
# build's prefix, the files it installs and their modes, the version written once (package,
# `vwx --version`, man pages, changelog, software-centre metadata), that dpkg-shlibdeps found the
# Qt dependency, that it has no maintainer scripts; lintian finds no error and no warning (when
# lintian is installed); installed with dpkg into a scratch root, its vwx runs; after a straight
# install .vwx files open with the desktop program; the bash completion offers protected files
# after -d and --test. Exit 77 (skipped) without dpkg-deb.
# Usage: deb_package_test.sh BUILD_DIR SOURCE_DIR VERSION APP_ID [DEB]
#   DEB: check this package (scripts/package.sh) instead of making one with cpack.
set -euo pipefail
build=$1 source=$2 version=$3 id=$4 deb=${5:-}
command -v dpkg-deb >/dev/null || { echo "no dpkg-deb: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if [[ -z $deb ]]; then
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack -G DEB"; }
    deb=$(find "$work" -maxdepth 1 -name '*.deb')
fi
listing=$(dpkg-deb -c "$deb" | awk '{print $1, $6}')
! grep -v ' \./$' <<<"$listing" | grep -qv ' \./usr/' || fail "files outside /usr"
! grep -q ' \./usr/local' <<<"$listing" || fail "files under /usr/local"
for path in bin/vaultwise bin/vwx share/man/man1/vwx.1.gz share/man/man1/vaultwise.1.gz \
    share/bash-completion/completions/vwx share/zsh/vendor-completions/_vwx \
    "share/applications/$id.desktop" share/applications/vaultwise-protect.desktop \
    "share/metainfo/$id.metainfo.xml" share/mime/packages/vaultwise.xml \
    share/icons/hicolor/48x48/apps/vaultwise.png share/vaultwise/01.jpg \
    share/doc/vaultwise/copyright share/doc/vaultwise/changelog.gz \
    share/nemo/actions/vaultwise-protect.nemo_action share/nemo/actions/vaultwise-restore.nemo_action; do
    grep -q "^-.* \./usr/$path\$" <<<"$listing" || fail "$path missing from the package"
done
# Only the programs are executable; root owns the Dolphin service menus, so they need not be.
executable=$(grep '^-..x' <<<"$listing" | cut -d' ' -f2 | paste -sd' ')
[[ $executable == "./usr/bin/vaultwise ./usr/bin/vwx" ]] || fail "executable: $executable"
for menu in protect restore; do
    grep -q "^-rw-r--r-- ./usr/share/kio/servicemenus/vaultwise-$menu.desktop\$" <<<"$listing" ||
        fail "no Dolphin service menu vaultwise-$menu.desktop"
done
# The system's file triggers refresh the desktop, MIME, icon and man caches: no maintainer scripts.
! dpkg-deb -I "$deb" | grep -qE '(pre|post)(inst|rm)' || fail "the package has maintainer scripts"
dpkg-deb -f "$deb" Depends | grep -q libqt6core6 || fail "Depends lacks libqt6core6 (no shlibdeps)"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version $(dpkg-deb -f "$deb" Version)"

if command -v lintian >/dev/null; then
    lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian"; }
    echo "lintian: no error, no warning"
else
    echo "lintian not installed: not run"
fi

# Installed with dpkg into a scratch root (its dependencies are the host's own libraries).
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root -i "$deb" >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; fail "dpkg -i into a scratch root"; }
[[ $(dpkg-query --root="$root" -W -f '${Status}' vaultwise) == "install ok installed" ]] ||
    fail "dpkg does not list vaultwise as installed"
usr=$root/usr
expected="vwx $version
Licence GPL-3.0-or-later: GNU GPL version 3 or later, with no warranty."
[[ $("$usr/bin/vwx" --version) == "$expected" ]] || fail "vwx --version: $("$usr/bin/vwx" --version)"
# The version, written once, everywhere.
zcat "$usr/share/doc/vaultwise/changelog.gz" | head -n 1 | grep -qF "vaultwise ($version) " ||
    fail "changelog.gz does not start with $version"
for page in vwx vaultwise; do
    zcat "$usr/share/man/man1/$page.1.gz" | grep -q "^\.TH .* \"Vaultwise $version\"" ||
        fail "the header of $page(1) does not name $version"
done
metainfo=$usr/share/metainfo/$id.metainfo.xml
grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | grep -qF "\"$version\"" ||
    fail "the metainfo's newest release is not $version"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
# The copyright file: DEP-5, the project's licence by reference to Debian's copy.
copyright=$usr/share/doc/vaultwise/copyright
head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not machine-readable"
grep -qx 'License: GPL-3+' "$copyright" && grep -q '/usr/share/common-licenses/GPL-3' "$copyright" ||
    fail "copyright does not name GPL-3+"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
        { cat "$work/appstream.log"; fail "appstreamcli validate"; }
fi
if command -v desktop-file-validate >/dev/null; then
    for entry in "$usr"/share/applications/*.desktop; do
        problems=$(desktop-file-validate "$entry" | grep -E ': (error|warning): ' || true)
        [[ -z $problems ]] || fail "desktop-file-validate:"$'\n'"$problems"
    done
fi

# A straight install into a scratch prefix: its caches name the launcher as the handler of .vwx
# files (double-click) and the "Open with" entry for text files; Dolphin's service menus,
# owned by the user there, are executable.
if command -v xdg-mime >/dev/null && command -v update-desktop-database >/dev/null; then
    cmake --install "$build" --prefix "$work/prefix" >/dev/null
    handler=$(env -i PATH="$PATH" HOME="$work" XDG_DATA_HOME="$work/prefix/share" \
        XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$work/config" \
        xdg-mime query default application/x-vaultwise)
    [[ $handler == "$id.desktop" ]] || fail "default handler of .vwx files: '$handler'"
    grep -q '^text/plain=.*vaultwise-protect.desktop' "$work/prefix/share/applications/mimeinfo.cache" ||
        fail "no Open-with entry for text files"
    for menu in protect restore; do
        [[ -x $work/prefix/share/kio/servicemenus/vaultwise-$menu.desktop ]] ||
            fail "straight install: vaultwise-$menu.desktop is not executable"
    done
    [[ -f $work/prefix/share/zsh/site-functions/_vwx ]] || fail "straight install: no zsh completion"
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
