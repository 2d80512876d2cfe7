#!/usr/bin/env bash
# The Windows installer under Wine, as a player's silent install would run
# it: /S into a folder of our choosing puts the program, its licence and the
# uninstaller there, a Start-menu entry and an uninstall entry in the
# registry; the installed program starts and leaves by ВЫЙТИ with status 0;
# the silent uninstaller takes every one of those away again.
# Usage: windows_installer_test.sh INSTALLER VERSION
# in the Wine prefix that WINEPREFIX, or else BOUNZO_WINEPREFIX, names.
set -euo pipefail
installer=$1 version=$2
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
# shellcheck source=tools/lib/xsession.sh
source "$tools/lib/xsession.sh"
prefix=$(wine_prefix)
[ -n "$prefix" ] || fail "no Wine prefix: set WINEPREFIX or BOUNZO_WINEPREFIX"
[ -f "$installer" ] || fail "no installer at $installer"
wine_run() { "$tools/wine-run" "$prefix" "$@"; }

work=$(mktemp -d)
on_exit rm -rf "$work"
# No blank in the name: /D= must stand unquoted, and Wine quotes an argument
# that has one. No Cyrillic either: it would reach Wine through the locale of the run.
folder=$work/Bounzo
# Wine's drive Z: is the Linux root.
windows_folder="Z:${folder//\//\\}"
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Детский Баунзо.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bounzo'

# Everything runs on the display: the Wine session's desktop process, started
# with the first program, keeps the display it was given.
X_WINDOW_MANAGER=openbox start_x
# /D= comes last.
wine_run "$installer" /S "/D=$windows_folder" || fail "the silent install failed"
installed=$(cd "$folder" && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$installed" = "./LICENSE.txt ./bounzo.exe ./uninstall.exe " ] || fail "installed: $installed"
[ -f "$shortcut" ] || fail "no Start-menu entry at $shortcut"
entry=$(wine_run reg query "$key") || fail "no uninstall entry $key"
grep -q "DisplayVersion.*REG_SZ.*$version" <<<"$entry" || fail "the uninstall entry does not give version $version: $entry"
grep -q 'QuietUninstallString.*uninstall.exe" /S' <<<"$entry" || fail "the uninstall entry has no silent uninstall: $entry"
echo "PASS: the silent install into a folder of its own"

start_game "$folder/bounzo.exe"
game_windows "from the installed program"
click_exit
expect_exit_0_within "ВЫЙТИ in the installed program"

# The uninstaller copies itself away and runs from there: the call returns
# before the work is done, so what it removes is waited for.
wine_run "$folder/uninstall.exe" /S || fail "the silent uninstall failed"
for _ in $(seq 300); do [ -e "$folder" ] || break; sleep 0.1; done
[ ! -e "$folder" ] || fail "left after uninstalling: $(find "$folder" -mindepth 1 | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left after uninstalling"
if wine_run reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry is left after uninstalling"; fi
echo "PASS: the silent uninstall removes every file, the Start-menu entry and the uninstall entry"
