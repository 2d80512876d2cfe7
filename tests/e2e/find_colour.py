#!/usr/bin/python3
"""Where exact colours show on a screen picture.

Usage: import -window root -depth 8 rgb:- | find_colour.py WIDTH R,G,B [R,G,B...]
Prints, one line per colour, the bounding box of the pixels of that colour,
"LEFT TOP RIGHT BOTTOM COUNT" (inclusive edges), or an empty line when none
has it.
"""
import sys


def bounds(data, stride, want):
    left = top = right = bottom = None
    count = 0
    for y in range(len(data) // stride):
        row = data[y * stride:(y + 1) * stride]
        at = row.find(want)
        while at != -1:
            if at % 3 == 0:
                x = at // 3
                count += 1
                left = x if left is None else min(left, x)
                right = x if right is None else max(right, x)
                top = y if top is None else top
                bottom = y
            at = row.find(want, at + 1)
    return f"{left} {top} {right} {bottom} {count}" if count else ""


width = int(sys.argv[1])
data = sys.stdin.buffer.read()
for colour in sys.argv[2:]:
    print(bounds(data, width * 3, bytes(int(c) for c in colour.split(","))))
