#!/usr/bin/env python3
"""Writes the example project again into a scratch folder and compares every
generated file with the one kept beside the sources. Exits with 77 (skipped)
when SDCC is not installed, 1 when a file differs or is missing."""

import argparse
import filecmp
import os
import shutil
import sys

from make_example import EXAMPLE_DIR, generate


def generated_files(folder):
    found = []
    for root, _, names in os.walk(folder):
        for name in names:
            found.append(os.path.relpath(os.path.join(root, name), folder))
    return sorted(found)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sdcc", default="")
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    sdcc = args.sdcc or shutil.which("sdcc")
    if not sdcc or not os.path.exists(sdcc):
        print("SDCC is not installed: the example project is not regenerated")
        return 77
    shutil.rmtree(args.scratch, ignore_errors=True)
    os.makedirs(args.scratch)
    generate(sdcc, args.scratch)
    differing = []
    for relative in generated_files(args.scratch):
        kept = os.path.join(EXAMPLE_DIR, relative)
        if not os.path.isfile(kept) or not filecmp.cmp(kept, os.path.join(args.scratch, relative),
                                                       shallow=False):
            differing.append(relative)
    for relative in differing:
        print("differs from the kept file: %s" % relative)
    print("%d files generated, %d differ" % (len(generated_files(args.scratch)), len(differing)))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
