#!/bin/sh
# CPU of one minute of playback: Marlo beside mpv and Audacious (with its window) for an MP3 and a
# FLAC file, and beside openmpt123 and Audacious for an XM module, all into a PulseAudio null sink
# under one Xvfb; CPU seconds and peak resident memory (VmHWM) from /proc. Then the gap a listener
# hears between two items of a Marlo playback list, from a recording of the sink, and the memory
# of Marlo and Audacious idle: window open, an audio list loaded, nothing playing.
# Each round also measures a bare Qt window that only changes one label every 150 ms: the window's
# part of Marlo's work while a module plays. Prints each round's CPU seconds, then
# cpu_ratio_mp3_vs_mpv=..., cpu_ratio_mp3_vs_audacious=..., cpu_ratio_flac_vs_mpv=...,
# cpu_ratio_flac_vs_audacious=..., cpu_ratio_xm_vs_openmpt123=..., cpu_ratio_xm_vs_audacious=...
# (medians over ROUNDS rounds, default 3), peak_rss_mb_<media>_<player> (the highest over the
# rounds), gap_ms=... (gap_ms_unjoined=... for a second WAV at 48 kHz, which cannot join the
# first), gapless_mp3_max_step_ratio=... (a 440 Hz sine of 6 s cut into two LAME MP3s at a
# sample on no frame boundary, played as a list: the largest step where they meet over the
# largest step elsewhere in the sine) beside gapless_mp3_files_step_ratio=... (the same of the two
# files decoded one after the other by ffmpeg, for reading it), idle_rss_mb=... with
# idle_threads=... for Marlo beside
# idle_rss_mb_audacious=... (resident memory after IDLE_SECONDS, the highest over the rounds), and
# ui_block_max_ms_open_2h_mp3=...: the longest the window went unanswered (bench/uistall.cpp)
# while a playback list goes on from a 3 s WAV to a 2-hour MP3 (128 kbit/s, 115 MB, its file
# cache dropped first), the median over the rounds; ui_block_max_ms_wav_to_wav=... is the same
# for a list of two WAVs, for reading it.
# GAP_ONLY=1 measures only the gaps and step ratios (no CPU rounds; half a minute).
set -eu
cd "$(dirname "$0")/.."
PLAY_SECONDS=${PLAY_SECONDS:-60}
ROUNDS=${ROUNDS:-3}
GAP_ONLY=${GAP_ONLY:-0}
IDLE_SECONDS=${IDLE_SECONDS:-15}
ROOT=$(pwd)

need=""
[ "$GAP_ONLY" = 1 ] || command -v mpv >/dev/null 2>&1 || need="$need mpv"
[ "$GAP_ONLY" = 1 ] || command -v openmpt123 >/dev/null 2>&1 || need="$need openmpt123"
[ "$GAP_ONLY" = 1 ] || command -v audacious >/dev/null 2>&1 || need="$need audacious"
if [ -n "$need" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $need >/dev/null
fi
cmake --build build -j2 --target marlo prepare_library wavgap label_window uistall >/dev/null

TESTDATA="$ROOT/../shared/testdata"
[ -d "$TESTDATA" ] || TESTDATA=/work/shared/testdata

DISPLAY_OFFSET=600
. bench/desktop.sh

MEDIA="$WORK/media"
mkdir -p "$MEDIA"
sox -n -r 44100 -c 2 "$MEDIA/tone.mp3" synth $((PLAY_SECONDS + 10)) sine 523
sox -n -r 44100 -c 2 -b 16 "$MEDIA/tone.flac" synth $((PLAY_SECONDS + 10)) sine 523
cp "$TESTDATA/modules/libxmp_ft2_kxx.xm" "$MEDIA/song.xm"
sox -n -r 44100 -c 2 -b 16 "$MEDIA/a.wav" synth 2 sine 440
sox -n -r 44100 -c 2 -b 16 "$MEDIA/b.wav" synth 2 sine 880
sox -n -r 48000 -c 2 -b 16 "$MEDIA/b48.wav" synth 2 sine 880
sox -n -r 44100 -c 2 -b 16 "$MEDIA/c.wav" synth 3 sine 440
[ "$GAP_ONLY" = 1 ] || sox -n -r 44100 -c 2 -b 16 -t wav - synth 7200 sine 523 2>/dev/null |
    lame --quiet -q 9 -b 128 - "$MEDIA/long.mp3"
# 132325 is near a crest of the sine (a gap there is a full step down) and on neither an MP3
# frame (1152) nor a FLAC block (4096) boundary.
CUT=132325
sox -D -n -r 44100 -c 2 -b 16 "$MEDIA/sine.wav" synth 6 sine 440 vol 0.5
sox -D "$MEDIA/sine.wav" "$MEDIA/first.wav" trim 0s "${CUT}s"
sox -D "$MEDIA/sine.wav" "$MEDIA/second.wav" trim "${CUT}s"
# A second of silence first: the null sink may leave a new stream's first milliseconds out of
# the recording, so the sine starts in a stream under way.
sox -D -n -r 44100 -c 2 -b 16 "$MEDIA/lead.wav" trim 0 1
for part in lead first second; do
    lame --quiet -b 192 "$MEDIA/$part.wav" "$MEDIA/$part.mp3"
done
# The same measure on what the decoder makes of the two files, one after the other: the part
# of the step that the files themselves hold (an MP3 cut off at a crest has coding noise there).
for part in first second; do
    ffmpeg -v quiet -i "$MEDIA/$part.mp3" -f s16le -ac 2 -ar 44100 -
done >"$MEDIA/decoded.raw"
sox -t raw -r 44100 -e signed -b 16 -c 2 "$MEDIA/decoded.raw" "$MEDIA/decoded.wav"

cpu_seconds() {  # pid -> user + system seconds
    awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$1/stat"
}

# Marlo with a prepared program folder: repeat one, autoplay, the given items.
marlo_folder() {  # name items... -> program folder; AUTOPLAY=0 leaves the list unplayed
    dir="$WORK/$1"; shift
    mkdir -p "$dir"
    cp -r build/Marlo/. "$dir/"
    build/bench/prepare_library "$dir/Data" Bench "$@" >/dev/null
    printf '0\r\n0\r\n-1\r\n7\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n%s\r\n0\r\n1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\nTrue\r\n' "${AUTOPLAY:-1}" >"$dir/Set.cfg"
    printf "Vantel's Design\r\nStandard\r\n" >"$dir/SkinName.ini"
    echo "$dir"
}

peak_rss_mb() {  # pid -> the most resident memory the process has had, in MB
    awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"
}

# A player that is not playing measures as cheap as an idle one.
plays_to_sink() {  # pid -> true when the process has a stream on the sink
    pactl list sink-inputs | grep -q "application.process.id = \"$1\""
}

stop() {  # pid; a player that ignores SIGTERM must not go on beside the next one
    kill "$1" 2>/dev/null || true
    tries=0
    while kill -0 "$1" 2>/dev/null && [ "$tries" -lt 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    kill -9 "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# The command runs in place of the background shell, so $! is the player itself: it must not fork
# its work off (mpv, openmpt123, Audacious and Marlo each play in their own process).
measure() {  # silent|sound command... -> "<CPU seconds over PLAY_SECONDS> <peak RSS in MB>"
    expect=$1
    shift
    HOME="$WORK" "$@" >/dev/null 2>&1 &
    pid=$!
    sleep "$PLAY_SECONDS"
    cpu=$(cpu_seconds "$pid")
    rss=$(peak_rss_mb "$pid")
    # Still playing at the end: neither silent from the start nor out of items before the minute.
    if [ "$expect" = sound ] && ! plays_to_sink "$pid"; then
        echo "warning: $1 plays nothing to the sink" >&2
    fi
    stop "$pid"
    echo "$cpu $rss"
}

# Resident memory and threads of a player that has been left alone for IDLE_SECONDS.
measure_idle() {  # command... -> "<resident MB> <threads>"
    HOME="$WORK" "$@" >/dev/null 2>&1 &
    pid=$!
    sleep "$IDLE_SECONDS"
    if plays_to_sink "$pid"; then
        echo "warning: $1 plays while it should be idle" >&2
    fi
    r=$(awk '/^VmRSS:/ { rss = $2 / 1024 } /^Threads:/ { t = $2 }
        END { printf "%.1f %d", rss, t }' "/proc/$pid/status")
    stop "$pid"
    echo "$r"
}

# Audacious with a configuration folder of its own for each run: no settings or playlist of an
# earlier run or of the user. It plays each entry once, so the 12.6 s module is listed as often as
# it takes to fill the minute.
audacious_run() {  # files...
    rm -rf "$WORK/audacious-config"
    export XDG_CONFIG_HOME="$WORK/audacious-config"
    exec audacious "$@"
}

# Idle, the files only added to its playlist (-e) and not played.
audacious_idle() {  # files...
    rm -rf "$WORK/audacious-config"
    export XDG_CONFIG_HOME="$WORK/audacious-config"
    exec audacious -e "$@"
}

mp3dir=$(marlo_folder mp3 "Tone=$MEDIA/tone.mp3=mp3")
flacdir=$(marlo_folder flac "Tone=$MEDIA/tone.flac")
xmdir=$(marlo_folder xm "Song=$MEDIA/song.xm=mod")
gapdir=$(marlo_folder gap "A=$MEDIA/a.wav" "B=$MEDIA/b.wav")
sed -i '4s/.*/6\r/' "$gapdir/Set.cfg"
unjoineddir=$(marlo_folder unjoined "A=$MEDIA/a.wav" "B=$MEDIA/b48.wav")
sed -i '4s/.*/6\r/' "$unjoineddir/Set.cfg"
joindir=$(marlo_folder join "A=$MEDIA/lead.mp3=mp3" "B=$MEDIA/first.mp3=mp3" \
    "C=$MEDIA/second.mp3=mp3")
sed -i '4s/.*/6\r/' "$joindir/Set.cfg"
longdir=$(marlo_folder long "C=$MEDIA/c.wav" "Long=$MEDIA/long.mp3=mp3")
sed -i '4s/.*/6\r/' "$longdir/Set.cfg"
wavwavdir=$(marlo_folder wavwav "C=$MEDIA/c.wav" "B=$MEDIA/b.wav")
sed -i '4s/.*/6\r/' "$wavwavdir/Set.cfg"
idledir=$(AUTOPLAY=0 marlo_folder idle "Tone=$MEDIA/tone.mp3=mp3" "Tone2=$MEDIA/tone.flac")
song_entries=""
n=0
while [ $((n * 126)) -lt $((PLAY_SECONDS * 10 + 60)) ]; do
    song_entries="$song_entries $MEDIA/song.xm"
    n=$((n + 1))
done
# Each round measures them all side by side; the machine's speed drifts between minutes, so the
# ratios reported are the medians of the rounds' ratios.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "n/a" }'; }
median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{v[NR] = $1}
    END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
max() { tr ' ' '\n' | grep -v '^$' | sort -n | tail -n 1; }
mp3_ratios=""
mp3_aud_ratios=""
flac_ratios=""
flac_aud_ratios=""
xm_ratios=""
xm_aud_ratios=""
rss_mp3_marlo=""
rss_mp3_mpv=""
rss_mp3_aud=""
rss_flac_marlo=""
rss_flac_mpv=""
rss_flac_aud=""
rss_xm_marlo=""
rss_xm_peer=""
rss_xm_aud=""
idle_marlo=""
idle_threads=""
idle_aud=""
round=1
[ "$GAP_ONLY" = 1 ] && round=$((ROUNDS + 1))
while [ "$round" -le "$ROUNDS" ]; do
    r=$(measure sound "$mp3dir/marlo")
    mp3_marlo=${r% *} rss_mp3_marlo="$rss_mp3_marlo ${r#* }"
    r=$(measure sound mpv --no-video --really-quiet --ao=pulse "$MEDIA/tone.mp3")
    mp3_mpv=${r% *} rss_mp3_mpv="$rss_mp3_mpv ${r#* }"
    r=$(measure sound audacious_run "$MEDIA/tone.mp3")
    mp3_aud=${r% *} rss_mp3_aud="$rss_mp3_aud ${r#* }"
    r=$(measure sound "$flacdir/marlo")
    flac_marlo=${r% *} rss_flac_marlo="$rss_flac_marlo ${r#* }"
    r=$(measure sound mpv --no-video --really-quiet --ao=pulse "$MEDIA/tone.flac")
    flac_mpv=${r% *} rss_flac_mpv="$rss_flac_mpv ${r#* }"
    r=$(measure sound audacious_run "$MEDIA/tone.flac")
    flac_aud=${r% *} rss_flac_aud="$rss_flac_aud ${r#* }"
    r=$(measure sound "$xmdir/marlo")
    xm_marlo=${r% *} rss_xm_marlo="$rss_xm_marlo ${r#* }"
    r=$(measure sound openmpt123 --batch --quiet --repeat -1 "$MEDIA/song.xm")
    xm_peer=${r% *} rss_xm_peer="$rss_xm_peer ${r#* }"
    # shellcheck disable=SC2086 # one argument per entry
    r=$(measure sound audacious_run $song_entries)
    xm_aud=${r% *} rss_xm_aud="$rss_xm_aud ${r#* }"
    # For reading the XM figures: a bare Qt window whose one label changes as often as Marlo's
    # pattern and row, with no sound at all.
    r=$(measure silent build/bench/label_window)
    window_only=${r% *}
    r=$(measure_idle "$idledir/marlo")
    idle_marlo="$idle_marlo ${r% *}" idle_threads="$idle_threads ${r#* }"
    r=$(measure_idle audacious_idle "$MEDIA/tone.mp3" "$MEDIA/tone.flac")
    idle_aud="$idle_aud ${r% *}"
    echo "round_$round: cpu_s_mp3_marlo=$mp3_marlo cpu_s_mp3_mpv=$mp3_mpv" \
        "cpu_s_mp3_audacious=$mp3_aud cpu_s_flac_marlo=$flac_marlo cpu_s_flac_mpv=$flac_mpv" \
        "cpu_s_flac_audacious=$flac_aud cpu_s_xm_marlo=$xm_marlo cpu_s_xm_openmpt123=$xm_peer" \
        "cpu_s_xm_audacious=$xm_aud cpu_s_label_window=$window_only"
    mp3_ratios="$mp3_ratios $(ratio "$mp3_marlo" "$mp3_mpv")"
    mp3_aud_ratios="$mp3_aud_ratios $(ratio "$mp3_marlo" "$mp3_aud")"
    flac_ratios="$flac_ratios $(ratio "$flac_marlo" "$flac_mpv")"
    flac_aud_ratios="$flac_aud_ratios $(ratio "$flac_marlo" "$flac_aud")"
    xm_ratios="$xm_ratios $(ratio "$xm_marlo" "$xm_peer")"
    xm_aud_ratios="$xm_aud_ratios $(ratio "$xm_marlo" "$xm_aud")"
    round=$((round + 1))
done

# Two items in a row with repeat all (the folder made above, from the same build as the others):
# the silence between the first tone and the second; then the two halves of the sine.
record_list() {  # program folder, recording, seconds
    parecord --device=test_sink.monitor --file-format=wav "$2" &
    rec=$!
    sleep 0.5
    HOME="$WORK" "$1/marlo" >/dev/null 2>&1 &
    pid=$!
    sleep "$3"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    kill "$rec" 2>/dev/null || true
    wait "$rec" 2>/dev/null || true
}
record_list "$gapdir" "$WORK/gap.wav" 6
gap=$(build/bench/wavgap "$WORK/gap.wav" || echo "n/a")
record_list "$unjoineddir" "$WORK/unjoined.wav" 6
gap_unjoined=$(build/bench/wavgap "$WORK/unjoined.wav" || echo "n/a")
record_list "$joindir" "$WORK/join.wav" 9
step_ratio=$(build/bench/wavgap --join "$CUT" 264600 "$WORK/join.wav" || echo "n/a")
files_ratio=$(build/bench/wavgap --join "$CUT" 264600 "$MEDIA/decoded.wav" || echo "n/a")
if [ "$GAP_ONLY" = 1 ]; then
    echo "gap_ms=$gap"
    echo "gap_ms_unjoined=$gap_unjoined"
    echo "gapless_mp3_max_step_ratio=$step_ratio"
    echo "gapless_mp3_files_step_ratio=$files_ratio"
    exit 0
fi

# The UI thread while the list goes on to the next item, about 3 s after the start; the first
# second after the window appears is start-up.
stall() {  # program folder -> longest unanswered ping in ms
    HOME="$WORK" build/bench/uistall --skip-ms 1000 --for-ms 7000 -- "$1/marlo" |
        awk '{ print $1 }'
}
stall_long=""
stall_wav=""
round=1
while [ "$round" -le "$ROUNDS" ]; do
    dd if="$MEDIA/long.mp3" iflag=nocache count=0 2>/dev/null
    stall_long="$stall_long $(stall "$longdir")"
    stall_wav="$stall_wav $(stall "$wavwavdir")"
    round=$((round + 1))
done
echo "ui_block_ms_rounds: open_2h_mp3=$(echo $stall_long) wav_to_wav=$(echo $stall_wav)"

echo "cpu_ratio_mp3_vs_mpv=$(echo "$mp3_ratios" | median)"
echo "cpu_ratio_mp3_vs_audacious=$(echo "$mp3_aud_ratios" | median)"
echo "cpu_ratio_flac_vs_mpv=$(echo "$flac_ratios" | median)"
echo "cpu_ratio_flac_vs_audacious=$(echo "$flac_aud_ratios" | median)"
echo "cpu_ratio_xm_vs_openmpt123=$(echo "$xm_ratios" | median)"
echo "cpu_ratio_xm_vs_audacious=$(echo "$xm_aud_ratios" | median)"
echo "peak_rss_mb_mp3_marlo=$(echo "$rss_mp3_marlo" | max)"
echo "peak_rss_mb_mp3_mpv=$(echo "$rss_mp3_mpv" | max)"
echo "peak_rss_mb_mp3_audacious=$(echo "$rss_mp3_aud" | max)"
echo "peak_rss_mb_flac_marlo=$(echo "$rss_flac_marlo" | max)"
echo "peak_rss_mb_flac_mpv=$(echo "$rss_flac_mpv" | max)"
echo "peak_rss_mb_flac_audacious=$(echo "$rss_flac_aud" | max)"
echo "peak_rss_mb_xm_marlo=$(echo "$rss_xm_marlo" | max)"
echo "peak_rss_mb_xm_openmpt123=$(echo "$rss_xm_peer" | max)"
echo "peak_rss_mb_xm_audacious=$(echo "$rss_xm_aud" | max)"
echo "gap_ms=$gap"
echo "gap_ms_unjoined=$gap_unjoined"
echo "gapless_mp3_max_step_ratio=$step_ratio"
echo "gapless_mp3_files_step_ratio=$files_ratio"
echo "idle_rss_mb=$(echo "$idle_marlo" | max)"
echo "idle_threads=$(echo "$idle_threads" | max)"
echo "idle_rss_mb_audacious=$(echo "$idle_aud" | max)"
echo "ui_block_max_ms_open_2h_mp3=$(echo "$stall_long" | median)"
echo "ui_block_max_ms_wav_to_wav=$(echo "$stall_wav" | median)"
