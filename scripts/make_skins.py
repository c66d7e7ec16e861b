#!/usr/bin/env python3
"""Writes the 33 skins of the program into resources/skins/: each a ".SHE" header line and the
colours of one palette, light backgrounds tinted with a hue of its own and dark text, so that
every text stays legible (the blue count label included)."""
import colorsys
import pathlib

ROLES = ["window", "windowText", "base", "alternateBase", "text", "button", "buttonText",
         "highlight", "highlightedText"]


def hexcolour(h, l, s):
    r, g, b = colorsys.hls_to_rgb(h % 1.0, l, s)
    return "#%02x%02x%02x" % (round(r * 255), round(g * 255), round(b * 255))


def luminance(colour):
    def channel(c):
        c = int(colour[c:c + 2], 16) / 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    return 0.2126 * channel(1) + 0.7152 * channel(3) + 0.0722 * channel(5)


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def skin(n):
    hue = n / 33.0
    saturation = 0.25 + 0.35 * ((n * 7) % 11) / 10
    colours = {
        "window": hexcolour(hue, 0.90 - 0.02 * (n % 3), saturation),
        "windowText": hexcolour(hue, 0.10, 0.30),
        "base": hexcolour(hue, 0.985, saturation),
        "alternateBase": hexcolour(hue, 0.95, saturation),
        "text": hexcolour(hue, 0.08, 0.20),
        "button": hexcolour(hue + 0.02, 0.84, saturation),
        "buttonText": hexcolour(hue, 0.10, 0.30),
        "highlight": hexcolour(hue + 0.5, 0.27, 0.65),
        "highlightedText": "#ffffff",
    }
    assert contrast(colours["window"], colours["windowText"]) >= 7, n
    assert contrast(colours["window"], "#0000ff") >= 3, n
    assert contrast(colours["base"], colours["text"]) >= 7, n
    assert contrast(colours["button"], colours["buttonText"]) >= 7, n
    assert contrast(colours["highlight"], colours["highlightedText"]) >= 4.5, n
    return ".SHE\n" + "".join("%s=%s\n" % (role, colours[role]) for role in ROLES)


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "resources" / "skins"
    folder.mkdir(parents=True, exist_ok=True)
    for n in range(1, 34):
        (folder / ("skin%02d.she" % n)).write_bytes(skin(n).encode("ascii"))


if __name__ == "__main__":
    main()
