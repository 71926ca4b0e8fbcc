#!/usr/bin/env python3
"""Checks the assembled application folder.

Usage: check_bundle.py APP_DIR RESOURCES_DIR

Info.plist holds the bundle's identity, the string tables are the sources' copies, every
drawn image exists at 1x and 2x with the right pixel size, and the default tone is a
16-bit mono CAF that is audible, unclipped and short.
"""
import plistlib
import re
import struct
import sys
from pathlib import Path

LANGS = ["en", "zh-Hans", "zh-Hant"]
EXPECTED_IMAGES = [
    "home32", "category32", "my32", "setting32",
    "new32", "hot32", "gift32", "boys32", "girls32", "classic32", "funny32", "apple32",
    "boy64", "girl64", "funny64", "classic64", "apple64", "fg29", "wt57",
]


def check_info(app, problems):
    path = app / "Info.plist"
    try:
        info = plistlib.loads(path.read_bytes())
    except (OSError, plistlib.InvalidFileException, ValueError) as e:
        problems.append(f"{path}: unreadable property list ({e})")
        return
    expected = {"CFBundleDisplayName": "Chimora Free", "CFBundleName": "Chimora",
                "CFBundleExecutable": "Chimora"}
    for key, value in expected.items():
        if info.get(key) != value:
            problems.append(f"Info.plist: {key} is {info.get(key)!r}, expected {value!r}")
    for key in ["CFBundleIdentifier", "CFBundleVersion", "CFBundleShortVersionString"]:
        if not isinstance(info.get(key), str) or not info[key]:
            problems.append(f"Info.plist: {key} missing or empty")
    version = info.get("CFBundleVersion", "")
    if isinstance(version, str) and not re.fullmatch(r"\d+(\.\d+)*", version):
        problems.append(f"Info.plist: CFBundleVersion {version!r} is not a dotted number")


def check_tables(app, resources, problems):
    for lang in LANGS:
        built = app / f"{lang}.lproj" / "Localizable.strings"
        source = resources / f"{lang}.lproj" / "Localizable.strings"
        if not built.is_file():
            problems.append(f"{built}: missing")
        elif built.read_bytes() != source.read_bytes():
            problems.append(f"{built}: differs from its source")


def png_info(path):
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    return width, height, depth, colour


def svg_size(path):
    m = re.search(r'<svg[^>]*\swidth="(\d+)"[^>]*\sheight="(\d+)"', path.read_text())
    return (int(m.group(1)), int(m.group(2))) if m else None


def check_images(app, resources, problems):
    sources = {p.stem: p for p in (resources / "images").glob("*.svg")}
    for name in EXPECTED_IMAGES:
        if name not in sources:
            problems.append(f"image {name}: no source drawing")
    for name, svg in sorted(sources.items()):
        size = svg_size(svg)
        if size is None:
            problems.append(f"{svg}: no width and height")
            continue
        for scale, suffix in [(1, ""), (2, "@2x")]:
            png = app / f"{name}{suffix}.png"
            if not png.is_file():
                problems.append(f"{png}: missing")
                continue
            info = png_info(png)
            if info is None:
                problems.append(f"{png}: not a PNG")
                continue
            width, height, _, colour = info
            if (width, height) != (size[0] * scale, size[1] * scale):
                problems.append(f"{png}: {width}x{height}, expected {size[0] * scale}x{size[1] * scale}")
            if colour != 6:
                problems.append(f"{png}: no alpha channel (colour type {colour})")


def caf_chunks(data):
    if data[:4] != b"caff" or struct.unpack(">H", data[4:6])[0] != 1:
        return None
    chunks, pos = {}, 8
    while pos + 12 <= len(data):
        kind = data[pos:pos + 4]
        size = struct.unpack(">q", data[pos + 4:pos + 12])[0]
        body_start = pos + 12
        if size < 0:  # a data chunk of unknown size runs to the end
            size = len(data) - body_start
        if body_start + size > len(data):
            return None  # truncated
        chunks[kind] = data[body_start:body_start + size]
        pos = body_start + size
    return chunks


def check_tone(app, problems):
    path = app / "默认.caf"
    if not path.is_file():
        problems.append(f"{path}: missing")
        return
    chunks = caf_chunks(path.read_bytes())
    if chunks is None or b"desc" not in chunks or b"data" not in chunks:
        problems.append(f"{path}: not a CAF file with desc and data chunks")
        return
    rate, fmt, flags, bytes_per_packet, frames_per_packet, channels, bits = struct.unpack(
        ">d4sIIIII", chunks[b"desc"][:32])
    if fmt != b"lpcm" or channels != 1 or bits != 16 or bytes_per_packet != 2:
        problems.append(f"{path}: format {fmt!r}, {channels} channel(s), {bits} bits; expected 16-bit mono lpcm")
        return
    body = chunks[b"data"][4:]  # after the edit count
    endian = "<" if flags & 2 else ">"
    count = len(body) // 2
    samples = struct.unpack(f"{endian}{count}h", body[:count * 2])
    seconds = count / rate if rate else 0
    if not 0.3 <= seconds <= 2.0:
        problems.append(f"{path}: lasts {seconds:.2f} s")
    peak = max((abs(s) for s in samples), default=0)
    if peak < 8000:
        problems.append(f"{path}: too quiet (peak {peak})")
    if peak >= 32767:
        problems.append(f"{path}: clipped")
    if samples and abs(samples[-1]) > 200:
        problems.append(f"{path}: ends on a click (last sample {samples[-1]})")


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    app, resources = Path(argv[1]), Path(argv[2])
    problems = []
    if not app.is_dir():
        problems.append(f"{app}: not built")
    else:
        check_info(app, problems)
        check_tables(app, resources, problems)
        check_images(app, resources, problems)
        check_tone(app, problems)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1
    print(f"{app}: complete")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
