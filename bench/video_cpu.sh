#!/bin/sh
# CPU of one minute of a 640 x 480 / 25 fps video with sound: Marlo's video window beside the mpv
# command line playing the same file in a window of the same size, side by side under one Xvfb,
# sound into a PulseAudio null sink. mpv runs twice: with its default output (OpenGL, which under
# Xvfb is Mesa's software rasteriser) and with its X11 output (software scaling into shared
# memory images, the same kind of work as Marlo's software renderer). CPU seconds (user + system)
# from /proc; each round prints its figures, then cpu_ratio_video_vs_mpv=... (Marlo against mpv's
# default output) and cpu_ratio_video_vs_mpv_x11=..., medians over ROUNDS rounds (default 3).
set -eu
cd "$(dirname "$0")/.."
PLAY_SECONDS=${PLAY_SECONDS:-60}
ROUNDS=${ROUNDS:-3}

need=""
command -v mpv >/dev/null 2>&1 || need="$need mpv"
command -v ffmpeg >/dev/null 2>&1 || need="$need ffmpeg"
if [ -n "$need" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $need >/dev/null
fi
cmake --build build -j2 --target marlo prepare_library >/dev/null

DISPLAY_OFFSET=1100
. bench/desktop.sh

VIDEO="$WORK/media/pattern.avi"
mkdir -p "$WORK/media"
ffmpeg -loglevel error -y -f lavfi -i testsrc=size=640x480:rate=25 \
    -f lavfi -i sine=frequency=440:sample_rate=44100 -t $((PLAY_SECONDS + 10)) \
    -c:v mpeg4 -q:v 4 -c:a mp3 "$VIDEO" 2>/dev/null ||
    ffmpeg -loglevel error -y -f lavfi -i testsrc=size=640x480:rate=25 \
        -f lavfi -i sine=frequency=440:sample_rate=44100 -t $((PLAY_SECONDS + 10)) \
        -c:v mpeg4 -q:v 4 -c:a pcm_s16le "$VIDEO"

cpu_seconds() {  # pid -> user + system seconds
    awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$1/stat"
}

# Marlo with a video collection of the one file, repeat one, autoplay, normal size.
dir="$WORK/marlo"
mkdir -p "$dir"
cp -r build/Marlo/. "$dir/"
build/bench/prepare_library --kind=2 "$dir/Data" Bench "Pattern=$VIDEO" >/dev/null
printf '0\r\n0\r\n-1\r\n7\r\n0\r\n0\r\n1500\r\n1500\r\n2|0\r\n12\r\n1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\nTrue\r\n' >"$dir/Set.cfg"
printf "Vantel's Design\r\nStandard\r\n" >"$dir/SkinName.ini"

stop() {  # pid
    kill "$1" 2>/dev/null || true
    tries=0
    while kill -0 "$1" 2>/dev/null && [ "$tries" -lt 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    kill -9 "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# A player that shows no window of the video's size measures as cheap as an idle one.
window_ok() {  # pid -> true when the process shows a 640 x 480 window
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 640x480'; then
            return 0
        fi
    done
    return 1
}

measure() {  # command... -> CPU seconds over PLAY_SECONDS
    HOME="$WORK" "$@" >/dev/null 2>&1 &
    pid=$!
    sleep "$PLAY_SECONDS"
    cpu=$(cpu_seconds "$pid")
    window_ok "$pid" || echo "warning: $1 shows no 640x480 window" >&2
    stop "$pid"
    echo "$cpu"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "n/a" }'; }
median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{v[NR] = $1}
    END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
MPV="mpv --no-config --really-quiet --loop-file=inf --geometry=640x480 --autofit=640x480 --ao=pulse"
ratios=""
x11_ratios=""
round=1
while [ "$round" -le "$ROUNDS" ]; do
    marlo=$(measure "$dir/marlo")
    # shellcheck disable=SC2086 # the options are words
    peer=$(measure $MPV "$VIDEO")
    # shellcheck disable=SC2086
    peer_x11=$(measure $MPV --vo=x11 "$VIDEO")
    echo "round_$round: cpu_s_video_marlo=$marlo cpu_s_video_mpv=$peer cpu_s_video_mpv_x11=$peer_x11"
    ratios="$ratios $(ratio "$marlo" "$peer")"
    x11_ratios="$x11_ratios $(ratio "$marlo" "$peer_x11")"
    round=$((round + 1))
done
echo "cpu_ratio_video_vs_mpv=$(echo "$ratios" | median)"
echo "cpu_ratio_video_vs_mpv_x11=$(echo "$x11_ratios" | median)"
