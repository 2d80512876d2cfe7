#!/usr/bin/python3
"""Where one exact colour shows on a screen picture.

Usage: import -window root -depth 8 rgb:- | find_colour.py WIDTH R,G,B
Prints the bounding box of the pixels of that colour, "LEFT TOP RIGHT BOTTOM
COUNT" (inclusive edges), or nothing when none has it.
"""
import sys

width = int(sys.argv[1])
want = bytes(int(c) for c in sys.argv[2].split(","))
data = sys.stdin.buffer.read()
stride = width * 3
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
if count:
    print(left, top, right, bottom, count)
