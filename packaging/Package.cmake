# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a release build. The package installs under the build's
# own prefix, the one compiled into the desktop program as its pictures' folder, so a package
# for /usr needs -DCMAKE_INSTALL_PREFIX=/usr. Its dependencies are found by dpkg-shlibdeps; the
# desktop, MIME, icon and man-page caches are refreshed by the file triggers of
# desktop-file-utils, shared-mime-info, hicolor-icon-theme and man-db on the folders the
# package fills, so it has no maintainer scripts.
set(CPACK_PACKAGE_NAME vaultwise)
set(CPACK_PACKAGE_VENDOR "Vaultwise")
set(CPACK_PACKAGE_CONTACT "Vaultwise developers <vaultwise@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "protects files with a password and restores them")
set(CPACK_PACKAGE_DESCRIPTION
    "Vaultwise compresses a file and encrypts it with a password into a .vwx file, and \
restores it. It comes as a small Qt desktop program with an Italian interface, vaultwise, \
and a command-line tool, vwx, for scripts. The .vwx format is a legacy format without \
authenticated encryption; use age or gpg where modern cryptography is needed.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
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
