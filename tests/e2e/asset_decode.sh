#!/bin/bash
# "tamasset decode" writes what the engine reads: PNG and PAM output of convert-made test
# pictures must hold the same pixels as convert's own decoding of them; bad input is refused, a
# missing output folder is not made, and a file that cannot be read is refused with the reason.
set -euo pipefail
tool="$TAM_BUILD_DIR/tamasset"
data="$TAM_SOURCE_DIR/tests/data/images"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for f in tga_32_rle.tga bmp_rle8.bmp pcx_8_w5.pcx; do
    out=$("$tool" decode "$data/$f" "$tmp/$f.png")
    [[ "$out" == *": "*" x "* ]] || { echo "no size printed for $f: $out"; exit 1; }
    want=$(convert "$data/$f.pam" -alpha on -depth 8 rgba:- | md5sum)
    got=$(convert "$tmp/$f.png" -alpha on -depth 8 rgba:- | md5sum)
    [[ "$want" == "$got" ]] || { echo "PNG of $f differs"; exit 1; }
    "$tool" decode "$data/$f" "$tmp/$f.pam" > /dev/null
    got=$(convert "$tmp/$f.pam" -alpha on -depth 8 rgba:- | md5sum)
    [[ "$want" == "$got" ]] || { echo "PAM of $f differs"; exit 1; }
done

printf 'not a picture' > "$tmp/bad.tga"
if "$tool" decode "$tmp/bad.tga" "$tmp/bad.png" 2> /dev/null; then echo "bad file accepted"; exit 1; fi
cp "$data/tga_24.tga" "$tmp/mixed.Tga"
if "$tool" decode "$tmp/mixed.Tga" "$tmp/mixed.png" 2> /dev/null; then echo ".Tga accepted"; exit 1; fi
[[ ! -e "$tmp/bad.png" && ! -e "$tmp/mixed.png" ]]
for pair in "$data/tga_24.tga|$tmp/no/dir/x.png" "$tmp/none.tga|$tmp/none.png"; do
    if err=$("$tool" decode "${pair%|*}" "${pair#*|}" 2>&1); then echo "$pair: done"; exit 1; fi
    [[ "$err" == *": No such file or directory" ]] || { echo "no reason: $err"; exit 1; }
done
[[ ! -e "$tmp/no" ]] || { echo "missing folders were made"; exit 1; }
