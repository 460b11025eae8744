#!/usr/bin/env python3
"""Benchmarks of the installer: figures, each beside a baseline measured in the same
run, as a ratio. Not tests: nothing here passes or fails on a figure.

Usage: make bench   (or VERIDANE_BUILD=build/x64 python3 bench/run.py [--runs N])
"""
import argparse
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from datetime import date
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tools"))

import scenario  # noqa: E402
from scenario import PRODUCT_FOLDER, DownloadServer, polish, start_desktop, write_cabinet  # noqa: E402
from tinyproxy import free_port  # noqa: E402
from winetest import WINE, Display, WinePrefix  # noqa: E402

BUILD = scenario.BUILD
CABINET_SIZE = 4076860
BIG_BODY = 64 * 1024 * 1024
URL = f"http://127.0.0.1:{scenario.PORT}/special/qvd/Veridane.cab"
EMPTY = BUILD / "bench" / "bench_empty.exe"
MINIMAL = BUILD / "bench" / "bench_minimal_window.exe"


def product_files():
    stage = scenario.unpack_sample(Path(tempfile.mkdtemp(prefix="veridane-bench-")))
    files = {path.name: path.read_bytes() for path in stage.iterdir()}
    shutil.rmtree(stage)
    return files


def sized_cabinet(path, size):
    """The sample product plus a filler file, packed uncompressed to exactly size bytes."""
    files = product_files()
    files["filler.bin"] = b""
    overshoot = write_cabinet(path, files) - size
    files["filler.bin"] = os.urandom(-overshoot)
    while True:
        total = write_cabinet(path, files)
        if total == size:
            return
        files["filler.bin"] = files["filler.bin"][: len(files["filler.bin"]) - (total - size)]


class Bench:
    def __init__(self, runs):
        self.runs = runs
        self.rows = []
        self.work = Path(tempfile.mkdtemp(prefix="veridane-bench-"))
        self.display = Display()
        self.cabinet = self.work / "Veridane-4076860.cab"
        try:
            sized_cabinet(self.cabinet, CABINET_SIZE)
            self.server = DownloadServer(cabinet=self.cabinet)
        except Exception:
            self.display.stop()
            shutil.rmtree(self.work, ignore_errors=True)
            raise

    def close(self):
        self.server.stop()
        self.display.stop()
        shutil.rmtree(self.work, ignore_errors=True)

    def prefix(self, name):
        prefix = WinePrefix(BUILD / "wine", f"bench-{name}")
        start_desktop(prefix, self.display.name)
        return prefix

    def row(self, figure, value, baseline, unit, note=""):
        ratio = value / baseline if baseline else float("nan")
        self.rows.append((figure, value, baseline, ratio, unit, note))
        print(f"  {figure}: {value:.3f} {unit} vs {baseline:.3f} {unit} (x{ratio:.2f})", flush=True)

    def start_installer(self, prefix, *args):
        return subprocess.Popen([WINE, scenario.place_installer(prefix)] + list(args),
                                env=prefix.env(self.display.name), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    # 1. Installation time.
    def installation_time(self):
        installs, baselines = [], []
        for run in range(self.runs):
            prefix = self.prefix(f"install-{run}")
            record = prefix.unix_path(PRODUCT_FOLDER + "\\VeridaneApp.started.txt")
            started = time.perf_counter()
            process = self.start_installer(prefix, "-e")
            while not record.exists():
                time.sleep(0.005)
            installs.append(time.perf_counter() - started)
            process.wait(timeout=60)
            prefix.remove()

            prefix = self.prefix(f"baseline-{run}")
            target = self.work / "native"
            shutil.rmtree(target, ignore_errors=True)
            target.mkdir()
            started = time.perf_counter()
            subprocess.run(["curl", "-s", "-o", str(target / "Veridane.cab"), URL], check=True)
            subprocess.run(["cabextract", "-q", "-d", str(target), str(target / "Veridane.cab")], check=True)
            subprocess.run([WINE, str(EMPTY)], env=prefix.env(), check=True)
            baselines.append(time.perf_counter() - started)
            prefix.remove()
        self.row("installation of a 4,076,860-byte cabinet, start to host start",
                 statistics.median(installs), statistics.median(baselines), "s",
                 "baseline: curl + cabextract natively + an empty program under Wine")

    # 2. Transfer throughput.
    def throughput(self):
        self.server.mode("size", size=BIG_BODY, file=scenario.SAMPLE / "Veridane.cab")
        speeds, baselines = [], []
        for run in range(self.runs):
            prefix = self.prefix(f"throughput-{run}")
            cabinet = prefix.unix_path(PRODUCT_FOLDER + "\\Veridane.cab")
            log = prefix.unix_path(PRODUCT_FOLDER + "\\log.txt")
            started = time.perf_counter()
            process = self.start_installer(prefix, "-e")
            while not (cabinet.exists() and cabinet.stat().st_size >= BIG_BODY) and not log.exists():
                time.sleep(0.005)
            speeds.append(BIG_BODY / (time.perf_counter() - started) / 1e6)
            process.wait(timeout=120)
            prefix.remove()
            started = time.perf_counter()
            subprocess.run(["curl", "-s", "-o", os.devnull, URL], check=True)
            baselines.append(BIG_BODY / (time.perf_counter() - started) / 1e6)
        self.server.reset()
        self.row("download of a 64 MiB body, process start to last byte on disk", statistics.median(speeds),
                 statistics.median(baselines), "MB/s", "baseline: curl on the same server")

    # 3. Size.
    def size(self):
        release = BUILD.parent / "x86" / "VeridaneSetup.exe"
        data = translation_bytes()
        print(f"  release executable: {release.stat().st_size} bytes, translation data {data} bytes", flush=True)
        self.rows.append(("size of the 32-bit release executable", release.stat().st_size, data,
                          data / release.stat().st_size, "bytes",
                          "second figure: the translation data (UTF-16), ratio: its share"))

    # 4. First paint of the licence view, 5. peak memory.
    def window_start(self, program, title, prefix):
        started = time.perf_counter()
        process = subprocess.Popen([WINE, str(program)], env=prefix.env(self.display.name),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", f"^{title}$"],
                       env=dict(os.environ, DISPLAY=self.display.name), stdout=subprocess.DEVNULL, timeout=60)
        elapsed = time.perf_counter() - started
        peak = peak_memory(process.pid)
        process.kill()
        process.wait()
        return elapsed, peak

    def first_paint_and_memory(self):
        firsts, baselines, minimal_peaks = [], [], []
        for run in range(self.runs):
            prefix = self.prefix(f"paint-{run}")
            program = prefix.unix_path(scenario.place_installer(prefix))
            # Both under the same running wineserver and desktop.
            firsts.append(self.window_start(program, polish(10), prefix)[0])
            elapsed, peak = self.window_start(MINIMAL, "Minimal window", prefix)
            baselines.append(elapsed)
            minimal_peaks.append(peak)
            prefix.remove()
        self.row("start to the licence view on screen", statistics.median(firsts), statistics.median(baselines), "s",
                 "baseline: a minimal Win32 window program")

        self.server.mode("slow", delay=0.02)
        prefix = self.prefix("memory")
        process = self.start_installer(prefix, "-e")
        peak = 0
        while process.poll() is None:
            peak = max(peak, peak_memory(process.pid))
            time.sleep(0.05)
        prefix.remove()
        self.server.reset()
        self.row("peak memory of the installing instance during a download", peak / 1024, max(minimal_peaks) / 1024,
                 "MiB", "baseline: the minimal window program")

    # 6. Proxy discovery.
    def discovery_prefix(self, name, profiles, dead_system_proxy=True):
        prefix = self.prefix(name)
        settings = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
        if dead_system_proxy:
            # The preconfigured attempt fails; scripts, fetched as "localhost", skip the dead proxy.
            for value, kind, data in (("ProxyEnable", "REG_DWORD", "1"),
                                      ("ProxyServer", "REG_SZ", f"127.0.0.1:{free_port()}"),
                                      ("ProxyOverride", "REG_SZ", "localhost")):
                prefix.run(["reg", "add", settings, "/v", value, "/t", kind, "/d", data, "/f"], timeout=60)
        for index in range(profiles):
            prefs = scenario.app_data_folder(prefix) / "Mozilla" / "Firefox" / "Profiles" / f"p{index}" / "prefs.js"
            prefs.parent.mkdir(parents=True, exist_ok=True)
            prefs.write_text('user_pref("network.proxy.type", 2);\n'
                             f'user_pref("network.proxy.autoconfig_url", "{self.script_url}");\n')
        return prefix

    def timed_install(self, prefix, env=None):
        log = prefix.unix_path(PRODUCT_FOLDER + "\\log.txt")
        program = scenario.place_installer(prefix)
        started = time.perf_counter()
        process = subprocess.Popen([WINE, program, "-e"], env=prefix.env(self.display.name, env),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        while not log.exists():
            time.sleep(0.005)
        elapsed = time.perf_counter() - started
        process.wait(timeout=60)
        return elapsed, log.read_bytes()

    def proxy_discovery(self):
        self.script_url = f"http://localhost:{scenario.PORT}/shared.pac"
        (self.work / "shared.pac").write_text("function FindProxyForURL(url, host) { return \"DIRECT\"; }\n")
        self.server.stop()
        self.server = DownloadServer(cabinet=self.cabinet, root=self.work)
        lan = {"VERIDANE_SEAM_LAN_FLAGS": "4", "VERIDANE_SEAM_LAN_SCRIPT": self.script_url}
        prefix = self.discovery_prefix("discovery-20", 20)
        _elapsed, log = self.timed_install(prefix, lan)
        prefix.remove()
        hits = self.server.stats().get("/shared.pac", 0)
        print(f"  20 profiles and the LAN settings naming one script: {hits} download(s), log {log!r}", flush=True)
        self.rows.append(("script downloads (= evaluations) for 20 profiles + system settings, one script", hits, 1,
                          hits / 1, "count", "must be 1: each download is evaluated once, then cached"))
        times, baselines = [], []
        for run in range(self.runs):
            prefix = self.discovery_prefix(f"discovery-50-{run}", 50)
            times.append(self.timed_install(prefix)[0])
            prefix.remove()
            prefix = self.discovery_prefix(f"discovery-none-{run}", 0, dead_system_proxy=False)
            baselines.append(self.timed_install(prefix)[0])
            prefix.remove()
        self.row("installation that discovers its proxy in 50 Firefox profiles (dead system proxy)",
                 statistics.median(times), statistics.median(baselines), "s",
                 "baseline: the same installation through the working system settings")

    def print_table(self):
        print(f"\n### Benchmarks, {date.today()}, {platform.machine()} {os.cpu_count()} cores, "
              f"{subprocess.run([WINE, '--version'], capture_output=True, text=True).stdout.strip()}\n")
        print("| figure | installer | baseline | ratio | unit | baseline is |")
        print("| --- | ---: | ---: | ---: | --- | --- |")
        for figure, value, baseline, ratio, unit, note in self.rows:
            print(f"| {figure} | {number(value)} | {number(baseline)} | {ratio:.2f} | {unit} | {note} |")


def number(value):
    return f"{value:,}" if float(value).is_integer() else f"{value:,.3f}"


def peak_memory(pid):
    """VmHWM of a process in KiB, 0 when it is gone."""
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    except OSError:
        pass
    return 0


def translation_bytes():
    source = Path(__file__).resolve().parent.parent / "resources"
    total = 0
    for path in (source / "strings").glob("*.txt"):
        for line in path.read_text(encoding="utf-8").splitlines():
            text = line.split("\t", 1)[1].replace("\\n", "\n")
            total += (len(text.encode("utf-16-le")) + 2)
    for path in (source / "licences").glob("*.txt"):
        total += len(path.read_bytes().decode("utf-8").encode("utf-16-le")) + 2
    return total


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    bench = Bench(args.runs)
    try:
        print("measuring (a few minutes)...", flush=True)
        bench.size()
        bench.installation_time()
        bench.throughput()
        bench.first_paint_and_memory()
        bench.proxy_discovery()
        bench.print_table()
    finally:
        bench.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
