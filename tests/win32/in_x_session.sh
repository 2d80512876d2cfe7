#!/usr/bin/env bash
# Runs a Windows test program under Wine in a private X server under openbox
# (Wine's windows are X11 windows; without a window manager every close
# waits two seconds). Its Wine prefix is one of its own, beside the run's
# ($WINEPREFIX, else DEFAULT_PREFIX): the Wine server of a prefix keeps the
# display it was started with, and the tests without windows start theirs
# with none.
# Usage: in_x_session.sh WINE_RUN DEFAULT_PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
# shellcheck source=../../tools/lib/xsession.sh
source "$(dirname "$0")/../../tools/lib/xsession.sh"
wine_run=$1 default_prefix=$2
shift 2
WINEPREFIX="${WINEPREFIX:-$default_prefix}.x11"
export WINEPREFIX
X_WINDOW_MANAGER=openbox start_x
# Before the X server goes: this prefix's Wine server holds a connection to it.
on_exit wineserver -k
"$wine_run" "$WINEPREFIX" "$@"
