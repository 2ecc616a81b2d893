#!/bin/bash
# Times tesmira-cut beside ffmpeg's re-encode at 320 kbit/s (when ffmpeg is installed):
# one 120 s range of a 4-minute 44.1 kHz stereo MP3, and a batch of 8 such cuts. Prints
# the best wall time of RUNS runs, the ratios and the peak memory (max RSS) of each.
# Then the window's cut of the whole song (at the lowest priority) beside tesmira-cut's, and
# a busy program's time alone and beside each of them.
# Usage: bench/cut_bench.sh [BUILD_DIR]   (default: build); ONLY=window runs just the latter
source "$(dirname "$0")/bench_setup.sh"
RUNS=${RUNS:-3}
BATCH=8
RANGE=120

"$BIN/tesmira-mp3gen" --melody --seconds 240 --bitrate 192 -o "$WORK/song.mp3"
mkdir "$WORK/batch" "$WORK/out"
INPUTS=()
for i in $(seq "$BATCH"); do
    cp "$WORK/song.mp3" "$WORK/batch/song$i.mp3"
    INPUTS+=("$WORK/batch/song$i.mp3")
done

# Best wall time of RUNS runs and the peak memory (KiB) of the last.
measure() {
    local best="" mem="-" t0 t1 t
    for _ in $(seq "$RUNS"); do
        rm -f "$WORK"/out/*
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

report() { # name seconds memKiB audioSeconds
    printf "%-40s %7.3f s  %6.1fx real time  peak %6.1f MiB\n" "$1" "$2" \
        "$(echo "$4 / $2" | bc -l)" "$(echo "$3 / 1024" | bc -l)"
}

ratio() { # text numerator denominator target
    printf "%-58s %5.2f  (target >= %s)\n" "$1" "$(echo "$2 / $3" | bc -l)" "$4"
}

# ffmpeg's cut of the same range, and a batch of them JOBS at once: scripts, so that
# /usr/bin/time measures them as one command.
cat >"$WORK/ffmpeg_cut" <<'SCRIPT'
#!/bin/bash
exec ffmpeg -nostdin -loglevel error -y -ss 60 -to 180 -i "$1" -c:a libmp3lame -b:a 320k "$2"
SCRIPT
cat >"$WORK/ffmpeg_batch" <<'SCRIPT'
#!/bin/bash
jobs=$1 out=$2
shift 2
printf "%s\n" "$@" | xargs -P "$jobs" -I{} sh -c "\"$(dirname "$0")/ffmpeg_cut\" {} $out/\$(basename {})"
SCRIPT
chmod +x "$WORK/ffmpeg_cut" "$WORK/ffmpeg_batch"

# The window's cut of the whole song against tesmira-cut's, and what each does to a busy
# program that keeps every processor at work.
window_part() {
    [ -x "$BIN/window_cut_bench" ] || { echo "(no window_cut_bench: built without the GUI)"; return; }
    echo "-- the whole 240 s song: the window's cut (lowest priority, two streams)"
    local best="" said="" w s t
    for _ in $(seq "$RUNS"); do
        rm -rf "$WORK/win"; mkdir "$WORK/win"
        read -r w s < <("$BIN/window_cut_bench" "$WORK/song.mp3" "$WORK/win" 2>/dev/null)
        if [ -z "$best" ] || [ "$(echo "$w < $best" | bc -l)" = 1 ]; then best=$w; said=$s; fi
    done
    read -r t _ < <(measure "$BIN/tesmira-cut" --whole "$WORK/song.mp3" -o "$WORK/out/w.mp3")
    printf "%-40s %7.3f s\n" "tesmira-cut --whole" "$t"
    printf "%-40s %7.3f s  (the window says it done at %.3f s)\n" "window, file complete" "$best" "$said"
    printf "%-58s %5.2f  (target <= 1.3)\n" "window / tesmira-cut:" "$(echo "$best / $t" | bc -l)"
    # A busy program: one CPU-bound stream per processor, timed alone and beside each cut.
    busy() {
        local t0 t1
        t0=$(date +%s.%N)
        for _ in $(seq "$(nproc)"); do head -c 1500M /dev/zero | md5sum >/dev/null & done
        wait
        t1=$(date +%s.%N)
        echo "$t1 - $t0" | bc -l
    }
    local alone beside besideCli
    alone=$(busy)
    rm -rf "$WORK/win"; mkdir "$WORK/win"
    "$BIN/window_cut_bench" "$WORK/song.mp3" "$WORK/win" >"$WORK/win.time" 2>/dev/null &
    beside=$(busy)
    wait
    "$BIN/tesmira-cut" --whole "$WORK/song.mp3" -o "$WORK/out/b.mp3" --overwrite >/dev/null 2>&1 &
    besideCli=$(busy)
    wait
    printf "%-40s %7.3f s\n" "busy program alone" "$alone"
    printf "%-40s %7.3f s  (%+.1f %%; the window's cut took %s s)\n" "beside the window's cut" \
        "$beside" "$(echo "($beside / $alone - 1) * 100" | bc -l)" "$(cut -d' ' -f1 "$WORK/win.time")"
    printf "%-40s %7.3f s  (%+.1f %%)\n" "beside tesmira-cut (normal priority)" "$besideCli" \
        "$(echo "($besideCli / $alone - 1) * 100" | bc -l)"
}

if [ "${ONLY:-}" = window ]; then
    echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) processors, best of $RUNS runs"
    window_part
    exit 0
fi

CUT=("$BIN/tesmira-cut" --start 60 --end 180)
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) processors, best of $RUNS runs"
echo "-- one cut of $RANGE s"
read -r one oneMem < <(measure "${CUT[@]}" "$WORK/song.mp3" -o "$WORK/out/one.mp3" --overwrite)
report "tesmira-cut" "$one" "$oneMem" "$RANGE"
read -r t mem < <(measure "${CUT[@]}" "$WORK/song.mp3" --throttle-ms 10 -o "$WORK/out/t.mp3")
report "tesmira-cut --throttle-ms 10 (window pace)" "$t" "$mem" "$RANGE"
read -r fx mem < <(measure "${CUT[@]}" "$WORK/song.mp3" --fade-in 5 --fade-out 5 --speed 1.05 \
    --pitch 0.95 -o "$WORK/out/fx.mp3")
report "tesmira-cut (fades, 1.05, 0.95)" "$fx" "$mem" "$RANGE"
if command -v ffmpeg >/dev/null; then
    read -r ff ffMem < <(measure "$WORK/ffmpeg_cut" "$WORK/song.mp3" "$WORK/out/ffmpeg.mp3")
    report "ffmpeg -c:a libmp3lame -b:a 320k" "$ff" "$ffMem" "$RANGE"
    ratio "ffmpeg / tesmira-cut, one cut:" "$ff" "$one" 1.5
fi

echo "-- one cut of $RANGE s of the song with a 3 MB cover picture"
# An ID3v2.3 tag holding one APIC frame: encoding, "image/jpeg", type, empty description.
COVER=$((3 * 1024 * 1024))
byte() { printf '\\x%02x' "$(($1 & 0xFF))"; }
{
    printf 'ID3\x03\x00\x00'
    for s in 21 14 7 0; do printf "$(byte $(((COVER + 24) >> s & 0x7F)))"; done
    printf 'APIC'
    for s in 24 16 8 0; do printf "$(byte $(((COVER + 14) >> s)))"; done
    printf '\x00\x00\x00image/jpeg\x00\x03\x00\xff\xd8'
    head -c $((COVER - 2)) /dev/urandom
    cat "$WORK/song.mp3"
} >"$WORK/covered.mp3"
read -r cov covMem < <(measure "${CUT[@]}" "$WORK/covered.mp3" -o "$WORK/out/cov.mp3" --overwrite)
report "tesmira-cut, 3 MB cover carried" "$cov" "$covMem" "$RANGE"
printf "%-58s %5.2f  (target <= 1.05)\n" "cover / no cover, one cut:" "$(echo "$cov / $one" | bc -l)"

echo "-- a batch of $BATCH cuts of $RANGE s"
ALL=$((BATCH * RANGE))
read -r par parMem < <(measure "${CUT[@]}" "${INPUTS[@]}" --dir "$WORK/out")
report "tesmira-cut (one per processor)" "$par" "$parMem" "$ALL"
read -r one1 mem < <(measure "${CUT[@]}" "${INPUTS[@]}" --dir "$WORK/out" --jobs 1)
report "tesmira-cut --jobs 1 (two streams a cut)" "$one1" "$mem" "$ALL"
read -r ser mem < <(measure "${CUT[@]}" "${INPUTS[@]}" --dir "$WORK/out" --jobs 1 --streams 1)
report "tesmira-cut --jobs 1 --streams 1 (serial)" "$ser" "$mem" "$ALL"
ratio "tesmira-cut serial / one per processor:" "$ser" "$par" 1.8
if command -v ffmpeg >/dev/null; then
    read -r ffSer mem < <(measure "$WORK/ffmpeg_batch" 1 "$WORK/out" "${INPUTS[@]}")
    report "ffmpeg, one after another" "$ffSer" "$mem" "$ALL"
    read -r ffPar mem < <(measure "$WORK/ffmpeg_batch" "$(nproc)" "$WORK/out" "${INPUTS[@]}")
    report "ffmpeg, $(nproc) at once (xargs -P)" "$ffPar" "$mem" "$ALL"
    ratio "ffmpeg one after another / tesmira-cut batch:" "$ffSer" "$par" 1.0
    ratio "ffmpeg $(nproc) at once / tesmira-cut batch:" "$ffPar" "$par" 1.0
fi
window_part
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
