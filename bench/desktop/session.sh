#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the desktop program on a virtual X screen with a window manager and the accessibility
# bus, for trying it as a user would (keyboard, screen reader, scale factors) without a display:
#   bench/desktop/session.sh [SCRIPT]
# SCRIPT (bash) runs once the program is up, with DISPLAY set and the program's pid in VW_PID;
# without it the session waits for the program to end. Screenshots: `import -window root a.png`;
# the accessible tree: bench/desktop/atspi-tree.py. Environment: VW_SCREEN (1280x800x24),
# QT_SCALE_FACTOR, LANG, VW_PROGRAM (build/ui/vaultwise). Needs the Debian packages xvfb
# openbox at-spi2-core python3-pyatspi dbus-x11, and xdotool imagemagick for scripts.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [[ -z "${DBUS_SESSION_BUS_ADDRESS:-}" || -z "${VW_IN_SESSION:-}" ]]; then
    VW_IN_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
program=${VW_PROGRAM:-build/ui/vaultwise}
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 "${VW_SCREEN:-1280x800x24}" -nolisten tcp >/dev/null 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
export DISPLAY=$display QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$program" &
export VW_PID=$!
pids+=("$VW_PID")
sleep 2
if [[ $# -gt 0 ]]; then
    bash "$1"
else
    wait "$VW_PID"
fi
