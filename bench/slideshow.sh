#!/bin/sh
# The slideshow of 20 photos of 4000 x 3000 under a virtual X server of 1024 x 768, full screen,
# one second apart: prints slideshow_max_block_ms (goal <= 50) and slideshow_peak_rss_mb
# (goal < 250). Build first: cmake --build build --target slideshow_bench
set -eu
cd "$(dirname "$0")/.."
BENCH=${BENCH:-build/bench/slideshow_bench}
exec xvfb-run -a -s "-screen 0 1024x768x24" "$BENCH" "$@"
