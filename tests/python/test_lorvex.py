"""The Python package over liblorvex.so (LORVEX_LIBRARY), and the picture of the command-line
tool (LORVEX_CLI) decoded here."""

import contextlib
import gc
import os
import pathlib
import subprocess
import struct
import sys
import tempfile
import threading
import unittest
import zlib
import weakref

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "python"))

import lorvex  # noqa: E402

try:
    import numpy
except ImportError:
    numpy = None

# Absolute: the tool runs from test folders of its own.
CLI = os.path.abspath(os.environ.get("LORVEX_CLI", str(ROOT / "build" / "bin" / "lorvex")))
WIDTH, HEIGHT = 120, 100
# The host terrain numbers, written down.
NUMBERS = {"T": 1, "B": 1, "A": 1, "Y": 2, "F": 3, "C": 4, "S": 5, "G": 6, "M": 7, "R": 8}
# The colours of the letters in a picture, and the outline of a city square.
COLOURS = {"S": (28, 78, 160), "T": (12, 36, 84), "B": (12, 36, 84), "A": (12, 36, 84), "C": (118, 178, 82),
           "M": (128, 112, 96), "G": (184, 160, 96), "F": (30, 108, 44), "R": (84, 160, 236), "Y": (214, 40, 40)}
OUTLINE = (40, 20, 20)
# Three Large masses of 100 squares, no other land, seven cities.
THREE_LARGE = ("txtLandMass(0) = 3\r\ntxtLandMass(1) = 3\r\ntxtLandMass(2) = 100\r\ntxtLandMass(3) = 100\r\n"
               "txtLandMass(6) = 0\r\ntxtLandMass(7) = 0\r\ntxtLandMass(12) = 0\r\ntxtLandMass(13) = 0\r\n"
               "txtLandMass(18) = 0\r\ntxtLandMass(19) = 0\r\ntxtCities(0) = 7\r\ntxtCities(1) = 7\r\n")


def read_png(path):
    """An 8-bit RGB PNG's pixels as rows of (r, g, b), read here without the writer's library."""
    data = pathlib.Path(path).read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, chunks, packed = 8, {}, b""
    while at < len(data):
        (length,), kind = struct.unpack(">I", data[at:at + 4]), data[at + 4:at + 8]
        body = data[at + 8:at + 8 + length]
        assert zlib.crc32(kind + body) == struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0], kind
        if kind == b"IDAT":
            packed += body
        chunks.setdefault(kind, body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    assert (depth, colour, interlace) == (8, 2, 0), (depth, colour, interlace)
    step = 3  # bytes a pixel
    raw, stride, rows, above = zlib.decompress(packed), width * step, [], bytearray(width * step)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up, corner = above[i], above[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                near = min((abs(p - left), 0, left), (abs(p - up), 1, up), (abs(p - corner), 2, corner))[2]
                line[i] = (line[i] + near) & 255
        rows.append([tuple(line[x * step:x * step + 3]) for x in range(width)])
        above = line
    return width, height, rows


class Package(unittest.TestCase):
    def setUp(self):
        # A build reads kessett/default.kst of the current directory: there is none here.
        folder = tempfile.TemporaryDirectory(prefix="lorvex-test-")
        self.addCleanup(folder.cleanup)
        self.folder = pathlib.Path(folder.name)
        self.enterContext(contextlib.chdir(self.folder))

    def test_a_drawn_seed_and_the_world_read_back(self):
        drawn = lorvex.build_world(WIDTH, HEIGHT, wrap=True, yes=True)  # a seed from the clock
        again = lorvex.build_world(WIDTH, HEIGHT, wrap=True, seed=drawn.seed, yes=True)
        self.assertEqual((again.terrain, again.cities, again.masses), (drawn.terrain, drawn.cities, drawn.masses))
        # A key: the seed with five draws given away before Build, another world.
        keyed = lorvex.build_world(WIDTH, HEIGHT, wrap=True, seed=f"{drawn.seed}-5", yes=True)
        self.assertEqual(keyed.key, f"{drawn.seed}-5")
        self.assertNotEqual(keyed.terrain, drawn.terrain)
        self.assertEqual((drawn.width, drawn.height, drawn.wrap, len(drawn.terrain), len(drawn.terrain[0])),
                         (WIDTH, HEIGHT, True, HEIGHT, WIDTH))
        # The cities are the map's city squares in column-major order; the masses count the land.
        squares = sorted((x, y) for y, row in enumerate(drawn.terrain) for x, c in enumerate(row) if c == "Y")
        self.assertEqual([(c["x"], c["y"]) for c in drawn.cities], squares)
        self.assertEqual(sum(m["squares"] for m in drawn.masses), sum(c in "CMGFRY" for row in drawn.terrain for c in row))
        self.assertEqual(os.listdir(self.folder), [])  # nothing written where we stand

    def test_a_settings_file_and_params_show_in_the_world_and_params_win(self):
        (self.folder / "three.kst").write_text(THREE_LARGE, newline="")
        rows = [({"settings": "three.kst"}, 3),
                ({"settings": "three.kst", "params": {"txtLandMass(0)": 2, "txtLandMass(1)": "2"}}, 2),
                ({"params": {"txtLandMass(0)": 1, "txtLandMass(1)": 1, "txtLandMass(6)": 0, "txtLandMass(7)": 0}}, 1)]
        for how, large in rows:
            with self.subTest(how=how):
                world = lorvex.build_world(80, 50, seed=3, yes=True, **how)
                self.assertEqual([m["sizeClass"] for m in world.masses].count(0), large)

    def test_the_picture_shows_every_square_in_its_colour(self):
        for scale in (2, 3):  # a city square is outlined from 3 pixels up
            done = subprocess.run([CLI, "build", "--width", "37", "--height", "23", "--wrap", "--seed", "8", "--yes",
                                   "--quiet", "--png", "w.png", "--scale", str(scale), "--text", "w.txt"],
                                  cwd=self.folder, capture_output=True, text=True, timeout=300)
            self.assertEqual(done.returncode, 0, done.stderr)
            letters = (self.folder / "w.txt").read_text().splitlines()
            width, height, pixels = read_png(self.folder / "w.png")
            self.assertEqual((width, height, len(letters), len(letters[0])), (37 * scale, 23 * scale, 23, 37))
            cities = 0
            for y in range(height):
                for x in range(width):
                    letter = letters[y // scale][x // scale]
                    edge = scale >= 3 and (x % scale in (0, scale - 1) or y % scale in (0, scale - 1))
                    expected = OUTLINE if letter == "Y" and edge else COLOURS[letter]
                    cities += letter == "Y" and not edge
                    self.assertEqual(pixels[y][x], expected, f"pixel {x}, {y} of {letters[y // scale][x // scale]} x{scale}")
            self.assertGreater(cities, 0)

    def test_fields_and_failures(self):
        with lorvex.Builder() as b:
            self.assertEqual(b.set("txtAlgorithm(0)", 250), "100")  # held to its range
            self.assertEqual(b.set("chkLandEqual(1)", True), "1")
            with self.assertRaises(TypeError):
                b.set("txtLandMass(2)", [400])
            fields = b.parameters()
            b.save_settings("saved.kst")
            b.reset_parameters()
            b.load_settings("saved.kst")
            self.assertEqual(b.parameters(), fields)
            b.load_settings_text("txtCities(0) = 30\r\nno line here\r\nchkShape(3) = 0")
            self.assertEqual((b.get("txtCities(0)"), b.get("chkShape(3)")), ("30", "0"))
            text = b.settings_text()
            self.assertEqual((text.count("\r\n"), text.splitlines()[36]), (103, "txtCities(0) = 30"))
        rows = [  # the library's status and reason, or the package's own for a NUL
            (lambda b: b.set("txtLandMass(2)", "4\0" + "00"), -3, "NUL"),
            (lambda b: b.load_settings("none.kst"), -4, "none.kst"),
            (lambda b: b.build_headless(100, 100, seed=1), -22, "Average Land % is Greater than 50%"),  # no yes=True
        ]
        for call, status, message in rows:
            with lorvex.Builder() as b, self.subTest(message=message, status=status):
                before = b.parameters()
                with self.assertRaises(lorvex.LorvexError) as raised:
                    call(b)
                self.assertEqual((raised.exception.status, b.parameters()), (status, before))
                self.assertIn(message, str(raised.exception))

    def test_the_readme_example_runs_as_written(self):
        readme = (ROOT / "README.md").read_text()
        block = readme[readme.index("**Python** ("):]
        block = block[block.index("\n\n") + 2:block.index("\n\n`build_world` also")]
        code = "\n".join(line[4:] for line in block.splitlines())
        if numpy is None:  # the lines that say "with numpy"
            code = "\n".join(line for line in code.splitlines() if "with numpy" not in line)
        scope = {}
        exec(compile(code, "README.md", "exec"), scope)  # noqa: S102 - the README's own example
        self.assertEqual((scope["world"].width, scope["world"].height, scope["world"].seed), (200, 150, 42))

    def test_progress_and_a_stop_from_another_thread(self):
        # Told (stage, step, whole) from step 1; an exception in it stops the build and comes out.
        with lorvex.Builder() as b, self.assertRaises(ZeroDivisionError):
            b.build_headless(WIDTH, HEIGHT, yes=True, on_progress=lambda stage, step, whole: whole / (step - 1))
        # A thousand masses of a million squares would take half an hour.
        with lorvex.Builder() as b:
            b.load_settings_text("txtLandMass(0) = 1000\r\ntxtLandMass(1) = 1000\r\n"
                                 "txtLandMass(2) = 1000000\r\ntxtLandMass(3) = 1000000")
            started = threading.Event()
            stopper = threading.Thread(target=lambda: (started.wait(), b.stop()))
            stopper.start()
            with self.assertRaises(lorvex.LorvexError) as raised:
                b.build_headless(100, 100, yes=True,
                                 on_progress=lambda stage, step, whole: stage == "Large" and started.set())
            stopper.join()
            self.assertEqual((raised.exception.status, str(raised.exception)), (-21, "the build was stopped"))
            self.assertIsNone(b.world())

    def test_a_world_lets_its_builder_go_and_its_arrays_agree_with_its_letters(self):
        b = lorvex.Builder()
        b.build_headless(WIDTH, HEIGHT, seed=5, yes=True)
        first = b.world()  # its arrays are taken when the builder builds again
        b.build_headless(WIDTH, HEIGHT, seed=6, yes=True)
        second, held = b.world(), weakref.ref(b)
        if numpy is not None:  # both arrays read: the library's copy of the world is let go
            second.terrain_array()
            second.mass_array()
        del b
        gc.collect()
        self.assertIsNone(held())
        self.assertNotEqual(first.terrain, second.terrain)
        for world in (first, second) if numpy is not None else ():
            numbers, masses = world.terrain_array(), world.mass_array()
            self.assertEqual(numbers.tolist(), [[NUMBERS[c] for c in row] for row in world.terrain])
            land = numpy.isin(numpy.array([list(row) for row in world.terrain]), list("CMGFRY"))
            counts = numpy.bincount(masses[land], minlength=len(world.masses))
            self.assertEqual(counts.tolist(), [m["squares"] for m in world.masses])

    def test_the_catalogue_names_each_field_with_its_default_and_bounds(self):
        catalogue = lorvex.parameter_catalogue()
        with lorvex.Builder() as b:
            fresh = b.parameters()
            self.assertEqual([(f["name"], f["default"]) for f in catalogue], list(fresh.items()))
            algorithm = next(f for f in catalogue if f["name"] == "txtAlgorithm(1)")
            self.assertEqual(float(b.set("txtAlgorithm(1)", 10 ** 8)), algorithm["maximum"])  # a number
        self.assertEqual(catalogue[0]["page"], "Land Masses")
        self.assertIsNone(catalogue[0]["maximum"])
        for field in catalogue:  # words for each item, and a bound is a whole number or none
            self.assertTrue(all(field[item] for item in ("page", "label", "meaning", "range")), field)
            self.assertTrue(all(field[b] in (None, int(field[b] or 0)) for b in ("minimum", "maximum")), field)


if __name__ == "__main__":
    unittest.main(verbosity=2)
