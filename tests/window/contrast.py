#!/usr/bin/env python3
"""What a person sees of each text in a screenshot of the calculator: the
WCAG 2 contrast of the text's colour against the colour behind it, measured
from the pixels, for each control at its place in the layout at 96 dpi.

  contrast.py LAYOUT_H SHOT.png X,Y [NAME=X,Y,W,H ...]

X,Y is the window's client area in the screenshot; each NAME=... adds a
region measured as a control (an open list's popup, in screen pixels).
Prints one line a control: NAME RATIO BACKGROUND TEXT.

In a control, every colour that covers a good share of it is a background
(the field, a selection, a highlighted item); its text is the colour of the
pixels that touch it, other than another background, that stands out most.
A ratio is the worst of a control's backgrounds. Anti-aliased edges only
lower a ratio, so a legible text is one whose strongest pixels reach 4.5:1.
"""
import collections
import re
import subprocess
import sys

TWIPS_PER_PIXEL = 15  # at 96 dpi
BACKGROUND_SHARE = 0.08
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
        name, kind = m.group(1), m.group(2)
        left, top, width, height = (int(m.group(i)) for i in range(3, 7))
        controls.append(
            (
                name,
                kind,
                pixels_of(frame_left + left),
                pixels_of(frame_top + top),
                pixels_of(width),
                pixels_of(height),
            )
        )
    return controls


def read_image(path):
    """The screenshot as rows of (r, g, b), through ImageMagick's PPM."""
    ppm = subprocess.run(
        ["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True
    ).stdout
    fields = []
    index = 0
    while len(fields) < 4:
        while ppm[index : index + 1].isspace():
            index += 1
        end = index
        while not ppm[end : end + 1].isspace():
            end += 1
        fields.append(ppm[index:end])
        index = end
    width, height = int(fields[1]), int(fields[2])
    data = ppm[index + 1 :]
    return [
        [tuple(data[(y * width + x) * 3 : (y * width + x) * 3 + 3]) for x in range(width)]
        for y in range(height)
    ]


def channel(value):
    c = value / 255.0
    return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


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
    total = sum(counts.values())
    if total == 0:
        return (0.0, None, None)
    # A label has one background; its text, bold or not, may cover more of
    # it than a selection does of a box.
    backgrounds = {counts.most_common(1)[0][0]}
    if kind != "Label":
        backgrounds |= {c for c, n in counts.items() if n >= BACKGROUND_SHARE * total}
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


def main():
    layout_h, shot, origin = sys.argv[1:4]
    ox, oy = (int(v) for v in origin.split(","))
    image = read_image(shot)
    regions = [
        (name, kind, ox + left, oy + top, width, height)
        for name, kind, left, top, width, height in read_layout(layout_h)
    ]
    for extra in sys.argv[4:]:
        name, rect = extra.split("=")
        left, top, width, height = (int(v) for v in rect.split(","))
        regions.append((name, "Popup", left, top, width, height))
    for name, kind, left, top, width, height in regions:
        value, background, text = measure(image, kind, left, top, width, height)
        print("%s %.2f %s %s" % (name, value, hex_of(background), hex_of(text)))


if __name__ == "__main__":
    main()
