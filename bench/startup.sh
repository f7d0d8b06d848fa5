#!/bin/sh
# Cold start to the first mapped main window: Marlo beside Qmmp and Audacious, in one Xvfb, runs
# interleaved so machine noise falls on all three alike. Each run gets a fresh HOME (and Marlo a
# fresh copy of its program folder with a prepared configuration, so no first-run dialog).
# Each run has a session bus of its own, as on a desktop (a bus shared between runs lets a player
# that just ended still own its name when the next starts); "marlo-nobus" is Marlo with its
# desktop parts (one instance, the media player interface) left out (MARLO_NO_DESKTOP_BUS).
# Prints the medians in ms, startup_ratio_vs_qmmp=<Marlo median / Qmmp median> and
# desktop_cost_ratio=<Marlo median / its median without the desktop parts>.
set -eu
cd "$(dirname "$0")/.."
RUNS=${RUNS:-10}

need=""
command -v qmmp >/dev/null 2>&1 || need="$need qmmp"
command -v audacious >/dev/null 2>&1 || need="$need audacious"
if [ -n "$need" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $need >/dev/null
fi
cmake --build build -j2 --target mapwait marlo prepare_library >/dev/null

WORK=$(mktemp -d)
trap 'kill $XVFB_PID 2>/dev/null || true; rm -rf "$WORK"' EXIT
DISPLAY_NUM=:$(( ($$ % 500) + 100 ))
Xvfb "$DISPLAY_NUM" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY="$DISPLAY_NUM"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || sleep 1

prepare_marlo() {
    dir="$1/marlo"
    mkdir -p "$dir"
    cp -r build/Marlo/. "$dir/"
    printf '0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n4000\r\n3000\r\n0|-1\r\n12\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\nTrue\r\n' >"$dir/Set.cfg"
    printf "Vantel's Design\r\nStandard\r\n" >"$dir/SkinName.ini"
    build/bench/prepare_library --register "$dir" >/dev/null
    echo "$dir/marlo"
}

one_run() {  # program -> prints ms
    home=$(mktemp -d "$WORK/home.XXXXXX")
    nobus=""
    case "$1" in
        marlo) cmd=$(prepare_marlo "$home") ;;
        marlo-nobus) cmd=$(prepare_marlo "$home"); nobus=1 ;;
        *) cmd="$1" ;;
    esac
    if [ -n "$nobus" ]; then
        HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
            MARLO_NO_DESKTOP_BUS=1 dbus-run-session -- \
            build/bench/mapwait --timeout-ms 20000 -- "$cmd" 2>/dev/null
    else
        HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
            dbus-run-session -- build/bench/mapwait --timeout-ms 20000 -- "$cmd" 2>/dev/null
    fi
}

median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

PROGRAMS="marlo marlo-nobus qmmp audacious"
for p in $PROGRAMS; do one_run "$p" >/dev/null || true; done  # warm-up
for p in $PROGRAMS; do : >"$WORK/$p.txt"; done
for _ in $(seq "$RUNS"); do
    for p in $PROGRAMS; do
        one_run "$p" >>"$WORK/$p.txt" || echo "a run of $p failed" >&2
    done
done
m=$(median <"$WORK/marlo.txt"); q=$(median <"$WORK/qmmp.txt"); a=$(median <"$WORK/audacious.txt")
n=$(median <"$WORK/marlo-nobus.txt")
echo "marlo_runs_ms=$(tr '\n' ' ' <"$WORK/marlo.txt")"
echo "marlo_nobus_runs_ms=$(tr '\n' ' ' <"$WORK/marlo-nobus.txt")"
echo "qmmp_runs_ms=$(tr '\n' ' ' <"$WORK/qmmp.txt")"
echo "audacious_runs_ms=$(tr '\n' ' ' <"$WORK/audacious.txt")"
echo "marlo_median_ms=$m"
echo "marlo_nobus_median_ms=$n"
echo "qmmp_median_ms=$q"
echo "audacious_median_ms=$a"
echo "startup_ratio_vs_qmmp=$(awk -v m="$m" -v q="$q" 'BEGIN {printf "%.3f", m / q}')"
echo "desktop_cost_ratio=$(awk -v m="$m" -v n="$n" 'BEGIN {printf "%.3f", m / n}')"
