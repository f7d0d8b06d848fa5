#!/bin/sh
# CPU of Marlo playing an MP3 for PLAY_SECONDS (default 60) with the lyrics window hidden, and
# with it shown while it follows synced lyrics from an .lrc beside the file: a line every 3 s, or
# with WORDS=1 a line a second with a word every 250 ms, or with WORDS=plain the same lines
# without times (the window shown, nothing to follow). Into a PulseAudio null sink under Xvfb. The two runs alternate for
# ROUNDS rounds (default 3); both are measured over the same span, from SETTLE_SECONDS after the
# start. Prints each round's CPU seconds, then cpu_mp3_lyrics_hidden=..., cpu_mp3_lyrics_shown=...
# (medians) and cpu_ratio_lyrics_shown_vs_hidden=....
set -eu
cd "$(dirname "$0")/.."
PLAY_SECONDS=${PLAY_SECONDS:-60}
ROUNDS=${ROUNDS:-3}
SETTLE_SECONDS=${SETTLE_SECONDS:-4}
cmake --build build -j2 --target marlo prepare_library >/dev/null

DISPLAY_OFFSET=650
. bench/desktop.sh

MEDIA="$WORK/media"
mkdir -p "$MEDIA"
seconds=$((PLAY_SECONDS + SETTLE_SECONDS + 10))
sox -n -r 44100 -c 2 "$MEDIA/tone.mp3" synth "$seconds" sine 523
awk -v n="$seconds" -v words="${WORDS:-0}" 'BEGIN {
    for (s = 0; s < n; s += words ? 1 : 3) {
        if (words != "plain") printf "[%02d:%02d.00]", s / 60, s % 60
        if (words == 1) for (w = 0; w < 4; ++w) printf "<%02d:%02d.%02d>word%d ", s / 60, s % 60, w * 25, w
        else printf "Line at %d seconds", s
        printf "\n"
    }
}' >"$MEDIA/tone.lrc"

cpu_seconds() {  # pid -> user + system seconds
    awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$1/stat"
}

dir="$WORK/marlo"
mkdir -p "$dir"
cp -r build/Marlo/. "$dir/"
build/bench/prepare_library "$dir/Data" Bench "Tone=$MEDIA/tone.mp3=mp3" >/dev/null
# Repeat one, autoplay, English.
printf '0\r\n0\r\n-1\r\n7\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\nTrue\r\n' >"$dir/Set.cfg"
printf "Vantel's Design\r\nStandard\r\n" >"$dir/SkinName.ini"

measure() {  # hidden|shown -> CPU seconds over PLAY_SECONDS
    HOME="$WORK" "$dir/marlo" >/dev/null 2>&1 &
    pid=$!
    main=$(xdotool search --sync --onlyvisible --pid "$pid" --name '^Marlo$' | head -n 1)
    if [ "$1" = shown ]; then
        eval "$(xdotool getwindowgeometry --shell "$main")"
        # "Display Lyrics" is two steps up from none in the popup menu.
        xdotool mousemove $((X + WIDTH - 8)) $((Y + 8)) click 3
        sleep 0.7
        xdotool key Up key Up key Return
        if ! xdotool search --sync --onlyvisible --name '^Lyrics Displayer - Tone$' >/dev/null; then
            echo "warning: the lyrics window did not appear" >&2
        fi
    fi
    sleep "$SETTLE_SECONDS"
    before=$(cpu_seconds "$pid")
    sleep "$PLAY_SECONDS"
    after=$(cpu_seconds "$pid")
    if ! pactl list sink-inputs | grep -q "application.process.id = \"$pid\""; then
        echo "warning: Marlo plays nothing to the sink" >&2
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v a="$before" -v b="$after" 'BEGIN { printf "%.2f\n", b - a }'
}

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{v[NR] = $1}
    END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

hidden=""
shown=""
round=1
while [ "$round" -le "$ROUNDS" ]; do
    h=$(measure hidden)
    s=$(measure shown)
    echo "round $round: hidden ${h} s, shown ${s} s"
    hidden="$hidden $h"
    shown="$shown $s"
    round=$((round + 1))
done
h=$(echo "$hidden" | median)
s=$(echo "$shown" | median)
echo "cpu_mp3_lyrics_hidden=$h"
echo "cpu_mp3_lyrics_shown=$s"
awk -v h="$h" -v s="$s" 'BEGIN { printf "cpu_ratio_lyrics_shown_vs_hidden=%.3f\n", s / h }'
