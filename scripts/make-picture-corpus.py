#!/usr/bin/python3
"""Writes the picture corpus in tests/data/pictures: small source pictures of our own (gradients
and patterns, some with transparency), each saved as a PAM reference, and the TGA, BMP and PCX
files that three independent encoders (ImageMagick's convert, Pillow, netpbm) write from them in
the variants they offer. manifest.txt lists every file with the reference it must decode to and
the rule that reference is seen through, or with the reason it must be refused. The references
are the sources themselves: sources meant for 16-bit files hold only values those bits carry.

Needs convert, python3-pil (run with the system python3) and netpbm. Not run by CI; the outputs
are committed. Run from anywhere: scripts/make-picture-corpus.py
"""
import os
import shutil
import subprocess
import sys
import tempfile

from PIL import Image

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "pictures")
W, H = 13, 9  # odd, and neither a multiple of 4 nor of 8


def rep(v, bits):
    """The 8-bit value whose top `bits` bits are v, repeated: what a decoder makes of v."""
    out, at = 0, 8 - bits
    while at > -bits:
        out |= v << at if at >= 0 else v >> -at
        at -= bits
    return out & 255


def level(i, bits):
    """The i-th (cyclically) of the `bits`-bit levels whose repeated 8-bit value every common
    reduction (top bits, rounding, floor of v * max / 255) takes back to the same level."""
    top = (1 << bits) - 1
    safe = [v for v in range(top + 1)
            if rep(v, bits) >> (8 - bits) == v and rep(v, bits) * top // 255 == v
            and (rep(v, bits) * top + 127) // 255 == v]
    return rep(safe[i % len(safe)], bits)


def picture(w, h, f):
    return (w, h, [f(x, y) for y in range(h) for x in range(w)])


def rgba(x, y):
    return ((x * 19 + y * 5) % 256, (y * 29 + x * 3) % 256, (x * y * 7 + 40) % 256,
            255 if (x + y) % 5 == 0 else 16 + (x * 17 + y * 23) % 239)


SOURCES = {
    "rgba": picture(W, H, rgba),
    "rgb": picture(W, H, lambda x, y: rgba(x, y)[:3] + (255,)),
    "rgb555": picture(W, H, lambda x, y: (level(x * 5 + y, 5), level(y * 3 + x * 2, 5),
                                          level(x * y + 3, 5), 255)),
    "rgb565": picture(W, H, lambda x, y: (level(x * 5 + y, 5), level(y * 7 + x * 4, 6),
                                          level(x * y + 3, 5), 255)),
    "argb4444": picture(W, H, lambda x, y: (rep(x % 16, 4), rep(y * 2 % 16, 4), rep((x + y) % 16, 4),
                                            rep(15 - (x * 3 + y) % 12, 4))),
    "argb1555": picture(W, H, lambda x, y: (level(x * 5 + y, 5), level(y * 3 + x * 2, 5), level(x * y + 3, 5),
                                            0 if (x + 2 * y) % 7 == 0 else 255)),
    "pal16": picture(W, H, lambda x, y: ((x // 4) * 80, (y // 3) % 2 * 110, ((x + y) % 2) * 200, 255)),
    "mono": picture(W, H, lambda x, y: (255,) * 4 if (x * x + y * 3) % 5 < 2 else (0, 0, 0, 255)),
    "grey": picture(W, H, lambda x, y: ((x * 19 + y * 7) % 256,) * 3 + (255,)),
    "greya": picture(W, H, lambda x, y: ((x * 19 + y * 7) % 256,) * 3 + (255 - (x * 11 + y * 13) % 200,)),
    # Long flat stretches and short noisy ones, 37 wide, for run-length encoders' runs and copies;
    # colours far apart, so that no encoder merges two of them into one palette entry.
    "runs": picture(37, 6, lambda x, y: (200, 30, 30, 255) if (x // 9 + y) % 2 == 0
                    else ((x * 7) % 16 * 17, y * 51, (x * y) % 4 * 85, 255)),
}


def save_sources(tmp):
    for name, (w, h, px) in SOURCES.items():
        with open(os.path.join(OUT, name + ".pam"), "wb") as f:
            f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (w, h))
            f.write(bytes(c for p in px for c in p))
        im = Image.new("RGBA", (w, h))
        im.putdata(px)
        # Opaque sources are saved without alpha, so that encoders choose their opaque forms.
        opaque = all(p[3] == 255 for p in px)
        (im.convert("RGB") if opaque else im).save(os.path.join(tmp, name + ".png"))
        im.convert("RGB").save(os.path.join(tmp, name + ".ppm"))


MANIFEST = []


def run(out, cmd, ref, rule):
    """Runs `cmd` (a shell line; {o} is the output path, {t} the temporary folder) and lists `out`."""
    path = os.path.join(OUT, out)
    subprocess.run(cmd.format(o=path, t=TMP), shell=True, check=True, stderr=subprocess.DEVNULL)
    MANIFEST.append((out, ref, rule))


def pillow(out, source, mode, ref, rule, **options):
    im = Image.open(os.path.join(TMP, source + ".png"))
    if mode == "P":
        # A palette of exactly the picture's colours, so that nothing is dithered or merged.
        im = im.convert("RGB")
        colours = sorted(set(im.getdata()))
        palette = Image.new("P", (1, 1))
        palette.putpalette([c for colour in colours for c in colour] + [0] * (768 - 3 * len(colours)))
        im = im.quantize(palette=palette, dither=Image.Dither.NONE)
    elif mode:
        im = im.convert(mode)
    im.save(os.path.join(OUT, out), **options)
    MANIFEST.append((out, ref, rule))


def refused(out, reason):
    MANIFEST[-1] = (out, "-", reason)


def imagemagick():
    c = "convert {t}/"
    # BMP: today's long headers with bit fields, the 40-byte header, the OS/2 12-byte header.
    run("im_v5_32.bmp", c + "rgba.png {o}", "rgba", "exact")
    run("im_v5_24.bmp", c + "rgb.png -type TrueColor {o}", "rgb", "exact")
    run("im_v5_565.bmp", c + "rgb565.png -define bmp:subtype=RGB565 {o}", "rgb565", "exact")
    run("im_v5_555.bmp", c + "rgb555.png -define bmp:subtype=RGB555 {o}", "rgb555", "exact")
    run("im_v5_4444.bmp", c + "argb4444.png -define bmp:subtype=ARGB4444 {o}", "argb4444", "exact")
    run("im_v5_1555.bmp", c + "argb1555.png -define bmp:subtype=ARGB1555 {o}", "argb1555", "exact")
    run("im_v5_8.bmp", c + "rgb.png -type Palette -compress None {o}", "rgb", "exact")
    run("im_v5_rle8.bmp", c + "rgb.png -type Palette {o}", "rgb", "exact")
    run("im_v3_24.bmp", c + "rgb.png -type TrueColor bmp3:{o}", "rgb", "exact")
    run("im_v3_32.bmp", c + "rgba.png -define bmp3:alpha=true bmp3:{o}", "rgba", "opaque")
    # Bit fields with the 40-byte header but without the masks that must follow it: refused.
    run("im_v3_565_nomasks.bmp", c + "rgb565.png -define bmp:subtype=RGB565 bmp3:{o}", "-", "")
    refused("im_v3_565_nomasks.bmp", "BMP data offset inside its headers")
    run("im_v3_8.bmp", c + "rgb.png -type Palette -compress None bmp3:{o}", "rgb", "exact")
    run("im_v3_4.bmp", c + "pal16.png -type Palette -compress None bmp3:{o}", "pal16", "exact")
    run("im_v3_1.bmp", c + "mono.png -type Bilevel bmp3:{o}", "mono", "exact")
    run("im_v3_grey.bmp", c + "grey.png -type Grayscale bmp3:{o}", "grey", "exact")
    run("im_v3_rle8.bmp", c + "rgb.png -type Palette -compress RLE bmp3:{o}", "rgb", "exact")
    run("im_v3_rle8_runs.bmp", c + "runs.png -type Palette -compress RLE bmp3:{o}", "runs", "exact")
    run("im_os2_24.bmp", c + "rgb.png -type TrueColor bmp2:{o}", "rgb", "exact")
    run("im_os2_8.bmp", c + "rgb.png -type Palette bmp2:{o}", "rgb", "exact")
    # TGA: convert writes rows top first whatever origin it names, so files that name the default
    # origin (bottom left) are made from the picture turned upside down. Its 16-bit files are
    # left out: they do not keep their source's levels (convert itself reads them back changed).
    up = "-flip -orient BottomLeft"
    run("im_24.tga", c + "rgb.png " + up + " -type TrueColor {o}", "rgb", "exact")
    run("im_24_rle.tga", c + "rgb.png " + up + " -type TrueColor -compress RLE {o}", "rgb", "exact")
    run("im_32.tga", c + "rgba.png " + up + " {o}", "rgba", "exact")
    run("im_32_rle.tga", c + "rgba.png " + up + " -compress RLE {o}", "rgba", "exact")
    run("im_map.tga", c + "rgb.png " + up + " -type Palette {o}", "rgb", "exact")
    run("im_map_rle.tga", c + "runs.png " + up + " -type Palette -compress RLE {o}", "runs", "exact")
    run("im_grey.tga", c + "grey.png " + up + " -type Grayscale {o}", "grey", "exact")
    run("im_grey_rle.tga", c + "grey.png " + up + " -type Grayscale -compress RLE {o}", "grey", "exact")
    run("im_top_24.tga", c + "rgb.png -orient TopLeft -type TrueColor {o}", "rgb", "exact")
    run("im_top_32_rle.tga", c + "rgba.png -orient TopLeft -compress RLE {o}", "rgba", "exact")
    run("im_top_map.tga", c + "rgb.png -orient TopLeft -type Palette {o}", "rgb", "exact")
    # PCX: one 8-bit plane with the palette at the end; true colour (three or four planes) is refused.
    run("im_8.pcx", c + "rgb.png -type Palette {o}", "rgb", "exact")
    run("im_8_runs.pcx", c + "runs.png -type Palette {o}", "runs", "exact")
    run("im_24.pcx", c + "rgb.png -type TrueColor {o}", "-", "")
    refused("im_24.pcx", "24-bit PCX of three colour planes")
    run("im_32.pcx", c + "rgba.png -type TrueColorAlpha {o}", "-", "")
    refused("im_32.pcx", "PCX of other than one 8-bit plane")


def pil():
    pillow("pil_24.bmp", "rgb", "RGB", "rgb", "exact")
    pillow("pil_32.bmp", "rgba", "", "rgba", "opaque")
    pillow("pil_8.bmp", "rgb", "P", "rgb", "exact")
    pillow("pil_grey.bmp", "grey", "L", "grey", "exact")
    pillow("pil_1.bmp", "mono", "1", "mono", "exact")
    for rle in (False, True):
        tag = "_rle" if rle else ""
        for orientation, where in ((-1, ""), (1, "_top")):
            options = {"rle": rle, "orientation": orientation}
            pillow("pil_24%s%s.tga" % (where, tag), "rgb", "RGB", "rgb", "exact", **options)
            pillow("pil_32%s%s.tga" % (where, tag), "rgba", "", "rgba", "exact", **options)
        pillow("pil_map%s.tga" % tag, "rgb", "P", "rgb", "exact", rle=rle)
        pillow("pil_grey%s.tga" % tag, "grey", "L", "grey", "exact", rle=rle)
        pillow("pil_greya%s.tga" % tag, "greya", "LA", "greya", "exact", rle=rle)
    pillow("pil_8.pcx", "rgb", "P", "rgb", "exact")
    pillow("pil_grey.pcx", "grey", "L", "grey", "exact")
    pillow("pil_24.pcx", "rgb", "RGB", "-", "")
    refused("pil_24.pcx", "24-bit PCX of three colour planes")
    pillow("pil_1.pcx", "mono", "1", "-", "")
    refused("pil_1.pcx", "PCX of 1, 2 or 4 bits per pixel")


def netpbm():
    for bits in (24, 8):
        run("pbm_%d.bmp" % bits, "ppmtobmp -windows -bpp=%d {t}/rgb.ppm > {o}" % bits, "rgb", "exact")
    run("pbm_4.bmp", "ppmtobmp -windows -bpp=4 {t}/pal16.ppm > {o}", "pal16", "exact")
    run("pbm_1.bmp", "ppmtobmp -windows -bpp=1 {t}/mono.ppm > {o}", "mono", "exact")
    run("pbm_os2_24.bmp", "ppmtobmp -os2 -bpp=24 {t}/rgb.ppm > {o}", "rgb", "exact")
    run("pbm_os2_4.bmp", "ppmtobmp -os2 -bpp=4 {t}/pal16.ppm > {o}", "pal16", "exact")
    run("pbm_24.tga", "ppmtotga -rgb -norle < {t}/rgb.ppm > {o}", "rgb", "exact")
    run("pbm_24_rle.tga", "ppmtotga -rgb < {t}/runs.ppm > {o}", "runs", "exact")
    run("pbm_map.tga", "ppmtotga -cmap -norle -name corpus < {t}/rgb.ppm > {o}", "rgb", "exact")
    run("pbm_map_rle.tga", "ppmtotga -cmap < {t}/runs.ppm > {o}", "runs", "exact")
    run("pbm_map16.tga", "ppmtotga -cmap16 -norle < {t}/rgb555.ppm > {o}", "rgb555", "top5")
    run("pbm_grey_rle.tga", "ppmtotga -mono < {t}/grey.ppm > {o}", "grey", "exact")
    run("pbm_8.pcx", "ppmtopcx -8bit {t}/rgb.ppm > {o}", "rgb", "exact")
    run("pbm_4.pcx", "ppmtopcx {t}/pal16.ppm > {o}", "-", "")
    refused("pbm_4.pcx", "PCX of 1, 2 or 4 bits per pixel")
    run("pbm_24.pcx", "ppmtopcx -24bit {t}/rgb.ppm > {o}", "-", "")
    refused("pbm_24.pcx", "24-bit PCX of three colour planes")


if __name__ == "__main__":
    if os.path.isdir(OUT):
        shutil.rmtree(OUT)
    os.makedirs(OUT)
    with tempfile.TemporaryDirectory() as TMP:
        save_sources(TMP)
        imagemagick()
        pil()
        netpbm()
    with open(os.path.join(OUT, "manifest.txt"), "w") as f:
        f.write("# Written by scripts/make-picture-corpus.py. Each line: a file, then the source picture\n"
                "# (NAME.pam) it must decode to and the rule it is compared through (exact; opaque:\n"
                "# alpha 255; top5: red, green and blue keep their top five bits, alpha 255), or \"-\"\n"
                "# and the reason it must be refused with.\n")
        for out, ref, rule in MANIFEST:
            f.write("%s %s %s\n" % (out, ref, rule))
    sys.exit(0)
