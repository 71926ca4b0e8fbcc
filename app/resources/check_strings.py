#!/usr/bin/env python3
"""Checks the localized string tables against each other.

Usage: check_strings.py RESOURCES_DIR

Every table must parse, hold the same keys, keep the format specifiers of its keys,
and (for English) map each key to itself.
"""
import re
import sys
from pathlib import Path

LANGS = ["en", "zh-Hans", "zh-Hant"]
# Pieces that are inserted unquoted into date patterns: a letter would become a field.
DATE_PATTERN_KEYS = {"year", "month", "day"}
# Names that read the same in every language.
SAME_IN_EVERY_LANGUAGE = {"iPhone", "Chimora Pro"}
SPECIFIER = re.compile(r"%(?:\d+\$)?[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|q|z|t|j)?[@dDiuUxXoOfeEgGcCsSpaA%]")


class ParseError(Exception):
    pass


def parse_strings(text):
    """Parses `"key" = "value";` pairs with /* */ and // comments; answers (key, value) pairs."""
    pairs = []
    i, n = 0, len(text)
    line = 1

    def skip():
        nonlocal i, line
        while i < n:
            if text[i] in " \t\r\n":
                line += text[i] == "\n"
                i += 1
            elif text.startswith("/*", i):
                end = text.find("*/", i + 2)
                if end < 0:
                    raise ParseError(f"line {line}: unterminated comment")
                line += text.count("\n", i, end)
                i = end + 2
            elif text.startswith("//", i):
                end = text.find("\n", i)
                i = n if end < 0 else end
            else:
                return

    def quoted():
        nonlocal i, line
        if i >= n or text[i] != '"':
            raise ParseError(f"line {line}: expected a quoted string")
        i += 1
        out = []
        while True:
            if i >= n:
                raise ParseError(f"line {line}: unterminated string")
            c = text[i]
            if c == '"':
                i += 1
                return "".join(out)
            if c == "\n":
                line += 1
            if c == "\\":
                if i + 1 >= n:
                    raise ParseError(f"line {line}: dangling escape")
                e = text[i + 1]
                if e in "uU":
                    digits = text[i + 2:i + 6]
                    if not re.fullmatch(r"[0-9a-fA-F]{4}", digits):
                        raise ParseError(f"line {line}: bad \\u escape")
                    out.append(chr(int(digits, 16)))
                    i += 6
                    continue
                mapping = {"n": "\n", "t": "\t", "r": "\r", '"': '"', "\\": "\\", "'": "'"}
                if e not in mapping:
                    raise ParseError(f"line {line}: unknown escape \\{e}")
                out.append(mapping[e])
                i += 2
                continue
            out.append(c)
            i += 1

    def expect(ch):
        nonlocal i
        skip()
        if i >= n or text[i] != ch:
            raise ParseError(f"line {line}: expected '{ch}'")
        i += 1

    while True:
        skip()
        if i >= n:
            return pairs
        key = quoted()
        expect("=")
        skip()
        value = quoted()
        expect(";")
        pairs.append((key, value))


def specifiers(s):
    return sorted(m.group(0) for m in SPECIFIER.finditer(s) if m.group(0) != "%%")


def check(resources):
    problems = []
    tables = {}
    for lang in LANGS:
        path = resources / f"{lang}.lproj" / "Localizable.strings"
        try:
            raw = path.read_bytes()
        except OSError as e:
            problems.append(f"{path}: cannot read ({e.strerror})")
            continue
        try:
            text = raw.decode("utf-8")
        except UnicodeDecodeError:
            problems.append(f"{path}: not UTF-8")
            continue
        try:
            pairs = parse_strings(text)
        except ParseError as e:
            problems.append(f"{path}: {e}")
            continue
        table = {}
        for key, value in pairs:
            if key in table:
                problems.append(f"{lang}: key {key!r} appears twice")
            table[key] = value
        if not table:
            problems.append(f"{lang}: no entries")
        tables[lang] = table

    if "en" in tables:
        en = tables["en"]
        for key, value in en.items():
            if not key.isascii():
                problems.append(f"en: key {key!r} is not English text")
            if key not in DATE_PATTERN_KEYS and value != key:
                problems.append(f"en: {key!r} maps to {value!r}, not to itself")

    keys = set().union(*(t.keys() for t in tables.values())) if tables else set()
    for lang, table in tables.items():
        for key in sorted(keys - table.keys()):
            problems.append(f"{lang}: lacks key {key!r}")
        for key, value in table.items():
            if key in DATE_PATTERN_KEYS:
                if re.search(r"[A-Za-z']", value):
                    problems.append(f"{lang}: date piece {key!r} = {value!r} holds a pattern letter")
                continue
            if not value:
                problems.append(f"{lang}: {key!r} has an empty value")
            if specifiers(value) != specifiers(key):
                problems.append(
                    f"{lang}: {key!r} has specifiers {specifiers(value)}, key has {specifiers(key)}")
            if lang != "en" and value == key and key not in SAME_IN_EVERY_LANGUAGE:
                problems.append(f"{lang}: {key!r} is not translated")
    return problems, tables


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    problems, tables = check(Path(argv[1]))
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1
    print(f"{len(tables)} tables, {len(tables['en'])} keys each: consistent")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
