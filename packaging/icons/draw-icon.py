#!/usr/bin/env python3
"""Draws the program icon, the overlay's frame with its golden spiral, on the
pixel grid of one icon size, so that every edge and straight line of the
figure falls on whole pixels at that size and stays sharp; only the spiral's
curve is smoothed. The SVG files beside this script are its output:
  draw-icon.py SIZE > SIZE.svg      (SIZE 256 is also the scalable icon)
Rerun for every size after changing the drawing."""

import math
import sys

GOLDEN = (1 + math.sqrt(5)) / 2

OUTLINE = "#3c3f44"    # the frame around everything
STRIP = "#808080"      # the caption strip, grey 128 as on the overlay
BODY = "#fbfaf6"       # the paper the figure lies on
DIVISION = "#f29b9b"   # the square divisions, a light tint of the lines colour
SPIRAL = "#ff4040"     # the overlay's default lines colour


def near(x):
    """Rounds halves up, so a measure never rounds to nothing by chance."""
    return int(math.floor(x + 0.5))


def rect(x, y, w, h, colour):
    return f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{colour}"/>'


def golden_squares(x, y, w, h, smallest):
    """The squares of the golden subdivision, cut in turn from the left, top,
    right and bottom of what is left, each with the corner its quarter arc
    turns about and the end points of that arc."""
    squares = []
    side = 0
    while True:
        if side % 2 == 0:
            s = min(w, h) if w > h else None
        else:
            s = min(w, h) if h > w else None
        if s is None or s < smallest:
            break
        if side == 0:    # square at the left, arc from its bottom-left to its top-right
            squares.append(((x, y, s), (x + s, y + s), (x, y + s), (x + s, y)))
            x, w = x + s, w - s
        elif side == 1:  # at the top, arc from its top-left to its bottom-right
            squares.append(((x, y, s), (x, y + s), (x, y), (x + s, y + s)))
            y, h = y + s, h - s
        elif side == 2:  # at the right, arc from its top-right to its bottom-left
            squares.append(((x + w - s, y, s), (x + w - s, y), (x + w, y), (x + w - s, y + s)))
            w -= s
        else:            # at the bottom, arc from its bottom-right to its top-left
            squares.append(((x, y + h - s, s), (x + s, y + h - s), (x + s, y + h), (x, y + h - s)))
            h -= s
        side = (side + 1) % 4
    return squares


def draw(size):
    margin = max(1, near(size / 32))
    outline = max(1, near(size / 32))
    strip = max(2, near(size * 3 / 32))
    line = max(1, near(size / 64))
    spiral = max(1, near(size / 40))

    width = size - 2 * margin
    inner_w = width - 2 * outline
    inner_h = near(inner_w / GOLDEN)
    height = 2 * outline + strip + inner_h
    left = margin
    top = (size - height) // 2
    body_x, body_y = left + outline, top + outline + strip

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">',
           f"  <title>Vendrel Ratiscope</title>",
           rect(left, top, width, height, OUTLINE),
           rect(body_x, top + outline, inner_w, strip, STRIP),
           rect(body_x, body_y, inner_w, inner_h, BODY)]

    squares = golden_squares(body_x, body_y, inner_w, inner_h, max(2, 2 * spiral + line))
    # Each cut is a straight line on whole pixels, on the edge the square
    # shares with what is left of the rectangle.
    for n, ((sx, sy, s), _, _, _) in enumerate(squares[:-1]):
        kind = n % 4
        if kind == 0:
            out.append(rect(sx + s - line // 2, sy, line, s, DIVISION))
        elif kind == 1:
            out.append(rect(sx, sy + s - line // 2, s, line, DIVISION))
        elif kind == 2:
            out.append(rect(sx - (line - line // 2), sy, line, s, DIVISION))
        else:
            out.append(rect(sx, sy - (line - line // 2), s, line, DIVISION))

    # Each arc runs half its stroke inside the square's edges, so where it
    # touches an edge it fills whole pixel rows or columns there.
    inset = spiral / 2
    path = []
    for n, ((_, _, s), centre, start, end) in enumerate(squares):
        radius = s - inset

        def on_arc(corner):
            return tuple(c + (p - c) * radius / s for c, p in zip(centre, corner))

        if n == 0:
            path.append("M{:g} {:g}".format(*on_arc(start)))
        path.append("A{:g} {:g} 0 0 1 {:g} {:g}".format(radius, radius, *on_arc(end)))
    # The curve is clipped to the paper, so its ends never blur the frame.
    out.append(f'  <clipPath id="paper"><rect x="{body_x}" y="{body_y}" width="{inner_w}" height="{inner_h}"/></clipPath>')
    out.append(f'  <path d="{" ".join(path)}" fill="none" stroke="{SPIRAL}" stroke-width="{spiral}" '
               f'stroke-linecap="butt" clip-path="url(#paper)"/>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    if len(sys.argv) != 2 or not sys.argv[1].isdigit() or not 8 <= int(sys.argv[1]) <= 1024:
        sys.exit("usage: draw-icon.py SIZE (8 to 1024 pixels)")
    sys.stdout.write(draw(int(sys.argv[1])))
