#!/bin/sh
# Adds a folder of 10,000 and one of 40,000 small media files (half tagged MP3s, half WAVs)
# through the item editor's "Add Dir" into a fresh library each, and prints
# add_folder_10k_s=<seconds>, add_folder_40k_s=<seconds> and
# add_folder_ratio_40k_10k=<40k seconds / 10k seconds>; the ratio shows whether the cost grows
# linearly with the number of files (4.0). Smaller folders take a tenth of a second, where noise
# hides the curve. Each size runs RUNS times (default 3) into a fresh library; the median counts,
# as the machine is shared.
set -eu
cd "$(dirname "$0")/.."
RUNS=${RUNS:-3}
cmake --build build -j2 --target add_folder_bench musikform_open_bench >/dev/null

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

make_folder() {
    python3 - "$1" "$2" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
os.makedirs(folder)
frame = b"\xff\xfb\x90\x00" + bytes(400)
for i in range(count):
    if i % 2:
        tag = b"TAG" + f"Song {i:05d}".encode().ljust(30) + b"Bench Artist".ljust(30)
        data, name = frame + tag.ljust(128, b"\0"), f"track {i:05d}.mp3"
    else:
        data, name = b"RIFF" + bytes(400), f"sound {i:05d}.wav"
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
PY
}

run() {
    [ -d "$WORK/media$1" ] || make_folder "$WORK/media$1" "$1"
    rm -rf "$WORK/data"
    out=$(build/bench/add_folder_bench "$WORK/media$1" "$WORK/data")
    items=${out##*items=}
    [ "$items" -eq "$1" ] || { echo "expected $1 items, got $items" >&2; exit 1; }
    secs=${out#seconds=}
    echo "${secs%% *}"
}

median() {
    times=""
    for _ in $(seq "$RUNS"); do times="$times $(run "$1")"; done
    echo $times | tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

s10=$(median 10000)
s40=$(median 40000)
echo "add_folder_10k_s=$s10"
echo "add_folder_40k_s=$s40"
echo "add_folder_ratio_40k_10k=$(echo "$s40 $s10" | awk '{ printf "%.2f\n", $1 / $2 }')"
# Opening a collection of 10,000 titles in the collection editor.
QT_QPA_PLATFORM=offscreen build/bench/musikform_open_bench | grep '^open_collection_10k_ms='
