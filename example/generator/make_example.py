#!/usr/bin/env python3
"""Builds the example program with SDCC and writes it out as a C51 project:
the project files, the image, both linker map forms, a compiler listing per C
module and the start-up source with its listing.

    make_example.py [--sdcc PATH] [--out FOLDER]

The sources are read from the folder above this script; the output goes to
that folder unless --out names another. The same SDCC gives the same files.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from c_listing_writer import write_c_listing
from map_writer import write_map
from m51_writer import write_m51
from program_model import build_program
from project_writer import write_project
from startup_listing_writer import write_startup_listing

EXAMPLE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT_NAME = "blinky"
# (module, source as on disk, source as the project file names it)
C_MODULES = [("main", "main.c", "Main.c"), ("delay", "src/delay.c", "Src\\Delay.c")]
HEADERS = ["src/delay.h"]
# SDCC's run-time start-up, assembled here so that its listing gets addresses.
STARTUP_SOURCES = ["crtstart", "crtxinit", "crtclear", "crtxclear", "crtpagesfr"]
COMPILE_FLAGS = ["-mmcs51", "--model-small", "--debug", "--nooverlay", "--fsigned-char"]


def run(command, folder):
    subprocess.run(command, cwd=folder, check=True, stdout=subprocess.DEVNULL)


def startup_source_dir(sdcc):
    """SDCC's run-time sources, from its library search path."""
    listing = subprocess.run([sdcc, "--print-search-dirs"], check=True, capture_output=True,
                             text=True).stdout.splitlines()
    if "libdir:" in listing:
        for line in listing[listing.index("libdir:") + 1:]:
            candidate = os.path.normpath(os.path.join(line.strip(), "..", "src", "mcs51"))
            if os.path.isfile(os.path.join(candidate, "crtstart.asm")):
                return candidate
    raise SystemExit("SDCC's start-up sources (crtstart.asm) were not found")


def build(sdcc, folder):
    """Compiles, assembles and links in `folder`."""
    assembler = os.path.join(os.path.dirname(shutil.which(sdcc) or sdcc), "sdas8051")
    if not os.path.exists(assembler):
        assembler = shutil.which("sdas8051") or "sdas8051"
    for path in [source for _, source, _ in C_MODULES] + HEADERS:
        os.makedirs(os.path.join(folder, os.path.dirname(path)), exist_ok=True)
        shutil.copyfile(os.path.join(EXAMPLE_DIR, path), os.path.join(folder, path))
    crt_dir = startup_source_dir(sdcc)
    for name in STARTUP_SOURCES:
        shutil.copyfile(os.path.join(crt_dir, name + ".asm"), os.path.join(folder, name + ".asm"))
        run([assembler, "-plosgffw", name + ".asm"], folder)
    for module, source, _ in C_MODULES:
        run([sdcc] + COMPILE_FLAGS + ["-c", source, "-o", module + ".rel"], folder)
    objects = [module + ".rel" for module, _, _ in C_MODULES]
    objects += [name + ".rel" for name in STARTUP_SOURCES]
    run([sdcc] + COMPILE_FLAGS[:3] + objects + ["-o", OUTPUT_NAME + ".ihx"], folder)


def startup_source(folder):
    """The start-up source (SDCC's run-time files one after another, in link
    order) and each listing's first line in it."""
    text = ""
    offsets = {}
    for name in STARTUP_SOURCES:
        with open(os.path.join(folder, name + ".asm"), encoding="latin-1") as source:
            lines = source.read().splitlines()
        offsets[os.path.join(folder, name + ".rst")] = text.count("\n")
        text += "\n".join(lines) + "\n"
    return text, offsets


def with_crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def write(out, relative, text, crlf=True):
    path = os.path.join(out, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="latin-1", newline="") as output:
        output.write(with_crlf(text) if crlf else text)


def generate(sdcc, out):
    with tempfile.TemporaryDirectory() as folder:
        build(sdcc, folder)
        startup_text, offsets = startup_source(folder)
        rst_files = [os.path.join(folder, name + ".rst") for name in STARTUP_SOURCES]
        program = build_program(folder, [(m, s) for m, s, _ in C_MODULES], rst_files, offsets,
                                 OUTPUT_NAME)
        with open(os.path.join(folder, OUTPUT_NAME + ".ihx")) as image:
            write(out, "obj/blinky.hex", image.read(), crlf=False)
        with open(os.path.join(folder, OUTPUT_NAME + ".cdb"), encoding="latin-1") as records:
            write(out, "obj/blinky.cdb", records.read(), crlf=False)
        invoked = "C:\\KEIL\\C51\\BIN\\BL51.EXE .\\Obj\\STARTUP.obj, %s TO .\\Obj\\Blinky" % (
            ", ".join(".\\Obj\\%s.obj" % m.name for m in program.modules))
        write(out, "startup.a51", startup_text)
        write(out, "lst/startup.lst", write_startup_listing(program, startup_text))
        write(out, "lst/blinky.m51", write_m51(program, invoked))
        write(out, "lst/blinky.map", write_map(program, invoked.replace("BL51", "LX51")))
        for module, source, _ in C_MODULES:
            with open(os.path.join(EXAMPLE_DIR, source), encoding="latin-1") as text:
                code = text.read()
            with open(os.path.join(folder, module + ".rst"), encoding="latin-1") as text:
                rst = text.read()
            item = next(m for m in program.modules if m.name == module)
            write(out, "lst/%s.lst" % module, write_c_listing(program, item, code, rst))
        files = [name for _, _, name in C_MODULES]
        write(out, "blinky.uv2", write_project(files, extended_map=False))
        write(out, "blinky_lx.uv2", write_project(files, extended_map=True))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sdcc", default="sdcc")
    parser.add_argument("--out", default=EXAMPLE_DIR)
    args = parser.parse_args()
    generate(args.sdcc, os.path.abspath(args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
