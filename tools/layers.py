#!/usr/bin/env python3
"""Checks that the source folders include one another in one direction only.

Usage: tools/layers.py SRC_DIR FOLDER [FOLDER ...]

The FOLDERs are the folders of SRC_DIR from the bottom up: a file of a folder may include
headers of its own folder and of the folders named before it, never of one named after it.
Prints every include against that order and every folder of SRC_DIR the order leaves out,
then the count; the exit status is 1 when there is any, 0 otherwise.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]*"')


def check(src, order):
    rank = {folder: i for i, folder in enumerate(order)}
    against, missing = [], []
    for top in sorted(os.listdir(src)):
        if not os.path.isdir(os.path.join(src, top)):
            continue
        if top not in rank:
            missing.append(top)
            continue
        for root, _, files in os.walk(os.path.join(src, top)):
            for name in sorted(files):
                path = os.path.join(root, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    for line_no, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if m and rank.get(m.group(1), -1) > rank[top]:
                            against.append(f'{os.path.relpath(path, src)}:{line_no}: '
                                           f'{top} includes {m.group(1)}')
    return against, missing


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip())
        return 2
    src, order = argv[1], argv[2:]
    if not os.path.isdir(src):
        print(f'{src}: no such folder')
        return 2
    against, missing = check(src, order)
    for line in against:
        print(line)
    for folder in missing:
        print(f'{folder}: a folder of {src} that the order does not name')
    print(f'{len(against)} includes against the order')
    return 1 if against or missing else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
