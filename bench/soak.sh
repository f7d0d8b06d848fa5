#!/bin/sh
# Soak: Marlo plays a list of 500 short items (WAV, MP3, FLAC, module, MIDI, a zip member, a
# picture, a short video) with "Repeat all" for SOAK_SECONDS (default 600), while a seeded series
# (SOAK_SEED, printed) presses Next, Previous, Pause and seeks through MPRIS at random moments.
# A program that dies is counted and started again. Prints items_played, crashes,
# rss_growth_mb (resident memory at the end minus after the first full pass, or after half the
# time when that comes first, as it says), fd_growth and thread_growth. SOAK_SHOT=file.png takes
# a screenshot at half time.
set -eu
cd "$(dirname "$0")/.."
SOAK_SECONDS=${SOAK_SECONDS:-600}
SOAK_SEED=${SOAK_SEED:-$(date +%s)}
ROOT=$(pwd)
echo "seed=$SOAK_SEED"
cmake --build build -j2 --target marlo prepare_library >/dev/null

DISPLAY_OFFSET=300
. bench/desktop.sh
# A session bus of its own for MPRIS.
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 \
    3>"$WORK/dbus.pid")
export DBUS_SESSION_BUS_ADDRESS
watcher=""
trap 'kill $watcher "$(cat "$WORK/dbus.pid")" 2>/dev/null || true; cleanup' EXIT

MEDIA="$WORK/media"
mkdir -p "$MEDIA"
sox -n -r 44100 -c 2 -b 16 "$MEDIA/a.wav" synth 1.5 sine 440
sox -n -r 44100 -c 2 -b 16 -t wav - synth 1.5 sine 550 2>/dev/null | lame --quiet -b 128 - "$MEDIA/b.mp3"
sox -n -r 44100 -c 2 -b 16 "$MEDIA/c.flac" synth 1.5 sine 660
cp tests/data/modules/libxmp_stereo.xm "$MEDIA/d.xm"
cp tests/data/midi/test-c-major-scale.mid "$MEDIA/e.mid"
sox -n -r 44100 -c 2 -b 16 "$MEDIA/member.wav" synth 1.5 sine 770
(cd "$MEDIA" && python3 -c 'import zipfile; zipfile.ZipFile("f.zip", "w").write("member.wav")')
convert -size 320x240 gradient:blue-red "$MEDIA/g.png"
ffmpeg -loglevel error -f lavfi -i testsrc=size=320x240:rate=25 -t 2 -pix_fmt yuv420p "$MEDIA/h.mp4"

set --
i=0
while [ $i -lt 500 ]; do
    n=$(printf '%03d' $i)
    case $((i % 8)) in
        0) set -- "$@" "Wav $n=$MEDIA/a.wav" ;;
        1) set -- "$@" "Mp3 $n=$MEDIA/b.mp3=mp3" ;;
        2) set -- "$@" "Flac $n=$MEDIA/c.flac" ;;
        3) set -- "$@" "Module $n=$MEDIA/d.xm=mod" ;;
        4) set -- "$@" "Midi $n=$MEDIA/e.mid" ;;
        5) set -- "$@" "Member $n=$MEDIA/f.zip|member.wav" ;;
        6) set -- "$@" "Picture $n=$MEDIA/g.png" ;;
        7) set -- "$@" "Video $n=$MEDIA/h.mp4" ;;
    esac
    i=$((i + 1))
done
dir="$WORK/soak"
mkdir -p "$dir"
cp -r build/Marlo/. "$dir/"
build/bench/prepare_library "$dir/Data" Soak "$@" >/dev/null
# Repeat all (line 4), autoplay (line 11), the default skin.
printf '0\r\n0\r\n-1\r\n6\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n1\r\n0\r\nStandard\r\n\r\nTrue\r\n' >"$dir/Set.cfg"
printf "Vantel's Design\r\nStandard\r\n" >"$dir/SkinName.ini"

mpris() {  # method [argument] -> calls the player's MPRIS method
    dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.marlo \
        /org/mpris/MediaPlayer2 "org.mpris.MediaPlayer2.Player.$1" ${2:+"$2"} 2>/dev/null || true
}
track() {  # the current item's track id, empty when there is none
    dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.marlo /org/mpris/MediaPlayer2 \
        org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player \
        string:Metadata 2>/dev/null | grep -A1 'mpris:trackid' | grep -o '/org/marlo[^"]*' || true
}
status_of() {  # pid field -> a number from /proc/pid/status
    awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"
}
fds_of() { ls "/proc/$1/fd" | wc -l; }

start_marlo() {
    HOME="$WORK" "$dir/marlo" >"$WORK/marlo.log" 2>&1 &
    pid=$!
}
start_marlo
# The seeded series: one action and a pause of 1 to 6 s before it, per line.
awk -v seed="$SOAK_SEED" 'BEGIN { srand(seed); for (i = 0; i < 100000; i++) {
    a = int(rand() * 4); printf "%d %.1f %d\n", a, 1 + rand() * 5, int(rand() * 3000000) } }' \
    >"$WORK/series"

# Counts the items as the player announces them, a few times a second.
: >"$WORK/played"
(
    last=""
    while :; do
        t=$(track)
        if [ -n "$t" ] && [ "$t" != "$last" ]; then
            echo "$t" >>"$WORK/played"
            last=$t
        fi
        sleep 0.2
    done
) &
watcher=$!
played() { wc -l <"$WORK/played"; }

crashes=0
base_rss="" base_fd="" base_threads="" base_from=""
start=$(date +%s)
half=$((start + SOAK_SECONDS / 2))
while read -r action pause offset; do
    now=$(date +%s)
    [ $((now - start)) -ge "$SOAK_SECONDS" ] && break
    sleep "$pause"
    if ! kill -0 "$pid" 2>/dev/null; then
        crashes=$((crashes + 1))
        echo "crash $crashes at $(( $(date +%s) - start )) s; log tail:" >&2
        tail -n 5 "$WORK/marlo.log" >&2
        start_marlo
        sleep 2
        continue
    fi
    case $action in
        0) mpris Next ;;
        1) mpris Previous ;;
        2) mpris PlayPause; sleep 0.5; mpris PlayPause ;;
        3) mpris Seek "int64:$offset" ;;
    esac
    played=$(played)
    if [ -n "${SOAK_SHOT:-}" ] && [ ! -f "$SOAK_SHOT" ] && [ "$(date +%s)" -ge "$half" ]; then
        import -window root "$SOAK_SHOT"
    fi
    if [ -z "$base_rss" ] && { [ "$played" -ge 500 ] || [ "$(date +%s)" -ge "$half" ]; }; then
        base_rss=$(status_of "$pid" VmRSS) base_fd=$(fds_of "$pid") base_threads=$(status_of "$pid" Threads)
        base_from=$([ "$played" -ge 500 ] && echo first_pass || echo half_time)
    fi
done <"$WORK/series"

kill "$watcher" 2>/dev/null || true
played=$(played)
if kill -0 "$pid" 2>/dev/null && [ -n "$base_rss" ]; then
    rss=$(status_of "$pid" VmRSS) fd=$(fds_of "$pid") threads=$(status_of "$pid" Threads)
    echo "items_played=$played"
    echo "crashes=$crashes"
    echo "rss_growth_mb=$(awk -v a="$rss" -v b="$base_rss" 'BEGIN { printf "%.1f", (a - b) / 1024 }') (from $base_from)"
    echo "fd_growth=$((fd - base_fd))"
    echo "thread_growth=$((threads - base_threads))"
else
    echo "items_played=$played"
    echo "crashes=$crashes"
    echo "no measurement: the program was not running at the end or no baseline was taken"
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
