"""The sample levels: a hand-drawn short one, a long generated one, and one full of odd corners.

Maps are written one character per tile (LEGEND below) and turned into tile codes on output.
The game plays from the last line of a file towards the first, so every map here is drawn
with its start at the bottom and its finish at the top.
"""

LEGEND = {
    "g": "01",  # grass
    "f": "02",  # forest
    "s": "03",  # sand
    "W": "04",  # deep water
    "w": "05",  # shallow water
    ">": "06",  # shore, water to the east
    "<": "07",  # shore, water to the west
    "^": "08",  # shore, water to the north
    "v": "09",  # shore, water to the south
    "|": "10",  # road north-south
    "-": "11",  # road east-west
    "+": "12",  # crossroads
    "H": "13",  # bridge north-south
    "=": "14",  # bridge east-west
    "#": "15",  # stone wall
    "B": "16",  # brick wall
    "r": "17",  # rocks
    "d": "18",  # dirt track
    "x": "19",  # start / finish line
    "M": "20",  # checkpoint marker
    "!": "98",  # warning sign: open ground or water ahead
    "Y": "99",  # warning sign: the way narrows ahead
}

WIDTH = 8

SHORT = """
ffg|gfff
fgg|ggff
xxxxxxxx
ggg|gggf
gBB|BBgg
gBB|BBgf
---+----
gBB|Bggg
gBB|Brgg
ggg|gggf
fgg|gg>W
ffg|gg>W
vvvHvv>W
WWWHWWWW
WWWHWWWW
^^^H^^>W
fgg|gg>W
fgg|gg>W
gg!|gg>W
ggg|gg>W
gg++--==
gg|ggg>W
rg|ggg>W
fg|ggg^^
fg|ggggg
ggMggggg
sg|grggg
ss|ggggf
ssdggrff
rsdgffff
ssdggfff
#sd####f
##d#####
##d#####
#sd#####
ssdYsrgg
ssdsssgg
ssdssggg
xxxxxxxx
ssdssggg
"""


class Random:
    """xorshift32: the same numbers from any Python, so the long level never changes by itself."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s

    def below(self, n):
        return self.next() % n

    def chance(self, percent):
        return self.below(100) < percent


class LongLevel:
    """Builds the long level in play order (start first), one scene after another.

    The road runs unbroken through every scene; `road` is its column.
    """

    def __init__(self, seed):
        self.random = Random(seed)
        self.rows = []
        self.road = 3

    def add(self, row):
        assert len(row) == WIDTH, row
        self.rows.append("".join(row))

    def base(self, fill, scatter="", percent=0):
        row = [fill] * WIDTH
        for c in range(WIDTH):
            if scatter and self.random.chance(percent):
                row[c] = scatter[self.random.below(len(scatter))]
        return row

    def roadside(self):
        """A column next to the road, where signs stand."""
        return self.road + 1 if self.road < WIDTH - 1 else self.road - 1

    def jog(self, target, fill="g"):
        """Moves the road sideways along one east-west row."""
        row = [fill] * WIDTH
        low, high = sorted((self.road, target))
        for c in range(low, high + 1):
            row[c] = "-"
        row[low] = row[high] = "+"
        self.add(row)
        self.road = target

    def countryside(self, length):
        """Grass with groves of trees, the odd rock, and a road that wanders now and then."""
        groves = []  # (centre column, centre row, half width, half length)
        for i in range(length):
            if self.random.chance(18):
                groves.append(
                    (
                        self.random.below(WIDTH),
                        i + 2 + self.random.below(4),
                        1 + self.random.below(3) / 2,
                        2 + self.random.below(6),
                    )
                )
            groves = [g for g in groves if g[1] + g[3] >= i]
            if 4 < i < length - 4 and self.random.chance(3):
                self.jog(1 + self.random.below(WIDTH - 2))
                continue
            row = self.base("g", "gggr", 4)
            for c in range(WIDTH):
                for gc, gr, half_w, half_l in groves:
                    if ((c - gc) / half_w) ** 2 + ((i - gr) / half_l) ** 2 <= 1:
                        row[c] = "f"
            row[self.road] = "|"
            self.add(row)

    def lake(self, length):
        """Open water across the whole width, crossed on a bridge, announced by a sign."""
        for _ in range(3):
            row = self.base("g", "f", 10)
            row[self.road] = "|"
            self.add(row)
        row = self.base("g")
        row[self.road], row[self.roadside()] = "|", "!"
        self.add(row)
        self.add(["|" if c == self.road else "^" for c in range(WIDTH)])
        for _ in range(length):
            row = self.base("W", "w", 6)
            row[self.road] = "H"
            self.add(row)
        self.add(["|" if c == self.road else "v" for c in range(WIDTH)])

    def river(self, length):
        """A river up the middle, crossed once on a bridge from one bank road to the other."""
        near, far = (1, 6) if self.road < WIDTH // 2 else (6, 1)
        if self.road != near:
            self.jog(near)
        for i in range(length):
            row = self.base("g", "fr", 6)
            row[2:6] = [">", "W", "W", "<"]
            if i in (0, length - 1):
                row[2:6] = ["^" if i == 0 else "v"] * 4
            row[self.road] = "|"
            if i == length // 2:
                row = ["g", "+", "=", "=", "=", "=", "+", "g"]
                self.road = far
            self.add(row)

    def desert(self, length):
        """Sand and rocks; the road turns into a dirt track for stretches."""
        for i in range(length):
            row = self.base("s", "ssr", 9)
            row[self.road] = "|" if i % 40 < 28 else "d"
            self.add(row)

    def canyon(self, length):
        """Stone walls close in to a narrow pass around the road and open out again."""
        if not 3 <= self.road <= 4:
            self.jog(3 + self.random.below(2), fill="s")
        row = self.base("s", "r", 10)
        row[self.road], row[self.roadside()] = "|", "Y"
        self.add(row)
        for i in range(length):
            opening = min(i, length - 1 - i)
            half = max(1, 4 - opening)
            row = ["#"] * WIDTH
            for c in range(self.road - half, self.road + half + 1):
                if 0 <= c < WIDTH:
                    row[c] = "r" if self.random.chance(10) else "s"
            row[self.road] = "d"
            self.add(row)

    def town(self, blocks):
        for _ in range(blocks):
            for _ in range(2 + self.random.below(3)):
                row = ["B" if self.random.chance(80) else "g" for _ in range(WIDTH)]
                row[self.road] = "|"
                if self.road > 0:
                    row[self.road - 1] = "g"
                self.add(row)
            self.add(["+" if c == self.road else "-" for c in range(WIDTH)])

    def checkpoint(self):
        row = self.base("g")
        row[self.road] = "M"
        self.add(row)

    def line(self):
        self.add(["x"] * WIDTH)


def long_level(length=2000, seed=20240611):
    """Scenes in a fixed order until the level is nearly full, then the finish."""
    level = LongLevel(seed)
    level.countryside(6)
    level.line()
    scenes = [
        (lambda: level.countryside(50 + level.random.below(60)), 110),
        (level.checkpoint, 1),
        (lambda: level.lake(3 + level.random.below(5)), 15),
        (lambda: level.countryside(30 + level.random.below(40)), 70),
        (lambda: level.river(24 + level.random.below(30)), 55),
        (lambda: level.desert(30 + level.random.below(30)), 60),
        (lambda: level.canyon(12 + level.random.below(10)), 24),
        (lambda: level.countryside(20 + level.random.below(30)), 50),
        (lambda: level.town(2 + level.random.below(3)), 20),
        (level.checkpoint, 1),
    ]
    finish = 8  # rows kept for the last stretch, the finish line and the run-out beyond it
    done = False
    while not done:
        for scene, longest in scenes:
            if len(level.rows) + longest > length - finish:
                done = True
                break
            scene()
    level.countryside(length - finish - len(level.rows))
    level.line()
    level.countryside(length - len(level.rows))
    return list(reversed(level.rows))


def to_codes(rows):
    """Map rows (strings of legend characters) -> level lines of comma-separated codes."""
    return [",".join(LEGEND[ch] for ch in row) for row in rows]


def level_file(lines, final_line_end=False):
    """Joins lines with CR LF, as the game writes them, into 8-bit text."""
    text = "\r\n".join(lines) + ("\r\n" if final_line_end else "")
    return text.encode("latin-1")


def corners_level():
    """Every oddity the format allows, each on a line of its own, among ordinary rows."""
    lines = to_codes(["fg|gggff", "xxxxxxxx", "gg|ggggg"])
    lines += [
        "",  # blank lines take no place in the view
        "",
        "01,01,10,01,01,01,01,01,03,03,03,03",  # cells after the eighth are not drawn
        "01,00,10,21,1,01 , 01,02",  # unknown codes are blank slots: 00, 21, 1, "01 ", " 01"
        ",01,10,01,01,01,01,01",  # a line starting with "," is not a row
        "01,01,10,01,01,",  # the trailing comma makes an empty sixth cell
        "01,01,10",  # a short row leaves its other columns empty
        "01,01,10,01,98,99,01,01",  # 98 is the open-ground sign, 99 the funnel sign
        "",
        "01,01,10,01,01,01,01,01,,,",
        "gg|ggggg",
    ]
    lines[-1] = to_codes([lines[-1]])[0]
    lines += to_codes(["ss|sssrs", "xxxxxxxx", "ss|sssss"])
    # The file ends with CR LF, which counts one more, empty, line.
    return level_file(lines, final_line_end=True)


def levels():
    """File name below samples/ -> bytes."""
    short_rows = [row for row in SHORT.split("\n") if row]
    assert all(len(row) == WIDTH for row in short_rows)
    return {
        "short.lvl": level_file(to_codes(short_rows)),
        "long.lvl": level_file(to_codes(long_level())),
        "corners.lvl": corners_level(),
    }
