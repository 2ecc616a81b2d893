#!/bin/bash
# Times tesmira-cut on a 120 s range of a 4-minute 44.1 kHz stereo MP3, beside
# ffmpeg's re-encode of the same range at 320 kbit/s when ffmpeg is installed.
# Usage: bench/cut_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BIN="${1:-build}/bin"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
RUNS=${RUNS:-3}

"$BIN/tesmira-mp3gen" --melody --seconds 240 --bitrate 192 -o "$WORK/song.mp3"
RANGE=120

# Best wall time of RUNS runs, and the peak memory (KiB) when /usr/bin/time exists.
measure() {
    local best="" mem="-" t0 t1 t
    for _ in $(seq "$RUNS"); do
        t0=$(date +%s.%N)
        if [ -x /usr/bin/time ]; then
            mem=$(/usr/bin/time -f "%M" "$@" 2>&1 >/dev/null | tail -1)
        else
            "$@" >/dev/null 2>&1
        fi
        t1=$(date +%s.%N)
        t=$(echo "$t1 - $t0" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    echo "$best $mem"
}

report() { # name seconds memKiB
    printf "%-34s %7.3f s  %6.1fx real time  peak %s KiB\n" "$1" "$2" "$(echo "$RANGE / $2" | bc -l)" "$3"
}

read -r plain plainMem < <(measure "$BIN/tesmira-cut" "$WORK/song.mp3" --start 60 --end 180 -o "$WORK/plain.mp3" --overwrite)
report "tesmira-cut (unthrottled)" "$plain" "$plainMem"
read -r throttled mem < <(measure "$BIN/tesmira-cut" "$WORK/song.mp3" --start 60 --end 180 --throttle-ms 10 -o "$WORK/throttled.mp3" --overwrite)
report "tesmira-cut (10 ms throttle)" "$throttled" "$mem"
read -r effects mem < <(measure "$BIN/tesmira-cut" "$WORK/song.mp3" --start 60 --end 180 --fade-in 5 --fade-out 5 --speed 1.05 --pitch 0.95 -o "$WORK/effects.mp3" --overwrite)
report "tesmira-cut (fades, 1.05, 0.95)" "$effects" "$mem"
printf "effects cost: %.2fx a plain cut (target <= 1.5)\n" "$(echo "$effects / $plain" | bc -l)"

if command -v ffmpeg >/dev/null; then
    read -r ff mem < <(measure ffmpeg -nostdin -loglevel error -y -ss 60 -to 180 -i "$WORK/song.mp3" -c:a libmp3lame -b:a 320k "$WORK/ffmpeg.mp3")
    report "ffmpeg -c:a libmp3lame -b:a 320k" "$ff" "$mem"
    printf "ratio ffmpeg/tesmira-cut: %.2f (target >= 1.0)\n" "$(echo "$ff / $plain" | bc -l)"
else
    echo "ffmpeg not installed: no comparison"
fi
