#!/usr/bin/env python3
"""The tone list end to end: the reference catalogue on loopback, a device with a messenger,
and chimora driven line by line through its automation script, checked from its dumps.

usage: check_tonelist.py CHIMORA CHIMORA_CATALOGUE
"""
import glob
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

CHIMORA = os.path.abspath(sys.argv[1])
CATALOGUE = os.path.abspath(sys.argv[2])
failures = []


def check(cond, message):
    if not cond:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr)
    return cond


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def fetch(url):
    with urllib.request.urlopen(url, timeout=10) as reply:
        return reply.read()


def visible(node, out):
    if node.get("hidden") or node.get("alpha", 1) <= 0:
        return out
    out.append(node)
    for child in node.get("children", []):
        visible(child, out)
    return out


def nodes(dump):
    out = []
    for window in dump["windows"]:
        visible(window, out)
    return out


def centre(rect):
    return rect[0] + rect[2] / 2, rect[1] + rect[3] / 2


class App:
    """chimora reading its script from a pipe: one command written, its output read."""

    def __init__(self, args):
        self.proc = subprocess.Popen([CHIMORA, *args, "--headless", "--script", "-"],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     text=True, env={**os.environ, "SDL_VIDEODRIVER": "offscreen",
                                                     "SDL_AUDIODRIVER": "dummy"})

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def dump(self):
        self.send("dump -")
        line = self.proc.stdout.readline()
        if not line:
            raise RuntimeError("chimora ended early (exit %s)" % self.proc.poll())
        return json.loads(line)

    def quit(self):
        try:
            self.send("quit")
            self.proc.stdin.close()
        except BrokenPipeError:
            pass
        return self.proc.wait(timeout=30)


def rows(dump):
    """Tone rows in view: {number: (name text, button node)} from the labels and buttons."""
    labels = [n for n in nodes(dump) if n.get("class") == "UILabel"]
    buttons = [n for n in nodes(dump) if n.get("class") == "TaggedRowButton"]
    out = {}
    for label in labels:
        text = label.get("text") or ""
        head = text.split(". ", 1)[0]
        if not head.isdigit() or ". " not in text:
            continue
        top = label["screen"][1]
        # The row's button sits 20 pt below its name label's top, in the same row.
        mates = [b for b in buttons if 0 <= b["screen"][1] - top < 40]
        out[int(head)] = (text.split(". ", 1)[1].strip(), mates[0] if mates else None)
    return out


def table_area(dump):
    for n in nodes(dump):
        if n.get("class") == "UITableView":
            return n["screen"]
    return [0, 64, 320, 455]


def fully_in(rect, area):
    return rect[1] >= area[1] and rect[1] + rect[3] <= area[1] + area[3]


def main():
    work = tempfile.mkdtemp(prefix="chimora-e2e-tonelist-")
    db = os.path.join(work, "catalogue.db")
    device = os.path.join(work, "device")
    port = free_port()
    base = "http://127.0.0.1:%d/" % port
    subprocess.run([CATALOGUE, "seed", "--db", db, "--seed", "7"], check=True,
                   capture_output=True, timeout=120)
    service = subprocess.Popen([CATALOGUE, "serve", "--db", db, "--port", str(port)],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    app = None
    try:
        for _ in range(100):
            try:
                fetch(base)
                break
            except OSError:
                time.sleep(0.1)
        subprocess.run([CHIMORA, "device", "init", "--messenger", "--device-root", device],
                       check=True, capture_output=True, timeout=60)
        page0 = json.loads(fetch(base + "api/get_tones.php?pageIndex=0&pageSize=20&type=0"))
        page1 = json.loads(fetch(base + "api/get_tones.php?pageIndex=1&pageSize=20&type=0"))
        names = [item["name"] for item in page0["items"] + page1["items"]]
        check(len(page0["items"]) == 20 and page0["hasMore"], "the catalogue has a second page")

        app = App(["--device-root", device, "--base-url", base,
                   "--report-url", base + "report/"])
        app.send("idle 15000")
        dump = app.dump()
        area = table_area(dump)
        seen = {}
        seen.update(rows(dump))
        check(1 in seen, "the first row shows after launch: %s" % sorted(seen))
        strip = [n.get("text", "") for n in nodes(dump)
                 if n.get("class") == "UILabel" and n.get("text", "").startswith("  Last update: ")]
        check(len(strip) == 1, "the update strip shows above the rows")

        # Scroll down until row 20 shows; the service is held still before the more row can
        # come into view, so the more row is seen while its page is on its way.
        service.send_signal(signal.SIGSTOP)
        stopped = True
        loading = False
        for _ in range(12):
            app.send("drag 160 400 160 200 400")
            app.send("wait 300")
            dump = app.dump()
            seen.update(rows(dump))
            texts = [n.get("text") for n in nodes(dump) if n.get("class") == "UILabel"]
            if "Loading..." in texts:
                loading = True
                break
        check(all(i in seen for i in range(1, 21)), "rows 1 to 20 were seen: %s" % sorted(seen))
        check(not any(i > 20 for i in seen), "nothing beyond row 20 before page 1")
        check(loading, "the more row shows 'Loading...' below row 20")
        for number in range(1, 21):
            if number in seen:
                check(seen[number][0] + ".caf" == names[number - 1] or
                      seen[number][0] == names[number - 1],
                      "row %d shows %r (service: %r)" % (number, seen[number][0], names[number - 1]))

        service.send_signal(signal.SIGCONT)
        stopped = False
        app.send("idle 15000")
        for _ in range(4):
            app.send("drag 160 400 160 200 400")
            app.send("idle 5000")
            dump = app.dump()
            seen.update(rows(dump))
        check(any(21 <= i <= 40 for i in seen), "page 1 rows appear: %s" % sorted(seen))

        # A row in view whose tone is not on the device yet.
        target = None
        for number, (name, button) in sorted(rows(dump).items()):
            if button and button.get("title") == "Download" and fully_in(button["screen"], area):
                target = (number, name, button)
                break
        if not check(target is not None, "a row offers Download"):
            return
        number, name, button = target
        x, y = centre(button["screen"])
        app.send("tap %d %d" % (x, y))
        app.send("idle 15000")
        dump = app.dump()
        after = rows(dump).get(number)
        check(after and after[1] and after[1].get("title") == "Set As Current Tone?",
              "row %d reads 'Set As Current Tone?' after its download: %s" %
              (number, after and after[1] and after[1].get("title")))
        tone_name = names[number - 1]
        downloaded = os.path.join(device, "var/mobile/Documents/tones", tone_name)
        check(os.path.isfile(downloaded), "the tone file is in the tones folder")

        app.send("tap %d %d" % (x, y))
        app.send("idle 5000")
        dump = app.dump()
        after = rows(dump).get(number)
        check(after and after[1] and after[1].get("title") == "Current Selected",
              "row %d reads 'Current Selected'" % number)
        alerts = [n for n in nodes(dump) if n.get("class") == "UIAlertView"]
        check(len(alerts) == 1 and alerts[0].get("message") ==
              "Respring your device to make the selection take effect?",
              "the respring alert shows: %s" % [a.get("message") for a in alerts])
        respring = [n for n in nodes(dump)
                    if n.get("title") == "Respring now" and "Button" in n.get("class", "")]
        if check(len(respring) == 1, "the alert offers 'Respring now'"):
            rx, ry = centre(respring[0]["screen"])
            app.send("tap %d %d" % (rx, ry))
            app.send("idle 5000")
            dump = app.dump()
            check("killall SpringBoard" in dump["host"]["commands"],
                  "the host records the respring: %s" % dump["host"]["commands"])
            check(not [n for n in nodes(dump) if n.get("class") == "UIAlertView"],
                  "the alert is gone")

        tone = None
        for item in page0["items"] + page1["items"]:
            if item["name"] == tone_name:
                tone = fetch(item["downloadURL"])
        in_caf = glob.glob(os.path.join(device, "var/mobile/Containers/Bundle/Application/*/"
                                                "MicroMessenger.app/in.caf"))
        if check(len(in_caf) == 1, "one messenger in.caf: %s" % in_caf):
            with open(in_caf[0], "rb") as f:
                check(f.read() == tone, "in.caf holds the tone's bytes")
        check(app.quit() == 0, "chimora ends cleanly")
        app = None
    finally:
        if app:
            app.proc.kill()
        try:
            service.send_signal(signal.SIGCONT)
        except ProcessLookupError:
            pass
        service.terminate()
        service.wait(timeout=30)
    if failures:
        print("%d failure(s); work folder kept: %s" % (len(failures), work), file=sys.stderr)
        sys.exit(1)
    print("tone list e2e: ok")


main()
