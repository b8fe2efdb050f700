#!/usr/bin/python3
"""Draws the program's icon, packaging/beugungsbilder.svg: one diffraction
pattern as the program draws it, a limit circle with black spots of varying
size on a rectangular reciprocal lattice, the origin marked by a ring and the
two axes drawn in. Run it again after changing it and commit the SVG."""

import math
import os

SIZE = 256
CENTRE = SIZE / 2
RADIUS = 104
SPACING_X, SPACING_Y = 22.0, 26.0


def spot_radius(h, k):
    # A fixed, lively pattern of strong and weak reflections, with the
    # reflections of odd h + k missing as in a centred lattice.
    if (h + k) % 2:
        return 0.0
    strength = abs(math.cos(0.9 * h + 0.4 * k) * math.cos(0.5 * h - 1.1 * k))
    return 2.0 + 7.0 * strength


def main():
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % ((SIZE,) * 4),
        '  <rect x="4" y="4" width="248" height="248" rx="28" fill="#ffffff" stroke="#2b4f7f" stroke-width="8"/>',
        '  <circle cx="%g" cy="%g" r="%d" fill="none" stroke="#000000" stroke-width="3"/>' % (CENTRE, CENTRE, RADIUS),
    ]
    for k in range(-5, 6):
        for h in range(-5, 6):
            x, y = CENTRE + h * SPACING_X, CENTRE - k * SPACING_Y
            r = spot_radius(h, k)
            if (h, k) == (0, 0) or r == 0 or math.hypot(x - CENTRE, y - CENTRE) + r > RADIUS - 4:
                continue
            parts.append('  <circle cx="%.1f" cy="%.1f" r="%.1f" fill="#000000"/>' % (x, y, r))
    parts += [
        '  <line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#000000" stroke-width="3"/>'
        % (CENTRE, CENTRE, CENTRE + RADIUS, CENTRE),
        '  <line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#000000" stroke-width="3"/>'
        % (CENTRE, CENTRE, CENTRE, CENTRE - RADIUS),
        '  <circle cx="%g" cy="%g" r="6" fill="#ffffff" stroke="#000000" stroke-width="2.5"/>' % (CENTRE, CENTRE),
        '</svg>',
    ]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "packaging", "beugungsbilder.svg")
    with open(path, "w") as f:
        f.write("\n".join(parts) + "\n")


if __name__ == "__main__":
    main()
