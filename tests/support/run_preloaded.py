"""LD_PRELOAD=<sanitizer runtime> python3 run_preloaded.py SCRIPT [ARGS...]: runs SCRIPT, keeping
the preload and relaxed options out of the programs it starts, which carry their own runtime
(CHILD_ASAN_OPTIONS, when set, becomes their ASAN_OPTIONS)."""
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
