"""Lorvex worlds from Python, through the C interface of liblorvex.so.

    import lorvex
    world = lorvex.build_world(160, 100, wrap=True, seed=7,
                               params={"txtLandMass(0)": 2, "txtCities(0)": 40})
    print("\\n".join(world.terrain))       # one letter a square, row 0 at the top
    for city in world.cities:             # in the host's column-major order
        print(city["x"], city["y"], city["production"])
    numbers = world.terrain_array()       # with numpy: host terrain numbers, [y, x]

A Builder holds the parameters it is given (``set``, ``load_settings``, ``recommend``)
for all its later builds; the fields it does not hold keep the window's defaults (a build
applies kessett/default.kst of the current directory only after
``set_default_settings_file(True)``). Builders share nothing: threads may build at once,
each with its own. One Builder used by several threads serves one call at a time (the
others wait); hold ``builder.lock`` for a sequence of calls that belong together. Any
thread may ``stop()`` a build. Nothing here changes the process's current directory.

A build that builds nothing raises LorvexError with the library's reason (the window's own
message for a refused build) and its status; ``build`` answers False only when a person
closed the window.

The library is found, in this order, at the path given to ``Builder`` (or
``load_library``), at the path in the ``LORVEX_LIBRARY`` environment variable, at
``build/lib/liblorvex.so`` of the source tree this package sits in, in the ``lib``
folder of an installed prefix (the one Python runs in, such as a virtual environment,
or the one this package is installed in), and through the system's loader.

Squares are addressed as the host addresses them: ``get_terrain_c`` takes the row-major
position y * width + x, ``get_terrain_vb`` takes (x, y), and the three city queries take a
city's ordinal in a column-major scan of the map (x outer, y inner). Positions outside
the map answer 4 and "C", as the component does.

Uses only the standard library; numpy, where it is installed, gives the arrays.
"""

import ctypes
import ctypes.util
import dataclasses
import functools
import os
import pathlib
import sys
import sysconfig
import threading
import weakref

__all__ = ["Builder", "LorvexError", "World", "build_world", "load_library", "library_path",
           "parameter_catalogue"]

ENVIRONMENT_VARIABLE = "LORVEX_LIBRARY"
LIBRARY_NAMES = ("liblorvex.so.1", "liblorvex.so")
_HERE = pathlib.Path(__file__).resolve().parent
SOURCE_TREE_LIBRARY = _HERE.parent.parent / "build" / "lib" / "liblorvex.so"

# What the component answers for positions outside the map or the city list.
OUTSIDE_TERRAIN_NUMBER = 4
OUTSIDE_TERRAIN_LETTER = "C"
OUTSIDE_CITY_VALUE = 10

_INT16 = (-(1 << 15), (1 << 15) - 1)
_INT32 = (-(1 << 31), (1 << 31) - 1)
_UINT64 = (0, (1 << 64) - 1)

# Status numbers of lorvex.h.
OK, ADJUSTED = 0, 1
ERROR_BUFFER_TOO_SMALL = -7
BUILT, CANCELLED = 1, 0
ERROR_OUT_OF_MEMORY, ERROR_STOPPED, ERROR_REFUSED, ERROR_NO_WINDOW = -20, -21, -22, -23

# lorvex.h's LorvexProgressCallback: (user, stage, step, whole).
PROGRESS_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int32,
                                     ctypes.c_int32)


class LorvexCity(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int32), ("y", ctypes.c_int32), ("production", ctypes.c_int16),
                ("specialty", ctypes.c_int16), ("owner", ctypes.c_int16)]


# name: (result type, argument types) of every function of lorvex.h.
_HANDLE = ctypes.c_void_p
_TEXT = ctypes.c_char_p
_SIZE = ctypes.c_size_t
_PROTOTYPES = {
    "lorvex_create": (_HANDLE, []),
    "lorvex_destroy": (None, [_HANDLE]),
    "lorvex_last_error": (_TEXT, [_HANDLE]),
    "lorvex_set_parameter": (ctypes.c_int, [_HANDLE, _TEXT, _TEXT]),
    "lorvex_get_parameter": (ctypes.c_int64, [_HANDLE, _TEXT, ctypes.c_void_p, _SIZE]),
    "lorvex_reset_parameters": (ctypes.c_int, [_HANDLE]),
    "lorvex_parameter_count": (ctypes.c_int32, [_HANDLE]),
    "lorvex_parameter_name": (_TEXT, [_HANDLE, ctypes.c_int32]),
    "lorvex_load_settings": (ctypes.c_int, [_HANDLE, _TEXT]),
    "lorvex_save_settings": (ctypes.c_int, [_HANDLE, _TEXT]),
    "lorvex_recommend": (ctypes.c_int, [_HANDLE, ctypes.c_int32, ctypes.c_int32]),
    "lorvex_build": (ctypes.c_int, [_HANDLE, ctypes.c_int32, ctypes.c_int32, ctypes.c_int]),
    "lorvex_set_seed": (None, [_HANDLE, ctypes.c_uint64]),
    "lorvex_set_key": (ctypes.c_int, [_HANDLE, _TEXT]),
    "lorvex_last_key": (ctypes.c_int64, [_HANDLE, ctypes.c_void_p, _SIZE]),
    "lorvex_set_headless_build": (None, [_HANDLE, ctypes.c_int]),
    "lorvex_set_question_answer": (None, [_HANDLE, ctypes.c_int]),
    "lorvex_get_terrain_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_test_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int16]),
    "lorvex_get_terrain_vb": (ctypes.c_char, [_HANDLE, ctypes.c_int32, ctypes.c_int32]),
    "lorvex_get_production_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_get_specialty_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_get_owner_c": (ctypes.c_int16, [_HANDLE, ctypes.c_int32]),
    "lorvex_last_seed": (ctypes.c_uint64, [_HANDLE]),
    "lorvex_map_width": (ctypes.c_int32, [_HANDLE]),
    "lorvex_map_height": (ctypes.c_int32, [_HANDLE]),
    "lorvex_city_count": (ctypes.c_int32, [_HANDLE]),
    "lorvex_copy_terrain": (ctypes.c_int64, [_HANDLE, ctypes.c_void_p, _SIZE]),
    "lorvex_copy_terrain_numbers": (ctypes.c_int64, [_HANDLE, ctypes.c_void_p, _SIZE]),
    "lorvex_copy_mass_of_square": (ctypes.c_int64, [_HANDLE, ctypes.c_void_p, _SIZE]),
    "lorvex_copy_cities": (ctypes.c_int64, [_HANDLE, ctypes.c_void_p, _SIZE]),
    "lorvex_mass_count": (ctypes.c_int32, [_HANDLE]),
    "lorvex_get_mass": (ctypes.c_int, [_HANDLE, ctypes.c_int32, ctypes.POINTER(ctypes.c_int),
                                       ctypes.POINTER(ctypes.c_int32)]),
    "lorvex_version": (_TEXT, []),
    "lorvex_parameter_info": (_TEXT, [ctypes.c_int32, ctypes.c_int]),
    "lorvex_version_number": (ctypes.c_uint32, []),
    "lorvex_request_stop": (None, [_HANDLE]),
    "lorvex_set_progress_callback": (None, [_HANDLE, PROGRESS_CALLBACK, ctypes.c_void_p]),
    "lorvex_set_default_settings_file": (None, [_HANDLE, ctypes.c_int]),
    "lorvex_set_settings_folder": (ctypes.c_int, [_HANDLE, _TEXT]),
    "lorvex_load_settings_text": (ctypes.c_int, [_HANDLE, _TEXT, _SIZE]),
    "lorvex_save_settings_text": (ctypes.c_int64, [_HANDLE, ctypes.c_void_p, _SIZE]),
}


class LorvexError(Exception):
    """The library cannot be loaded, or refused a call; ``status`` is lorvex.h's number
    (None when the library was not reached)."""

    def __init__(self, message, status=None):
        super().__init__(message)
        self.status = status


@dataclasses.dataclass(eq=False)
class World:
    """A finished world, in the shape of the command line's JSON."""

    width: int
    height: int
    wrap: bool
    seed: int  # the seed the build used, given or drawn from the clock
    terrain: list  # one string of letters per row, row 0 at the top
    cities: list  # {"x", "y", "production", "specialty", "owner"}, column-major order
    masses: list  # {"sizeClass", "squares"} per land mass, in the build's order
    key: str = ""  # the world's key: the seed, and "-DRAWS" when the window drew before Build

    def __post_init__(self):
        self._builder = None  # the builder that still holds this world, if one does
        self._arrays = {}

    def __eq__(self, other):
        return isinstance(other, World) and (
            (self.width, self.height, self.wrap, self.seed, self.key, self.terrain, self.cities,
             self.masses)
            == (other.width, other.height, other.wrap, other.seed, other.key, other.terrain,
                other.cities, other.masses))

    def terrain_array(self):
        """The host terrain numbers as a numpy int16 array indexed [y, x] (1 border water,
        2 city, 3 forest, 4 clear, 5 sea, 6 rough, 7 mountains, 8 river)."""
        return self._array("lorvex_copy_terrain_numbers", "int16")

    def mass_array(self):
        """The land mass of every square as a numpy int32 array indexed [y, x]: an index
        into ``masses``, -1 where no mass laid land."""
        return self._array("lorvex_copy_mass_of_square", "int32")

    _ARRAYS = ("lorvex_copy_terrain_numbers", "lorvex_copy_mass_of_square")

    def _array(self, function, dtype):
        if function not in self._arrays:
            if self._builder is None:
                raise LorvexError("the builder of this world was closed or built again before "
                                  "numpy was asked for its arrays")
            self._arrays[function] = self._builder._copy_array(function, dtype)
            # Both arrays read: the library's copy of the world is no longer needed here.
            if all(name in self._arrays for name in self._ARRAYS):
                self._builder = None
        return self._arrays[function]

    def _let_go(self):
        """The builder is about to build again or close: the arrays are taken now."""
        if self._builder is not None and _numpy() is not None:
            self.terrain_array()
            self.mass_array()
        self._builder = None


def _numpy():
    try:
        import numpy
    except ImportError:
        return None
    return numpy


def _prefix_libraries():
    """liblorvex.so in the lib folders of the prefixes Python runs in or this package
    was installed in (site-packages lies in PREFIX/lib/pythonX.Y/site-packages)."""
    prefixes = [pathlib.Path(sys.prefix), pathlib.Path(sys.base_prefix)]
    if len(_HERE.parents) > 3 and _HERE.parent.name in ("site-packages", "dist-packages"):
        prefixes.insert(0, _HERE.parents[3])
    multiarch = sysconfig.get_config_var("MULTIARCH") or ""
    for prefix in prefixes:
        for folder in ("lib", "lib64", os.path.join("lib", multiarch)):
            for name in LIBRARY_NAMES:
                yield prefix / folder / name


def library_path(library=None):
    """The library path that ``load_library`` tries."""
    if library is not None:
        return os.fspath(library)
    from_environment = os.environ.get(ENVIRONMENT_VARIABLE)
    if from_environment:
        return from_environment
    if SOURCE_TREE_LIBRARY.is_file():
        return str(SOURCE_TREE_LIBRARY)
    for candidate in _prefix_libraries():
        if candidate.is_file():
            return str(candidate)
    return ctypes.util.find_library("lorvex") or LIBRARY_NAMES[0]


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
            raise LorvexError(f"{path} is not this version's Lorvex library: it has no {name}") from None
        function.restype = result
        function.argtypes = arguments
    return handle


def _fits(value, bounds):
    return bounds[0] <= value <= bounds[1]


def _whole(value, what):
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError(f"{what} must be a whole number, not {type(value).__name__}")
    return value


def _text(value, what):
    """A name or value as the library takes it: one byte per character, no NUL."""
    if isinstance(value, bool):
        value = int(value)
    if isinstance(value, (int, float)):
        value = str(value)
    if not isinstance(value, str):
        raise TypeError(f"{what} must be a text or a number, not {type(value).__name__}")
    if "\0" in value:
        raise LorvexError(f"{what} {value!r} holds a NUL character", -3 if what == "value" else -2)
    try:
        return value.encode("latin-1")
    except UnicodeEncodeError:
        raise LorvexError(f"{what} {value!r} has characters a settings file cannot hold") from None


def _locked(method):
    """One call at a time on a Builder: the others wait their turn."""
    @functools.wraps(method)
    def call(self, *args, **kwargs):
        with self.lock:
            return method(self, *args, **kwargs)
    return call


class Builder:
    """One builder of the C interface (the host's clsBuild). Close it, or use it in a
    ``with`` block; the handle is also released when the object is collected. Threads may
    share it: each call waits for the one before (``lock`` held across several calls keeps
    them together), and ``stop`` may come from any thread."""

    def __init__(self, library=None):
        self.lock = threading.RLock()
        self._handle_lock = threading.Lock()  # between close and stop
        self._lib = load_library(library)
        self._handle = self._lib.lorvex_create()
        if not self._handle:
            raise MemoryError("lorvex_create found no memory for a builder")
        self._wrap = False
        self._headless = False
        self._world = None  # a weak reference to the World this builder handed out

    def close(self):
        if getattr(self, "_handle", None) is None or not hasattr(self, "lock"):
            return
        with self.lock:
            if self._handle:
                self._let_go_of_world()
                with self._handle_lock:
                    self._lib.lorvex_destroy(self._handle)
                    self._handle = None

    def stop(self):
        """Asks the build running on this builder, on any thread, to stop at its next
        checkpoint (it then raises LorvexError with status ERROR_STOPPED). Asked while no
        build runs, it stops the next build at once."""
        with self._handle_lock:
            if self._handle:
                self._lib.lorvex_request_stop(self._handle)

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

    def _check(self, status):
        """Raises LorvexError for a failed call; answers the status otherwise."""
        if status < 0:
            raise LorvexError(self._lib.lorvex_last_error(self._handle).decode("latin-1"), status)
        return status

    def _let_go_of_world(self):
        world = self._world() if self._world is not None else None
        if world is not None:
            world._let_go()
        self._world = None

    # Parameters.

    @_locked
    def set(self, name, value):
        """Sets one field, e.g. ``set("txtLandMass(2)", 400)``, as one line of a settings
        file sets it, then holds it to its range as the window does; the builder holds the
        field for all its later builds. Answers the text the field now holds; raises
        LorvexError for an unknown field or a value the field cannot hold."""
        handle = self._live()
        self._check(self._lib.lorvex_set_parameter(handle, _text(name, "name"), _text(value, "value")))
        return self.get(name)

    @_locked
    def get(self, name):
        """The text of one field, as a settings file writes it."""
        handle, encoded = self._live(), _text(name, "name")
        needed = self._check(self._lib.lorvex_get_parameter(handle, encoded, None, 0))
        buffer = ctypes.create_string_buffer(needed)
        self._check(self._lib.lorvex_get_parameter(handle, encoded, buffer, needed))
        return buffer.value.decode("latin-1")

    @_locked
    def parameters(self):
        """Every field, {"txtLandMass(0)": "3", ...}, in the window's order (all 103)."""
        handle = self._live()
        names = [self._lib.lorvex_parameter_name(handle, i).decode("latin-1")
                 for i in range(self._lib.lorvex_parameter_count(handle))]
        return {name: self.get(name) for name in names}

    def parameter_info(self):
        """What each field means: ``parameter_catalogue()`` from this builder's library."""
        return _catalogue(self._lib)

    @_locked
    def reset_parameters(self):
        """Lets go of every field: the window's defaults, and kessett/default.kst decides."""
        self._check(self._lib.lorvex_reset_parameters(self._live()))

    @_locked
    def load_settings(self, path):
        """Loads a settings file as Load Settings does; raises LorvexError, changing
        nothing, when it cannot be read."""
        self._check(self._lib.lorvex_load_settings(self._live(), os.fsencode(path)))

    @_locked
    def save_settings(self, path):
        """Saves every field as Save Settings does; a failed save keeps the old file."""
        self._check(self._lib.lorvex_save_settings(self._live(), os.fsencode(path)))

    @_locked
    def recommend(self, width, height):
        """Presses Recommend for a map of width x height (drawn from the seed of set_seed
        while it waits, from the clock otherwise); raises LorvexError when no good figures
        are found."""
        width, height = _whole(width, "width"), _whole(height, "height")
        if not (_fits(width, _INT32) and _fits(height, _INT32)):
            raise LorvexError(f"cannot recommend for a map of {width} x {height}", -6)
        self._check(self._lib.lorvex_recommend(self._live(), width, height))

    # The seven operations.

    @_locked
    def build(self, width, height, wrap=False, on_progress=None):
        """Opens the parameters window for width x height squares; True when a world was
        built, False when a person closed the window without one. Raises LorvexError, with
        the reason and its status, for a build refused (the window's own message), stopped,
        without a window anybody could use (no screen and not headless, or not the main
        thread), of a bad size or out of memory. ``on_progress(stage, step, whole)`` is
        called as the build moves on (on this thread); an exception it raises stops the
        build and is raised here."""
        width, height = _whole(width, "width"), _whole(height, "height")
        if not (_fits(width, _INT32) and _fits(height, _INT32)):
            raise LorvexError(f"cannot build a map of {width} x {height}: each side is 1 to 4096", -6)
        handle = self._live()
        # A build replaces the library's world: the arrays of the last World are taken now.
        self._let_go_of_world()
        raised = []

        def progress(_user, stage, step, whole):
            try:
                on_progress(stage.decode("latin-1"), step, whole)
            except BaseException as error:  # noqa: B036 - handed to the caller below
                raised.append(error)
                self._lib.lorvex_request_stop(handle)

        callback = PROGRESS_CALLBACK(progress) if on_progress is not None else PROGRESS_CALLBACK()
        self._lib.lorvex_set_progress_callback(handle, callback, None)
        try:
            status = self._lib.lorvex_build(handle, width, height, 1 if wrap else 0)
        finally:
            self._lib.lorvex_set_progress_callback(handle, PROGRESS_CALLBACK(), None)
        if raised:
            raise raised[0]
        if status == BUILT:
            self._wrap = bool(wrap)
            return True
        if status == CANCELLED:
            return False
        raise LorvexError(self._lib.lorvex_last_error(handle).decode("latin-1"), status)

    @_locked
    def get_terrain_c(self, pos):
        """Host terrain number of the square at row-major position pos."""
        if not _fits(_whole(pos, "pos"), _INT32):
            return OUTSIDE_TERRAIN_NUMBER
        return self._lib.lorvex_get_terrain_c(self._live(), pos)

    @_locked
    def test_c(self, pos):
        """Always 4."""
        if not _fits(_whole(pos, "pos"), _INT16):
            return OUTSIDE_TERRAIN_NUMBER
        return self._lib.lorvex_test_c(self._live(), pos)

    @_locked
    def get_terrain_vb(self, x, y):
        """The terrain letter of square (x, y)."""
        x, y = _whole(x, "x"), _whole(y, "y")
        if not (_fits(x, _INT32) and _fits(y, _INT32)):
            return OUTSIDE_TERRAIN_LETTER
        return self._lib.lorvex_get_terrain_vb(self._live(), x, y).decode("latin-1")

    @_locked
    def get_production_c(self, pos):
        return self._city_value(self._lib.lorvex_get_production_c, pos)

    @_locked
    def get_specialty_c(self, pos):
        return self._city_value(self._lib.lorvex_get_specialty_c, pos)

    @_locked
    def get_owner_c(self, pos):
        return self._city_value(self._lib.lorvex_get_owner_c, pos)

    def _city_value(self, query, pos):
        if not _fits(_whole(pos, "pos"), _INT32):
            return OUTSIDE_CITY_VALUE
        return query(self._live(), pos)

    # The extensions.

    @_locked
    def set_seed(self, seed):
        """The seed of the next build only; later builds are seeded by the clock again. A
        text is a world's key as last_key() gives it ("42", or "42-1873": the seed and the
        draws the window gave away before Build)."""
        if isinstance(seed, str):
            self._check(self._lib.lorvex_set_key(self._live(), seed.encode("ascii", "replace")))
            return
        if not _fits(_whole(seed, "seed"), _UINT64):
            raise ValueError(f"seed must be from 0 to {_UINT64[1]}, not {seed}")
        self._lib.lorvex_set_seed(self._live(), seed)

    @_locked
    def last_key(self):
        """The key of the last world built ("" before any): set_seed(key) with the same
        parameters builds the same world again."""
        handle = self._live()
        buffer = ctypes.create_string_buffer(64)
        got = self._lib.lorvex_last_key(handle, buffer, len(buffer))
        if got < 0 or got > len(buffer):
            raise LorvexError(f"lorvex_last_key answered {got}", got)
        return buffer.value.decode("ascii")

    @_locked
    def set_headless_build(self, enabled):
        """When true, build() presses the window's Build button at once, without a screen."""
        self._lib.lorvex_set_headless_build(self._live(), 1 if enabled else 0)
        self._headless = bool(enabled)

    @_locked
    def map_width(self):
        return self._lib.lorvex_map_width(self._live())

    @_locked
    def map_height(self):
        return self._lib.lorvex_map_height(self._live())

    @_locked
    def city_count(self):
        return self._lib.lorvex_city_count(self._live())

    def version(self):
        return self._lib.lorvex_version().decode("ascii")

    def version_number(self):
        """The library's version packed as major * 1000000 + minor * 1000 + patch."""
        return self._lib.lorvex_version_number()

    @_locked
    def set_default_settings_file(self, use):
        """When true, builds apply kessett/default.kst of the working folder to the fields
        the builder does not hold, as the window does for a person (off by default)."""
        self._lib.lorvex_set_default_settings_file(self._live(), 1 if use else 0)

    @_locked
    def set_settings_folder(self, folder):
        """The folder the window's Load and Save Settings buttons open (None: kessett)."""
        self._check(self._lib.lorvex_set_settings_folder(
            self._live(), None if folder is None else os.fsencode(folder)))

    @_locked
    def load_settings_text(self, text):
        """Loads the text of a settings file, as load_settings loads the file."""
        data = text.encode("latin-1") if isinstance(text, str) else bytes(text)
        self._check(self._lib.lorvex_load_settings_text(self._live(), data, len(data)))

    @_locked
    def settings_text(self):
        """Every field as the text save_settings writes."""
        handle = self._live()
        needed = self._check(self._lib.lorvex_save_settings_text(handle, None, 0))
        buffer = ctypes.create_string_buffer(needed)
        self._check(self._lib.lorvex_save_settings_text(handle, buffer, needed))
        return buffer.value.decode("latin-1")

    @_locked
    def last_seed(self):
        """The seed the last build used (0 before any)."""
        return self._lib.lorvex_last_seed(self._live())

    @_locked
    def build_headless(self, width, height, wrap=False, seed=None, yes=False, on_progress=None):
        """Builds without a screen, as if Build were pressed at once, with the builder's
        parameters; True when a world was built, LorvexError otherwise (as ``build``).
        ``yes`` answers the window's questions (the land warning). A seed may be a world's
        key ("42-1873"). The headless setting of set_headless_build is kept."""
        handle = self._live()
        if seed is not None:
            self.set_seed(seed)
        self._lib.lorvex_set_headless_build(handle, 1)
        self._lib.lorvex_set_question_answer(handle, 1 if yes else 0)
        try:
            return self.build(width, height, wrap, on_progress)
        finally:
            self._lib.lorvex_set_headless_build(handle, 1 if self._headless else 0)

    # The world in bulk: one call of the library for each kind of value.

    def _copy(self, function, element, count):
        buffer = (element * count)()
        got = getattr(self._lib, function)(self._live(), buffer, count)
        if got != count:
            raise LorvexError(f"{function} answered {got} for a world of {count}", got)
        return buffer

    def _copy_array(self, function, dtype):
        numpy = _numpy()
        if numpy is None:
            raise LorvexError("numpy is not installed")
        array = numpy.empty((self.map_height(), self.map_width()), dtype=dtype)
        got = getattr(self._lib, function)(self._live(), array.ctypes.data, array.size)
        if got != array.size:
            raise LorvexError(f"{function} answered {got} for a world of {array.size}", got)
        return array

    @_locked
    def terrain_rows(self):
        """The last world as rows of letters, row 0 (the top) first."""
        width, height = self.map_width(), self.map_height()
        letters = self._copy("lorvex_copy_terrain", ctypes.c_char, width * height).raw.decode("latin-1")
        return [letters[y * width:(y + 1) * width] for y in range(height)]

    @_locked
    def cities(self):
        """The cities of the last world in the host's ordinal order (a column-major scan),
        each {"x", "y", "production", "specialty", "owner"}."""
        return [{"x": c.x, "y": c.y, "production": c.production, "specialty": c.specialty,
                 "owner": c.owner}
                for c in self._copy("lorvex_copy_cities", LorvexCity, self.city_count())]

    @_locked
    def masses(self):
        """The land masses of the last world, each {"sizeClass", "squares"}."""
        handle, size_class, squares = self._live(), ctypes.c_int(), ctypes.c_int32()
        masses = []
        for i in range(self._lib.lorvex_mass_count(handle)):
            self._check(self._lib.lorvex_get_mass(handle, i, ctypes.byref(size_class),
                                                  ctypes.byref(squares)))
            masses.append({"sizeClass": size_class.value, "squares": squares.value})
        return masses

    @_locked
    def world(self):
        """The last world built, or None before any. Its numpy arrays are copied from the
        library when asked for, or when this builder builds again or closes."""
        if self.map_width() == 0:
            return None
        world = World(self.map_width(), self.map_height(), self._wrap, self.last_seed(),
                      self.terrain_rows(), self.cities(), self.masses(), self.last_key())
        self._let_go_of_world()
        # Without numpy there are no arrays to copy later: the world holds nothing of ours.
        if _numpy() is not None:
            world._builder = self
            self._world = weakref.ref(world)
        return world


def build_world(width, height, wrap=False, seed=None, params=None, settings=None,
                library=None, yes=False, on_progress=None):
    """A headless build in one call: the settings file loaded, then each of ``params``
    ({"Name(Index)": value}) set in its order, then the world built. Answers the World.
    Raises LorvexError, with the library's reason, when no world was built (a size outside
    1 .. 4096, the land warning answered No, no algorithm ...), a settings file cannot be
    read or a field cannot be set. ``on_progress`` as for ``Builder.build``."""
    builder = Builder(library)
    try:
        if settings is not None:
            builder.load_settings(settings)
        for name, value in (params or {}).items():
            builder.set(name, value)
        builder.build_headless(width, height, wrap, seed, yes, on_progress)
    except BaseException:
        builder.close()
        raise
    return builder.world()


# The items of lorvex_parameter_info, in the order of lorvex.h.
_INFO_ITEMS = ("name", "page", "label", "meaning", "range", "default", "minimum", "maximum")


def _catalogue(lib):
    fields = []
    i = 0
    while lib.lorvex_parameter_info(i, 0) is not None:
        field = {item: lib.lorvex_parameter_info(i, number).decode("latin-1")
                 for number, item in enumerate(_INFO_ITEMS)}
        for bound in ("minimum", "maximum"):
            field[bound] = float(field[bound]) if field[bound] else None
        fields.append(field)
        i += 1
    return fields


def parameter_catalogue(library=None):
    """What each of the 103 fields means, in the window's order: a list of
    {"name": "txtLandMass(0)", "page", "label" (as the window shows it), "meaning",
    "range" (in words), "default" (as a settings file writes it), "minimum", "maximum"
    (the bounds the window holds it to, None where it sets none)}."""
    return _catalogue(load_library(library))
