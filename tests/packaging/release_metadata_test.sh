#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The version is written once: CHANGELOG.md keeps its form and its newest entry names the
# project's version, and the software-centre metadata made from it has one release per entry,
# the newest first, and passes `appstreamcli validate` (errors and warnings fail; pedantic
# findings are listed). The launchers of type Application pass desktop-file-validate.
# Tools that are not installed are skipped with a note.
# Usage: release_metadata_test.sh SOURCE_DIR VERSION APP_ID LICENCE HOMEPAGE
set -euo pipefail
source=$1 version=$2 id=$3 licence=$4 homepage=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
files=$source/packaging/package-files
changelog=$source/CHANGELOG.md

"$files" check "$changelog" "$version" || fail "CHANGELOG.md"

# The metadata's releases are the changelog's entries, in order.
metainfo=$work/$id.metainfo.xml
"$files" -o "$metainfo" fill "$changelog" "$source/desktop/vaultwise.metainfo.xml.in" \
    APP_ID="$id" LICENCE="$licence" HOMEPAGE="$homepage" || fail "package-files fill"
releases=$(grep -o '<release version="[^"]*" date="[^"]*"' "$metainfo" | cut -d'"' -f2,4 | tr '"' ' ')
entries=$(sed -n 's/^## \([^ ]*\) - \(.*\)$/\1 \2/p' "$changelog")
[[ $releases == "$entries" ]] || fail "releases:"$'\n'"$releases"$'\n'"entries:"$'\n'"$entries"
[[ $(head -n 1 <<<"$releases") == "$version "* ]] || fail "the newest release is not $version"

# A changelog whose newest entry is not the project's version fails.
sed "s/^## $version /## 0.0.1 /" "$changelog" >"$work/stale.md"
! "$files" check "$work/stale.md" "$version" 2>/dev/null || fail "a stale CHANGELOG.md passed"

if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1 ||
        { cat "$work/appstream.log"; fail "appstreamcli validate"; }
    ! grep -E '^(E|W): ' "$work/appstream.log" || fail "appstreamcli reports the above"
    grep -E '^(I|P): ' "$work/appstream.log" || true
else
    echo "appstreamcli not installed: the metadata was not validated"
fi

if command -v desktop-file-validate >/dev/null; then
    for entry in "$source"/desktop/*.desktop "$source"/packaging/filemanagers/*.desktop; do
        grep -qx 'Type=Application' "$entry" || continue
        problems=$(desktop-file-validate "$entry" | grep -E ': (error|warning): ' || true)
        [[ -z $problems ]] || fail "desktop-file-validate:"$'\n'"$problems"
    done
else
    echo "desktop-file-validate not installed: the launchers were not validated"
fi
echo "release metadata ok: $version"
