"""The Python package over liblorvex.so: its worlds against the command line's JSON, its
errors, and its arrays (the C interface's tests build on threads).

CTest runs this file with LORVEX_LIBRARY and LORVEX_CLI naming the built library and
command-line tool; run by hand it falls back to build/ of the source tree.
"""

import contextlib
import gc
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import threading
import unittest
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
            b.load_settings_text("txtCities(0) = 30\r\nno line here\r\nchkShape(3) = 0")
            self.assertEqual((b.get("txtCities(0)"), b.get("chkShape(3)")), ("30", "0"))
            text = b.settings_text()
            self.assertEqual((text.count("\r\n"), text.splitlines()[36]), (103, "txtCities(0) = 30"))

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

    def test_why_no_world_was_built(self):
        """Each build that builds nothing raises the library's reason, the window's own
        words for a refusal, and keeps the builder's world and seeds."""
        warning = ("Warning: Average Land % is Greater than 50%.  This may take\r\n"
                   "an unusually long time to complete.  Continue with Build?")
        no_algorithm = {f"chkAlgorithm({i})": 0 for i in range(3)}
        rows = [
            (lambda: lorvex.build_world(100, 100, seed=1), -22, warning),
            (lambda: lorvex.build_world(60, 40, seed=1, params=no_algorithm), -22,
             "Please Select at least One Building Algorithm"),
            (lambda: lorvex.build_world(0, 5, seed=1), -6, "cannot build a map of 0 x 5: each side is 1 to 4096"),
            (lambda: lorvex.Builder().build(20, 20), -23,
             "nobody can press Build: there is no screen to show the parameters window on, and the build is not headless"),
        ]
        for call, status, message in rows:
            with self.subTest(message=message):
                with self.assertRaises(lorvex.LorvexError) as raised:
                    call()
                self.assertEqual((raised.exception.status, str(raised.exception)), (status, message))
        with lorvex.Builder() as b:
            self.assertTrue(b.build_headless(60, 40, seed=8, yes=True))
            kept = b.world()
            b.set_seed(9)
            with self.assertRaises(lorvex.LorvexError):
                b.build_headless(60, 40, yes=False)  # 60 x 40 is too small for the default land
            self.assertEqual((b.world(), b.last_seed()), (kept, 8))
            self.assertTrue(b.build_headless(60, 40, yes=True))  # the waiting seed
            self.assertEqual(b.last_seed(), 9)

    def test_progress_and_a_stop_from_another_thread(self):
        seen = []
        world = lorvex.build_world(WIDTH, HEIGHT, seed=3, yes=True, on_progress=lambda *call: seen.append(call))
        whole = 2 * sum(1 for m in world.masses if m["sizeClass"] < 3) + 21
        self.assertEqual((seen[0], seen[-1]), (("Initializing Environment", 1, whole), ("Built", whole, whole)))
        self.assertEqual([step for _, step, _ in seen], sorted(step for _, step, _ in seen))
        # An exception in the callback stops the build and comes out of it.
        with lorvex.Builder() as b, self.assertRaises(ZeroDivisionError):
            b.build_headless(WIDTH, HEIGHT, yes=True, on_progress=lambda stage, step, whole: 1 / 0)
        # A thousand masses of a million squares would take half an hour.
        with lorvex.Builder() as b:
            for name, value in (("txtLandMass(0)", 1000), ("txtLandMass(1)", 1000),
                                ("txtLandMass(2)", 1000000), ("txtLandMass(3)", 1000000)):
                b.set(name, value)
            started = threading.Event()
            stopper = threading.Thread(target=lambda: (started.wait(), b.stop()))
            stopper.start()
            with self.assertRaises(lorvex.LorvexError) as raised:
                b.build_headless(100, 100, yes=True,
                                 on_progress=lambda stage, step, whole: stage == "Large" and started.set())
            stopper.join()
            self.assertEqual((raised.exception.status, str(raised.exception)), (-21, "the build was stopped"))
            self.assertIsNone(b.world())

    def test_threads_sharing_a_builder_take_turns(self):
        seeds = list(range(40, 52))
        alone = {seed: lorvex.build_world(80, 60, seed=seed, yes=True).terrain for seed in seeds}
        together, failures = {}, []
        with lorvex.Builder() as b:
            def build(mine):
                try:
                    for seed in mine:
                        with b.lock:  # the build and the world read belong together
                            b.build_headless(80, 60, seed=seed, yes=True)
                            together[seed] = b.world().terrain
                except Exception as error:  # noqa: BLE001 - reported below
                    failures.append(error)
            threads = [threading.Thread(target=build, args=(seeds[k::4],)) for k in range(4)]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
        self.assertEqual((failures, together), ([], alone))

    def test_a_world_lets_the_library_go_once_its_arrays_are_read(self):
        b = lorvex.Builder()
        b.build_headless(WIDTH, HEIGHT, seed=5, yes=True)
        world = b.world()
        held = weakref.ref(b)
        del b
        if numpy is not None:
            world.terrain_array()
            world.mass_array()
        gc.collect()
        self.assertIsNone(held())
        if numpy is not None:
            self.assertEqual(world.terrain_array().shape, (HEIGHT, WIDTH))

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


if __name__ == "__main__":
    unittest.main(verbosity=2)
