#!/usr/bin/env python3
"""What a person sees of each text in a screenshot of the calculator: the
WCAG 2 contrast of the text's colour against the colour behind it, measured
from the pixels, for each control at its place in the layout at 96 dpi.

  contrast.py LAYOUT_H SHOT.png X,Y [NAME=X,Y,W,H ...]
  contrast.py table MEASURED LEAST

X,Y is the window's client area in the screenshot, or CONTROL@X,Y the
middle of that control (as Wine tells a window's place on the screen); each
NAME=... adds a region measured as a control (an open list's popup, in
screen pixels). Prints one line a control: NAME RATIO BACKGROUND TEXT.
`table` reads such lines, each after the theme's name, and prints one row a
theme and one column a control with the control's worst figure; it fails if
any is below LEAST.

In a control, the commonest colour and every colour that fills a square of
a few pixels is a background (the field, a selection, a highlighted item);
its text is the colour of the pixels that touch it, other than another
background, that stands out most. A ratio is the worst of a control's
backgrounds. Anti-aliased edges only lower a ratio, so a legible text is one
whose strongest pixels reach 4.5:1.
"""
import collections
import re
import subprocess
import sys

TWIPS_PER_PIXEL = 15  # at 96 dpi
SOLID = 4  # wider than a stroke of text: a colour that fills such a square is a background
LEAST_TOUCHING = 2
# The borders of boxes and lists and the focus frame lie within this many
# pixels of a control's edge; they are not its text.
BORDER = {"Label": 0, "InputBox": 3, "ReadOut": 3, "UnitList": 3, "Popup": 3}


def pixels_of(rounded):
    return int(rounded / TWIPS_PER_PIXEL + 0.5)


def read_layout(path):
    """Each control's name, kind and rectangle in the client area, in pixels."""
    text = open(path, encoding="utf-8").read()
    frame = re.search(r"kFrame\{(\d+), (\d+), (\d+), (\d+)\}", text)
    frame_left, frame_top = int(frame.group(1)), int(frame.group(2))
    controls = []
    for m in re.finditer(
        r'"(\w+)",\s*ControlKind::(\w+),\s*\{(\d+), (\d+), (\d+), (\d+)\}', text
    ):
        left, top, width, height = (int(m.group(i)) for i in range(3, 7))
        twips = (frame_left + left, frame_top + top, width, height)
        controls.append((m.group(1), m.group(2), *(pixels_of(v) for v in twips)))
    return controls


def read_image(name, *options, data=None):
    """An image's rows of pixels as ImageMagick reads the file NAME, or DATA
    as png:-, after OPTIONS: (r, g, b, a), or None where it is transparent."""
    pam = subprocess.run(
        ["convert", name, *options, "-alpha", "set", "-depth", "8", "pam:-"],
        input=data,
        capture_output=True,
        check=True,
    ).stdout
    header, _, rgba = pam.partition(b"ENDHDR\n")
    width = int(re.search(rb"WIDTH (\d+)", header).group(1))
    pixels = [None if rgba[i + 3] == 0 else tuple(rgba[i : i + 4]) for i in range(0, len(rgba), 4)]
    return [pixels[row : row + width] for row in range(0, len(pixels), width)]


def channel(value):
    c = value / 255.0
    return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def solid_colours(rows):
    """The colours that fill a SOLID x SOLID square somewhere in rows."""
    found = set()
    for y in range(len(rows) - SOLID + 1):
        for x in range(len(rows[y]) - SOLID + 1):
            colour = rows[y][x]
            if colour not in found and all(
                rows[y + dy][x + dx] == colour for dy in range(SOLID) for dx in range(SOLID)
            ):
                found.add(colour)
    return found


def measure(image, kind, left, top, width, height):
    """(ratio, background, text) of the worst background in the rectangle."""
    border = BORDER[kind]
    rows = [
        row[max(left + border, 0) : left + width - border]
        for row in image[max(top + border, 0) : top + height - border]
    ]
    # Colours are compared in bins of 16 levels a channel, so that a
    # gradient (a closed list's face) is one background, not a dozen.
    representative = {}
    for row in rows:
        for p in row:
            representative.setdefault(binned(p), collections.Counter())[p] += 1
    rows = [[binned(p) for p in row] for row in rows]
    counts = collections.Counter(p for row in rows for p in row)
    if not counts:
        return (0.0, None, None)
    # A label has one background; its text, bold or not, may cover more of
    # it than a selection does of a box.
    backgrounds = {counts.most_common(1)[0][0]}
    if kind != "Label":
        backgrounds |= solid_colours(rows)
    worst = None
    for background in backgrounds:
        touching = collections.Counter()
        for y, row in enumerate(rows):
            for x, p in enumerate(row):
                if p in backgrounds:
                    continue
                neighbours = [
                    rows[ny][nx]
                    for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))
                    if 0 <= ny < len(rows) and 0 <= nx < len(rows[ny])
                ]
                if background in neighbours:
                    touching[p] += 1
        texts = [c for c, n in touching.items() if n >= LEAST_TOUCHING]
        if not texts:
            continue  # a background with nothing written on it
        shown = representative[background].most_common(1)[0][0]
        text = max(
            (representative[c].most_common(1)[0][0] for c in texts),
            key=lambda c: ratio(c, shown),
        )
        found = (ratio(text, shown), shown, text)
        if worst is None or found[0] < worst[0]:
            worst = found
    modal = representative[counts.most_common(1)[0][0]].most_common(1)[0][0]
    return worst or (0.0, modal, None)


def binned(rgb):
    return tuple(v >> 4 for v in rgb)


def hex_of(rgb):
    return "-" if rgb is None else "#%02x%02x%02x" % rgb


def table(measured, least):
    rows = [line.split()[:3] for line in open(measured, encoding="utf-8")]
    themes = list(dict.fromkeys(theme for theme, _, _ in rows))
    columns = list(dict.fromkeys(control for _, control, _ in rows))
    worst = {}
    for theme, control, value in rows:
        worst[theme, control] = min(worst.get((theme, control), float("inf")), float(value))
    print("%-18s" % "theme" + "".join("%13s" % c for c in columns))
    failed = 0
    for theme in themes:
        cells = []
        for control in columns:
            value = worst.get((theme, control), 0.0)
            failed += value < least
            cells.append("%12.2f%s" % (value, "!" if value < least else " "))
        print("%-18s" % theme + "".join(cells))
    print("texts below %.1f:1 (marked !): %d" % (least, failed))
    return 1 if failed else 0


def main():
    if sys.argv[1] == "table":
        return table(sys.argv[2], float(sys.argv[3]))
    layout_h, shot, origin = sys.argv[1:4]
    controls = read_layout(layout_h)
    anchor, _, point = origin.rpartition("@")
    ox, oy = (int(v) for v in point.split(","))
    for name, _, left, top, width, height in controls:
        if name == anchor:  # the screen point at that control's middle
            ox -= (2 * left + width) // 2
            oy -= (2 * top + height) // 2
    image = [[p[:3] for p in row] for row in read_image(shot)]  # a screenshot is opaque
    regions = [
        (name, kind, ox + left, oy + top, width, height)
        for name, kind, left, top, width, height in controls
    ]
    for extra in sys.argv[4:]:
        name, rect = extra.split("=")
        regions.append((name, "Popup", *(int(v) for v in rect.split(","))))
    for name, kind, left, top, width, height in regions:
        value, background, text = measure(image, kind, left, top, width, height)
        print("%s %.2f %s %s" % (name, value, hex_of(background), hex_of(text)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
