#!/usr/bin/env python3
"""Drives chimora_testscreen through automation scripts and checks the dumps and shots."""
import json
import os
import struct
import subprocess
import sys
import tempfile

BINARY = os.path.abspath(sys.argv[1])
failures = []


def check(cond, message):
    if not cond:
        failures.append(message)
    return cond


def run(args, script, cwd, env=None):
    return subprocess.run([BINARY, *args], input=script, text=True, capture_output=True,
                          cwd=cwd, timeout=90, env={**os.environ, **(env or {})})


def visible_nodes(node, out=None):
    """Every node that is not hidden (with its visible descendants)."""
    out = [] if out is None else out
    if node.get("hidden"):
        return out
    out.append(node)
    for child in node.get("children", []):
        visible_nodes(child, out)
    return out


def all_visible(dump):
    nodes = []
    for window in dump["windows"]:
        visible_nodes(window, nodes)
    return nodes


def texts(dump):
    return [n["text"] for n in all_visible(dump) if isinstance(n.get("text"), str)]


def label_screen(dump, text):
    for n in all_visible(dump):
        if n.get("class") == "UILabel" and n.get("text") == text:
            return n["screen"]
    return None


def inside(rect, x, y):
    return rect[0] <= x < rect[0] + rect[2] and rect[1] <= y < rect[1] + rect[3]


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        device = os.path.join(tmp, "device")
        base = ["--device-root", device, "--headless", "--now", "2026-05-10T15:00:00"]
        script = f"""# list, scroll, open a row, press its button
idle 3000
dump {tmp}/list.json
shot {tmp}/list.png
drag 160 450 160 150 400
idle 1000
dump {tmp}/scrolled.json
tap 160 300
idle 1000
dump {tmp}/detail.json
tap 160 286
dump {tmp}/after.json
shot {tmp}/detail.png
quit
tap 160 286
"""
        r = run(base + ["--script", "-"], script, tmp)
        check(r.returncode == 0, f"script run exited {r.returncode}: {r.stderr}")
        if r.returncode != 0:
            return

        listing = load(f"{tmp}/list.json")
        check(listing["screen"] == {"width": 320, "height": 568, "scale": 2},
              f"screen: {listing['screen']}")
        check(len(listing["windows"]) == 1, "one window")
        classes = {n["class"] for n in all_visible(listing)}
        for cls in ("UIWindow", "UINavigationBar", "UITableView", "UITableViewCell", "UITabBar"):
            check(cls in classes, f"{cls} on the list screen (have {sorted(classes)})")
        shown = texts(listing)
        check("Tone 1" in shown and "11 KB" in shown, f"first row shown: {shown[:12]}")
        check("Tone 40" not in shown, "the last row is not laid out before scrolling")
        for key in ("urls", "commands", "posts", "sounds", "log"):
            check(listing["host"].get(key) == [], f"host.{key} empty at start")

        scrolled = load(f"{tmp}/scrolled.json")
        before = label_screen(listing, "Tone 3")
        after = label_screen(scrolled, "Tone 3")
        check(before is not None, "Tone 3 visible before the drag")
        check(after is None or (before and after[1] < before[1] - 100),
              f"drag scrolled the table up (Tone 3 at {before} then {after})")
        # The row now under (160, 300) is the one the tap opens.
        target = None
        for n in all_visible(scrolled):
            if n.get("class") == "UITableViewCell" and inside(n["screen"], 160, 300):
                labels = [c.get("text") for c in visible_nodes(n)
                          if c.get("class") == "UILabel" and str(c.get("text", "")).startswith("Tone ")]
                target = labels[0] if labels else None
        check(target is not None and target not in ("Tone 1", "Tone 2", "Tone 3"),
              f"a later row under the finger after scrolling: {target}")

        detail = load(f"{tmp}/detail.json")
        labels = [n for n in all_visible(detail)
                  if n.get("class") == "UILabel" and n.get("tag") == 1]
        check(len(labels) == 1 and labels[0].get("text") == target,
              f"pushed screen shows {target}: {[l.get('text') for l in labels]}")
        buttons = [n for n in all_visible(detail)
                   if n.get("class") == "UIButton" and n.get("tag") == 2]
        check(len(buttons) == 1 and buttons[0].get("title") == "Set As Current Tone?",
              f"pushed screen has its button: {buttons}")
        if buttons:
            check(inside(buttons[0]["screen"], 160, 286), f"button at {buttons[0]['screen']}")
        check(target in texts(detail) or any(n.get("title") == target for n in all_visible(detail)),
              "navigation bar titles the pushed screen")

        done = load(f"{tmp}/after.json")
        labels = [n for n in all_visible(done) if n.get("class") == "UILabel" and n.get("tag") == 1]
        check(labels and labels[0].get("text") == "Current Selected", "button changed the label")
        check(done["host"]["commands"] == ["killall SpringBoard"],
              f"command recorded once (the tap after quit never ran): {done['host']['commands']}")

        for shot in ("list.png", "detail.png"):
            check(png_size(f"{tmp}/{shot}") == (640, 1136), f"{shot} is 640x1136")

        # dump to standard output, and a bad line stops the script with its number.
        r = run(base + ["--script", "-"], "idle 2000\ndump -\nfrobnicate 1\ndump -\n", tmp)
        check(r.returncode != 0, "a bad line fails the run")
        check("line 3" in r.stderr, f"the bad line is named: {r.stderr!r}")
        dumps = [line for line in r.stdout.splitlines() if line.startswith("{")]
        check(len(dumps) == 1, f"only the dump before the bad line ran: {len(dumps)}")
        if dumps:
            check(json.loads(dumps[0])["screen"]["width"] == 320, "stdout dump parses")

        # A script file, and options the device honours.
        path = os.path.join(tmp, "small.script")
        with open(path, "w") as f:
            f.write(f"idle 2000\ndump {tmp}/small.json\n")
        r = run(["--device-root", device, "--headless", "--screen", "375x667",
                 "--script", path], "", tmp)
        check(r.returncode == 0, f"script file run: {r.stderr}")
        if r.returncode == 0:
            small = load(f"{tmp}/small.json")
            check(small["screen"]["width"] == 375 and small["screen"]["height"] == 667,
                  f"--screen reaches the dump: {small['screen']}")

        # The same through the window (SDL's offscreen driver): touches reach the app.
        r = run(["--device-root", device, "--script", "-"], "idle 2000\ntap 160 100\nidle 1000\ndump -\n",
                tmp, {"SDL_VIDEODRIVER": "offscreen"})
        check(r.returncode == 0 and "no window" not in r.stderr, f"window run: {r.stderr!r}")
        if r.returncode == 0:
            windowed = json.loads(r.stdout)
            labels = [n.get("text") for n in all_visible(windowed)
                      if n.get("class") == "UILabel" and n.get("tag") == 1]
            check(labels == ["Tone 1"], f"window run opened the first row: {labels}")

        r = run(["--headless", "--script", os.path.join(tmp, "missing.script"),
                 "--device-root", device], "", tmp)
        check(r.returncode != 0, "a missing script file fails")
        r = run(["--bogus"], "", tmp)
        check(r.returncode != 0 and "bogus" in r.stderr, f"unknown option refused: {r.stderr!r}")
        r = run(["device", "init", "--messenger", "--device-root", os.path.join(tmp, "d2")], "", tmp)
        check(r.returncode == 0 and "MicroMessenger.app" in r.stdout,
              f"device init makes a messenger: {r.stdout!r} {r.stderr!r}")


main()
if failures:
    for f in failures:
        print("FAIL:", f)
    sys.exit(1)
print("e2e test screen: all checks passed")
