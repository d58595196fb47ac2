"""Lorvex worlds from Python, through the C interface of liblorvex.so.

The library is found, in this order, at the path given to ``Builder`` (or
``load_library``), at the path in the ``LORVEX_LIBRARY`` environment variable, at
``build/lib/liblorvex.so`` of the source tree this file sits in, and through the
system's loader (an installed ``liblorvex.so.1``).

    import lorvex
    world = lorvex.build_world(160, 100, wrap=True, seed=7)
    print("\\n".join(world.terrain))       # one letter a square, row 0 at the top
    for city in world.cities:             # in the host's column-major order
        print(city["x"], city["y"], city["production"])

Squares are addressed as the host addresses them: ``get_terrain_c`` takes the row-major
position y * width + x, ``get_terrain_vb`` takes (x, y), and the three city queries take a
city's ordinal in a column-major scan of the map (x outer, y inner). Positions outside
the map answer 4 and "C", as the component does. The cities on the map are ordinals 0 ..
city_count() - 1; after them come the cities the build planned but found no square for,
which answer 0, and past those every city query answers 10.

Uses only the standard library.
"""

import ctypes
import ctypes.util
import dataclasses
import os
import pathlib
import shutil
import tempfile

__all__ = ["Builder", "LorvexError", "World", "build_world", "load_library", "library_path"]

ENVIRONMENT_VARIABLE = "LORVEX_LIBRARY"
SOURCE_TREE_LIBRARY = pathlib.Path(__file__).resolve().parent.parent / "build" / "lib" / "liblorvex.so"
SETTINGS_FOLDER = "kessett"
DEFAULT_SETTINGS_FILE = "default.kst"

# What the component answers for positions outside the map or the city list.
OUTSIDE_TERRAIN_NUMBER = 4
OUTSIDE_TERRAIN_LETTER = "C"
OUTSIDE_CITY_VALUE = 10

_INT16 = (-(1 << 15), (1 << 15) - 1)
_INT32 = (-(1 << 31), (1 << 31) - 1)
_UINT64 = (0, (1 << 64) - 1)

# name: (result type, argument types) of every function of lorvex.h.
_HANDLE = ctypes.c_void_p
_PROTOTYPES = {
    "lorvex_create": (_HANDLE, []),
    "lorvex_destroy": (None, [_HANDLE]),
    "lorvex_build": (ctypes.c_int, [_HANDLE, ctypes.c_int32, ctypes.c_int32, ctypes.c_int]),
    "lorvex_get_terrain_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_test_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int16]),
    "lorvex_get_terrain_vb": (ctypes.c_char, [_HANDLE, ctypes.c_int32, ctypes.c_int32]),
    "lorvex_get_production_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_get_specialty_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_get_owner_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_set_seed": (None, [_HANDLE, ctypes.c_uint64]),
    "lorvex_set_headless_build": (None, [_HANDLE, ctypes.c_int]),
    "lorvex_set_question_answer": (None, [_HANDLE, ctypes.c_int]),
    "lorvex_last_seed": (ctypes.c_uint64, [_HANDLE]),
    "lorvex_map_width": (ctypes.c_int32, [_HANDLE]),
    "lorvex_map_height": (ctypes.c_int32, [_HANDLE]),
    "lorvex_city_count": (ctypes.c_int32, [_HANDLE]),
    "lorvex_version": (ctypes.c_char_p, []),
}


class LorvexError(Exception):
    """The library cannot be loaded or answers inconsistently."""


@dataclasses.dataclass
class World:
    """A finished world, in the shape of the command line's JSON (without the masses,
    which the C interface does not offer)."""

    width: int
    height: int
    wrap: bool
    seed: int  # the seed the build used, given or drawn from the clock
    terrain: list  # one string of letters per row, row 0 at the top
    cities: list  # {"x", "y", "production", "specialty", "owner"}, column-major order


def library_path(library=None):
    """The library path that ``load_library`` tries first."""
    if library is not None:
        return os.fspath(library)
    from_environment = os.environ.get(ENVIRONMENT_VARIABLE)
    if from_environment:
        return from_environment
    if SOURCE_TREE_LIBRARY.is_file():
        return str(SOURCE_TREE_LIBRARY)
    return ctypes.util.find_library("lorvex") or str(SOURCE_TREE_LIBRARY)


def load_library(library=None):
    """Loads liblorvex.so and declares its functions; raises LorvexError when it cannot."""
    path = library_path(library)
    try:
        handle = ctypes.CDLL(path)
    except OSError as error:
        raise LorvexError(f"cannot load the Lorvex library {path}: {error}") from None
    for name, (result, arguments) in _PROTOTYPES.items():
        try:
            function = getattr(handle, name)
        except AttributeError:
            raise LorvexError(f"{path} is not the Lorvex library: it has no {name}") from None
        function.restype = result
        function.argtypes = arguments
    return handle


def _fits(value, bounds):
    return bounds[0] <= value <= bounds[1]


def _whole(value, what):
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError(f"{what} must be a whole number, not {type(value).__name__}")
    return value


class Builder:
    """One builder of the C interface (the host's clsBuild). Close it, or use it in a
    ``with`` block; the handle is also released when the object is collected."""

    def __init__(self, library=None):
        self._lib = load_library(library)
        self._handle = self._lib.lorvex_create()
        if not self._handle:
            raise MemoryError("lorvex_create found no memory for a builder")
        self._wrap = False
        self._seed = None
        self._headless = False

    def close(self):
        if getattr(self, "_handle", None):
            self._lib.lorvex_destroy(self._handle)
            self._handle = None

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def __del__(self):
        self.close()

    def _live(self):
        if not self._handle:
            raise LorvexError("the builder is closed")
        return self._handle

    # The seven operations.

    def build(self, width, height, wrap=False):
        """Opens the parameters window for width x height squares; True when a world was
        built. Without a screen the window is cancelled unless a headless build is set."""
        width, height = _whole(width, "width"), _whole(height, "height")
        if not (_fits(width, _INT32) and _fits(height, _INT32)):
            return False
        built = self._lib.lorvex_build(self._live(), width, height, 1 if wrap else 0) != 0
        if built:
            self._wrap = bool(wrap)
            self._seed = self.last_seed()
        return built

    def get_terrain_c(self, pos):
        """Host terrain number of the square at row-major position pos."""
        if not _fits(_whole(pos, "pos"), _INT32):
            return OUTSIDE_TERRAIN_NUMBER
        return self._lib.lorvex_get_terrain_c(self._live(), pos)

    def test_c(self, pos):
        """Always 4."""
        if not _fits(_whole(pos, "pos"), _INT16):
            return OUTSIDE_TERRAIN_NUMBER
        return self._lib.lorvex_test_c(self._live(), pos)

    def get_terrain_vb(self, x, y):
        """The terrain letter of square (x, y)."""
        x, y = _whole(x, "x"), _whole(y, "y")
        if not (_fits(x, _INT32) and _fits(y, _INT32)):
            return OUTSIDE_TERRAIN_LETTER
        return self._lib.lorvex_get_terrain_vb(self._live(), x, y).decode("latin-1")

    def get_production_c(self, pos):
        return self._city_value(self._lib.lorvex_get_production_c, pos)

    def get_specialty_c(self, pos):
        return self._city_value(self._lib.lorvex_get_specialty_c, pos)

    def get_owner_c(self, pos):
        return self._city_value(self._lib.lorvex_get_owner_c, pos)

    def _city_value(self, query, pos):
        if not _fits(_whole(pos, "pos"), _INT32):
            return OUTSIDE_CITY_VALUE
        return query(self._live(), pos)

    # The extensions.

    def set_seed(self, seed):
        """The seed of the next build only; later builds are seeded by the clock again."""
        if not _fits(_whole(seed, "seed"), _UINT64):
            raise ValueError(f"seed must be from 0 to {_UINT64[1]}, not {seed}")
        self._lib.lorvex_set_seed(self._live(), seed)

    def set_headless_build(self, enabled):
        """When true, build() presses the window's Build button at once, without a screen."""
        self._lib.lorvex_set_headless_build(self._live(), 1 if enabled else 0)
        self._headless = bool(enabled)

    def map_width(self):
        return self._lib.lorvex_map_width(self._live())

    def map_height(self):
        return self._lib.lorvex_map_height(self._live())

    def city_count(self):
        return self._lib.lorvex_city_count(self._live())

    def version(self):
        return self._lib.lorvex_version().decode("ascii")

    # Conveniences.

    def last_seed(self):
        """The seed the last build used (0 before any)."""
        return self._lib.lorvex_last_seed(self._live())

    def build_headless(self, width, height, wrap=False, seed=None, settings=None, yes=False):
        """Builds without a screen, as if Build were pressed at once; True when a world was
        built. The window applies kessett/default.kst of the current directory. With
        ``settings``, that file is copied to kessett/default.kst of a fresh temporary
        folder and the build runs there, the current directory restored afterwards. The
        headless setting of set_headless_build is restored afterwards too. The
        process's current directory is shared by its threads, so do not build with
        settings from two threads at once."""
        if seed is not None and not _fits(_whole(seed, "seed"), _UINT64):
            raise ValueError(f"seed must be from 0 to {_UINT64[1]}, not {seed}")
        if settings is not None and not os.path.isfile(settings):
            raise FileNotFoundError(f"no settings file {os.fspath(settings)}")
        handle = self._live()
        if seed is not None:
            self._lib.lorvex_set_seed(handle, seed)
        self._lib.lorvex_set_headless_build(handle, 1)
        self._lib.lorvex_set_question_answer(handle, 1 if yes else 0)
        try:
            if settings is None:
                built = self.build(width, height, wrap)
            else:
                built = self._build_in_settings_folder(width, height, wrap, settings)
        finally:
            self._lib.lorvex_set_headless_build(handle, 1 if self._headless else 0)
        return built

    def _build_in_settings_folder(self, width, height, wrap, settings):
        with tempfile.TemporaryDirectory(prefix="lorvex-") as folder:
            settings_folder = os.path.join(folder, SETTINGS_FOLDER)
            os.mkdir(settings_folder)
            shutil.copyfile(settings, os.path.join(settings_folder, DEFAULT_SETTINGS_FILE))
            previous = os.getcwd()
            os.chdir(folder)
            try:
                return self.build(width, height, wrap)
            finally:
                os.chdir(previous)

    def terrain_rows(self):
        """The last world as rows of letters, row 0 (the top) first. One call of the C
        interface per square: about half a second per million squares."""
        width, height = self.map_width(), self.map_height()
        handle, letter = self._live(), self._lib.lorvex_get_terrain_vb
        return [b"".join(letter(handle, x, y) for x in range(width)).decode("latin-1")
                for y in range(height)]

    def cities(self, rows=None):
        """The cities of the last world in the host's ordinal order (a column-major scan),
        each {"x", "y", "production", "specialty", "owner"}."""
        rows = self.terrain_rows() if rows is None else rows
        squares = [(x, y) for x in range(self.map_width()) for y in range(self.map_height())
                   if rows[y][x] == "Y"]
        if len(squares) != self.city_count():
            raise LorvexError(f"the world has {len(squares)} city squares but "
                              f"{self.city_count()} cities")
        handle = self._live()
        return [{"x": x, "y": y,
                 "production": self._lib.lorvex_get_production_c(handle, k),
                 "specialty": self._lib.lorvex_get_specialty_c(handle, k),
                 "owner": self._lib.lorvex_get_owner_c(handle, k)}
                for k, (x, y) in enumerate(squares)]

    def world(self):
        """The last world built, or None before any."""
        if self.map_width() == 0:
            return None
        rows = self.terrain_rows()
        return World(self.map_width(), self.map_height(), self._wrap, self._seed, rows,
                     self.cities(rows))


def build_world(width, height, wrap=False, seed=None, settings=None, library=None, yes=False):
    """A headless build in one call: the World, or None when no world was built (a
    size outside 1 .. 4096, a question answered No, or a build that stopped)."""
    with Builder(library) as builder:
        if not builder.build_headless(width, height, wrap, seed, settings, yes):
            return None
        return builder.world()
