"""The Python package over liblorvex.so: its worlds against the command line's JSON, its
parameter calls and its arrays (the C interface's tests build on threads).

CTest runs this file with LORVEX_LIBRARY and LORVEX_CLI naming the built library and
command-line tool; run by hand it falls back to build/ of the source tree.
"""

import contextlib
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

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
SETTINGS = "txtLandMass(0) = 1\r\ntxtLandMass(1) = 2\r\ntxtCities(0) = 20\r\ntxtCities(1) = 30\r\n"
PARAMS = {"txtLandMass(2)": 200, "txtLandMass(3)": "300", "chkAlgorithm(2)": False}
# The host terrain numbers, written down.
NUMBERS = {"T": 1, "B": 1, "A": 1, "Y": 2, "F": 3, "C": 4, "S": 5, "G": 6, "M": 7, "R": 8}


def empty_folder(test):
    folder = tempfile.TemporaryDirectory(prefix="lorvex-test-")
    test.addCleanup(folder.cleanup)
    return pathlib.Path(folder.name)


class InAnEmptyFolder(unittest.TestCase):
    def setUp(self):
        # A build reads kessett/default.kst of the current directory: there is none here.
        self.folder = empty_folder(self)
        self.enterContext(contextlib.chdir(self.folder))


class SameWorldAsTheCommandLine(InAnEmptyFolder):
    def cli_world(self, seed, *options):
        done = subprocess.run(
            [CLI, "build", "--width", str(WIDTH), "--height", str(HEIGHT), "--seed", str(seed),
             "--yes", "--json", "-", "--quiet", *options],
            cwd=self.folder, capture_output=True, text=True, timeout=300)
        self.assertEqual(done.returncode, 0, done.stderr)
        return json.loads(done.stdout)

    def assert_same(self, world, expected):
        self.assertIsNotNone(world)
        self.assertEqual((world.width, world.height, world.wrap, world.seed),
                         (expected["width"], expected["height"], expected["wrap"], expected["seed"]))
        self.assertEqual(world.terrain, expected["terrain"])
        self.assertEqual(world.cities, expected["cities"])
        self.assertEqual(world.masses, expected["masses"])

    def test_defaults_and_a_seed_from_the_clock(self):
        self.assert_same(lorvex.build_world(WIDTH, HEIGHT, seed=12345, yes=True), self.cli_world(12345))
        drawn = lorvex.build_world(WIDTH, HEIGHT, wrap=True, yes=True)
        self.assert_same(drawn, self.cli_world(drawn.seed, "--wrap"))

    def test_a_settings_file_and_fields_set_in_code(self):
        (self.folder / "mine.kst").write_text(SETTINGS)
        world = lorvex.build_world(WIDTH, HEIGHT, seed=777, settings="mine.kst", params=PARAMS, yes=True)
        expected = self.cli_world(777, "--settings", "mine.kst",
                                  *[part for name, value in PARAMS.items()
                                    for part in ("--set", f"{name} = {int(value)}")])
        self.assert_same(world, expected)
        self.assertNotEqual(world.terrain, self.cli_world(777)["terrain"], "the parameters were not used")
        self.assertEqual(os.listdir(self.folder), ["mine.kst"])  # nothing written where we stand


class Parameters(InAnEmptyFolder):
    def test_set_get_and_the_whole_set(self):
        with lorvex.Builder() as b:
            self.assertEqual(b.set("txtLandMass(2)", 450), "450")
            self.assertEqual(b.set("txtAlgorithm(0)", 250), "100")  # held to its range
            self.assertEqual(b.set("chkLandEqual(1)", True), "1")
            self.assertEqual(b.get("txtLandMass(3)"), "450")  # tied to its Lo
            fields = b.parameters()
            self.assertEqual(len(fields), 103)
            self.assertEqual(list(fields)[:2], ["txtLandMass(0)", "txtLandMass(1)"])
            self.assertEqual(fields["txtAlgorithm(0)"], "100")
            b.save_settings("saved.kst")
            b.reset_parameters()
            self.assertEqual(b.get("txtLandMass(2)"), "400")
            b.load_settings("saved.kst")
            self.assertEqual(b.parameters(), fields)
            b.set_seed(3)
            b.recommend(300, 200)
            self.assertNotEqual(b.get("txtLandMass(2)"), "450")

    def test_failures_raise_and_change_nothing(self):
        rows = [
            (lambda b: b.set("txtLandMass(20)", 1), -2, "txtLandMass has the fields 0 to 19"),
            (lambda b: b.set("txtLandMass(2)", "4\0" + "00"), -3, "NUL"),
            (lambda b: b.set("chkShape(0)", 5), -3, "0, 1 or 2"),
            (lambda b: b.load_settings("none.kst"), -4, "none.kst"),
            (lambda b: b.save_settings("."), -4, "Could not save settings to ."),
            (lambda b: b.recommend(0, 10), -6, "0 x 10"),
        ]
        for call, status, message in rows:
            with lorvex.Builder() as b, self.subTest(message=message, status=status):
                before = b.parameters()
                with self.assertRaises(lorvex.LorvexError) as raised:
                    call(b)
                self.assertEqual(raised.exception.status, status)
                self.assertIn(message, str(raised.exception))
                self.assertEqual(b.parameters(), before)
        with lorvex.Builder() as b:
            with self.assertRaises(TypeError):
                b.set("txtLandMass(2)", [400])
            for seed in (-1, 2**64):
                with self.assertRaises(ValueError):
                    b.set_seed(seed)
            self.assertFalse(b.build(20, 20))  # no screen: nobody presses Build
            self.assertIsNone(b.world())
        self.assertIsNone(lorvex.build_world(0, 5, seed=1))
        with self.assertRaises(lorvex.LorvexError):
            lorvex.build_world(WIDTH, HEIGHT, seed=1, params={"txtNothing(0)": 1})


class Arrays(InAnEmptyFolder):
    @unittest.skipIf(numpy is None, "numpy is not installed")
    def test_the_arrays_agree_with_the_letters_and_outlive_a_rebuild(self):
        with lorvex.Builder() as b:
            self.assertTrue(b.build_headless(WIDTH, HEIGHT, seed=5, yes=True))
            first = b.world()
            self.assertTrue(b.build_headless(WIDTH, HEIGHT, seed=6, yes=True))
            second = b.world()
        for world in (first, second):  # the first one's arrays were taken before the rebuild
            numbers, masses = world.terrain_array(), world.mass_array()
            self.assertEqual(numbers.shape, (HEIGHT, WIDTH))
            self.assertEqual(numbers.tolist(), [[NUMBERS[c] for c in row] for row in world.terrain])
            land = numpy.isin(numpy.array([list(row) for row in world.terrain]), list("CMGFRY"))
            self.assertTrue((masses[land] >= 0).all())
            counts = numpy.bincount(masses[land], minlength=len(world.masses))
            self.assertEqual(counts.tolist(), [m["squares"] for m in world.masses])
        self.assertNotEqual(first.terrain, second.terrain)


if __name__ == "__main__":
    unittest.main(verbosity=2)
