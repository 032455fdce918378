#!/bin/sh
# Makes the pictures the texture registry tests install as game files and those "tamasset decode"
# is checked on, with ImageMagick's convert; beside the latter, the picture as convert itself
# decodes it (NAME.EXT.pam). Run in this folder; the outputs are committed. The readers' own test
# pictures are the corpus in ../pictures (scripts/make-picture-corpus.py).
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 16x12 -seed 7 plasma:fractal "$tmp/src.png"
convert -size 5x7 -seed 3 plasma:fractal "$tmp/src5.png"
convert "$tmp/src.png" -alpha set -channel A -fx '(i+j)/26' +channel "$tmp/srca.png"
# convert writes TGA rows top first whatever origin it names: flip first for bottom-left files.
convert "$tmp/src.png" -flip -orient BottomLeft -type TrueColor tga_24.tga
convert "$tmp/srca.png" -flip -orient BottomLeft -type TrueColorAlpha tga_32.tga
convert "$tmp/srca.png" -flip -orient BottomLeft -type TrueColorAlpha -compress RLE tga_32_rle.tga
convert "$tmp/src.png" -type TrueColor bmp3:bmp_24.bmp
convert "$tmp/src.png" -colors 40 -type Palette -compress RLE bmp3:bmp_rle8.bmp
convert "$tmp/src.png" -colors 200 -type Palette pcx:pcx_8.pcx
convert "$tmp/src5.png" -colors 20 -type Palette pcx:pcx_8_w5.pcx

for f in tga_32_rle.tga bmp_rle8.bmp pcx_8_w5.pcx; do
    convert "$f" -auto-orient -type TrueColorAlpha -depth 8 "$f.pam"
done
