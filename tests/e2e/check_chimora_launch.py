#!/usr/bin/env python3
"""Launches `chimora` headless with a script and checks its dumps: the four-tab root with its
titles, images and colours; the online configuration asked for without waiting for it; and a
second launch on the same device, without network, that keeps what the first one left."""
import http.server
import json
import os
import plistlib
import subprocess
import sys
import tempfile
import threading
import time

BINARY = os.path.abspath(sys.argv[1])
failures = []

DARK = [23, 23, 34, 1]
HIGHLIGHT = [88, 162, 48, 1]
WHITE = [255, 255, 255, 1]


def check(cond, message):
    if not cond:
        failures.append(message)
    return cond


class ReportService(http.server.ThreadingHTTPServer):
    """Answers online_config.json only once the app's first dump is on disk, so a launch that
    waited for the reply could never have written it."""

    daemon_threads = True

    def __init__(self, dump_path, params):
        super().__init__(("127.0.0.1", 0), ReportHandler)
        self.dump_path = dump_path
        self.params = params
        self.requests = []
        self.dump_seen_before_reply = None

    def url(self):
        return f"http://127.0.0.1:{self.server_address[1]}/"


class ReportHandler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        server = self.server
        server.requests.append(self.path)
        if self.path == "/report/online_config.json":
            deadline = time.time() + 20
            while not os.path.exists(server.dump_path) and time.time() < deadline:
                time.sleep(0.05)
            server.dump_seen_before_reply = os.path.exists(server.dump_path)
            body = json.dumps(server.params).encode()
            self.send_response(200)
        else:
            body = b'{"error":"not found"}'
            self.send_response(404)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def run(args, script, cwd):
    return subprocess.run([BINARY, *args], input=script, text=True, capture_output=True,
                          cwd=cwd, timeout=90)


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def nodes(node, out=None):
    out = [] if out is None else out
    if node.get("hidden"):
        return out
    out.append(node)
    for child in node.get("children", []):
        nodes(child, out)
    return out


def visible(dump):
    out = []
    for window in dump["windows"]:
        nodes(window, out)
    return out


def first(dump, cls):
    for n in visible(dump):
        if n.get("class") == cls:
            return n
    return None


def tab_buttons(tab_bar):
    return [c for c in nodes(tab_bar)[1:] if "title" in c]


def check_root(dump, label, titles, system7):
    check(len(dump["windows"]) == 1, f"{label}: one window")
    window = dump["windows"][0]
    check(window.get("class") == "UIWindow", f"{label}: a UIWindow")
    check(window.get("frame") == [0, 0, 320, 568], f"{label}: window frame {window.get('frame')}")
    check(window.get("background") == WHITE, f"{label}: window background {window.get('background')}")

    bar = first(dump, "UITabBar")
    if not check(bar is not None, f"{label}: a tab bar on screen"):
        return
    check(bar.get("selectedIndex") == 0, f"{label}: tab 0 selected ({bar.get('selectedIndex')})")
    buttons = tab_buttons(bar)
    check([b.get("title") for b in buttons] == titles,
          f"{label}: tab titles {[b.get('title') for b in buttons]}")
    check([b.get("image") for b in buttons] == ["home32", "category32", "my32", "setting32"],
          f"{label}: tab images {[b.get('image') for b in buttons]}")
    check([b.get("selected") for b in buttons] == [True, False, False, False],
          f"{label}: selection {[b.get('selected') for b in buttons]}")
    if system7:
        check(bar.get("barTintColor") == DARK, f"{label}: tab bar background {bar.get('barTintColor')}")
        check(bar.get("tintColor") == HIGHLIGHT, f"{label}: tab bar tint {bar.get('tintColor')}")
        if buttons:
            check(buttons[0].get("titleColor") == HIGHLIGHT,
                  f"{label}: selected item colour {buttons[0].get('titleColor')}")
    else:
        check("barTintColor" not in bar, f"{label}: tab bar keeps its own background")
        check(bar.get("tintColor") == DARK, f"{label}: tab bar tint {bar.get('tintColor')}")

    nav = first(dump, "UINavigationBar")
    if not check(nav is not None, f"{label}: a navigation bar on screen"):
        return
    check(nav.get("title") == titles[0], f"{label}: home screen title {nav.get('title')}")
    if system7:
        check(nav.get("barStyle") == 1, f"{label}: home bar style {nav.get('barStyle')}")
        check(nav.get("tintColor") == WHITE, f"{label}: home bar tint {nav.get('tintColor')}")
        check(nav.get("barTintColor") == DARK, f"{label}: home bar background {nav.get('barTintColor')}")
    else:
        check(nav.get("barStyle") == 0, f"{label}: home bar keeps the default style")
        check(nav.get("tintColor") == DARK, f"{label}: home bar tint {nav.get('tintColor')}")
        check("barTintColor" not in nav, f"{label}: home bar keeps its own background")


def main():
    english = ["Home", "Categories", "My", "Setting"]
    with tempfile.TemporaryDirectory() as tmp:
        device = os.path.join(tmp, "device")
        launch_dump = os.path.join(tmp, "launch.json")
        params = {"UPID_SHARE_TEXT_EN": "Shared from the e2e service"}
        service = ReportService(launch_dump, params)
        threading.Thread(target=service.serve_forever, daemon=True).start()
        base = ["--device-root", device, "--headless", "--now", "2026-05-10T15:00:00"]
        urls = ["--base-url", service.url(), "--report-url", service.url() + "report/"]
        try:
            script = f"""wait 300
dump {launch_dump}
idle 15000
dump {tmp}/settled.json
quit
"""
            r = run(base + urls + ["--script", "-"], script, tmp)
        finally:
            service.shutdown()
        if not check(r.returncode == 0, f"first launch exited {r.returncode}: {r.stderr}"):
            return
        check_root(load(launch_dump), "first launch", english, system7=True)
        check(service.requests.count("/report/online_config.json") == 1,
              f"online configuration asked for once (requests: {service.requests})")
        check(service.dump_seen_before_reply is True,
              "the app was on screen and dumped before the configuration reply")
        kept_path = os.path.join(device, "var/mobile/Library/UsageReport/online_config.json")
        check(os.path.exists(kept_path) and load(kept_path) == params,
              "the configuration reply is kept on the device")
        settled = load(f"{tmp}/settled.json")
        for key in ("urls", "commands", "posts"):
            check(settled["host"].get(key) == [], f"host.{key} empty after launch")

        # The settings screen stores the prefetch switch in the app's user defaults; store it
        # there as it would, then launch again on the same device with the services gone.
        prefs = os.path.join(device, "var/mobile/Library/Preferences/com.chimora.free.plist")
        values = {}
        if os.path.exists(prefs):
            with open(prefs, "rb") as f:
                values = plistlib.load(f)
        values["prefetch_toggle_off"] = True
        with open(prefs, "wb") as f:
            plistlib.dump(values, f)

        refused = "http://127.0.0.1:9/"
        r = run(base + ["--base-url", refused, "--report-url", refused + "report/", "--script", "-"],
                f"idle 15000\ndump {tmp}/second.json\nquit\n", tmp)
        if check(r.returncode == 0, f"second launch exited {r.returncode}: {r.stderr}"):
            check_root(load(f"{tmp}/second.json"), "second launch", english, system7=True)
        with open(prefs, "rb") as f:
            check(plistlib.load(f).get("prefetch_toggle_off") is True,
                  "the prefetch switch is still off after the second launch")
        check(os.path.exists(kept_path) and load(kept_path) == params,
              "a launch without network keeps the configuration of the earlier one")

        # Older systems and another language, each on a device of its own.
        for version, languages, titles, system7 in [
            ("6.1", "en", english, False),
            ("7.0", "zh-Hans", ["首页", "分类", "我的", "设置"], True),
        ]:
            other = os.path.join(tmp, f"device-{version}")
            r = run(["--device-root", other, "--headless", "--system-version", version,
                     "--language", languages, "--base-url", refused,
                     "--report-url", refused + "report/", "--script", "-"],
                    f"idle 15000\ndump {tmp}/{version}.json\nquit\n", tmp)
            if check(r.returncode == 0, f"launch on {version} exited {r.returncode}: {r.stderr}"):
                check_root(load(f"{tmp}/{version}.json"), f"system {version} {languages}", titles,
                           system7)


if __name__ == "__main__":
    main()
    for f in failures:
        print("FAIL:", f)
    if failures:
        sys.exit(1)
    print("ok")
