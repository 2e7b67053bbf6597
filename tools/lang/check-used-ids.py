#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Finds text ids the sources and model files use that tools/lang/texts.tsv lacks.

Looks for GetLanText(<number>...) and text::k<Name> in src/, and for the name and func_desc
attributes of <key> elements in data/device/*.xml. Prints each unknown use with its place
and exits with status 1 when there is any; add the missing rows to the table and run
tools/make-lan.py.
"""

import argparse
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
TABLE = ROOT / "tools" / "lang" / "texts.tsv"


def main():
    argparse.ArgumentParser(description=__doc__.splitlines()[0]).parse_args()
    ids, names = set(), set()
    for line in TABLE.read_text(encoding="utf-8").splitlines()[1:]:
        fields = line.split("\t")
        if len(fields) > 2 and fields[0].isdigit():
            ids.add(int(fields[0]))
            names.add("k" + fields[1])
    unknown = []
    literal = re.compile(r"GetLanText\(\s*(\d+)")
    constant = re.compile(r"text::(k[A-Za-z0-9_]+)")
    for path in sorted((ROOT / "src").rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.name == "UsedTextIds.h":
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            where = f"{path.relative_to(ROOT)}:{number}"
            unknown += [f"{where}: text {m}" for m in literal.findall(line) if int(m) not in ids]
            unknown += [f"{where}: {m}" for m in constant.findall(line)
                        if m not in names and m != "kUsedTextIds"]
    key = re.compile(r"<key\b[^>]*>")
    attribute = re.compile(r"\b(?:name|func_desc)=\"(\d+)\"")
    for path in sorted((ROOT / "data" / "device").glob("*.xml")):
        for element in key.findall(path.read_text(encoding="utf-8", errors="replace")):
            unknown += [f"{path.relative_to(ROOT)}: text {m} in {element}"
                        for m in attribute.findall(element) if int(m) not in ids]
    for line in unknown:
        print(line)
    sys.exit(1 if unknown else 0)


if __name__ == "__main__":
    main()
