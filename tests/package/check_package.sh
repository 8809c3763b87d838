#!/usr/bin/env bash
# The Debian package as a user gets it: built by scripts/package (which fails
# on any lintian error), unpacked with dpkg -x, its program answers --version,
# starts offscreen and plays a generated sound, and its dependencies name the
# engine's library that the program loads at run time.
#
#   check_package.sh <build folder>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
pid=
MELODECK_BUILD_DIR=$1 MELODECK_DIST_DIR=$work/dist "$root/scripts/package" >"$work/package.log" 2>&1 ||
  { cat "$work/package.log"; exit 1; }
deb=$(ls "$work"/dist/melodeck_*.deb)
# Read whole first: grep -q ending early would break the pipe under pipefail.
depends=$(dpkg-deb -f "$deb" Depends)
contents=$(dpkg-deb -c "$deb")
grep -q 'libmpv2' <<<"$depends" || { echo "libmpv2 not among the dependencies"; exit 1; }
grep -q './usr/share/man/man1/melodeck.1.gz' <<<"$contents" || { echo "no man page"; exit 1; }
dpkg -x "$deb" "$work/root"
program=$work/root/usr/bin/melodeck
version=$("$program" --version)
grep -q '^Melodeck ' <<<"$version" || { echo "--version failed"; exit 1; }

# A 0.5 s silent WAV: the 44-byte header (8 kHz, mono, 8-bit), then 4000
# samples at the middle value.
wav=$work/silence.wav
printf 'RIFF\xc4\x0f\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00data\xa0\x0f\x00\x00' >"$wav"
head -c 4000 /dev/zero | tr '\0' '\200' >>"$wav"

home=$work/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
  XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen \
  MELODECK_MPV_AO=null MELODECK_MPV_VO=null MELODECK_UPDATE_URL=http://127.0.0.1:9/ \
  "$program" "$wav" >"$work/out.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  grep -q '正在播放: silence' "$work/out.log" && break
  sleep 0.2
done
grep -q '正在播放: silence' "$work/out.log" || { echo "the unpacked program did not play"; cat "$work/out.log"; exit 1; }
kill -TERM "$pid"
wait "$pid"
pid=
echo "package ok: $(basename "$deb")"
