#!/usr/bin/env bash
# The release's version and date as the build reads them off the changelog,
# and the software-centre description it writes with and without a public
# address for the screenshots.
# Usage: release_metadata_test.sh CMAKE SOURCE_DIR
set -euo pipefail
cmake=$1 src=$2
packaging="$src/packaging"
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (tools/deps installs it)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# release VERSION HEADING SIGNATURE: what release.cmake makes of a changelog
# with this newest entry in a project of VERSION; prints "version date".
release() {
  mkdir -p "$work/release"
  printf '%s\n\n  * A change.\n\n%s\n' "$2" "$3" >"$work/release/changelog"
  printf 'cmake_minimum_required(VERSION 3.25)\ninclude(%s/release.cmake)\nmessage("${RELEASE_VERSION} ${RELEASE_DATE}")\n' "$packaging" >"$work/release/print.cmake"
  (cd "$work/release" && "$cmake" -DPROJECT_VERSION="$1" -P print.cmake 2>&1)
}

sig=' -- Bounzo team <bounzo@bounzo.invalid> '
# project version | changelog heading | signature | expected "version date", or FAIL
cases=(
  "1.0.0|bounzo (1.0.0) unstable; urgency=medium|$sig Tue, 08 Dec 2026 00:00:00 +0000|1.0.0 2026-12-08"
  "1.2.3|bounzo (1.2.3) unstable; urgency=low|$sig Sat, 1 Jan 2028 12:30:00 +0100|1.2.3 2028-01-01"
  "2.0.0|bounzo (2.0.0) unstable; urgency=medium|$sig Fri, 31 Mar 2028 00:00:00 +0000|2.0.0 2028-03-31"
  "1.0.1|bounzo (1.0.0) unstable; urgency=medium|$sig Tue, 08 Dec 2026 00:00:00 +0000|FAIL"
  "1.0.0|bounzo 1.0.0 unstable; urgency=medium|$sig Tue, 08 Dec 2026 00:00:00 +0000|FAIL"
  "1.0.0|bounzo (1.0.0) unstable; urgency=medium|$sig Tue, 08 Dez 2026 00:00:00 +0000|FAIL"
  "1.0.0|bounzo (1.0.0) unstable; urgency=medium|$sig 2026-12-08|FAIL"
)
for case in "${cases[@]}"; do
  IFS='|' read -r version heading signature want <<<"$case"
  status=0
  got=$(release "$version" "$heading" "$signature") || status=$?
  if [ "$want" = FAIL ]; then
    [ "$status" -ne 0 ] || fail "release.cmake accepted '$heading' / '$signature' in a project of $version: $got"
  else
    [ "$status" -eq 0 ] || fail "release.cmake refused '$heading' / '$signature': $got"
    [ "$got" = "$want" ] || fail "release.cmake read '$got' off '$heading' / '$signature', not '$want'"
  fi
done

# metainfo URL: writes the description with this screenshot address.
metainfo() {
  "$cmake" -DMETAINFO_IN="$packaging/org.bounzo.Bounzo.metainfo.xml.in" -DMETAINFO_OUT="$work/metainfo.xml" \
           -DRELEASE_VERSION=1.2.3 -DRELEASE_DATE=2028-01-01 -DSCREENSHOT_URL="$1" -P "$packaging/metainfo.cmake" 2>&1
}
validate() {
  appstreamcli validate --no-net "$work/metainfo.xml" >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "$1: metainfo invalid"; }
  grep -q '<release version="1.2.3" date="2028-01-01"/>' "$work/metainfo.xml" || fail "$1: no release 1.2.3 of 2028-01-01"
}

# No public address: no screenshots rather than addresses that lead nowhere.
metainfo "" >/dev/null || fail "no metainfo without a screenshot address"
validate "without an address"
! grep -q '<screenshot' "$work/metainfo.xml" || fail "screenshots without an address"

# An address, with or without its final slash: both pictures of docs/screenshots
# under it, each with a Russian caption, the welcome window first.
for url in https://media.bounzo.invalid/screenshots https://media.bounzo.invalid/screenshots/ http://media.bounzo.invalid/screenshots//; do
  metainfo "$url" >/dev/null || fail "no metainfo with the address $url"
  validate "$url"
  images=$(sed -n 's|.*<image type="source">\(.*\)</image>.*|\1|p' "$work/metainfo.xml")
  scheme=${url%%://*}
  [ "$images" = "$scheme://media.bounzo.invalid/screenshots/welcome.png
$scheme://media.bounzo.invalid/screenshots/rally.png" ] || fail "$url: screenshot addresses $images"
  for image in $images; do
    [ -f "$src/docs/screenshots/${image##*/}" ] || fail "$url: no docs/screenshots/${image##*/} to publish"
  done
  grep -A1 '<screenshot type="default">' "$work/metainfo.xml" | grep -q '<caption>Окно приветствия' || fail "$url: the default screenshot's caption is not the welcome window's"
  [ "$(LC_ALL=C.UTF-8 grep -cP '<caption>\p{Cyrillic}' "$work/metainfo.xml")" = 2 ] || fail "$url: not every screenshot has a Russian caption"
done

# Anything but an http(s) address stops the build.
for url in ftp://media.bounzo.invalid/screenshots/ docs/screenshots file:///usr/share/bounzo/ https://; do
  ! out=$(metainfo "$url") || fail "metainfo.cmake accepted the screenshot address $url"
  tr -s ' \n' '  ' <<<"$out" | grep -qF "is no http(s) address" || fail "$url: $out"
done
echo PASS
