#!/bin/sh
# Cuts a fixed set of generated songs every way a cut can go (plain, fades, speed, pitch,
# one and two encoder streams, mono, 48 kHz, lossless, without tags) and compares each
# output's checksum with expected.txt, so a change to the cut's code that changes a single
# output byte is caught. --record rewrites expected.txt (only after a deliberate change to
# what a cut writes).
# usage: cut_outputs.sh BUILD_DIR [--record]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bin="$1/bin"
record=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/tesmira-mp3gen" -o "$work/src-stereo.mp3" --melody --seconds 12 >/dev/null
"$bin/tesmira-mp3gen" -o "$work/src-mono.mp3" --melody --seconds 9 --channels 1 >/dev/null
"$bin/tesmira-mp3gen" -o "$work/src-r48.mp3" --noise --seconds 9 --rate 48000 >/dev/null
"$bin/tesmira-mp3gen" -o "$work/src-vbr.mp3" --melody --seconds 8 --vbr --info >/dev/null

# name|source|options
cases='plain|stereo|--start 1.5 --end 10.25
whole|stereo|--whole
fades|stereo|--start 0.5 --end 11 --fade-in 2.5 --fade-out 3
long_fades|stereo|--start 2 --end 6 --fade-in 5 --fade-out 5
speed|stereo|--start 1 --end 9 --speed 1.08
pitch|stereo|--start 1 --end 9 --pitch 0.85
speed_pitch_fades|stereo|--start 1 --end 9 --speed 0.92 --pitch 1.15 --fade-in 1 --fade-out 1
one_stream|stereo|--start 0.2 --end 11.9 --streams 1 --fade-in 1 --fade-out 2
two_streams|stereo|--start 0.2 --end 11.9 --streams 2 --fade-in 1 --fade-out 2
mono|mono|--start 1 --end 8.5 --fade-out 1
mono_pitch|mono|--start 1 --end 8.5 --pitch 1.2
r48|r48|--start 0.75 --end 8 --fade-in 0.5
r48_speed|r48|--start 0.75 --end 8 --speed 0.9
vbr|vbr|--start 1 --end 7
lossless|vbr|--start 1 --end 7 --lossless
no_tags|stereo|--start 3 --end 5 --no-tags'

actual="$work/actual.txt"
: >"$actual"
echo "$cases" | while IFS='|' read -r name source options; do
    # shellcheck disable=SC2086
    if ! "$bin/tesmira-cut" $options -o "$work/$name.mp3" "$work/src-$source.mp3" \
        >/dev/null 2>"$work/errors"; then
        cat "$work/errors" >&2
        echo "$name: the cut failed" >&2
        exit 1
    fi
    echo "$name $(sha256sum <"$work/$name.mp3" | cut -c1-64)" >>"$actual"
done

if [ "$record" = "--record" ]; then
    cp "$actual" "$here/expected.txt"
    exit 0
fi
if ! diff -u "$here/expected.txt" "$actual"; then
    echo "a cut's output changed (lines with + are this build's)" >&2
    exit 1
fi
echo "all $(wc -l <"$actual") cuts unchanged"
