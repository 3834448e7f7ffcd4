# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a release build (scripts/package.sh). It installs under
# /usr whatever prefix the build was configured with: the desktop program finds its pictures
# relative to its own folder. Its dependencies are found by dpkg-shlibdeps; the desktop, MIME,
# icon and man-page caches are refreshed by the file triggers of desktop-file-utils,
# shared-mime-info, hicolor-icon-theme and man-db on the folders the package fills (software
# centres read share/metainfo themselves), so it has no maintainer scripts.
# tests/packaging/deb_package_test.sh checks it, lintian included.
set(CPACK_PACKAGE_NAME vaultwise)
set(CPACK_PACKAGE_VENDOR "The Vaultwise developers")
set(CPACK_PACKAGE_CONTACT "${VW_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VW_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "protects files with a password and restores them")
# Lines of at most 80 columns, as dpkg shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Vaultwise compresses a file and encrypts it with a password into a .vwx file,"
    "and restores it. It comes as a small Qt desktop program in Italian or English,"
    "vaultwise, with entries in the file managers' menus, and as a command-line"
    "tool, vwx, for scripts."
    ""
    "The .vwx format is a legacy format without authenticated encryption; use age"
    "or gpg where modern cryptography is needed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# DESTDIR staging: the install step then leaves the desktop caches alone, the package's
# triggers refresh them on the target system.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
# cpack and `make install` package what is built (`cmake --build` first) instead of building
# every target, tests included, on their own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_GENERATOR DEB)
include(CPack)
