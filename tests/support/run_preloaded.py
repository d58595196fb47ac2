"""Runs a Python script in a process started with LD_PRELOAD (the sanitizers' shared runtime,
which a sanitized liblorvex.so needs), and keeps the preload and the relaxed sanitizer
options out of the programs the script starts: those carry their own runtime.

    LD_PRELOAD=... ASAN_OPTIONS=... python3 run_preloaded.py SCRIPT [ARGUMENTS...]

CHILD_ASAN_OPTIONS, when set, becomes the started programs' ASAN_OPTIONS.
"""
import os
import runpy
import sys

os.environ.pop("LD_PRELOAD", None)
if "CHILD_ASAN_OPTIONS" in os.environ:
    os.environ["ASAN_OPTIONS"] = os.environ.pop("CHILD_ASAN_OPTIONS")
script = sys.argv[1]
sys.argv = sys.argv[1:]
sys.path.insert(0, os.path.dirname(os.path.abspath(script)))
runpy.run_path(script, run_name="__main__")
