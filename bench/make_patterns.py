#!/usr/bin/env python3
"""Writes the inputs of peer_compare.sh as RLE files: a random soup, acorn, the Gosper glider gun and a
sparse field of small objects. Every random choice comes from a fixed seed, so runs compare alike."""
import random
import sys


def write_rle(path, cells):
    """cells: a set of (x, y). Rows are written top to bottom as runs of 'o' and 'b' separated by '$'."""
    xs = [x for x, _ in cells]
    ys = [y for _, y in cells]
    left, top = min(xs), min(ys)
    width, height = max(xs) - left + 1, max(ys) - top + 1
    rows = {}
    for x, y in cells:
        rows.setdefault(y - top, []).append(x - left)
    out = []

    def run(count, tag):
        out.append((str(count) if count > 1 else "") + tag)

    last_y = 0
    for y in sorted(rows):
        if y > last_y:
            run(y - last_y, "$")
        last_y = y
        column = 0
        xs_row = sorted(rows[y])
        i = 0
        while i < len(xs_row):
            x = xs_row[i]
            if x > column:
                run(x - column, "b")
            j = i
            while j + 1 < len(xs_row) and xs_row[j + 1] == xs_row[j] + 1:
                j += 1
            run(j - i + 1, "o")
            column = xs_row[j] + 1
            i = j + 1
    text = "".join(out) + "!"
    with open(path, "w") as f:
        f.write("x = %d, y = %d, rule = B3/S23\n" % (width, height))
        for start in range(0, len(text), 70):
            f.write(text[start:start + 70] + "\n")


def parse_picture(lines):
    return {(x, y) for y, line in enumerate(lines) for x, ch in enumerate(line) if ch == "O"}


ACORN = parse_picture([".O.....", "...O...", "OO..OOO"])
GUN = parse_picture([
    "........................O...........",
    "......................O.O...........",
    "............OO......OO............OO",
    "...........O...O....OO............OO",
    "OO........O.....O...OO..............",
    "OO........O...O.OO....O.O...........",
    "..........O.....O.......O...........",
    "...........O...O....................",
    "............OO......................",
])
SMALL_OBJECTS = [
    parse_picture(["OO", "OO"]),                      # block
    parse_picture(["OOO"]),                           # blinker
    parse_picture([".OO.", "O..O", ".OO."]),          # beehive
    parse_picture([".OOO", "OOO."]),                  # toad
    parse_picture([".O.", "..O", "OOO"]),             # glider
    parse_picture([".OO", "OO.", ".O."]),             # R-pentomino
]


def soup(rng, size, density):
    return {(x, y) for y in range(size) for x in range(size) if rng.random() < density}


def sparse_field(rng, count, extent):
    cells = set()
    for _ in range(count):
        shape = rng.choice(SMALL_OBJECTS)
        ox, oy = rng.randrange(extent), rng.randrange(extent)
        cells |= {(ox + x, oy + y) for x, y in shape}
    return cells


def main(folder):
    rng = random.Random(20261206)
    write_rle(folder + "/soup1000.rle", soup(rng, 1000, 0.3))
    write_rle(folder + "/acorn.rle", ACORN)
    write_rle(folder + "/gun.rle", GUN)
    write_rle(folder + "/sparse.rle", sparse_field(rng, 4000, 100000))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
