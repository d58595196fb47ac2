"""The Python package over liblorvex.so: its worlds against the command line's JSON, its
errors, and its arrays (the C interface's tests build on threads).

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
PARAMS = {"txtLandMass(2)": 200, "txtLandMass(3)": "300", "chkAlgorithm(2)": False}
# The host terrain numbers, written down.
NUMBERS = {"T": 1, "B": 1, "A": 1, "Y": 2, "F": 3, "C": 4, "S": 5, "G": 6, "M": 7, "R": 8}


class Package(unittest.TestCase):
    def setUp(self):
        # A build reads kessett/default.kst of the current directory: there is none here.
        folder = tempfile.TemporaryDirectory(prefix="lorvex-test-")
        self.addCleanup(folder.cleanup)
        self.folder = pathlib.Path(folder.name)
        self.enterContext(contextlib.chdir(self.folder))

    def cli_world(self, seed, *options):
        done = subprocess.run(
            [CLI, "build", "--width", str(WIDTH), "--height", str(HEIGHT), "--seed", str(seed),
             "--yes", "--json", "-", "--quiet", *options],
            cwd=self.folder, capture_output=True, text=True, timeout=300)
        self.assertEqual(done.returncode, 0, done.stderr)
        return json.loads(done.stdout)

    def test_the_same_worlds_as_the_command_line(self):
        (self.folder / "mine.kst").write_text("txtLandMass(0) = 1\r\ntxtCities(0) = 20\r\n")
        drawn = lorvex.build_world(WIDTH, HEIGHT, wrap=True, yes=True)  # a seed from the clock
        rows = [(drawn, self.cli_world(drawn.seed, "--wrap")),
                (lorvex.build_world(WIDTH, HEIGHT, seed=777, settings="mine.kst", params=PARAMS, yes=True),
                 self.cli_world(777, "--settings", "mine.kst",
                                *[part for name, value in PARAMS.items() for part in ("--set", f"{name} = {int(value)}")]))]
        for world, expected in rows:
            self.assertEqual((world.width, world.height, world.wrap, world.seed, world.terrain, world.cities, world.masses),
                             (expected["width"], expected["height"], expected["wrap"], expected["seed"],
                              expected["terrain"], expected["cities"], expected["masses"]))
        self.assertNotEqual(rows[1][0].terrain, self.cli_world(777)["terrain"], "the parameters were not used")
        self.assertEqual(os.listdir(self.folder), ["mine.kst"])  # nothing written where we stand

    def test_fields_and_failures(self):
        with lorvex.Builder() as b:
            self.assertEqual(b.set("txtAlgorithm(0)", 250), "100")  # held to its range
            self.assertEqual(b.set("chkLandEqual(1)", True), "1")
            fields = b.parameters()
            self.assertEqual((len(fields), list(fields)[0]), (103, "txtLandMass(0)"))
            b.save_settings("saved.kst")
            b.reset_parameters()
            b.load_settings("saved.kst")
            self.assertEqual(b.parameters(), fields)
        rows = [
            (lambda b: b.set("txtLandMass(20)", 1), -2, "txtLandMass has the fields 0 to 19"),
            (lambda b: b.set("txtLandMass(2)", "4\0" + "00"), -3, "NUL"),
            (lambda b: b.load_settings("none.kst"), -4, "none.kst"),
        ]
        for call, status, message in rows:
            with lorvex.Builder() as b, self.subTest(message=message, status=status):
                before = b.parameters()
                with self.assertRaises(lorvex.LorvexError) as raised:
                    call(b)
                self.assertEqual((raised.exception.status, b.parameters()), (status, before))
                self.assertIn(message, str(raised.exception))
        with lorvex.Builder() as b:
            with self.assertRaises(TypeError):
                b.set("txtLandMass(2)", [400])
            self.assertFalse(b.build(20, 20))  # no screen: nobody presses Build
        self.assertIsNone(lorvex.build_world(0, 5, seed=1))

    @unittest.skipIf(numpy is None, "numpy is not installed")
    def test_the_arrays_agree_with_the_letters_and_outlive_a_rebuild(self):
        with lorvex.Builder() as b:
            self.assertTrue(b.build_headless(WIDTH, HEIGHT, seed=5, yes=True))
            first = b.world()
            self.assertTrue(b.build_headless(WIDTH, HEIGHT, seed=6, yes=True))
            second = b.world()
        for world in (first, second):  # the first one's arrays were taken before the rebuild
            numbers, masses = world.terrain_array(), world.mass_array()
            self.assertEqual(numbers.tolist(), [[NUMBERS[c] for c in row] for row in world.terrain])
            land = numpy.isin(numpy.array([list(row) for row in world.terrain]), list("CMGFRY"))
            counts = numpy.bincount(masses[land], minlength=len(world.masses))
            self.assertEqual(counts.tolist(), [m["squares"] for m in world.masses])
        self.assertNotEqual(first.terrain, second.terrain)

    def test_the_catalogue_names_each_field_with_its_default_and_bounds(self):
        catalogue = lorvex.parameter_catalogue()
        with lorvex.Builder() as b:
            self.assertEqual(b.parameter_info(), catalogue)
            fresh = b.parameters()
            self.assertEqual([(f["name"], f["default"]) for f in catalogue], list(fresh.items()))
            for field in catalogue:
                if field["name"].startswith("txt") and field["maximum"] is not None:
                    with self.subTest(field=field["name"]):  # far above is held at the maximum
                        self.assertEqual(float(b.set(field["name"], 10 ** 8)), field["maximum"])
        self.assertEqual(catalogue[0]["page"], "Land Masses")
        self.assertIsNone(catalogue[0]["maximum"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
