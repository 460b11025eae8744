#!/usr/bin/env python3
"""make demo: the installer end to end, as a user runs it, against the sample
download server on loopback.

Starts the server, runs the licence view, ticks the box, presses Start, follows the
installing instance while it downloads, extracts, registers and starts the sample
host, and prints what happened. Runs on the machine's display when there is one
(for a person to watch or click), otherwise in an Xvfb of its own. Options show a
download through a proxy, a failing server with the retry flow, and the copy mode.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import scenario  # noqa: E402
from scenario import PRODUCT_FOLDER, PRODUCT_KEY, SETTINGS_KEY, UNINSTALL_KEY, DownloadServer, polish  # noqa: E402
from tinyproxy import TinyProxy  # noqa: E402
from winetest import Display, WinePrefix  # noqa: E402

START, ACCEPT, PROXY_BOX, RETRY_START = 105, 107, 108, 109


def say(text):
    print(f"[demo] {text}", flush=True)


class Demo:
    def __init__(self, args):
        self.args = args
        self.artifacts = scenario.ARTIFACTS / "demo"
        shutil.rmtree(self.artifacts, ignore_errors=True)
        self.artifacts.mkdir(parents=True)
        self.cleanups = []
        self.shots = []

    def cleanup(self):
        for action in reversed(self.cleanups):
            try:
                action()
            except Exception as error:  # keep cleaning up
                say(f"cleanup: {error}")

    def start(self):
        self.person = bool(os.environ.get("DISPLAY")) and not self.args.headless
        if self.person:
            self.display = os.environ["DISPLAY"]
            say(f"using your display {self.display}: you click, the demo watches")
        else:
            xvfb = Display()
            self.cleanups.append(xvfb.stop)
            self.display = xvfb.name
            say(f"no display: running in Xvfb {self.display}")
        say("booting a fresh Wine prefix (a few seconds the first time)")
        self.prefix = WinePrefix(scenario.BUILD / "wine", "demo")
        self.cleanups.append(self.prefix.kill)
        scenario.start_desktop(self.prefix, self.display)
        self.server = DownloadServer()
        self.cleanups.append(self.server.stop)
        say(f"download server on http://127.0.0.1:{scenario.PORT}/special/qvd/Veridane.cab")

    def wintool(self, *args, timeout=90):
        return self.prefix.run([scenario.WINTOOL] + [str(a) for a in args], timeout=timeout, display=self.display)

    def shot(self, stage):
        path = self.artifacts / f"{len(self.shots) + 1:02d}-{stage}.png"
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if path.exists():
            self.shots.append(path)
            say(f"screenshot: {path}")

    def wait_window(self, title, seconds=60):
        return self.wintool("wait", title, seconds * 1000).returncode == 0

    def run_interactive(self):
        program = scenario.place_installer(self.prefix)
        say("starting the installer: the licence view")
        licence = self.prefix.start([program], display=self.display)
        if not self.wait_window(polish(10)):
            raise SystemExit("the licence view did not appear")
        time.sleep(1)
        self.shot("licence-view")
        if self.person:
            say("now tick the box under the licence and press Start")
            licence.wait()
        else:
            say("ticking 'I accept' and pressing Start")
            self.wintool("click", polish(10), ACCEPT, 5000)
            time.sleep(0.5)
            self.wintool("click", polish(10), START, 5000)
            licence.wait(timeout=60)
        say(f"licence view closed with exit code {licence.returncode}; the installing instance runs")
        if self.wait_window(polish(3), seconds=30):
            time.sleep(1.5)
            self.shot("downloading")
        if self.args.failing_server:
            self.retry_after_failure()
        self.wait_for_host()

    def retry_after_failure(self):
        say("the server fails: waiting for the retry offer")
        deadline = time.time() + 60
        while time.time() < deadline:
            listing = self.wintool("wait", polish(3), 1000).stdout.decode("utf-8", "replace")
            if f"child {RETRY_START} button visible enabled" in listing:
                break
            time.sleep(0.5)
        self.shot("retry-offered")
        self.server.reset()
        if self.person:
            say("the server works again: press Start in the window")
        else:
            say("the server works again: pressing Start")
            self.wintool("click", polish(3), RETRY_START, 5000)

    def run_copy_mode(self):
        work = scenario.work_folder(self.prefix)
        scenario.unpack_sample(self.prefix.unix_path(work))
        say(f"copy mode: the product's files wait in {work}")
        result = self.prefix.run([scenario.place_installer(self.prefix), "-copy"], timeout=180, display=self.display)
        say(f"copy mode ended with exit code {result.returncode}")
        self.wait_for_host()

    def configure_proxy(self):
        proxy = TinyProxy()
        self.cleanups.append(proxy.stop)
        key = "HKCU\\" + SETTINGS_KEY
        for name, value in (("qvd_proxy_addr", "127.0.0.1"), ("qvd_proxy_port", str(proxy.port)),
                            ("qvd_proxy_enabled", "1")):
            self.prefix.run(["reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"], timeout=60)
        say(f"manual proxy: tinyproxy on {proxy.address}")
        self.proxy = proxy

    def wait_for_host(self):
        record = self.prefix.unix_path(PRODUCT_FOLDER + "\\VeridaneApp.started.txt")
        deadline = time.time() + (3600 if self.person else 180)
        while time.time() < deadline and not record.exists():
            time.sleep(0.5)
        if record.exists() and self.wait_window("KAVRO Veridane", seconds=20):
            time.sleep(1)
            self.shot("done")

    def report(self):
        folder = self.prefix.unix_path(PRODUCT_FOLDER)
        log = folder / "log.txt"
        self.prefix.kill()
        machine = self.prefix.registry("HKLM")
        print("\n=== What happened ===")
        print("\nlog.txt:")
        print(log.read_bytes().decode("latin-1").replace("\r\n", "\n    ") if log.exists() else "(no log)")
        print("Uninstall entry:")
        for name, value in sorted(machine.get(UNINSTALL_KEY, {}).items()):
            print(f"    {name} = {value[1]}")
        serial = machine.get(PRODUCT_KEY, {}).get("QVDSerial")
        print(f"QVDSerial: {serial[1] if serial else '(none)'}")
        print("Installed files:")
        for path in sorted(folder.iterdir()) if folder.exists() else []:
            print(f"    {path.name}{'/' if path.is_dir() else ''}")
        record = folder / "VeridaneApp.started.txt"
        print("Host's record of its start:")
        print("    " + (record.read_bytes().decode("utf-8").replace("\r\n", "\n    ") if record.exists()
                        else "(the host was not started)"))
        if getattr(self, "proxy", None):
            lines = [line for line in self.proxy.requests() if "Veridane.cab" in line]
            print("Requests through the proxy:\n    " + "\n    ".join(lines[-3:]))
        print("Screenshots:")
        for path in self.shots:
            print(f"    {path}")
        return record.exists()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--proxy", action="store_true", help="download through a manual proxy (tinyproxy)")
    parser.add_argument("--failing-server", action="store_true", help="the first download fails: retry flow")
    parser.add_argument("--copy", action="store_true", help="the copy mode instead of the interactive run")
    parser.add_argument("--headless", action="store_true",
                        help="use an Xvfb and click automatically even when a display exists")
    args = parser.parse_args()
    demo = Demo(args)
    try:
        demo.start()
        if args.proxy:
            demo.configure_proxy()
        if args.failing_server:
            demo.server.mode("status", status=503)
        else:
            # Slow enough on loopback for a person to see the progress bar move.
            demo.server.mode("slow", delay=0.1)
        if args.copy:
            demo.run_copy_mode()
        else:
            demo.run_interactive()
        return 0 if demo.report() else 1
    finally:
        demo.cleanup()


if __name__ == "__main__":
    sys.exit(main())
