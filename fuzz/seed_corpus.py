#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

    fuzz/seed_corpus.py build/bin/lorvex

The command-line tool gives the window's parameter controls in control order (the lines of
a saved settings file) and their defaults. The build target's seeds encode parameter sets
in the byte stream that fuzz/fuzz_input.h reads; the settings target's seeds are settings
files, well-formed and broken.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def saved_settings(lorvex, *arguments):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([lorvex, *arguments, "--save", "out.kst"], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(folder, "out.kst"), "rb") as f:
            return f.read()


def controls_of(settings):
    """(name, index, value) of every parameter control, in control order."""
    out = []
    for line in settings.decode("latin-1").split("\r\n"):
        if not line:
            continue
        key, value = line.split(" = ", 1)
        name, index = key[:-1].split("(")
        out.append((name, int(index), value))
    return out


# --- The build target's byte stream (fuzz/fuzz_input.h) ---

def whole(value):  # FuzzInput::Range reads two bytes, high first
    return bytes([(value >> 8) & 0xFF, value & 0xFF])


def field_digits(text):  # FieldText mode 0: a typed text of digits
    return bytes([0]) + whole(len(text)) + bytes(int(d) for d in text)


def field_repeated(digit, length):  # FieldText mode 5: one digit repeated `length` times
    return bytes([5]) + whole(1) + bytes([digit]) + whole(length - 1)


def build_input(controls, width, height, wrap=False, watch=False, seed=1, change=None):
    data = whole(width - 1) + whole(height - 1) + bytes([(1 if wrap else 0) | (2 if watch else 0)])
    data += seed.to_bytes(8, "big")
    for name, index, value in controls:
        if change:
            value = change(name, index, value)
        if name.startswith("txt"):
            data += field_repeated(9, 1024) if value == "LONG9" else field_digits(value)
        elif name.startswith("chk"):
            data += bytes([int(value)])
        else:
            data += whole(int(value) + 1)
    return data


def largest(name, index, value):
    if name.startswith("txt"):
        return "LONG9"
    return "1" if name.startswith("chk") else "2"


def shapes_only(name, index, value):
    if name == "chkAlgorithm":
        return "1" if index == 2 else "0"
    return value


def even_spacing(name, index, value):
    if name == "chkLandPlace":
        return "1" if index == 0 else "0"
    return value


def many_small_masses(name, index, value):
    figures = {12: "40", 13: "60", 14: "3", 15: "9", 16: "0", 17: "1"}
    if name == "txtLandMass" and index in figures:
        return figures[index]
    return value


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    lorvex = os.path.abspath(sys.argv[1])
    default = saved_settings(lorvex, "settings")
    controls = controls_of(default)

    write("build", "default-64", build_input(controls, 64, 64, seed=7))
    write("build", "default-wrap-watch", build_input(controls, 40, 30, wrap=True, watch=True, seed=3))
    write("build", "one-square", build_input(controls, 1, 1, seed=5))
    write("build", "largest", build_input(controls, 6, 5, seed=11, change=largest))
    write("build", "shapes-only", build_input(controls, 64, 48, wrap=True, seed=13, change=shapes_only))
    write("build", "even-spacing", build_input(controls, 64, 64, seed=17, change=even_spacing))
    write("build", "many-small", build_input(controls, 50, 50, seed=19, change=many_small_masses))

    write("settings", "default.kst", default)
    write("settings", "recommended-300x200.kst",
          saved_settings(lorvex, "recommend", "--width", "300", "--height", "200", "--seed", "3"))
    write("settings", "changed.kst", saved_settings(
        lorvex, "settings",
        "--set", "chkLandEqual(1) = 1", "--set", "chkLandPlace(0) = 1", "--set", "chkLandPlace(2) = 1",
        "--set", "chkTerrainEqual(0) = 1", "--set", "cboPlacement(0) = 2", "--set", "cboPlace1Param2(0) = 1",
        "--set", "chkShape(5) = 2", "--set", "txtPlayerCity(0) = a(=)", "--set", "txtLandMass(0) = 9"))
    write("settings", "tied-before-hi.kst",
          b"chkTerrainEqual(0) = 1\r\ntxtTerrain(0) = 7\r\ntxtTerrain(1) = 30\r\n"
          b"chkLandEqual(1) = 1\r\ntxtLandMass(2) = 300\r\ntxtLandMass(3) = 900\r\n"
          b"txtLandMass(18) = 40\r\ntxtLandMass(19) = 10\r\n")
    write("settings", "broken.kst",
          b"nothing(0) = 5\r\n\r\ntxtLandMass 3\r\n(\r\n)(\r\n=\r\ntxtLandMass(0)\r\n"
          b"txtLandMass(x) = 9\r\ntxtLandMass(1) = -4\rtxtLandMass(2) = \ntxtCities(3) = 1e999\r\n"
          b"chkLandPlace(1) = 2\r\ncboPlacement(0) = 7\r\ntxtLandMass(2.5) = 12abc\r\n"
          b"txtAlgorithm(0) = 9999999999999999999999\r\ntxtShape(1) = .5e1")
    write("settings", "empty.kst", b"")


if __name__ == "__main__":
    main()
