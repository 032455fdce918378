#!/bin/sh
# Makes the pictures the texture registry tests install as game files, with ImageMagick's convert.
# Run in this folder; the outputs are committed. The readers' own test pictures are the corpus in
# ../pictures (scripts/make-picture-corpus.py).
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 16x12 -seed 7 plasma:fractal "$tmp/src.png"
convert "$tmp/src.png" -alpha set -channel A -fx '(i+j)/26' +channel "$tmp/srca.png"
# convert writes TGA rows top first whatever origin it names: flip first for bottom-left files.
convert "$tmp/src.png" -flip -orient BottomLeft -type TrueColor tga_24.tga
convert "$tmp/srca.png" -flip -orient BottomLeft -type TrueColorAlpha tga_32.tga
convert "$tmp/src.png" -type TrueColor bmp3:bmp_24.bmp
convert "$tmp/src.png" -colors 200 -type Palette pcx:pcx_8.pcx
