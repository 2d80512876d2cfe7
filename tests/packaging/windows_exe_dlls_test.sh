#!/usr/bin/env bash
# The Windows program needs no DLL beyond those every 64-bit Windows has: the
# C++ runtime, libgcc and winpthread are linked into it. Also the version
# information and the icon Explorer shows are in it.
# Usage: windows_exe_dlls_test.sh OBJDUMP WINDRES EXE VERSION
set -euo pipefail
objdump=$1 windres=$2 exe=$3 version=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "no program at $exe"

# Windows's own libraries, in the case-insensitive names the import table may use.
system_dlls='^(kernel32|user32|gdi32|msvcrt|ucrtbase|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|uxtheme|dwmapi|imm32|winmm|windowscodecs|gdiplus|msimg32|shcore|ntdll|ws2_32|version|uuid|api-ms-win-[a-z0-9-]+)\.dll$'
mapfile -t dlls < <("$objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }')
[ ${#dlls[@]} -gt 0 ] || fail "objdump lists no imported DLL in $exe"
for dll in "${dlls[@]}"; do
  [[ ${dll,,} =~ $system_dlls ]] || fail "$exe needs $dll, which Windows does not have"
done
echo "PASS: only system DLLs: ${dlls[*]}"

resources=$("$windres" -i "$exe" -O rc)
grep -q '^1 14 /\* RT_GROUP_ICON \*/' <<<"$resources" || fail "no icon group 1 in $exe"
grep -q '^1 24 /\* RT_MANIFEST \*/' <<<"$resources" || fail "no manifest in $exe"
grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" || fail "the version information does not say $version"
texts=$(strings "$exe")
grep -q 'PerMonitorV2' <<<"$texts" || fail "the manifest in $exe does not ask for per-monitor DPI awareness"
echo "PASS: icon, manifest and version $version are in the program"
