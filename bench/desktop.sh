# Sourced by the side-by-side benchmarks after setting DISPLAY_OFFSET: a private Xvfb display and
# a PulseAudio server with a null sink, in the temporary folder $WORK; all of it goes when the
# script exits.
WORK=$(mktemp -d)
cleanup() {
    kill "$XVFB_PID" 2>/dev/null || true
    XDG_RUNTIME_DIR="$WORK/run" pulseaudio --kill 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
DISPLAY_NUM=:$(( ($$ % 500) + DISPLAY_OFFSET ))
Xvfb "$DISPLAY_NUM" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY="$DISPLAY_NUM"
mkdir -m 700 "$WORK/run"
export XDG_RUNTIME_DIR="$WORK/run"
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=test_sink rate=44100 channels=2" 2>/dev/null
export PULSE_SINK=test_sink
sleep 1
