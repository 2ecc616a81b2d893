#!/bin/sh
# Makes the fuzz targets' seed corpus: short MP3s from our own generator in every MPEG
# version, sample rate and layer-III mode, CBR and VBR (Xing), with and without tags, and small
# byte-level edits of them (damaged headers, odd tags, junk, truncation, Layer II, free format).
# usage: fuzz/make_corpus.sh OUTDIR [BUILD_DIR]   (BUILD_DIR holds bin/tesmira-mp3gen)
set -eu
[ $# -ge 1 ] || { echo "usage: $0 OUTDIR [BUILD_DIR]" >&2; exit 2; }
out=$1
cd "$(dirname "$0")/.."
gen=""
for dir in ${2:-} ${TESMIRA_BUILD_DIR:-} build-fuzz build build-*; do
    if [ -x "$dir/bin/tesmira-mp3gen" ]; then
        gen="$dir/bin/tesmira-mp3gen"
        break
    fi
done
[ -n "$gen" ] || { echo "$0: build tesmira-mp3gen first" >&2; exit 1; }
mkdir -p "$out"

make() { # NAME ARGS...: a generated seed
    name=$1
    shift
    "$gen" -o "$out/$name.mp3" --seconds 0.25 "$@"
}

# edit NAME SOURCE PERL: a copy of SOURCE changed by PERL, which works on $d (the whole file)
# and may call frames() for the offsets of the layer-III frames.
edit() {
    perl -e '
        use strict; use warnings;
        my ($src, $dst, $code) = @ARGV;
        local $/; open(my $in, "<:raw", $src) or die; our $d = <$in>; close $in;
        my @l1 = (0,32,40,48,56,64,80,96,112,128,160,192,224,256,320,0);
        my @l2 = (0,8,16,24,32,40,48,56,64,80,96,112,128,144,160,0);
        sub frames {
            my @at; my $i = 0;
            while ($i + 4 <= length $d) {
                my ($a, $b, $c) = unpack("C3", substr($d, $i, 3));
                my $v = ($b >> 3) & 3; my $sri = ($c >> 2) & 3;
                if ($a == 0xFF && ($b & 0xE0) == 0xE0 && $v != 1 && (($b >> 1) & 3) == 1
                    && $sri != 3) {
                    my $rate = (44100, 48000, 32000)[$sri] >> ($v == 3 ? 0 : $v == 2 ? 1 : 2);
                    my $kbps = ($v == 3 ? \@l1 : \@l2)->[$c >> 4];
                    my $len = int(($v == 3 ? 144 : 72) * $kbps * 1000 / $rate) + (($c >> 1) & 1);
                    if ($len > 0) { push @at, $i; $i += $len; next; }
                }
                $i++;
            }
            return @at;
        }
        sub setbyte { my ($at, $v) = @_; substr($d, $at, 1) = chr($v & 0xFF); }
        sub byte { return ord(substr($d, $_[0], 1)); }
        eval $code; die $@ if $@;
        open(my $o, ">:raw", $dst) or die; print $o $d; close $o;
    ' "$out/$2.mp3" "$out/$1.mp3" "$3"
}

for rate in 32000 44100 48000 16000 22050 24000 8000 11025 12000; do
    kbps=128
    [ "$rate" -lt 32000 ] && kbps=64
    [ "$rate" -lt 16000 ] && kbps=32
    for ch in 1 2; do
        make "cbr-$rate-$ch" --rate "$rate" --channels "$ch" --bitrate "$kbps"
        make "vbr-$rate-$ch" --rate "$rate" --channels "$ch" --vbr
    done
done
make melody --melody --seconds 1
make id3 --id3v2 300
make vbr-id3 --vbr --id3v2 40

# Layer-III modes: the generator writes joint stereo and mono; stereo and dual channel by hand.
edit mode-stereo cbr-44100-2 'setbyte($_ + 3, byte($_ + 3) & 0x3F) for frames();'
edit mode-dual cbr-44100-2 'setbyte($_ + 3, (byte($_ + 3) & 0x3F) | 0x80) for frames();'
edit mode-mono-header cbr-44100-2 'setbyte($_ + 3, byte($_ + 3) | 0xC0) for frames();'
# Other layers, free format and CRCs that cannot be right.
edit layer2 cbr-44100-2 'setbyte($_ + 1, (byte($_ + 1) & 0xF9) | 0x04) for frames();'
edit layer1 cbr-22050-1 'my @f = frames(); setbyte($_ + 1, byte($_ + 1) | 0x06) for @f;'
edit free-format cbr-44100-1 'setbyte($_ + 2, byte($_ + 2) & 0x0F) for frames();'
edit crc-bad cbr-48000-2 'setbyte($_ + 1, byte($_ + 1) & 0xFE) for frames();'
# Xing: counts 0 and 0xFFFFFFFF, a table of contents that runs backwards, "Info" instead.
edit xing-zero vbr-44100-2 '$d =~ s/Xing(....)..../Xing$1\0\0\0\0/s;'
edit xing-max vbr-44100-2 '$d =~ s/Xing(....)..../Xing$1\xFF\xFF\xFF\xFF/s;'
edit xing-toc vbr-44100-2 'my $x = index($d, "Xing"); setbyte($x + 16 + $_, 255 - 2 * $_) for 0 .. 99;'
edit xing-info vbr-22050-1 '$d =~ s/Xing/Info/;'
edit xing-lone vbr-44100-2 'my @f = frames(); $d = substr($d, 0, $f[1]);'
# Tags: ID3v2 sizes past the end and not synchsafe, two in a row, ID3v1 at the end.
edit id3-past-end id3 'substr($d, 6, 4) = "\x7F\x7F\x7F\x7F";'
edit id3-not-synchsafe id3 'substr($d, 6, 4) = "\x00\x00\x81\xB0";'
edit id3-twice id3 '$d = substr($d, 0, 310) . $d;'
edit id3-only id3 '$d = substr($d, 0, 310);'
edit id3v1 cbr-44100-2 '$d .= "TAG" . ("t" x 30) . ("\0" x 95);'
# Junk in front and between frames, truncation, a single frame, mixed rates.
edit junk-front cbr-44100-2 '$d = (join "", map { chr(($_ * 37 + 11) & 0xFF) } 0 .. 999) . "\xFF\xFB" . $d;'
edit junk-between cbr-44100-2 'my @f = frames(); substr($d, $f[3], 0) = "\xFF\xE2junk" x 5;'
edit truncated cbr-44100-2 '$d = substr($d, 0, length($d) - 150);'
edit single-frame cbr-44100-2 'my @f = frames(); $d = substr($d, $f[0], $f[1] - $f[0]);'
cat "$out/cbr-44100-2.mp3" "$out/cbr-22050-1.mp3" "$out/vbr-48000-2.mp3" >"$out/mixed-rates.mp3"
printf 'ID3' >"$out/tiny-id3.mp3"
printf '\377\373\220\144' >"$out/tiny-header.mp3"
echo "$(ls "$out" | wc -l) seeds in $out"
