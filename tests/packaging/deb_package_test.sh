#!/usr/bin/env bash
# Builds the Debian package from a built tree, checks what it holds and what
# it says about itself, lets lintian judge it, then starts the program
# unpacked from it in a private X server up to the welcome form and leaves
# through the exit button.
# Usage: deb_package_test.sh CPACK CPACK_CONFIG VERSION
set -euo pipefail
cpack=$1 config=$2 version=$3
here=$(dirname "$0")
# shellcheck source=tools/lib/xsession.sh
source "$here/../../tools/lib/xsession.sh"

for tool in dpkg-deb dpkg-shlibdeps dpkg-parsechangelog lintian hardening-check man desktop-file-validate appstreamcli file readelf xdotool xprop Xvfb; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/deps installs it)"
done

work=$(mktemp -d)
on_exit rm -rf "$work"
start_x

"$cpack" -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
arch=$(dpkg --print-architecture)
deb="$work/out/bounzo_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no package $(basename "$deb") (made: $(ls "$work/out"))"

# The control file.
info=$(dpkg-deb -I "$deb")
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = bounzo ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "architecture $(field Architecture)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
depends=$(field Depends)
depends_names=$(tr ',|' '\n' <<<"$depends" | awk '{ print $1 }')
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
  grep -qxF "$lib" <<<"$depends_names" || fail "Depends lacks $lib: $depends"
done
# Without a face with Cyrillic the captions are boxes: the package needs one.
tr ',' '\n' <<<"$depends" | grep -qx ' *fonts-liberation2 | fonts-dejavu-core' ||
  fail "Depends lacks a face with Cyrillic: $depends"
grep -q 'Детский Баунзо' <<<"$info" || fail "the description does not name the game"

# The files: exactly the program where Debian keeps games, its menu entry, its
# description, its manual page, its copyright and changelog, and its icons.
sizes=(16 22 24 32 48 64 128 256)
expected=(./usr/games/bounzo
          ./usr/share/applications/org.bounzo.Bounzo.desktop
          ./usr/share/metainfo/org.bounzo.Bounzo.metainfo.xml
          ./usr/share/man/man6/bounzo.6.gz
          ./usr/share/doc/bounzo/copyright
          ./usr/share/doc/bounzo/changelog.gz)
for n in "${sizes[@]}"; do expected+=("./usr/share/icons/hicolor/${n}x${n}/apps/bounzo.png"); done
listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort)
want=$(printf '%s\n' "${expected[@]}" | sort)
[ "$actual" = "$want" ] || fail "package files differ from the expected ones:$(diff <(echo "$want") <(echo "$actual") | sed 's/^/\n  /')"
grep -q '^-rwxr-xr-x root/root .* \./usr/games/bounzo$' <<<"$listing" || fail "the program is not an executable owned by root"

root="$work/root"
dpkg-deb -x "$deb" "$root"
prog="$root/usr/games/bounzo"
kind=$(file -b "$prog")
grep -Eq '^ELF 64-bit .*executable.*, stripped$' <<<"$kind" || fail "the program is not a stripped executable: $kind"
dynamic=$(readelf -d "$prog")
! grep -E 'R(UN)?PATH' <<<"$dynamic" || fail "the program keeps a library search path into the build"
# PIE, stack protector, read-only relocations bound at start-up. Not asked:
# fortified calls, as the compiler fortifies only calls whose buffer sizes it
# knows and the program makes none; control-flow marking, which Debian 12's C
# start-up files rule out for every program.
# A build for the sanitizers leaves the hardening out on purpose.
if [ "${BOUNZO_HARDENING:-ON}" = ON ]; then
  hardening-check --nofortify --nocfprotection "$prog" >"$work/hardening.log" || { cat "$work/hardening.log" >&2; fail "the program lacks hardening"; }
fi

# lintian, Debian's own judge of packages: no error and no warning.
if ! lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1; then
  cat "$work/lintian.log" >&2
  fail "lintian finds errors or warnings"
fi

desktop="$root/usr/share/applications/org.bounzo.Bounzo.desktop"
desktop-file-validate "$desktop" || fail "desktop entry invalid"
for line in 'Name=Детский Баунзо' 'Exec=/usr/games/bounzo' 'Icon=bounzo' 'Type=Application'; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done
grep -Eq '^Categories=(.*;)?Game;' "$desktop" || fail "desktop entry not in the Game category"

metainfo="$root/usr/share/metainfo/org.bounzo.Bounzo.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "metainfo invalid"; }
grep -q '<launchable type="desktop-id">org.bounzo.Bounzo.desktop</launchable>' "$metainfo" || fail "metainfo does not launch the desktop entry"

# One release everywhere: the control file's version, the changelog's newest
# entry, the metainfo's release and the manual page's footer.
changelog=$(zcat "$root/usr/share/doc/bounzo/changelog.gz")
released=$(dpkg-parsechangelog -l- -S Version <<<"$changelog")
[ "$released" = "$version" ] || fail "the changelog's newest entry is $released, the package $version"
release_date=$(date -u -d "$(dpkg-parsechangelog -l- -S Date <<<"$changelog")" +%F)
grep -q "<release version=\"$version\" date=\"$release_date\"/>" "$metainfo" || fail "metainfo names no release $version of $release_date"

# The manual page renders without a complaint from man or groff and has what
# a player looks for: how to play, the options, the exit status.
page=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$root/usr/share/man/man6/bounzo.6.gz" 2>"$work/man.log")
[ ! -s "$work/man.log" ] || { cat "$work/man.log" >&2; fail "the manual page renders with warnings"; }
for heading in NAME SYNOPSIS DESCRIPTION 'HOW TO PLAY' OPTIONS 'EXIT STATUS'; do
  grep -qx "$heading" <<<"$page" || fail "the manual page has no section $heading"
done
grep -q "bounzo - ball game against the computer" <<<"$page" || fail "the manual page's name line: $(head -5 <<<"$page")"
tr -s ' \n' '  ' <<<"$page" | grep -q "Больше задержка — меньше скорость" || fail "the manual page does not quote the delay prompt"
grep -q "bounzo $version .*$release_date" <<<"$page" || fail "the manual page's footer names no release $version of $release_date"

# The copyright file, machine-readable, carries the licence text of the tree.
copyright="$root/usr/share/doc/bounzo/copyright"
head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' || fail "copyright is not machine-readable"
# The text is the last paragraph, its lines indented by one blank, "." for an empty one.
licence=$(awk '/^License: Expat$/ { text = ""; next } { text = text $0 "\n" } END { printf "%s", text }' "$copyright" | sed 's/^ //; s/^\.$//')
[ "$licence" = "$(tail -n +5 "$here/../../LICENSE")" ] || fail "the copyright file's licence differs from LICENSE"

for n in "${sizes[@]}"; do
  picture=$(file -b "$root/usr/share/icons/hicolor/${n}x${n}/apps/bounzo.png")
  [[ $picture == "PNG image data, $n x $n,"* ]] || fail "the ${n}x${n} icon is not a $n px PNG"
done

# The unpacked program reaches the welcome form, with the ball as its icon.
QT_QPA_PLATFORM=xcb "$prog" & GAME_PID=$!
game_windows "from the packaged program"
# Docks link the running windows to the menu entry by their window class.
wm_class=$(xprop -id "$hello" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
grep -qxF "StartupWMClass=${wm_class:-none}" "$desktop" || fail "desktop entry's StartupWMClass is not the window class ${wm_class:-(none)}"
# The window icon's sizes: each picture in the property is its width, its
# height, then that many pixels.
icon_sizes=$(xprop -id "$hello" 32c _NET_WM_ICON | sed 's/^[^=]*= //' | tr -d ' ' | tr ',' '\n' |
  awk 'skip > 0 { skip--; next } !w { w = $1; next } { printf "%sx%s ", w, $1; skip = w * $1; w = 0 }')
[ "$icon_sizes" = "32x32 64x64 " ] || fail "the welcome window's icon sizes are ${icon_sizes:-none}, not 32 and 64 px"
click_exit
expect_exit_0_within "the packaged program's exit button" 2
