#!/bin/sh
# Makes the reader test pictures with ImageMagick's convert, an encoder independent of ours, and
# beside each file the picture as convert itself decodes it (NAME.EXT.pam), which the tests
# compare with our readers pixel for pixel. Run in this folder; the outputs are committed.
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 16x12 -seed 7 plasma:fractal "$tmp/src.png"
convert -size 5x7 -seed 3 plasma:fractal "$tmp/src5.png"
convert "$tmp/src.png" -alpha set -channel A -fx '(i+j)/26' +channel "$tmp/srca.png"
convert -size 16x12 xc:red -fill blue -draw 'rectangle 3,2 12,8' "$tmp/runs.png"

# TGA: true colour 16/24/32 bits, raw and run-length; colour-mapped raw and run-length; grey.
# convert writes rows in memory order and only labels the origin, so the picture is flipped
# first to give files that are bottom row first, as the format's default origin says.
convert "$tmp/src.png" -flip -orient BottomLeft -depth 5 tga_16.tga
convert "$tmp/src.png" -flip -orient BottomLeft -type TrueColor tga_24.tga
convert "$tmp/src.png" -flip -orient BottomLeft -type TrueColor -compress RLE tga_24_rle.tga
convert "$tmp/srca.png" -flip -orient BottomLeft -type TrueColorAlpha tga_32.tga
convert "$tmp/srca.png" -flip -orient BottomLeft -type TrueColorAlpha -compress RLE tga_32_rle.tga
convert "$tmp/src.png" -flip -orient BottomLeft -colors 40 -type Palette tga_map.tga
convert "$tmp/src.png" -flip -orient BottomLeft -colors 40 -type Palette -compress RLE tga_map_rle.tga
convert "$tmp/src.png" -flip -orient BottomLeft -colorspace gray -type Grayscale tga_grey.tga

# BMP: 40-byte headers at 1, 4, 8, 24, 32 bits, RLE8, odd widths (padded rows); the long header
# of today's encoders; the 12-byte header.
convert "$tmp/src.png" -monochrome bmp3:bmp_1.bmp
convert "$tmp/src.png" -colors 12 -type Palette -compress None bmp3:bmp_4.bmp
convert "$tmp/src.png" -colors 40 -type Palette -compress None bmp3:bmp_8.bmp
convert "$tmp/src5.png" -colors 30 -type Palette -compress None bmp3:bmp_8_w5.bmp
convert "$tmp/src.png" -colors 40 -type Palette -compress RLE bmp3:bmp_rle8.bmp
convert "$tmp/runs.png" -type Palette -compress RLE bmp3:bmp_rle8_runs.bmp
convert "$tmp/src.png" -type TrueColor bmp3:bmp_24.bmp
convert "$tmp/src5.png" -type TrueColor bmp3:bmp_24_w5.bmp
convert "$tmp/srca.png" -define bmp3:alpha=true bmp3:bmp_32.bmp
convert "$tmp/src.png" -colors 40 -type Palette -compress None bmp_8_v5.bmp
convert "$tmp/src.png" -colors 40 -type Palette -compress RLE bmp_rle8_v5.bmp
convert "$tmp/src.png" -type TrueColor bmp2:bmp_os2_24.bmp
convert "$tmp/src.png" -colors 40 -type Palette bmp2:bmp_os2_8.bmp

# PCX: 8 bits, one plane, 256-colour palette; an odd width.
convert "$tmp/src.png" -colors 200 -type Palette pcx:pcx_8.pcx
convert "$tmp/src5.png" -colors 20 -type Palette pcx:pcx_8_w5.pcx

for f in *.tga *.bmp *.pcx; do
    convert "$f" -auto-orient -type TrueColorAlpha -depth 8 "$f.pam"
done
