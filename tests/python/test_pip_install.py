"""`pip install ./python` into a fresh virtual environment, with Debian's venv, pip and
setuptools and nothing from the network; the library installed into the same prefix with
`cmake --install`. The installed package then finds the library by itself and builds.

    LORVEX_BUILD_DIR=build python3 tests/python/test_pip_install.py
"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("LORVEX_BUILD_DIR", ROOT / "build")).resolve()
CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")

# Run inside the environment, from a folder of its own, without LORVEX_LIBRARY.
CHECK = """
import importlib.metadata, sys, lorvex
path = lorvex.library_path()
assert path.startswith(sys.prefix), (path, sys.prefix)
world = lorvex.build_world(64, 48, seed=9, params={"txtLandMass(0)": 1, "txtLandMass(1)": 1}, yes=True)
assert len(world.terrain) == 48 and len(world.terrain[0]) == 64
assert [m["sizeClass"] for m in world.masses].count(0) == 1
with lorvex.Builder() as b:
    assert importlib.metadata.version("lorvex") == b.version(), b.version()
try:
    import numpy
except ImportError:
    print("no numpy")
else:
    assert world.terrain_array().shape == (48, 64) and world.mass_array().dtype == numpy.int32
print("built with", path)
"""


def run(*command, **options):
    done = subprocess.run(command, capture_output=True, text=True, timeout=600, **options)
    if done.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, command))} failed ({done.returncode}):\n"
                             f"{done.stdout}\n{done.stderr}")
    return done.stdout


class PipInstall(unittest.TestCase):
    def test_the_package_installs_into_a_fresh_environment_and_builds(self):
        with tempfile.TemporaryDirectory(prefix="lorvex-pip-") as work:
            work = pathlib.Path(work)
            # pip builds in the folder it is given: a copy keeps the source tree clean.
            source = shutil.copytree(ROOT / "python", work / "source",
                                     ignore=shutil.ignore_patterns("build", "*.egg-info", "__pycache__"))
            environment = work / "environment"
            run(sys.executable, "-m", "venv", "--system-site-packages", environment)
            python = environment / "bin" / "python"
            run(python, "-m", "pip", "install", "--no-build-isolation", "--no-index",
                "--disable-pip-version-check", "--no-cache-dir", source)
            run(CMAKE, "--install", BUILD, "--prefix", environment)
            (work / "elsewhere").mkdir()
            plain = {k: v for k, v in os.environ.items()
                     if k not in ("LORVEX_LIBRARY", "PYTHONPATH", "LD_LIBRARY_PATH")}
            said = run(python, "-c", CHECK, cwd=work / "elsewhere", env=plain)
            self.assertIn(f"built with {environment}", said)


if __name__ == "__main__":
    unittest.main(verbosity=2)
