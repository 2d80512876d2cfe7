#!/usr/bin/env bash
# The portable zip holds the program and its licence and nothing else, and
# the program unpacked from it starts under Wine and leaves by ВЫЙТИ with
# status 0.
# Usage: windows_zip_test.sh ZIP
# in the Wine prefix that WINEPREFIX, or else BOUNZO_WINEPREFIX, names.
set -euo pipefail
zip=$1
# shellcheck source=tools/lib/xsession.sh
source "$(dirname "$0")/../../tools/lib/xsession.sh"
[ -f "$zip" ] || fail "no zip at $zip"
work=$(mktemp -d)
on_exit rm -rf "$work"

listed=$(/usr/bin/python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
[ "$listed" = "LICENSE.txt bounzo.exe" ] || fail "the zip holds: $listed"
/usr/bin/python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work"
echo "PASS: the zip holds the program and its licence"

X_WINDOW_MANAGER=openbox start_x
start_game "$work/bounzo.exe"
game_windows "from the zip"
click_exit
expect_exit_0_within "ВЫЙТИ in the program from the zip"
