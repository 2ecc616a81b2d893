#!/bin/bash
# Times a 10-minute range out of a one-hour 128 kbit/s MP3: tesmira-cut --lossless beside
# the re-encoding cut and ffmpeg's frame copy (-c copy), whole processes, best of RUNS.
# Usage: bench/lossless_bench.sh [BUILD_DIR]   (default: build)
source "$(dirname "$0")/bench_setup.sh"
RUNS=${RUNS:-5}

# One minute without an information frame, sixty times over: one stream of an hour.
"$BIN/tesmira-mp3gen" --melody --seconds 60 --bitrate 128 -o "$WORK/minute.mp3"
for _ in $(seq 60); do cat "$WORK/minute.mp3"; done >"$WORK/hour.mp3"
cat "$WORK/hour.mp3" >/dev/null # in the page cache for every contender

best() { # runs "$@" RUNS times, prints the best wall time in ms
    local best="" t0 t1 t
    for _ in $(seq "$RUNS"); do
        rm -f "$WORK"/out.mp3
        t0=$(date +%s%N)
        "$@" >/dev/null 2>&1
        t1=$(date +%s%N)
        t=$(((t1 - t0) / 1000000))
        if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    done
    echo "$best"
}

lossless=$(best "$BIN/tesmira-cut" --lossless --start 1500 --end 2100 -o "$WORK/out.mp3" \
    "$WORK/hour.mp3")
printf "%-36s %8d ms  %s of %s bytes\n" "tesmira-cut --lossless" "$lossless" \
    "$(stat -c %s "$WORK/out.mp3")" \
    "$(stat -c %s "$WORK/hour.mp3")"
if command -v ffmpeg >/dev/null; then
    copy=$(best ffmpeg -nostdin -loglevel error -y -ss 1500 -to 2100 -i "$WORK/hour.mp3" \
        -c copy "$WORK/out.mp3")
    printf "%-36s %8d ms\n" "ffmpeg -c copy" "$copy"
fi
RUNS=1
encode=$(best "$BIN/tesmira-cut" --start 1500 --end 2100 -o "$WORK/out.mp3" "$WORK/hour.mp3")
printf "%-36s %8d ms\n" "tesmira-cut (re-encoded, 320 kbit/s)" "$encode"
