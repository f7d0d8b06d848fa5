#!/bin/sh
# Takes the picture of Marlo's main window that the AppStream metainfo shows: the built program
# in a scratch program folder, on an X server of its own, with one file on its list.
#
#   screenshot.sh <marlo executable> <picture.png>
set -eu
MARLO="$1"
OUT="$2"
WORK="$(mktemp -d)"
XVFB_PID=""
MARLO_PID=""
cleanup() {
  [ -n "$MARLO_PID" ] && kill "$MARLO_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

mkdir -p "$WORK/Marlo/Data" "$WORK/home" "$WORK/run"
chmod 700 "$WORK/run"
cp -r "$(dirname "$MARLO")"/. "$WORK/Marlo/"
# English, the default skin, nothing asked at start.
printf '0\r\n1\r\n3\r\n6\r\n1\r\n150\r\n1500\r\n1500\r\n2|4\r\n10\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n80\r\nStandard\r\n\r\nTrue\r\n' \
  >"$WORK/Marlo/Set.cfg"
printf "Vantel's Design\r\nStandard\r\n" >"$WORK/Marlo/SkinName.ini"
# A second of silence as a WAV file (44.1 kHz, 16-bit stereo) for the title line.
SONG="$WORK/Morning Walk.wav"
{
  printf 'RIFF\044\261\002\000WAVEfmt \020\000\000\000\001\000\002\000'
  printf '\104\254\000\000\020\261\002\000\004\000\020\000data\000\261\002\000'
  head -c 176400 /dev/zero
} >"$SONG"

exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 640x400x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
i=0
while [ ! -s "$WORK/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
DISPLAY=":$(head -n1 "$WORK/display")"
export DISPLAY

HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" XDG_DATA_HOME="$WORK/home/.local/share" \
  DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus" QT_QPA_PLATFORM=xcb \
  "$WORK/Marlo/marlo" "$SONG" >"$WORK/marlo.log" 2>&1 &
MARLO_PID=$!
WINDOW="$(timeout 20 xdotool search --sync --onlyvisible --pid "$MARLO_PID" --name '^Marlo$' |
  head -n1)"
[ -n "$WINDOW" ] || { cat "$WORK/marlo.log" >&2; echo "no main window" >&2; exit 1; }
# The title of the dropped file shows once the list is read.
sleep 2
import -window "$WINDOW" "$WORK/shot.png"
mv "$WORK/shot.png" "$OUT"
